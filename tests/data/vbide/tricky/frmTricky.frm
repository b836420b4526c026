VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Object = "{BDC217C8-ED16-11CD-956C-0000C04E4C0A}#1.1#0"; "TABCTL32.OCX"
Begin VB.Form frmTricky 
   Caption         =   "Tricky ""quoted"" café"
   ClientHeight    =   3195
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   4680
   LinkTopic       =   "Form1"
   ScaleHeight     =   3195
   ScaleWidth      =   4680
   StartUpPosition =   3  'Windows Default
   Begin TabDlg.SSTab tabMain
      Height          =   2000
      Left            =   120
      TabIndex        =   2
      Top             =   120
      Width           =   4000
      _ExtentX        =   7056
      _ExtentY        =   3528
      Tab(0).ControlCount=   1
      Tab(0).Control(0)=   "cmdOk"
      Tab(1).Control(3)=   "lblLong"
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "MS Sans Serif"
         Size            =   8.25
         Begin           =   0
      EndProperty
      Begin VB.CommandButton cmdOk 
         Caption         =   "&OK"
         Height          =   375
         Left            =   240
         TabIndex        =   0
         Top             =   480
         Width           =   1215
      End
   End
   Begin MSComctlLib.ListView lvwItems
      Height          =   1095
      Left            =   120
      TabIndex        =   3
      Top             =   2040
      WhatsThisHelpID =   12
      Width           =   4335
      _ExtentX        =   7646
      _ExtentY        =   1931
      View            =   3
      BeginProperty ColumnHeaders {0713E8C6-850A-101B-AFC0-4210102A8DA7} 
         NumItems        =   1
         BeginProperty ColumnHeader(1) {0713E8C7-850A-101B-AFC0-4210102A8DA7} 
            Text            =   "Item"
            BeginProperty Sub {00000000-0000-0000-0000-000000000000}
               BeginProperty Deepest
                  Caption         =   "not a control"
               EndProperty
            EndProperty
         EndProperty
      EndProperty
   End
Begin VB.Label lblLong
Caption = $"frmTricky.frx":0000
ColumnWidth[0].Value=   5
Height          =   255
Index=3
Left            =   120
ToolTipText     =   "frmTricky.frx":0104
Top             =   3100
Width           =   2000
End
   Begin MSComDlg.CommonDialog dlgOpen 
      Left            =   3960
      Top             =   120
      _ExtentX        =   847
      _ExtentY        =   847
   End
   Begin VB.Image imgLogo 
      Height          =   480
      Left            =   0
      Picture         =   "frmTricky.frx":010A
      Top             =   0
      Width           =   480
   End
End
Attribute VB_Name = "frmTricky"
Attribute VB_GlobalNameSpace = False
Option Explicit
' Begin VB.CommandButton cmdFake 
'    Caption = "looks like a control"
' End
Private Sub Form_Load()
    Me.Caption = "End"
End Sub
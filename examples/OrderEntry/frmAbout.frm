VERSION 5.00
Begin VB.Form frmAbout 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "About Order Entry"
   ClientHeight    =   3675
   ClientLeft      =   2340
   ClientTop       =   1935
   ClientWidth     =   5730
   ClipControls    =   0   'False
   BeginProperty Font 
      Name            =   "Tahoma"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form2"
   MaxButton       =   0   'False
   MinButton       =   0   'False
   ScaleHeight     =   3675
   ScaleWidth      =   5730
   ShowInTaskbar   =   0   'False
   StartUpPosition =   1  'CenterOwner
   Begin VB.PictureBox picIcon 
      AutoSize        =   -1  'True
      BorderStyle     =   0  'None
      ClipControls    =   0   'False
      Height          =   540
      Left            =   240
      ScaleHeight     =   540
      ScaleWidth      =   540
      TabIndex        =   1
      Top             =   240
      Width           =   540
   End
   Begin VB.Label lblTitle 
      Caption         =   "Order Entry for Müller && Söhne"
      BeginProperty Font 
         Name            =   "Tahoma"
         Size            =   12
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      ForeColor       =   &H00000000&
      Height          =   480
      Left            =   1050
      TabIndex        =   2
      Top             =   240
      Width           =   4485
   End
   Begin VB.Label lblVersion 
      Caption         =   "Version"
      Height          =   225
      Left            =   1050
      TabIndex        =   3
      Top             =   780
      Width           =   4485
   End
   Begin VB.Label lblDisclaimer 
      Caption         =   $"frmAbout.frx":0000
      ForeColor       =   &H00000000&
      Height          =   1425
      Left            =   255
      TabIndex        =   4
      Top             =   1725
      UseMnemonic     =   0   'False
      Width           =   5265
   End
   Begin VB.Line linDivider 
      BorderColor     =   &H00808080&
      BorderStyle     =   6  'Inside Solid
      Index           =   0
      X1              =   240
      X2              =   5490
      Y1              =   1560
      Y2              =   1560
   End
   Begin VB.Line linDivider 
      BorderColor     =   &H00FFFFFF&
      BorderWidth     =   2
      Index           =   1
      X1              =   255
      X2              =   5490
      Y1              =   1575
      Y2              =   1575
   End
   Begin VB.CommandButton cmdOK 
      Cancel          =   -1  'True
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   345
      Left            =   4245
      TabIndex        =   0
      Top             =   3210
      Width           =   1260
   End
   Begin VB.CommandButton cmdSysInfo 
      Caption         =   "&System Info…"
      Height          =   345
      Left            =   2880
      TabIndex        =   5
      Top             =   3210
      Width           =   1245
   End
End
Attribute VB_Name = "frmAbout"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Product name, version and the system information button.

Private Sub Form_Load()
    lblVersion.Caption = "Version " & App.Major & "." & App.Minor & "." & App.Revision
    Me.Caption = "About " & App.Title
End Sub

Private Sub cmdOK_Click()
    Unload Me
End Sub

Private Sub cmdSysInfo_Click()
    Dim sPath As String
    sPath = Environ$("CommonProgramFiles") & "\Microsoft Shared\MSInfo\msinfo32.exe"
    If Len(Dir$(sPath)) = 0 Then
        MsgBox "System information is not available on this computer.", vbInformation, APP_TITLE
    Else
        Shell """" & sPath & """", vbNormalFocus
    End If
End Sub

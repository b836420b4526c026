VERSION 5.00
Begin VB.Form frmCustomer 
   BorderStyle     =   1  'Fixed Single
   Caption         =   "Customer"
   ClientHeight    =   6255
   ClientLeft      =   45
   ClientTop       =   330
   ClientWidth     =   9870
   BeginProperty Font 
      Name            =   "Tahoma"
      Size            =   8.25
      Charset         =   0
      Weight          =   400
      Underline       =   0   'False
      Italic          =   0   'False
      Strikethrough   =   0   'False
   EndProperty
   LinkTopic       =   "Form1"
   MaxButton       =   0   'False
   ScaleHeight     =   6255
   ScaleWidth      =   9870
   StartUpPosition =   2  'CenterScreen
   WhatsThisHelp   =   -1  'True
   Begin VB.Label lblCustomerNo 
      Caption         =   "Customer no.:"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   165
      Width           =   1095
   End
   Begin VB.TextBox txtCustomerNo 
      BackColor       =   &H8000000F&
      Height          =   315
      Left            =   1320
      Locked          =   -1  'True
      TabIndex        =   1
      Top             =   120
      WhatsThisHelpID =   20
      Width           =   1335
   End
   Begin VB.Label lblName 
      Caption         =   "&Name:"
      Height          =   255
      Left            =   2880
      TabIndex        =   2
      Top             =   165
      Width           =   615
   End
   Begin VB.TextBox txtName 
      Height          =   315
      Left            =   3600
      MaxLength       =   60
      TabIndex        =   3
      Top             =   120
      WhatsThisHelpID =   21
      Width           =   6135
   End
   Begin VB.PictureBox picContainer 
      BorderStyle     =   0  'None
      Height          =   1935
      Left            =   120
      ScaleHeight     =   1935
      ScaleWidth      =   4455
      TabIndex        =   4
      Top             =   600
      Width           =   4455
      Begin VB.Frame fraDetails 
         Caption         =   "Details"
         Height          =   1815
         Left            =   0
         TabIndex        =   5
         Top             =   0
         Width           =   4455
         Begin VB.Frame fraContact 
            Caption         =   "Contact"
            Height          =   1095
            Left            =   120
            TabIndex        =   6
            Top             =   240
            Width           =   4215
            Begin VB.Label lblPhone 
               Caption         =   "&Phone:"
               Height          =   255
               Left            =   120
               TabIndex        =   7
               Top             =   315
               Width           =   735
            End
            Begin VB.TextBox txtPhone 
               Height          =   315
               Left            =   960
               MaxLength       =   30
               TabIndex        =   8
               Top             =   270
               WhatsThisHelpID =   22
               Width           =   3135
            End
            Begin VB.Label lblEmail 
               Caption         =   "&E-mail:"
               Height          =   255
               Left            =   120
               TabIndex        =   9
               Top             =   705
               Width           =   735
            End
            Begin VB.TextBox txtEmail 
               Height          =   315
               Left            =   960
               MaxLength       =   80
               TabIndex        =   10
               Top             =   660
               WhatsThisHelpID =   23
               Width           =   3135
            End
         End
         Begin VB.CheckBox chkNewsletter 
            Caption         =   "Receives the &newsletter"
            Height          =   255
            Left            =   120
            TabIndex        =   11
            Top             =   1440
            WhatsThisHelpID =   24
            Width           =   4215
         End
      End
   End
   Begin OrderEntry.ctlAddress ctlBilling 
      Height          =   1935
      Left            =   4680
      TabIndex        =   12
      Top             =   600
      WhatsThisHelpID =   25
      Width           =   5055
      _ExtentX        =   8916
      _ExtentY        =   3413
      Caption         =   "Billing address"
   End
   Begin OrderEntry.ctlAddress ctlShipping 
      Height          =   1935
      Left            =   4680
      TabIndex        =   13
      Top             =   2640
      WhatsThisHelpID =   26
      Width           =   5055
      _ExtentX        =   8916
      _ExtentY        =   3413
      Caption         =   "Delivery address"
      ShowCountry     =   0   'False
   End
   Begin VB.CommandButton cmdNav 
      Caption         =   "&First"
      Height          =   375
      Index           =   0
      Left            =   120
      TabIndex        =   14
      Top             =   5760
      WhatsThisHelpID =   27
      Width           =   975
   End
   Begin VB.CommandButton cmdNav 
      Caption         =   "&Previous"
      Height          =   375
      Index           =   1
      Left            =   1215
      TabIndex        =   15
      Top             =   5760
      WhatsThisHelpID =   28
      Width           =   975
   End
   Begin VB.CommandButton cmdNav 
      Caption         =   "Ne&xt"
      Height          =   375
      Index           =   2
      Left            =   2310
      TabIndex        =   16
      Top             =   5760
      WhatsThisHelpID =   29
      Width           =   975
   End
   Begin VB.CommandButton cmdNav 
      Caption         =   "&Last"
      Height          =   375
      Index           =   3
      Left            =   3405
      TabIndex        =   17
      Top             =   5760
      WhatsThisHelpID =   30
      Width           =   975
   End
   Begin VB.CommandButton cmdSave 
      Caption         =   "&Save"
      Height          =   375
      Left            =   7200
      TabIndex        =   18
      Top             =   5760
      WhatsThisHelpID =   31
      Width           =   1215
   End
   Begin VB.CommandButton cmdClose 
      Cancel          =   -1  'True
      Caption         =   "&Close"
      Height          =   375
      Left            =   8520
      TabIndex        =   19
      Top             =   5760
      WhatsThisHelpID =   32
      Width           =   1215
   End
End
Attribute VB_Name = "frmCustomer"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' The customer file: one customer at a time, browsed with the navigation buttons.

Private Const NAV_FIRST As Integer = 0
Private Const NAV_PREVIOUS As Integer = 1
Private Const NAV_NEXT As Integer = 2
Private Const NAV_LAST As Integer = 3

Private mCustomers As Collection
Private mPosition As Long
Private mPicked As Long
Private mPicking As Boolean

' Shows the file modally and returns the number of the customer the user chose, or 0.
Public Function Pick(ByVal Owner As Form) As Long
    mPicking = True
    cmdSave.Caption = "&Choose"
    Me.Show vbModal, Owner
    Pick = mPicked
    Unload Me
End Function

Private Sub Form_Load()
    Set mCustomers = LoadCustomers()
    If mCustomers.Count > 0 Then ShowCustomer 1
End Sub

Private Sub ShowCustomer(ByVal Position As Long)
    Dim vCustomer As Variant
    If Position < 1 Or Position > mCustomers.Count Then Exit Sub
    mPosition = Position
    vCustomer = mCustomers(Position)
    txtCustomerNo.Text = vCustomer(0)
    txtName.Text = vCustomer(1)
    txtPhone.Text = vCustomer(2)
    txtEmail.Text = vCustomer(3)
    chkNewsletter.Value = IIf(vCustomer(4), vbChecked, vbUnchecked)
    ctlBilling.Street = vCustomer(5)
    ctlBilling.Postcode = vCustomer(6)
    ctlBilling.Town = vCustomer(7)
    ctlShipping.Street = vCustomer(8)
    ctlShipping.Postcode = vCustomer(9)
    ctlShipping.Town = vCustomer(10)
    cmdNav(NAV_FIRST).Enabled = (mPosition > 1)
    cmdNav(NAV_PREVIOUS).Enabled = (mPosition > 1)
    cmdNav(NAV_NEXT).Enabled = (mPosition < mCustomers.Count)
    cmdNav(NAV_LAST).Enabled = (mPosition < mCustomers.Count)
End Sub

Private Sub cmdNav_Click(Index As Integer)
    Select Case Index
    Case NAV_FIRST:    ShowCustomer 1
    Case NAV_PREVIOUS: ShowCustomer mPosition - 1
    Case NAV_NEXT:     ShowCustomer mPosition + 1
    Case NAV_LAST:     ShowCustomer mCustomers.Count
    End Select
End Sub

Private Sub txtEmail_Validate(Cancel As Boolean)
    If Len(txtEmail.Text) > 0 And InStr(txtEmail.Text, "@") = 0 Then
        MsgBox "An e-mail address needs an ""@"".", vbExclamation, APP_TITLE
        Cancel = True
    End If
End Sub

Private Sub cmdSave_Click()
    If mPicking Then
        mPicked = Val(txtCustomerNo.Text)
        Me.Hide
        Exit Sub
    End If
    If Len(Trim$(txtName.Text)) = 0 Then
        MsgBox "Please enter the customer's name.", vbExclamation, APP_TITLE
        txtName.SetFocus
        Exit Sub
    End If
    SaveCustomer Val(txtCustomerNo.Text), txtName.Text, txtPhone.Text, txtEmail.Text, _
        (chkNewsletter.Value = vbChecked), ctlBilling.Street, ctlBilling.Postcode, ctlBilling.Town
End Sub

Private Sub cmdClose_Click()
    mPicked = 0
    Me.Hide
End Sub

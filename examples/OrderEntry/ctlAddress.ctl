VERSION 5.00
Begin VB.UserControl ctlAddress 
   ClientHeight    =   1935
   ClientLeft      =   0
   ClientTop       =   0
   ClientWidth     =   5055
   ScaleHeight     =   1935
   ScaleWidth      =   5055
   Begin VB.Frame fraAddress 
      Caption         =   "Address"
      Height          =   1935
      Left            =   0
      TabIndex        =   0
      Top             =   0
      Width           =   5055
      Begin VB.Label lblStreet 
         Caption         =   "&Street:"
         Height          =   255
         Left            =   120
         TabIndex        =   1
         Top             =   315
         Width           =   1215
      End
      Begin VB.TextBox txtStreet 
         Height          =   315
         Left            =   1440
         MaxLength       =   60
         TabIndex        =   2
         Top             =   270
         WhatsThisHelpID =   33
         Width           =   3495
      End
      Begin VB.Label lblTown 
         Caption         =   "&Postcode, town:"
         Height          =   255
         Left            =   120
         TabIndex        =   3
         Top             =   705
         Width           =   1215
      End
      Begin VB.TextBox txtPostcode 
         Height          =   315
         Left            =   1440
         MaxLength       =   10
         TabIndex        =   4
         Top             =   660
         WhatsThisHelpID =   34
         Width           =   855
      End
      Begin VB.TextBox txtTown 
         Height          =   315
         Left            =   2400
         MaxLength       =   40
         TabIndex        =   5
         Top             =   660
         WhatsThisHelpID =   35
         Width           =   2535
      End
      Begin VB.Label lblCountry 
         Caption         =   "&Country:"
         Height          =   255
         Left            =   120
         TabIndex        =   6
         Top             =   1095
         Width           =   1215
      End
      Begin VB.ComboBox cboCountry 
         Height          =   315
         Left            =   1440
         Style           =   2  'Dropdown List
         TabIndex        =   7
         Top             =   1050
         WhatsThisHelpID =   36
         Width           =   3495
      End
   End
End
Attribute VB_Name = "ctlAddress"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = True
Attribute VB_PredeclaredId = False
Attribute VB_Exposed = False
Option Explicit

' An address block (street, postcode, town, country) used for billing and delivery addresses.

Public Event Change()

Private Const DEFAULT_CAPTION As String = "Address"

Private mShowCountry As Boolean

Public Property Get Caption() As String
Attribute Caption.VB_Description = "The title shown in the frame around the address."
    Caption = fraAddress.Caption
End Property

Public Property Let Caption(ByVal NewCaption As String)
    fraAddress.Caption = NewCaption
    PropertyChanged "Caption"
End Property

Public Property Get ShowCountry() As Boolean
Attribute ShowCountry.VB_Description = "Whether the country field is shown."
    ShowCountry = mShowCountry
End Property

Public Property Let ShowCountry(ByVal NewValue As Boolean)
    mShowCountry = NewValue
    lblCountry.Visible = NewValue
    cboCountry.Visible = NewValue
    PropertyChanged "ShowCountry"
End Property

Public Property Get Street() As String
    Street = txtStreet.Text
End Property

Public Property Let Street(ByVal NewStreet As String)
    txtStreet.Text = NewStreet
End Property

Public Property Get Postcode() As String
    Postcode = txtPostcode.Text
End Property

Public Property Let Postcode(ByVal NewPostcode As String)
    txtPostcode.Text = NewPostcode
End Property

Public Property Get Town() As String
    Town = txtTown.Text
End Property

Public Property Let Town(ByVal NewTown As String)
    txtTown.Text = NewTown
End Property

Private Sub UserControl_Initialize()
    cboCountry.AddItem "Deutschland"
    cboCountry.AddItem "Österreich"
    cboCountry.AddItem "Schweiz"
    cboCountry.AddItem "France"
    cboCountry.ListIndex = 0
End Sub

Private Sub UserControl_InitProperties()
    Caption = DEFAULT_CAPTION
    ShowCountry = True
End Sub

Private Sub UserControl_ReadProperties(PropBag As PropertyBag)
    Caption = PropBag.ReadProperty("Caption", DEFAULT_CAPTION)
    ShowCountry = PropBag.ReadProperty("ShowCountry", True)
End Sub

Private Sub UserControl_WriteProperties(PropBag As PropertyBag)
    PropBag.WriteProperty "Caption", fraAddress.Caption, DEFAULT_CAPTION
    PropBag.WriteProperty "ShowCountry", mShowCountry, True
End Sub

Private Sub UserControl_Resize()
    fraAddress.Move 0, 0, UserControl.ScaleWidth, UserControl.ScaleHeight
End Sub

Private Sub txtPostcode_LostFocus()
    ' Known postcodes fill in the town.
    If Len(txtTown.Text) = 0 Then txtTown.Text = TownOfPostcode(txtPostcode.Text)
End Sub

Private Sub txtStreet_Change()
    RaiseEvent Change
End Sub

Private Sub txtPostcode_Change()
    RaiseEvent Change
End Sub

Private Sub txtTown_Change()
    RaiseEvent Change
End Sub

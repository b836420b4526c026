VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmOrder 
   BorderStyle     =   3  'Fixed Dialog
   Caption         =   "Order"
   ClientHeight    =   6705
   ClientLeft      =   45
   ClientTop       =   375
   ClientWidth     =   8775
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
   MinButton       =   0   'False
   ScaleHeight     =   6705
   ScaleWidth      =   8775
   ShowInTaskbar   =   0   'False
   StartUpPosition =   1  'CenterOwner
   WhatsThisButton =   -1  'True
   WhatsThisHelp   =   -1  'True
   Begin VB.Frame fraCustomer 
      Caption         =   "Customer"
      Height          =   855
      Left            =   120
      TabIndex        =   0
      Top             =   120
      Width           =   8535
      Begin VB.Label lblCustomer 
         Caption         =   "C&ustomer:"
         Height          =   255
         Left            =   180
         TabIndex        =   1
         Top             =   375
         Width           =   855
      End
      Begin VB.ComboBox cboCustomer 
         Height          =   315
         Left            =   1080
         Sorted          =   -1  'True
         TabIndex        =   2
         Top             =   330
         WhatsThisHelpID =   9
         Width           =   6375
      End
      Begin VB.CommandButton cmdFindCustomer 
         Caption         =   "..."
         Height          =   315
         Left            =   7560
         TabIndex        =   3
         Top             =   330
         WhatsThisHelpID =   10
         Width           =   795
      End
   End
   Begin MSComctlLib.ListView lvwItems 
      Height          =   2415
      Left            =   120
      TabIndex        =   4
      Top             =   1080
      WhatsThisHelpID =   11
      Width           =   8535
      _ExtentX        =   15055
      _ExtentY        =   4260
      View            =   3
      LabelEdit       =   1
      LabelWrap       =   -1  'True
      HideSelection   =   0   'False
      FullRowSelect   =   -1  'True
      GridLines       =   -1  'True
      _Version        =   393217
      ForeColor       =   -2147483640
      BackColor       =   -2147483643
      BorderStyle     =   1
      Appearance      =   1
      BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} 
         Name            =   "Tahoma"
         Size            =   8.25
         Charset         =   0
         Weight          =   400
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      NumItems        =   5
      BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Article"
         Object.Width           =   1764
      EndProperty
      BeginProperty ColumnHeader(2) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         SubItemIndex    =   1
         Text            =   "Description"
         Object.Width           =   5292
      EndProperty
      BeginProperty ColumnHeader(3) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Alignment       =   1
         SubItemIndex    =   2
         Text            =   "Qty"
         Object.Width           =   1058
      EndProperty
      BeginProperty ColumnHeader(4) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Alignment       =   1
         SubItemIndex    =   3
         Text            =   "Unit price"
         Object.Width           =   1764
      EndProperty
      BeginProperty ColumnHeader(5) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Alignment       =   1
         SubItemIndex    =   4
         Text            =   "Amount"
         Object.Width           =   1764
      EndProperty
   End
   Begin VB.Frame fraPayment 
      Caption         =   "Payment"
      Height          =   1335
      Left            =   120
      TabIndex        =   5
      Top             =   3600
      Width           =   3495
      Begin VB.OptionButton optPayment 
         Caption         =   "&Invoice"
         Height          =   255
         Index           =   0
         Left            =   180
         TabIndex        =   6
         Top             =   300
         Value           =   -1  'True
         WhatsThisHelpID =   13
         Width           =   3135
      End
      Begin VB.OptionButton optPayment 
         Caption         =   "Cash on &delivery"
         Height          =   255
         Index           =   1
         Left            =   180
         TabIndex        =   7
         Top             =   630
         WhatsThisHelpID =   14
         Width           =   3135
      End
      Begin VB.OptionButton optPayment 
         Caption         =   "Credit &card"
         Height          =   255
         Index           =   2
         Left            =   180
         TabIndex        =   8
         Top             =   960
         WhatsThisHelpID =   15
         Width           =   3135
      End
   End
   Begin VB.CheckBox chkExpress 
      Caption         =   "E&xpress delivery (next working day)"
      Height          =   255
      Left            =   120
      TabIndex        =   9
      Top             =   5040
      Width           =   3495
   End
   Begin VB.TextBox txtNotes 
      Height          =   1335
      Left            =   3720
      MultiLine       =   -1  'True
      ScrollBars      =   2  'Vertical
      TabIndex        =   10
      Text            =   "frmOrder.frx":0000
      Top             =   3600
      WhatsThisHelpID =   16
      Width           =   4935
   End
   Begin VB.Label lblTerms 
      Caption         =   $"frmOrder.frx":0041
      Height          =   615
      Left            =   3720
      TabIndex        =   11
      Top             =   5040
      Width           =   4935
   End
   Begin VB.Line linSeparator 
      BorderColor     =   &H80000010&
      X1              =   120
      X2              =   8640
      Y1              =   5760
      Y2              =   5760
   End
   Begin VB.Shape shpTotal 
      BorderColor     =   &H00800000&
      BorderWidth     =   2
      Height          =   495
      Left            =   5880
      Shape           =   4  'Rounded Rectangle
      Top             =   5880
      Width           =   2775
   End
   Begin VB.Label lblTotalCaption 
      Caption         =   "Total:"
      Height          =   255
      Left            =   6000
      TabIndex        =   12
      Top             =   6000
      Width           =   615
   End
   Begin VB.Label lblTotal 
      Alignment       =   1  'Right Justify
      Caption         =   "0,00 €"
      BeginProperty Font 
         Name            =   "Tahoma"
         Size            =   9.75
         Charset         =   0
         Weight          =   700
         Underline       =   0   'False
         Italic          =   0   'False
         Strikethrough   =   0   'False
      EndProperty
      Height          =   255
      Left            =   6720
      TabIndex        =   13
      Top             =   6000
      WhatsThisHelpID =   17
      Width           =   1815
   End
   Begin VB.CommandButton cmdPrint 
      Caption         =   "&Print…"
      Height          =   375
      Left            =   120
      TabIndex        =   14
      Top             =   6240
      Width           =   1215
   End
   Begin VB.CommandButton cmdOK 
      Caption         =   "OK"
      Default         =   -1  'True
      Height          =   375
      Left            =   3120
      TabIndex        =   15
      Top             =   6240
      WhatsThisHelpID =   18
      Width           =   1215
   End
   Begin VB.CommandButton cmdCancel 
      Cancel          =   -1  'True
      Caption         =   "Cancel"
      Height          =   375
      Left            =   4440
      TabIndex        =   16
      Top             =   6240
      WhatsThisHelpID =   19
      Width           =   1215
   End
End
Attribute VB_Name = "frmOrder"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' One order: customer, order lines, payment and notes. Shown modally by mdiMain.

Private mOrder As clsOrder
Private mSaved As Boolean

Public Property Get Saved() As Boolean
    Saved = mSaved
End Property

Private Sub Form_Load()
    Set mOrder = New clsOrder
    FillCustomers cboCustomer
    UpdateTotal
End Sub

Private Sub Form_Unload(Cancel As Integer)
    Set mOrder = Nothing
End Sub

Private Sub cmdFindCustomer_Click()
    Dim nCustomer As Long
    nCustomer = frmCustomer.Pick(Me)
    If nCustomer <> 0 Then SelectCustomer cboCustomer, nCustomer
End Sub

Private Sub optPayment_Click(Index As Integer)
    mOrder.Payment = Index
    UpdateTotal
End Sub

Private Sub chkExpress_Click()
    mOrder.Express = (chkExpress.Value = vbChecked)
    UpdateTotal
End Sub

Private Sub lvwItems_KeyDown(KeyCode As Integer, Shift As Integer)
    Select Case KeyCode
    Case vbKeyInsert
        AddLine
    Case vbKeyDelete
        If Not lvwItems.SelectedItem Is Nothing Then
            mOrder.RemoveLine lvwItems.SelectedItem.Index
            lvwItems.ListItems.Remove lvwItems.SelectedItem.Index
        End If
    Case vbKeyF2
        If Not lvwItems.SelectedItem Is Nothing Then lvwItems.StartLabelEdit
    End Select
    UpdateTotal
End Sub

Private Sub AddLine()
    Dim sArticle As String
    Dim itm As ListItem
    sArticle = InputBox("Article number:", "New order line")
    If Len(sArticle) = 0 Then Exit Sub
    If Not mOrder.AddLine(sArticle, 1) Then
        MsgBox "There is no article """ & sArticle & """.", vbExclamation, APP_TITLE
        Exit Sub
    End If
    Set itm = lvwItems.ListItems.Add(, , sArticle)
    itm.SubItems(1) = mOrder.LineDescription(mOrder.LineCount)
    itm.SubItems(2) = "1"
    itm.SubItems(3) = FormatAmount(mOrder.LinePrice(mOrder.LineCount))
    itm.SubItems(4) = FormatAmount(mOrder.LinePrice(mOrder.LineCount))
End Sub

Private Sub UpdateTotal()
    lblTotal.Caption = FormatAmount(mOrder.Total)
End Sub

Private Sub cmdPrint_Click()
    On Error GoTo PrintFailed
    mOrder.PrintConfirmation Printer
    Exit Sub
PrintFailed:
    MsgBox "The order could not be printed: " & Err.Description, vbExclamation, APP_TITLE
End Sub

Private Sub cmdOK_Click()
    If cboCustomer.ListIndex < 0 Then
        MsgBox "Please choose a customer.", vbExclamation, APP_TITLE
        cboCustomer.SetFocus
        Exit Sub
    End If
    If mOrder.LineCount = 0 Then
        MsgBox "The order has no lines yet. Press Ins in the list to add an article.", vbExclamation, APP_TITLE
        Exit Sub
    End If
    mOrder.CustomerNo = cboCustomer.ItemData(cboCustomer.ListIndex)
    mOrder.Notes = txtNotes.Text
    mOrder.Save
    mSaved = True
    Me.Hide
End Sub

Private Sub cmdCancel_Click()
    mSaved = False
    Me.Hide
End Sub

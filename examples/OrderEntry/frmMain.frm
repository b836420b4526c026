VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.Form frmMain 
   Caption         =   "Today's Orders"
   ClientHeight    =   4935
   ClientLeft      =   60
   ClientTop       =   345
   ClientWidth     =   8895
   LinkTopic       =   "Form1"
   MDIChild        =   -1  'True
   ScaleHeight     =   4935
   ScaleWidth      =   8895
   WhatsThisHelp   =   -1  'True
   Begin VB.Label lblFilter 
      Caption         =   "&Show:"
      Height          =   255
      Left            =   120
      TabIndex        =   0
      Top             =   165
      Width           =   615
   End
   Begin VB.ComboBox cboFilter 
      Height          =   315
      Left            =   780
      Style           =   2  'Dropdown List
      TabIndex        =   1
      Top             =   120
      WhatsThisHelpID =   5
      Width           =   2535
   End
   Begin MSComctlLib.ListView lvwOrders 
      Height          =   3975
      Left            =   120
      TabIndex        =   2
      Top             =   540
      WhatsThisHelpID =   6
      Width           =   7335
      _ExtentX        =   12938
      _ExtentY        =   7011
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
      NumItems        =   4
      BeginProperty ColumnHeader(1) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Text            =   "Order No."
         Object.Width           =   1440
      EndProperty
      BeginProperty ColumnHeader(2) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         SubItemIndex    =   1
         Text            =   "Customer"
         Object.Width           =   3175
      EndProperty
      BeginProperty ColumnHeader(3) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         SubItemIndex    =   2
         Text            =   "Date"
         Object.Width           =   1764
      EndProperty
      BeginProperty ColumnHeader(4) {BDD1F052-858B-11D1-B16A-00C0F0283628} 
         Alignment       =   1
         SubItemIndex    =   3
         Text            =   "Total (€)"
         Object.Width           =   1764
      EndProperty
   End
   Begin VB.CommandButton cmdOpen 
      Caption         =   "&Open"
      Default         =   -1  'True
      Height          =   375
      Left            =   7560
      TabIndex        =   3
      Top             =   540
      WhatsThisHelpID =   7
      Width           =   1215
   End
   Begin VB.CommandButton cmdRefresh 
      Caption         =   "&Refresh"
      Height          =   375
      Left            =   7560
      TabIndex        =   4
      Top             =   1020
      WhatsThisHelpID =   8
      Width           =   1215
   End
   Begin VB.CommandButton cmdDelete 
      Caption         =   "&Delete"
      Height          =   375
      Left            =   7560
      TabIndex        =   5
      Top             =   1500
      Width           =   1215
   End
   Begin VB.Timer tmrRefresh 
      Interval        =   60000
      Left            =   8040
      Top             =   4080
   End
End
Attribute VB_Name = "frmMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' Today's orders, refreshed every minute. The list is an MDI child of mdiMain.

Private Const FILTER_ALL As Integer = 0
Private Const FILTER_OPEN As Integer = 1
Private Const FILTER_READY As Integer = 2

Private Sub Form_Load()
    cboFilter.AddItem "All orders"
    cboFilter.AddItem "Open orders"
    cboFilter.AddItem "Ready to ship"
    cboFilter.ListIndex = FILTER_ALL
End Sub

Private Sub Form_Resize()
    If Me.WindowState = vbMinimized Then Exit Sub
    If Me.ScaleWidth < 3000 Or Me.ScaleHeight < 2000 Then Exit Sub
    lvwOrders.Move lvwOrders.Left, lvwOrders.Top, Me.ScaleWidth - 1560, Me.ScaleHeight - lvwOrders.Top - 120
    cmdOpen.Left = Me.ScaleWidth - cmdOpen.Width - 120
    cmdRefresh.Left = cmdOpen.Left
    cmdDelete.Left = cmdOpen.Left
End Sub

Public Sub RefreshOrders()
    Dim colOrders As Collection
    Dim ord As clsOrder
    Dim itm As ListItem

    Screen.MousePointer = vbHourglass
    Set colOrders = LoadOrders(Date, cboFilter.ListIndex)
    lvwOrders.ListItems.Clear
    For Each ord In colOrders
        Set itm = lvwOrders.ListItems.Add(, "K" & ord.OrderNo, CStr(ord.OrderNo))
        itm.SubItems(1) = ord.CustomerName
        itm.SubItems(2) = Format$(ord.OrderDate, "Short Date")
        itm.SubItems(3) = FormatAmount(ord.Total)
    Next
    Screen.MousePointer = vbDefault
End Sub

Public Sub ExportOrders(ByVal Kind As String)
    Dim nFile As Integer
    Dim itm As ListItem
    Dim sPath As String

    sPath = App.Path & "\orders_" & Format$(Date, "yyyymmdd") & "." & Kind
    nFile = FreeFile
    Open sPath For Output As #nFile
    If Kind = "xml" Then Print #nFile, "<orders>"
    For Each itm In lvwOrders.ListItems
        If Kind = "xml" Then
            Print #nFile, "  <order no=""" & itm.Text & """ total=""" & itm.SubItems(3) & """/>"
        Else
            Print #nFile, itm.Text & ";" & itm.SubItems(1) & ";" & itm.SubItems(2) & ";" & itm.SubItems(3)
        End If
    Next
    If Kind = "xml" Then Print #nFile, "</orders>"
    Close #nFile
    MsgBox "Exported to " & sPath, vbInformation, APP_TITLE
End Sub

Private Sub cboFilter_Click()
    RefreshOrders
End Sub

Private Sub lvwOrders_ColumnClick(ByVal ColumnHeader As MSComctlLib.ColumnHeader)
    lvwOrders.SortKey = ColumnHeader.Index - 1
    lvwOrders.Sorted = True
End Sub

Private Sub lvwOrders_DblClick()
    cmdOpen_Click
End Sub

Private Sub cmdOpen_Click()
    If lvwOrders.SelectedItem Is Nothing Then Exit Sub
    OpenOrder CLng(lvwOrders.SelectedItem.Text)
End Sub

Private Sub cmdRefresh_Click()
    RefreshOrders
End Sub

Private Sub cmdDelete_Click()
    If lvwOrders.SelectedItem Is Nothing Then Exit Sub
    If MsgBox("Delete order " & lvwOrders.SelectedItem.Text & "?", vbQuestion + vbYesNo, APP_TITLE) = vbYes Then
        DeleteOrder CLng(lvwOrders.SelectedItem.Text)
        RefreshOrders
    End If
End Sub

Private Sub tmrRefresh_Timer()
    RefreshOrders
End Sub

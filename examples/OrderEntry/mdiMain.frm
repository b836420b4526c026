VERSION 5.00
Object = "{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0"; "MSCOMCTL.OCX"
Begin VB.MDIForm mdiMain 
   BackColor       =   &H8000000C&
   Caption         =   "Order Entry – Müller & Söhne"
   ClientHeight    =   6420
   ClientLeft      =   165
   ClientTop       =   735
   ClientWidth     =   9480
   LinkTopic       =   "MDIForm1"
   StartUpPosition =   3  'Windows Default
   WhatsThisHelp   =   -1  'True
   WindowState     =   2  'Maximized
   Begin VB.PictureBox picToolbar 
      Align           =   1  'Align Top
      BorderStyle     =   0  'None
      Height          =   495
      Left            =   0
      ScaleHeight     =   495
      ScaleWidth      =   9480
      TabIndex        =   0
      Top             =   0
      WhatsThisHelpID =   1
      Width           =   9480
      Begin VB.CommandButton cmdNewOrder 
         Caption         =   "&New Order"
         Height          =   375
         Left            =   60
         TabIndex        =   1
         Top             =   60
         WhatsThisHelpID =   2
         Width           =   1335
      End
      Begin VB.CommandButton cmdCustomers 
         Caption         =   "&Customers"
         Height          =   375
         Left            =   1455
         TabIndex        =   2
         Top             =   60
         WhatsThisHelpID =   3
         Width           =   1335
      End
      Begin VB.CommandButton cmdTodaysOrders 
         Caption         =   "&Today's Orders"
         Height          =   375
         Left            =   2850
         TabIndex        =   3
         Top             =   60
         Width           =   1575
      End
   End
   Begin MSComctlLib.StatusBar sbrStatus 
      Align           =   2  'Align Bottom
      Height          =   315
      Left            =   0
      TabIndex        =   4
      Top             =   6105
      WhatsThisHelpID =   4
      Width           =   9480
      _ExtentX        =   16722
      _ExtentY        =   556
      _Version        =   393216
      BeginProperty Panels {8E3867A5-8586-11D1-B16A-00C0F0283628} 
         NumPanels       =   3
         BeginProperty Panel1 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            AutoSize        =   1
            Object.Width           =   12753
            Text            =   "Ready"
            TextSave        =   "Ready"
         EndProperty
         BeginProperty Panel2 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Style           =   6
            AutoSize        =   2
            TextSave        =   "24.03.2003"
         EndProperty
         BeginProperty Panel3 {8E3867AB-8586-11D1-B16A-00C0F0283628} 
            Style           =   5
            AutoSize        =   2
            TextSave        =   "14:05"
         EndProperty
      EndProperty
   End
   Begin VB.Timer tmrClock 
      Interval        =   1000
      Left            =   8880
      Top             =   600
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileNewOrder 
         Caption         =   "&New Order..."
         Shortcut        =   ^N
      End
      Begin VB.Menu mnuFileCustomers 
         Caption         =   "&Customers..."
         Shortcut        =   ^K
      End
      Begin VB.Menu mnuFileSep1 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileExport 
         Caption         =   "E&xport"
         Begin VB.Menu mnuFileExportCsv 
            Caption         =   "Orders as &CSV..."
         End
         Begin VB.Menu mnuFileExportXml 
            Caption         =   "Orders as &XML..."
         End
      End
      Begin VB.Menu mnuFileSep2 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileRecent 
         Caption         =   "(recent order)"
         Index           =   0
         Visible         =   0   'False
      End
      Begin VB.Menu mnuFileSep3 
         Caption         =   "-"
      End
      Begin VB.Menu mnuFileExit 
         Caption         =   "E&xit"
      End
   End
   Begin VB.Menu mnuWindow 
      Caption         =   "&Window"
      WindowList      =   -1  'True
      Begin VB.Menu mnuWindowCascade 
         Caption         =   "&Cascade"
      End
      Begin VB.Menu mnuWindowTile 
         Caption         =   "&Tile Horizontally"
      End
      Begin VB.Menu mnuWindowArrange 
         Caption         =   "&Arrange Icons"
      End
   End
   Begin VB.Menu mnuHelp 
      Caption         =   "&Help"
      Begin VB.Menu mnuHelpWhatsThis 
         Caption         =   "What's &This?"
         Shortcut        =   +{F1}
      End
      Begin VB.Menu mnuHelpSep1 
         Caption         =   "-"
      End
      Begin VB.Menu mnuHelpAbout 
         Caption         =   "&About Order Entry..."
      End
   End
End
Attribute VB_Name = "mdiMain"
Attribute VB_GlobalNameSpace = False
Attribute VB_Creatable = False
Attribute VB_PredeclaredId = True
Attribute VB_Exposed = False
Option Explicit

' The main window: toolbar, status bar and the windows of the open orders.

Private Sub MDIForm_Load()
    Me.Caption = APP_TITLE & " – " & gUserName
    tmrClock_Timer
    frmMain.Show
End Sub

Private Sub MDIForm_QueryUnload(Cancel As Integer, UnloadMode As Integer)
    Dim frm As Form
    For Each frm In Forms
        If TypeOf frm Is frmOrder Then
            If MsgBox("An order is still open. Quit anyway?", vbQuestion + vbYesNo, APP_TITLE) = vbNo Then
                Cancel = True
                Exit Sub
            End If
        End If
    Next
End Sub

Private Sub cmdNewOrder_Click()
    mnuFileNewOrder_Click
End Sub

Private Sub cmdCustomers_Click()
    mnuFileCustomers_Click
End Sub

Private Sub cmdTodaysOrders_Click()
    frmMain.Show
    frmMain.SetFocus
End Sub

Private Sub mnuFileNewOrder_Click()
    Dim frm As frmOrder
    Set frm = New frmOrder
    frm.Show vbModal, Me
    If frm.Saved Then frmMain.RefreshOrders
    Unload frm
    Set frm = Nothing
End Sub

Private Sub mnuFileCustomers_Click()
    frmCustomer.Show vbModal, Me
End Sub

Private Sub mnuFileExportCsv_Click()
    frmMain.ExportOrders "csv"
End Sub

Private Sub mnuFileExportXml_Click()
    frmMain.ExportOrders "xml"
End Sub

Private Sub mnuFileRecent_Click(Index As Integer)
    OpenOrder Val(mnuFileRecent(Index).Tag)
End Sub

Private Sub mnuFileExit_Click()
    Unload Me
End Sub

Private Sub mnuWindowCascade_Click()
    Me.Arrange vbCascade
End Sub

Private Sub mnuWindowTile_Click()
    Me.Arrange vbTileHorizontal
End Sub

Private Sub mnuWindowArrange_Click()
    Me.Arrange vbArrangeIcons
End Sub

Private Sub mnuHelpWhatsThis_Click()
    ' The next click on a control shows its popup help instead of acting on it.
    If Not Me.ActiveForm Is Nothing Then Me.ActiveForm.WhatsThisMode
End Sub

Private Sub mnuHelpAbout_Click()
    frmAbout.Show vbModal, Me
End Sub

Private Sub tmrClock_Timer()
    ' Panels 2 and 3 keep date and time up to date by themselves.
    If Len(Dir$(gDatabasePath)) = 0 Then
        sbrStatus.Panels(1).Text = "Order database not found: " & gDatabasePath
    Else
        sbrStatus.Panels(1).Text = "Connected as " & gUserName
    End If
End Sub

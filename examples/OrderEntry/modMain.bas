Attribute VB_Name = "modMain"
Option Explicit

' Start-up, shared settings and the small data layer of the order entry program.
' Orders and customers live in semicolon-separated text files beside the program.

Public Const APP_TITLE As String = "Order Entry"
Public Const VAT_RATE As Currency = 0.19
Public Const HANDLING_FEE As Currency = 4.5
Public Const HANDLING_LIMIT As Currency = 50

Public gUserName As String
Public gDatabasePath As String

Private Declare Function GetUserName Lib "advapi32.dll" Alias "GetUserNameA" _
    (ByVal lpBuffer As String, nSize As Long) As Long

Sub Main()
    If App.PrevInstance Then
        MsgBox APP_TITLE & " is already running.", vbInformation, APP_TITLE
        Exit Sub
    End If
    gUserName = CurrentUserName()
    gDatabasePath = App.Path & "\orders.dat"
    mdiMain.Show
End Sub

Public Function CurrentUserName() As String
    Dim sBuffer As String
    Dim nSize As Long
    sBuffer = Space$(255)
    nSize = Len(sBuffer)
    If GetUserName(sBuffer, nSize) <> 0 Then
        CurrentUserName = Left$(sBuffer, nSize - 1)
    Else
        CurrentUserName = "?"
    End If
End Function

' Amounts are shown with two decimals and the euro sign: 1.234,50 €
Public Function FormatAmount(ByVal Amount As Currency) As String
    FormatAmount = Format$(Amount, "#,##0.00") & " €"
End Function

Public Function LoadOrders(ByVal OrderDate As Date, ByVal Filter As Integer) As Collection
    Dim colResult As New Collection
    Dim nFile As Integer
    Dim sLine As String
    Dim ord As clsOrder

    Set LoadOrders = colResult
    If Len(Dir$(gDatabasePath)) = 0 Then Exit Function
    nFile = FreeFile
    Open gDatabasePath For Input As #nFile
    Do While Not EOF(nFile)
        Line Input #nFile, sLine
        Set ord = New clsOrder
        ord.FromLine sLine
        If ord.OrderDate = OrderDate And ord.MatchesFilter(Filter) Then colResult.Add ord
    Loop
    Close #nFile
End Function

Public Sub OpenOrder(ByVal OrderNo As Long)
    Dim frm As New frmOrder
    Load frm
    frm.Caption = "Order " & OrderNo
    frm.Show vbModal, mdiMain
    Unload frm
End Sub

Public Sub DeleteOrder(ByVal OrderNo As Long)
    Dim ord As New clsOrder
    If ord.Load(OrderNo) Then ord.Delete
End Sub

Public Function LoadCustomers() As Collection
    Dim colResult As New Collection
    Dim nFile As Integer
    Dim sLine As String
    Dim sPath As String

    Set LoadCustomers = colResult
    sPath = App.Path & "\customers.dat"
    If Len(Dir$(sPath)) = 0 Then Exit Function
    nFile = FreeFile
    Open sPath For Input As #nFile
    Do While Not EOF(nFile)
        Line Input #nFile, sLine
        If Len(sLine) > 0 Then colResult.Add Split(sLine, ";")
    Loop
    Close #nFile
End Function

Public Sub SaveCustomer(ByVal CustomerNo As Long, ByVal Name As String, ByVal Phone As String, _
        ByVal Email As String, ByVal Newsletter As Boolean, ByVal Street As String, _
        ByVal Postcode As String, ByVal Town As String)
    Dim nFile As Integer
    nFile = FreeFile
    Open App.Path & "\customers.dat" For Append As #nFile
    Print #nFile, Join(Array(CustomerNo, Name, Phone, Email, CInt(Newsletter), Street, Postcode, Town), ";")
    Close #nFile
End Sub

Public Sub FillCustomers(ByVal cbo As ComboBox)
    Dim vCustomer As Variant
    cbo.Clear
    For Each vCustomer In LoadCustomers()
        cbo.AddItem vCustomer(1) & " (" & vCustomer(0) & ")"
        cbo.ItemData(cbo.NewIndex) = Val(vCustomer(0))
    Next
End Sub

Public Sub SelectCustomer(ByVal cbo As ComboBox, ByVal CustomerNo As Long)
    Dim i As Integer
    For i = 0 To cbo.ListCount - 1
        If cbo.ItemData(i) = CustomerNo Then
            cbo.ListIndex = i
            Exit Sub
        End If
    Next
End Sub

Public Function TownOfPostcode(ByVal Postcode As String) As String
    Select Case Postcode
    Case "10115": TownOfPostcode = "Berlin"
    Case "20095": TownOfPostcode = "Hamburg"
    Case "50667": TownOfPostcode = "Köln"
    Case "80331": TownOfPostcode = "München"
    End Select
End Function

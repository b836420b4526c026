VERSION 5.00
Begin VB.UserControl ctlBox 
   ClientHeight    =   1000
   Begin VB.TextBox txtValue 
      Height          =   285
   End
End
Attribute VB_Name = "ctlBox"

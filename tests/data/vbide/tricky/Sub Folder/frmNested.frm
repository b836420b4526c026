VERSION 5.00
Begin VB.Form frmNested 
   Caption         =   "Nested"
   WhatsThisHelp   =   -1  'True
   Begin VB.Frame fraLevel1 
      Caption         =   "Level 1"
      Height          =   2900
      Begin VB.Frame fraLevel2 
         Caption         =   "Level 2"
         Height          =   2800
         Begin VB.Frame fraLevel3 
            Caption         =   "Level 3"
            Height          =   2700
            Begin VB.Frame fraLevel4 
               Caption         =   "Level 4"
               Height          =   2600
               Begin VB.Frame fraLevel5 
                  Caption         =   "Level 5"
                  Height          =   2500
                  Begin VB.Frame fraLevel6 
                     Caption         =   "Level 6"
                     Height          =   2400
                     Begin VB.OptionButton optChoice 
                        Caption         =   "Choice 0"
                        Index           =   0
                     End
                     Begin VB.OptionButton optChoice 
                        Caption         =   "Choice 1"
                        Index           =   1
                        WhatsThisHelpID =   7
                     End
                     Begin VB.OptionButton optChoice 
                        Caption         =   "Choice 2"
                        Index           =   2
                     End
                  End
               End
            End
         End
      End
   End
   Begin VB.Menu mnuFile 
      Caption         =   "&File"
      Begin VB.Menu mnuFileOpen 
         Caption         =   "&Open..."
      End
   End
   Begin VB.Timer tmrTick 
      Interval        =   10
      Left            =   0
      Top             =   0
   End
End
Attribute VB_Name = "frmNested"

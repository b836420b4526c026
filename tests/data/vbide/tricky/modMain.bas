Attribute VB_Name = "modMain"
Option Explicit

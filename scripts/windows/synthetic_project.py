#!/usr/bin/env python3
"""Writes a synthetic VB6 project of many forms with help texts in English and German.

Usage: synthetic_project.py FOLDER [FORMS]   (400 forms when not given)

Each form holds a frame with a button, a text box and a label; the data file ContextHelp.txt
gives most controls an English text (a few with misspelt words for the spell check) and some
a German one, and leaves some without, so that coverage, spell, export and import all have
work to do. The files are written as the VB6 IDE writes them: CR LF, Windows-1252.
"""
import pathlib
import sys


def form_text(index: int) -> str:
    name = f"frmForm{index}"
    lines = [
        "VERSION 5.00",
        f"Begin VB.Form {name} ",
        f'   Caption         =   "Form {index}"',
        "   ClientHeight    =   3000",
        "   ClientLeft      =   60",
        "   ClientTop       =   345",
        "   ClientWidth     =   4000",
        '   LinkTopic       =   "Form1"',
        "   ScaleHeight     =   3000",
        "   ScaleWidth      =   4000",
        "   WhatsThisButton =   -1  'True",
        "   WhatsThisHelp   =   -1  'True",
        "   Begin VB.Frame fraGroup ",
        '      Caption         =   "Group"',
        "      Height          =   2500",
        "      Left            =   120",
        "      TabIndex        =   0",
        "      Top             =   120",
        "      Width           =   3700",
        "      Begin VB.CommandButton cmdSave ",
        '         Caption         =   "&Save"',
        "         Height          =   375",
        "         Left            =   120",
        "         TabIndex        =   1",
        "         Top             =   1800",
        "         Width           =   1215",
        "      End",
        "      Begin VB.TextBox txtName ",
        "         Height          =   285",
        "         Left            =   120",
        "         TabIndex        =   2",
        "         Top             =   600",
        "         Width           =   3000",
        "      End",
        "      Begin VB.Label lblName ",
        '         Caption         =   "&Name:"',
        "         Height          =   255",
        "         Left            =   120",
        "         TabIndex        =   3",
        "         Top             =   240",
        "         Width           =   1500",
        "      End",
        "   End",
        "End",
        f'Attribute VB_Name = "{name}"',
        "Attribute VB_GlobalNameSpace = False",
        "Attribute VB_Creatable = False",
        "Attribute VB_PredeclaredId = True",
        "Attribute VB_Exposed = False",
        "Option Explicit",
    ]
    return "\r\n".join(lines) + "\r\n"


def help_item(form: str, control: str, kind: str, caption: str, english: str, german: str) -> str:
    texts = []
    if english:
        texts.append(f'      <HelpText Language="English">{english}</HelpText>')
    if german:
        texts.append(f'      <HelpText Language="German">{german}</HelpText>')
    head = (f'    <HelpItem ComponentName="{form}" ControlName="{control}" ContextHelpID="0" '
            f'ControlType="{kind}" Caption="{caption}"')
    if not texts:
        return head + " />"
    return "\n".join([head + ">", *texts, "    </HelpItem>"])


def data_file(forms: int) -> str:
    out = ['<?xml version="1.0" encoding="UTF-8"?>',
           '<Root CurrentLanguage="English" PrimaryLanguage="English" GenerateHTML="True" '
           'CompileHTML="True" GenerateWinHelp="False" CompileWinHelp="False">',
           '  <SelectedLanguage Name="English" />',
           '  <SelectedLanguage Name="German" />']
    for index in range(1, forms + 1):
        form = f"frmForm{index}"
        misspelt = " Teh recrod is kept." if index % 7 == 0 else ""
        german = f"Speichert die Angaben von Formular {index}." if index % 3 else ""
        out.append(f'  <VBComponent ComponentName="{form}">')
        out.append(help_item(form, "cmdSave", "CommandButton", "&amp;Save",
                             f"Saves what form {index} shows.{misspelt}", german))
        out.append(help_item(form, "txtName", "TextBox", "",
                             f"The name of the customer on form {index}, as it appears on invoices.",
                             f"Der Name des Kunden auf Formular {index}." if index % 2 else ""))
        out.append(help_item(form, "lblName", "Label", "&amp;Name:",
                             "" if index % 5 == 0 else "Labels the name.", ""))
        out.append("  </VBComponent>")
    out.append("</Root>")
    return "\n".join(out) + "\n"


def main() -> int:
    if len(sys.argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    folder = pathlib.Path(sys.argv[1])
    forms = int(sys.argv[2]) if len(sys.argv) == 3 else 400
    folder.mkdir(parents=True, exist_ok=True)
    project = ["Type=Exe"] + [f"Form=frmForm{i}.frm" for i in range(1, forms + 1)] + [
        "RelatedDoc=ContextHelp.txt", 'Startup="frmForm1"', 'HelpFile=""', 'Title="Synthetic"',
        'ExeName32="Synthetic.exe"', 'Name="Synthetic"', 'HelpContextID="0"']
    (folder / "Synthetic.vbp").write_bytes(("\r\n".join(project) + "\r\n").encode("cp1252"))
    for index in range(1, forms + 1):
        (folder / f"frmForm{index}.frm").write_bytes(form_text(index).encode("cp1252"))
    (folder / "ContextHelp.txt").write_bytes(data_file(forms).encode("utf-8"))
    return 0


if __name__ == "__main__":
    sys.exit(main())

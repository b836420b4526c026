// SyntheticProject: writes a large VB6 project for benchmarks: a project file and `forms`
// forms of `controlsPerForm` controls each (frames holding buttons, text boxes, labels and
// an ActiveX list view), in the IDE's own layout with CR LF line ends.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

namespace corvane::bench {

// Returns the text of one synthetic form.
inline std::string syntheticForm(int formIndex, int controlsPerForm) {
    std::string name = "frmForm" + std::to_string(formIndex);
    std::string text = "VERSION 5.00\r\n"
                       "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
                       "Begin VB.Form " + name + " \r\n"
                       "   Caption         =   \"Form " + std::to_string(formIndex) + "\"\r\n"
                       "   ClientHeight    =   6000\r\n   ClientLeft      =   60\r\n"
                       "   ClientTop       =   345\r\n   ClientWidth     =   8000\r\n"
                       "   LinkTopic       =   \"Form1\"\r\n   ScaleHeight     =   6000\r\n"
                       "   ScaleWidth      =   8000\r\n   StartUpPosition =   3  'Windows Default\r\n";
    int written = 0;
    int frame = 0;
    while (written < controlsPerForm) {
        std::string frameName = "fraGroup" + std::to_string(frame++);
        text += "   Begin VB.Frame " + frameName + " \r\n      Caption         =   \"Group\"\r\n"
                "      Height          =   1500\r\n      Left            =   120\r\n"
                "      TabIndex        =   " + std::to_string(written) + "\r\n"
                "      Top             =   120\r\n      Width           =   3000\r\n";
        ++written;
        for (int i = 0; i < 9 && written < controlsPerForm; ++i, ++written) {
            std::string n = std::to_string(written);
            switch (i % 4) {
            case 0:
                text += "      Begin VB.CommandButton cmdAction" + n + " \r\n"
                        "         Caption         =   \"Action " + n + "\"\r\n";
                break;
            case 1:
                text += "      Begin VB.TextBox txtField" + n + " \r\n"
                        "         Text            =   \"value\"\r\n";
                break;
            case 2:
                text += "      Begin VB.Label lblField" + n + " \r\n"
                        "         Caption         =   \"Field " + n + ":\"\r\n";
                break;
            default:
                text += "      Begin MSComctlLib.ListView lvwList" + n + " \r\n"
                        "         _ExtentX        =   2646\r\n         _ExtentY        =   1323\r\n"
                        "         BeginProperty Font {0BE35203-8F91-11CE-9DE3-00AA004BB851} \r\n"
                        "            Name            =   \"MS Sans Serif\"\r\n"
                        "            Size            =   8.25\r\n         EndProperty\r\n";
            }
            text += "         Height          =   375\r\n         Left            =   240\r\n"
                    "         TabIndex        =   " + n + "\r\n         Top             =   360\r\n"
                    "         WhatsThisHelpID =   " + std::to_string(formIndex * 100 + written) + "\r\n"
                    "         Width           =   1215\r\n      End\r\n";
        }
        text += "   End\r\n";
    }
    text += "End\r\nAttribute VB_Name = \"" + name + "\"\r\nAttribute VB_GlobalNameSpace = False\r\n"
            "Option Explicit\r\n\r\nPrivate Sub Form_Load()\r\n    Me.Caption = \"Loaded\"\r\nEnd Sub\r\n";
    return text;
}

// Writes the project into `folder` and returns the project file's path.
inline std::filesystem::path writeSyntheticProject(const std::filesystem::path& folder, int forms,
                                                   int controlsPerForm) {
    std::filesystem::create_directories(folder);
    std::string project = "Type=Exe\r\n";
    for (int i = 0; i < forms; ++i) {
        std::string file = "frmForm" + std::to_string(i) + ".frm";
        project += "Form=" + file + "\r\n";
        std::ofstream(folder / file, std::ios::binary) << syntheticForm(i, controlsPerForm);
    }
    project += "Startup=\"frmForm0\"\r\nHelpFile=\"\"\r\nTitle=\"Synthetic\"\r\nName=\"Synthetic\"\r\n";
    std::ofstream(folder / "Synthetic.vbp", std::ios::binary) << project;
    return folder / "Synthetic.vbp";
}

// The code of a module as real projects have it after the designer block: procedures whose
// text holds lines that look like designer lines (a Begin, an End, property assignments).
inline std::string syntheticCode(int formIndex, int procedures) {
    std::string code = "Option Explicit\r\n\r\n";
    for (int p = 0; p < procedures; ++p) {
        std::string n = std::to_string(p);
        code += "Private Sub Handler" + n + "_Click()\r\n"
                "    ' Begin VB.CommandButton cmdGhost" + n + " and its End are only words here\r\n"
                "    Dim total As Long, i As Long\r\n"
                "    For i = 1 To " + std::to_string(formIndex + p + 10) + "\r\n"
                "        total = total + i * " + n + "\r\n"
                "    Next i\r\n"
                "    Caption = \"Handled \" & total\r\n"
                "    If total > 100 Then\r\n"
                "        MsgBox \"The total of handler " + n + " is large: \" & total, vbInformation\r\n"
                "    End If\r\n"
                "End Sub\r\n\r\n";
    }
    return code;
}

// The form of a project shaped like a large real one: `controls` controls with the properties
// the IDE writes for them, then a long code section of `procedures` procedures.
inline std::string realisticForm(int formIndex, int controls, int procedures) {
    std::string name = "frmReal" + std::to_string(formIndex);
    std::string text = "VERSION 5.00\r\n"
                       "Begin VB.Form " + name + " \r\n"
                       "   BorderStyle     =   3  'Fixed Dialog\r\n"
                       "   Caption         =   \"Real form " + std::to_string(formIndex) + "\"\r\n"
                       "   ClientHeight    =   7000\r\n   ClientLeft      =   45\r\n"
                       "   ClientTop       =   330\r\n   ClientWidth     =   9000\r\n"
                       "   BeginProperty Font \r\n      Name            =   \"Tahoma\"\r\n"
                       "      Size            =   8.25\r\n   EndProperty\r\n"
                       "   WhatsThisHelp   =   -1  'True\r\n";
    for (int c = 0; c < controls; ++c) {
        std::string n = std::to_string(c);
        text += "   Begin VB.TextBox txtEntry" + n + " \r\n"
                "      BeginProperty Font \r\n"
                "         Name            =   \"Tahoma\"\r\n         Size            =   8.25\r\n"
                "      EndProperty\r\n"
                "      Height          =   315\r\n      Left            =   " + std::to_string(120 + c * 10) + "\r\n"
                "      MaxLength       =   40\r\n      TabIndex        =   " + n + "\r\n"
                "      Text            =   \"Entry " + n + "\"\r\n"
                "      ToolTipText     =   \"Type the value of entry " + n + "\"\r\n"
                "      Top             =   " + std::to_string(120 + c * 360) + "\r\n"
                "      WhatsThisHelpID =   " + std::to_string(formIndex * 100 + c) + "\r\n"
                "      Width           =   2400\r\n"
                "   End\r\n";
    }
    text += "End\r\nAttribute VB_Name = \"" + name + "\"\r\nAttribute VB_GlobalNameSpace = False\r\n"
            "Attribute VB_Creatable = False\r\nAttribute VB_PredeclaredId = True\r\nAttribute VB_Exposed = False\r\n";
    return text + syntheticCode(formIndex, procedures);
}

// Writes a project shaped like a large real one into `folder`: 546 designers with `controls`
// controls between them (13,876 unless told: from 6 to 45 each, in proportion when fewer) and
// long code sections after their blocks, about 20 MB of form files of which about 7 MB are
// designer blocks. Returns the project file's path.
inline std::filesystem::path writeRealisticProject(const std::filesystem::path& folder, int controls = 13876) {
    constexpr int Forms = 546;
    auto shareOf = [](int form) { return 6 + (form * 7919) % 40; };
    long shares = 0;
    for (int i = 0; i < Forms - 1; ++i)
        shares += shareOf(i);
    std::filesystem::create_directories(folder);
    std::string project = "Type=Exe\r\n";
    int given = 0;
    long sharesSoFar = 0;
    for (int i = 0; i < Forms; ++i) {
        int count = shareOf(i);
        sharesSoFar += count;
        if (controls != 13876) // the default keeps the counts it has always had
            count = std::max(1, static_cast<int>(sharesSoFar * (controls - 30) / shares) - given);
        if (i == Forms - 1)
            count = controls - given; // the last one makes up the count
        given += count;
        std::string file = "frmReal" + std::to_string(i) + ".frm";
        project += "Form=" + file + "\r\n";
        std::ofstream(folder / file, std::ios::binary) << realisticForm(i, count, 40 + (i * 31) % 50);
    }
    project += "Startup=\"frmReal0\"\r\nHelpFile=\"\"\r\nTitle=\"Realistic\"\r\nName=\"Realistic\"\r\n";
    std::ofstream(folder / "Realistic.vbp", std::ios::binary) << project;
    return folder / "Realistic.vbp";
}

} // namespace corvane::bench

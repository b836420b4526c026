// EditHistory: undo and redo of the help text edits of the editor window (Qt's undo framework).
// Every change of a help text the editor reports (helpTextEdited) becomes one step; the
// keystrokes typed into one control's text in one language in a row make a single step. Undo
// (Ctrl+Z) and Redo (Ctrl+Y, Ctrl+Shift+Z) put the text back through the editor, which selects
// the module and row it belongs to. A save does not end the history; loading the project again
// (another program's save taken in) does.
#pragma once

#include "app/views/ViewContext.h"

#include <QObject>

class QAction;
class QUndoStack;

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

class FormWindow;

class EditHistory : public QObject {
    Q_OBJECT

public:
    // The history of `editor`, whose window `owner` gets the Undo and Redo actions.
    EditHistory(FrmWizard& editor, FormWindow& owner);
    ~EditHistory() override;

    // The steps (tests look at them).
    QUndoStack& stack() const noexcept { return *stack_; }
    // The window's Undo and Redo actions.
    QAction* undoAction() const noexcept { return undo_; }
    QAction* redoAction() const noexcept { return redo_; }
    // Cuts the history off the editor: its form unloads.
    void retire();

private:
    FrmWizard& editor_;
    ViewContext context_;
    QUndoStack* stack_;
    QAction* undo_;
    QAction* redo_;
};

} // namespace corvane::app

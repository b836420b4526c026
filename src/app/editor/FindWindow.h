// FindWindow: find across modules. Ctrl+F in the editor opens a small window beside it; Find
// Next (Enter, F3) and Find Previous (Shift+Enter, Shift+F3) go through every module of the
// module list in its order, and each module's controls in the order of the module's records,
// wrapping at the ends. A control matches when its help text in the current language, its
// name or its caption holds the text, ignoring case. The match is shown in the editor: its
// module selected, its row current.
#pragma once

#include "app/views/ViewContext.h"

#include <QWidget>

#include <optional>
#include <string>

class QLabel;
class QLineEdit;

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

class FormWindow;

class FindWindow : public QWidget {
    Q_OBJECT

public:
    // The find window of `editor`; `owner` (the editor's window) gets Ctrl+F, F3 and Shift+F3.
    FindWindow(FrmWizard& editor, FormWindow& owner);
    ~FindWindow() override;

    // The text box (tests type into it).
    QLineEdit& input() const noexcept { return *input_; }
    // What the last search found ("frmOrder.cmdSave") or that it found nothing.
    QString outcome() const;
    // Opens the window with the text box focused.
    void open();
    // Finds the next (or previous) match from the current row; false when there is none.
    bool find(bool forward);
    // Cuts the window off the editor: its form unloads.
    void retire();

private:
    // A control of a module, by their positions: the module in the list, the record from 1.
    struct Place {
        int module = 0;
        int record = 0;
    };
    std::optional<Place> currentPlace() const;
    bool matches(const Place& place, const QString& needle) const;
    int recordCount(int module) const;
    // Shows what the search found, beside the buttons and in the title.
    void showOutcome(const QString& outcome);

    FrmWizard& editor_;
    ViewContext context_;
    QLineEdit* input_;
    QLabel* outcome_;
};

} // namespace corvane::app

// CoverageStatus: the editor window's status line, which tells how many controls of the
// selected module have help text in the current language ("frmOrder, German: 10 of 17
// controls have help text") at the bottom of the window, and the marks the marks on the module list's rows of modules with controls
// that lack text there, each with a tooltip saying how many. The counts are those of
// `corvane coverage` (the same records, the same test for text). Both follow the selected
// module, the language and every change of a help text. The grid comes first: in a window
// too low to show a whole row of it beside the line, the line gives way.
#pragma once

#include "app/views/ViewContext.h"
#include "exchange/Coverage.h"

#include <QLabel>

#include <string>

class QAbstractItemView;
class QListWidget;

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

class FormWindow;

class CoverageStatus : public QLabel {
    Q_OBJECT

public:
    // The status line of `editor`, put at the bottom of its window `owner`.
    CoverageStatus(FrmWizard& editor, FormWindow& owner);
    ~CoverageStatus() override;

    // Counts again and shows the figures.
    void refresh();
    // Counts again once the current event is done: a refilled list or a typed word counts once.
    void refreshSoon();
    // Cuts the status line off the editor: its form unloads.
    void retire();

protected:
    // Watches the grid's rows area for the room left to it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    exchange::CoverageReport countModules() const;
    void takeRowBeingEdited(exchange::ModuleTexts& module, const std::string& language) const;
    std::string statusText(const exchange::CoverageReport& report) const;
    void markModules(const exchange::CoverageReport& report);
    void giveWayToGrid();

    FrmWizard& editor_;
    FormWindow& owner_;
    ViewContext context_;
    QListWidget* modules_;
    bool pending_ = false;
    bool layoutPending_ = false;
    QAbstractItemView* gridRows_ = nullptr;
};

} // namespace corvane::app

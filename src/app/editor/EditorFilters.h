// EditorFilters: two filters of the editor window that change no data. A filter box in the
// module list's caption bar keeps only the modules whose name holds its text (ignoring case;
// Escape clears it), for a long list. A "No Help Text" command on the toolbar keeps only
// the grid's rows of controls that have no help text in the current language, in the table
// and in the card view alike, so that the gaps can be filled one after the other; a row that gets its text stays until the module,
// the language or the filter changes.
#pragma once

#include "app/views/ViewContext.h"

#include <QObject>

class QAction;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QTableView;

namespace corvane {
class FrmWizard;
}

namespace corvane::app {

class FormWindow;
class GridItemModel;

class EditorFilters : public QObject {
    Q_OBJECT

public:
    // The filters of `editor` in its window `owner`.
    EditorFilters(FrmWizard& editor, FormWindow& owner);
    ~EditorFilters() override;

    // The module filter box (tests type into it).
    QLineEdit* moduleFilter() const noexcept { return moduleFilter_; }
    // The toolbar's "No Help Text" command (checkable).
    QAction* withoutTextAction() const noexcept { return withoutText_; }
    // Hides the modules and rows (table rows and cards) the filters leave out, shows the others.
    void filterModules();
    void filterRows();
    // Cuts the filters off the editor: its form unloads.
    void retire();

protected:
    // Keeps the filter box over the caption bar; Escape in it clears it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void placeModuleFilter();
    void filterRowsSoon();

    FrmWizard& editor_;
    ViewContext context_;
    QListWidget* modules_ = nullptr;
    QLabel* caption_ = nullptr;
    QLineEdit* moduleFilter_ = nullptr;
    QTableView* table_ = nullptr;
    QListView* cards_ = nullptr;
    GridItemModel* model_ = nullptr;
    QAction* withoutText_ = nullptr;
    bool rowsPending_ = false;
};

} // namespace corvane::app

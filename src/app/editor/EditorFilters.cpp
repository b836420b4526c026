#include "app/editor/EditorFilters.h"

#include "app/views/FormWindow.h"
#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/ToolbarView.h"
#include "editor/FrmWizard.h"
#include "settings/ModMain.h"

#include <QAction>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTableView>
#include <QTimer>

#include <algorithm>

namespace corvane::app {

EditorFilters::EditorFilters(FrmWizard& editor, FormWindow& owner) : QObject(&owner), editor_(editor) {
    setObjectName(QStringLiteral("EditorFilters"));
    modules_ = qobject_cast<QListWidget*>(owner.view("lbxModules"));
    if (QWidget* container = owner.view("ModuleListContainer"))
        caption_ = container->findChild<QLabel*>(QStringLiteral("caption"));
    if (modules_ && caption_) {
        moduleFilter_ = new QLineEdit(caption_->parentWidget());
        moduleFilter_->setObjectName(QStringLiteral("moduleFilter"));
        moduleFilter_->setPlaceholderText(QStringLiteral("Filter modules"));
        moduleFilter_->setClearButtonEnabled(true);
        moduleFilter_->setToolTip(QStringLiteral("Shows only the modules whose name holds this text (Escape clears it)"));
        connect(moduleFilter_, &QLineEdit::textChanged, this, [this] { filterModules(); });
        moduleFilter_->installEventFilter(this);
        caption_->installEventFilter(this);
        connect(modules_->model(), &QAbstractItemModel::rowsInserted, this, [this] { filterModules(); });
        placeModuleFilter();
    }
    if (auto* grid = dynamic_cast<GridView*>(owner.view("Grid"))) {
        table_ = grid->table();
        cards_ = grid->cards();
        model_ = grid->model();
        connect(model_, &QAbstractItemModel::modelReset, this, [this] { filterRowsSoon(); });
        connect(model_, &QAbstractItemModel::layoutChanged, this, [this] { filterRowsSoon(); });
        connect(model_, &QAbstractItemModel::rowsInserted, this, [this] { filterRowsSoon(); });
        connect(model_, &QAbstractItemModel::rowsRemoved, this, [this] { filterRowsSoon(); });
    }
    if (auto* bar = owner.findChild<ToolbarView*>()) {
        withoutText_ = bar->addCommand(QStringLiteral("No Help Text"),
                                       QStringLiteral("Show only the controls without help text in this language"));
        withoutText_->setObjectName(QStringLiteral("withouthelptext"));
        withoutText_->setCheckable(true);
        connect(withoutText_, &QAction::toggled, this, [this] { filterRows(); });
    }
    context_.connect(editor_.lbxModules().Click, [this] { filterRowsSoon(); });
    context_.connect(editor_.ActiveBar().ComboSelChange, [this](controls::Tool&) { filterRowsSoon(); });
}

EditorFilters::~EditorFilters() { context_.retire(); }

void EditorFilters::retire() { context_.retire(); }

bool EditorFilters::eventFilter(QObject* watched, QEvent* event) {
    if (watched == caption_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
        placeModuleFilter();
    if (watched == moduleFilter_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape && !moduleFilter_->text().isEmpty()) {
        moduleFilter_->clear();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void EditorFilters::placeModuleFilter() {
    // The right half of the caption bar; the caption (the selected module) keeps the left.
    QRect bar = caption_->geometry();
    int width = std::max(bar.width() / 2, std::min(bar.width(), 90));
    moduleFilter_->setGeometry(bar.right() + 1 - width, bar.top(), width, bar.height());
    moduleFilter_->raise();
    // A long module name is cut short before the box instead of running under it.
    caption_->setContentsMargins(0, 0, width, 0);
}

void EditorFilters::filterModules() {
    if (!modules_ || !moduleFilter_)
        return;
    const QString text = moduleFilter_->text().trimmed();
    for (int row = 0; row < modules_->count(); ++row)
        modules_->setRowHidden(row, !text.isEmpty() && !modules_->item(row)->text().contains(text, Qt::CaseInsensitive));
}

void EditorFilters::filterRowsSoon() {
    if (rowsPending_ || !table_)
        return;
    rowsPending_ = true;
    QTimer::singleShot(0, this, [this] {
        rowsPending_ = false;
        filterRows();
    });
}

void EditorFilters::filterRows() {
    if (!table_ || !model_ || !context_.live())
        return;
    const bool onlyWithout = withoutText_ && withoutText_->isChecked();
    auto records = editor_.currentForm();
    const std::string& language = editor_.settings().mCurrentLanguage;
    controls::Grid& grid = editor_.Grid();
    for (int row = 0; row < model_->rowCount(); ++row) {
        bool hide = false;
        const int32_t position = model_->gridRow(row);
        if (onlyWithout && records && position >= 0) {
            const int32_t index = grid.RowIndex(position);
            hide = index >= 1 && index <= records->Count() &&
                   records->Item(index)->textIn(language).find_first_not_of(" \t\r\n") != std::string::npos;
        }
        table_->setRowHidden(row, hide);
        cards_->setRowHidden(row, hide);
    }
}

} // namespace corvane::app

#include "app/views/GroupByArea.h"

#include "app/views/GridView.h"
#include "app/views/ViewContext.h"
#include "controls/Grid.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMimeData>

#include <vector>

namespace corvane::app {

GroupByArea::GroupByArea(controls::Grid& grid, ViewContext& context, QWidget* parent)
    : QFrame(parent), grid_(grid), context_(context), label_(new QLabel(this)) {
    setAcceptDrops(true);
    setFrameShape(QFrame::StyledPanel);
    setBackgroundRole(QPalette::Mid);
    setAutoFillBackground(true);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->addWidget(label_);
    setToolTip(QStringLiteral("Drag a column header here to group the rows by that column.\n"
                              "Right-click to remove one grouping level or all; double-click removes all."));
    setContextMenuPolicy(Qt::DefaultContextMenu);
    showLevels();
    context.connect(grid.Groups().Changed, [this] { showLevels(); });
    context.connect(grid.PropertyChanged, [this](std::string_view property) {
        if (property == "GroupByBoxInfoText")
            showLevels();
    });
}

QString GroupByArea::shownText() const { return label_->text(); }

void GroupByArea::showLevels() {
    if (grid_.Groups().Count() == 0) {
        label_->setText(QString::fromStdString(grid_.GroupByBoxInfoText()));
        return;
    }
    QStringList levels;
    for (const auto& level : grid_.Groups())
        levels << QString::fromStdString(grid_.Columns().Item(level.ColIndex).Caption());
    label_->setText(levels.join(QStringLiteral(" > ")));
}

void GroupByArea::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasFormat(GridColumnMimeType))
        event->acceptProposedAction();
}

void GroupByArea::dropEvent(QDropEvent* event) {
    bool ok = false;
    int column = QString::fromUtf8(event->mimeData()->data(GridColumnMimeType)).toInt(&ok);
    if (!ok)
        return;
    dropColumn(static_cast<int16_t>(column));
    event->acceptProposedAction();
}

void GroupByArea::dropColumn(int16_t column) {
    for (const auto& level : grid_.Groups())
        if (level.ColIndex == column)
            return; // already a level
    context_.act([&] { grid_.Groups().Add(column, 1); });
}

void GroupByArea::mouseDoubleClickEvent(QMouseEvent*) { removeLevel(0); }

void GroupByArea::removeLevel(int32_t position) {
    context_.act([&] {
        std::vector<controls::GridOrderKey> kept;
        int32_t at = 1;
        for (const auto& level : grid_.Groups())
            if (position != 0 && at++ != position)
                kept.push_back(level);
        grid_.Groups().Clear();
        for (const auto& level : kept)
            grid_.Groups().Add(level.ColIndex, level.SortOrder);
    });
}

QMenu* GroupByArea::levelMenu() {
    auto* menu = new QMenu(this);
    int32_t position = 1;
    for (const auto& level : grid_.Groups()) {
        QString caption = QString::fromStdString(grid_.Columns().Item(level.ColIndex).Caption());
        menu->addAction(QStringLiteral("Remove Grouping by \"%1\"").arg(caption), this,
                        [this, position] { removeLevel(position); });
        ++position;
    }
    if (position > 1)
        menu->addSeparator();
    QAction* all = menu->addAction(QStringLiteral("Remove All Grouping"), this, [this] { removeLevel(0); });
    all->setEnabled(position > 1);
    return menu;
}

void GroupByArea::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = levelMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

} // namespace corvane::app

#include "app/GroupByArea.h"

#include "app/GridView.h"
#include "app/ViewContext.h"
#include "controls/Grid.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMimeData>

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

void GroupByArea::mouseDoubleClickEvent(QMouseEvent*) {
    context_.act([&] { grid_.Groups().Clear(); });
}

} // namespace corvane::app

#include "app/views/GridView.h"

#include "app/views/CellEditDelegate.h"
#include "app/views/GridItemModel.h"
#include "app/views/GroupByArea.h"
#include "app/views/ViewContext.h"
#include "controls/Grid.h"

#include <QApplication>
#include <QDrag>
#include <QHeaderView>
#include <QListView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace corvane::app {

namespace {

// The table's header: a click sorts (through the program), a drag carries the column to the
// group-by area.
class ColumnHeader : public QHeaderView {
public:
    explicit ColumnHeader(GridItemModel& model, QWidget* parent) : QHeaderView(Qt::Horizontal, parent), model_(model) {
        setSectionsClickable(true);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override {
        pressed_ = event->position().toPoint();
        QHeaderView::mousePressEvent(event);
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        bool dragging = (event->buttons() & Qt::LeftButton) &&
                        (event->position().toPoint() - pressed_).manhattanLength() >= QApplication::startDragDistance() &&
                        cursor().shape() != Qt::SplitHCursor;
        int section = logicalIndexAt(pressed_);
        if (!dragging || section < 0)
            return QHeaderView::mouseMoveEvent(event);
        auto* mime = new QMimeData;
        mime->setData(GridColumnMimeType, QByteArray::number(model_.gridColumn(section)));
        auto* drag = new QDrag(this);
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }

private:
    GridItemModel& model_;
    QPoint pressed_;
};

// The card view draws each row as a card: every column's caption and value.
class CardDelegate : public QStyledItemDelegate {
public:
    explicit CardDelegate(GridItemModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        painter->save();
        if (model_.isGroupHeader(index.row())) {
            QFont bold = option.font;
            bold.setBold(true);
            painter->setFont(bold);
            painter->setPen(option.palette.color(QPalette::Text));
            painter->drawText(option.rect.adjusted(6, 4, -6, -4), Qt::AlignLeft | Qt::AlignBottom,
                              index.data().toString().trimmed());
            painter->restore();
            return;
        }
        QRect card = option.rect.adjusted(4, 4, -4, -4);
        bool selected = option.state & QStyle::State_Selected;
        painter->setPen(option.palette.color(QPalette::Mid));
        painter->setBrush(option.palette.color(selected ? QPalette::Highlight : QPalette::Base));
        painter->drawRect(card);
        painter->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        int line = option.fontMetrics.height();
        int y = card.top() + 4;
        for (int column = 0; column < model_.columnCount(); ++column, y += line) {
            QString caption = model_.headerData(column, Qt::Horizontal).toString();
            QString value = model_.index(index.row(), column).data().toString();
            QRect row(card.left() + 6, y, card.width() - 12, line);
            QFont bold = option.font;
            bold.setBold(true);
            painter->setFont(bold);
            painter->drawText(row, Qt::AlignLeft | Qt::AlignVCenter, caption + QStringLiteral(":"));
            painter->setFont(option.font);
            int captionWidth = QFontMetrics(bold).horizontalAdvance(caption) + 16;
            QRect valueRect = row.adjusted(std::max(row.width() / 3, captionWidth), 0, 0, 0);
            painter->drawText(valueRect, Qt::AlignLeft | Qt::AlignVCenter,
                              option.fontMetrics.elidedText(value, Qt::ElideRight, valueRect.width()));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        if (model_.isGroupHeader(index.row())) {
            // A heading takes a line of its own, above its group's cards.
            auto* view = qobject_cast<const QAbstractScrollArea*>(option.widget);
            int width = view ? view->viewport()->width() - 2 * CardSpacing : 260;
            return {std::max(260, width), option.fontMetrics.height() + 12};
        }
        return {260, option.fontMetrics.height() * model_.columnCount() + 16};
    }

    // The list view's spacing around items.
    static constexpr int CardSpacing = 2;

private:
    GridItemModel& model_;
};

} // namespace

GridView::GridView(controls::Grid& grid, ViewContext& context, QWidget* parent)
    : QWidget(parent), grid_(grid), context_(context), model_(new GridItemModel(grid, context, this)),
      groupArea_(new GroupByArea(grid, context, this)), stack_(new QStackedWidget(this)), table_(new QTableView),
      cards_(new QListView) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(groupArea_);
    layout->addWidget(stack_, 1);

    table_->setModel(model_);
    table_->setHorizontalHeader(new ColumnHeader(*model_, table_));
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    table_->horizontalHeader()->setStretchLastSection(true);
    cellDelegate_ = new CellEditDelegate(grid, *model_, table_);
    table_->setItemDelegate(cellDelegate_);
    table_->horizontalHeader()->setSortIndicatorShown(true);
    cards_->setModel(model_);
    cards_->setViewMode(QListView::IconMode);
    cards_->setFlow(QListView::LeftToRight);
    cards_->setWrapping(true);
    cards_->setResizeMode(QListView::Adjust);
    cards_->setMovement(QListView::Static);
    cards_->setUniformItemSizes(true); // until grouping brings headings (showGroupHeaders)
    cards_->setSpacing(CardDelegate::CardSpacing);
    cards_->setItemDelegate(new CardDelegate(*model_, cards_));
    stack_->addWidget(table_);
    stack_->addWidget(cards_);

    connect(table_->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
        context_.act([&] { grid_.clickColumnHeader(model_->gridColumn(section)); });
    });
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(table_), static_cast<QAbstractItemView*>(cards_)})
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this](const QModelIndex& current) { userSelected(current.row()); });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] {
        showGroupHeaders();
        showColumnWidths();
        showCurrentRow();
        showSortIndicator();
    });
    context.connect(grid.PropertyChanged, [this](std::string_view property) {
        if (property == "View")
            showView();
        else if (property == "Row")
            showCurrentRow();
        else if (property == "Value")
            showCurrentValues(); // typed into the help text box: the cell follows each keystroke
        else if (property == "SelStart" || property == "SelLength")
            showEditSelection();
    });
    context.connect(grid.SortKeys().Changed, [this] { showSortIndicator(); });
    showView();
    showGroupHeaders();
    showColumnWidths();
    showCurrentRow();
    showSortIndicator();
}

void GridView::showColumnWidths() {
    if (!context_.live())
        return;
    for (int column = 0; column < model_->columnCount(); ++column) {
        int32_t twips = grid_.Columns().Item(model_->gridColumn(column)).Width();
        if (twips > 0)
            table_->setColumnWidth(column, ViewContext::toPixelsX(twips));
    }
}

void GridView::showGroupHeaders() {
    table_->clearSpans();
    cards_->setUniformItemSizes(!context_.live() || grid_.Groups().Count() == 0);
    if (!context_.live() || grid_.Groups().Count() == 0)
        return;
    // A header row reads across the whole table.
    int columns = model_->columnCount();
    for (int row = 0; row < model_->rowCount(); ++row)
        if (model_->isGroupHeader(row) && columns > 1)
            table_->setSpan(row, 0, 1, columns);
}

void GridView::showView() {
    stack_->setCurrentWidget(grid_.View() == controls::jgexCard ? static_cast<QWidget*>(cards_) : table_);
}

void GridView::showCurrentRow() {
    if (!context_.live())
        return;
    cellDelegate_->setHighlight(false);
    int row = grid_.Row() < grid_.RowCount() ? model_->modelRow(grid_.Row()) : -1;
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(table_), static_cast<QAbstractItemView*>(cards_)}) {
        QSignalBlocker blocker(view->selectionModel());
        if (row < 0) {
            view->selectionModel()->clear();
            continue;
        }
        QModelIndex index = model_->index(row, std::max(0, view->currentIndex().column()));
        view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        view->scrollTo(index);
    }
    // The selection model's signals were blocked, so the views repaint the rows that lost and
    // gained the selection (and the end of the edit highlight) themselves.
    table_->viewport()->update();
    cards_->viewport()->update();
}

void GridView::showCurrentValues() {
    int row = grid_.Row() < grid_.RowCount() ? model_->modelRow(grid_.Row()) : -1;
    if (row >= 0)
        emit model_->dataChanged(model_->index(row, 0), model_->index(row, model_->columnCount() - 1));
}

void GridView::showEditSelection() {
    // Shown until the current row changes (showCurrentRow ends it).
    cellDelegate_->setHighlight(true);
    table_->viewport()->update();
}

void GridView::showSortIndicator() {
    auto* header = table_->horizontalHeader();
    if (grid_.SortKeys().Count() == 0) {
        header->setSortIndicator(-1, Qt::AscendingOrder);
        return;
    }
    const auto& key = grid_.SortKeys().Item(1);
    header->setSortIndicator(model_->modelColumn(key.ColIndex),
                             key.SortOrder < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void GridView::userSelected(int modelRow) {
    int32_t row = model_->gridRow(modelRow);
    if (row < 0 || row == grid_.Row())
        return;
    context_.act([&] { grid_.SetRow(row); });
    if (context_.live())
        showCurrentRow();
}

QWidget* createGridView(controls::Control& control, QWidget* parent, ViewContext& context) {
    return new GridView(static_cast<controls::Grid&>(control), context, parent);
}

} // namespace corvane::app

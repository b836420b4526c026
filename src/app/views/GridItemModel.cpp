#include "app/views/GridItemModel.h"

#include "app/views/CaptionLabel.h"
#include "app/views/ViewContext.h"
#include "controls/Grid.h"

#include <QFont>
#include <QPalette>
#include <QApplication>

#include <algorithm>

namespace corvane::app {

GridItemModel::GridItemModel(controls::Grid& grid, ViewContext& context, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), context_(context) {
    context.connect(grid.RowsChanged, [this] { rowsReordered(); });
    for (const auto& column : grid.Columns())
        context.connect(column->Changed, [this] {
            beginResetModel();
            layoutValid_ = false;
            endResetModel();
        });
}

void GridItemModel::rowsReordered() {
    // The grid has already changed its rows: every row may show another record now.
    beginResetModel();
    layoutValid_ = false;
    endResetModel();
}

const std::optional<std::vector<GridItemModel::ModelRow>>& GridItemModel::layout() const {
    if (!layoutValid_) {
        layout_ = buildLayout();
        layoutValid_ = true;
    }
    return layout_;
}

std::optional<std::vector<GridItemModel::ModelRow>> GridItemModel::buildLayout() const {
    int levels = context_.live() ? grid_.Groups().Count() : 0;
    if (levels == 0)
        return std::nullopt;
    std::vector<int16_t> columns;
    for (int level = 1; level <= levels; ++level)
        columns.push_back(grid_.Groups().Item(level).ColIndex);
    std::vector<ModelRow> rows;
    std::vector<std::string> previous;
    context_.act([&] {
        for (int32_t position = 0; position < grid_.RowCount(); ++position) {
            std::vector<std::string> values;
            for (int16_t column : columns)
                values.push_back(grid_.cellValue(position, column).toText());
            auto first = previous.empty() ? 0 : std::mismatch(values.begin(), values.end(), previous.begin()).first - values.begin();
            for (auto level = first; level < static_cast<std::ptrdiff_t>(values.size()); ++level)
                rows.push_back({position, static_cast<int>(level)});
            rows.push_back({position, -1});
            previous = std::move(values);
        }
    });
    return rows;
}

int32_t GridItemModel::gridRow(int modelRow) const {
    if (modelRow < 0 || modelRow >= rowCount())
        return -1;
    const auto& rows = layout();
    if (!rows)
        return modelRow;
    const ModelRow& row = (*rows)[static_cast<size_t>(modelRow)];
    return row.level < 0 ? row.position : -1;
}

int GridItemModel::modelRow(int32_t gridRow) const {
    if (gridRow < 0 || gridRow >= rowCount())
        return -1;
    const auto& rows = layout();
    if (!rows)
        return gridRow;
    // Record rows come in position order, each after the headers of its groups.
    auto found = std::lower_bound(rows->begin(), rows->end(), gridRow, [](const ModelRow& row, int32_t position) {
        return row.position < position || (row.position == position && row.level >= 0);
    });
    return found == rows->end() ? -1 : static_cast<int>(found - rows->begin());
}

bool GridItemModel::isGroupHeader(int modelRow) const { return groupLevel(modelRow) >= 0; }

int GridItemModel::groupLevel(int modelRow) const {
    const auto& rows = layout();
    if (!rows || modelRow < 0 || modelRow >= static_cast<int>(rows->size()))
        return -1;
    return (*rows)[static_cast<size_t>(modelRow)].level;
}

QString GridItemModel::headerText(const ModelRow& header) const {
    int16_t column = grid_.Groups().Item(header.level + 1).ColIndex;
    QString text;
    context_.act([&] {
        text = QString(header.level * 4, QLatin1Char(' ')) +
               QString::fromStdString(grid_.Columns().Item(column).Caption() + ": " +
                                      grid_.cellValue(header.position, column).toText());
    });
    return text;
}

int16_t GridItemModel::gridColumn(int modelColumn) const {
    auto columns = grid_.Columns().inDisplayOrder();
    if (modelColumn < 0 || modelColumn >= static_cast<int>(columns.size()))
        return 0;
    return columns[static_cast<size_t>(modelColumn)]->Index();
}

int GridItemModel::modelColumn(int16_t gridColumn) const {
    auto columns = grid_.Columns().inDisplayOrder();
    for (size_t i = 0; i < columns.size(); ++i)
        if (columns[i]->Index() == gridColumn)
            return static_cast<int>(i);
    return -1;
}

int GridItemModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !context_.live())
        return 0;
    const auto& rows = layout();
    return rows ? static_cast<int>(rows->size()) : grid_.RowCount();
}

int GridItemModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() || !context_.live() ? 0 : grid_.Columns().Count();
}

bool GridItemModel::shows(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.row() < rowCount() && index.column() < columnCount();
}

QVariant GridItemModel::data(const QModelIndex& index, int role) const {
    if (!shows(index))
        return {};
    int level = groupLevel(index.row());
    if (level >= 0) {
        if (role == Qt::FontRole) {
            QFont font = QApplication::font();
            font.setBold(true);
            return font;
        }
        if (role == Qt::BackgroundRole)
            return QApplication::palette().brush(QPalette::AlternateBase);
        if (role != Qt::DisplayRole || index.column() != 0)
            return {};
        return headerText((*layout())[static_cast<size_t>(index.row())]);
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    int32_t position = gridRow(index.row());
    QString text;
    context_.act([&] { text = QString::fromStdString(grid_.cellValue(position, gridColumn(index.column())).toText()); });
    if (role == Qt::DisplayRole)
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    if (role == Qt::DisplayRole && captionColumn_ != 0 && gridColumn(index.column()) == captionColumn_)
        return CaptionLabel::shownText(text);
    return text;
}

void GridItemModel::showAsCaptions(int16_t gridColumn) {
    captionColumn_ = gridColumn;
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

QVariant GridItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || !context_.live())
        return QAbstractTableModel::headerData(section, orientation, role);
    int16_t column = gridColumn(section);
    if (column == 0)
        return {};
    return QString::fromStdString(grid_.Columns().Item(column).Caption());
}

Qt::ItemFlags GridItemModel::flags(const QModelIndex& index) const {
    if (!shows(index))
        return Qt::NoItemFlags;
    if (isGroupHeader(index.row()))
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (grid_.Columns().Item(gridColumn(index.column())).EditAllowed())
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool GridItemModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    bool done = false;
    context_.act([&] {
        // The edit goes into the current row, as the grid's own editor does.
        int32_t position = gridRow(index.row());
        if (grid_.Row() != position)
            grid_.SetRow(position);
        QString text = value.toString();
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        grid_.SetValue(gridColumn(index.column()), Variant(text.toStdString()));
        done = true;
    });
    if (done && context_.live())
        emit dataChanged(index, index);
    return done;
}

} // namespace corvane::app

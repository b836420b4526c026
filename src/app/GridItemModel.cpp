#include "app/GridItemModel.h"

#include "app/ViewContext.h"
#include "controls/Grid.h"

namespace corvane::app {

GridItemModel::GridItemModel(controls::Grid& grid, ViewContext& context, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), context_(context) {
    context.connect(grid.RowsChanged, [this] { rowsReordered(); });
    for (const auto& column : grid.Columns())
        context.connect(column->Changed, [this] {
            beginResetModel();
            endResetModel();
        });
}

void GridItemModel::rowsReordered() {
    // The grid has already changed its rows: every row may show another record now.
    beginResetModel();
    endResetModel();
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
    return parent.isValid() || !context_.live() ? 0 : grid_.RowCount();
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
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != Qt::ToolTipRole)
        return {};
    QString text;
    context_.act([&] { text = QString::fromStdString(grid_.cellValue(index.row(), gridColumn(index.column())).toText()); });
    if (role == Qt::DisplayRole)
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    return text;
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
        if (grid_.Row() != index.row())
            grid_.SetRow(index.row());
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

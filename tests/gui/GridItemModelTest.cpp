// The grid's Qt item model and view: the model passes Qt's model tester through row count,
// order and column changes, reads only the rows on screen, and edits go into the grid's row.
#include "gui/GuiTestSupport.h"

#include "app/views/GridItemModel.h"
#include "app/views/GridView.h"
#include "app/views/GroupByArea.h"
#include "app/views/ViewContext.h"
#include "controls/Grid.h"

#include <QAbstractItemModelTester>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

namespace corvane::test {

namespace {

// A grid of `rows` records whose values the test keeps, as the editor keeps its records.
struct RecordGrid {
    explicit RecordGrid(int32_t rows) {
        for (const char* key : {"ControlType", "ControlName", "HelpText"})
            grid.Columns().Add(key).SetCaption(key);
        grid.Columns().Item(3).SetEditAllowed(true);
        for (int32_t i = 1; i <= rows; ++i)
            texts[i] = "text " + std::to_string(i);
        grid.UnboundReadData.connect([this](int32_t row, const Variant&, controls::GridRowValues& values) {
            values.SetValue(1, Variant(row % 2 ? "TextBox" : "Label"));
            values.SetValue(2, Variant("ctl" + std::to_string(100000 - row)));
            values.SetValue(3, Variant(texts[row]));
        });
        grid.UnboundUpdate.connect([this](int32_t row, const Variant&, controls::GridRowValues& values) {
            texts[row] = values.Value(3).toText();
        });
        grid.SetItemCount(rows);
    }
    controls::Grid grid;
    std::map<int32_t, std::string> texts;
};

} // namespace

TEST(GridItemModel, PassesTheModelTesterThroughEveryChangeOfTheGrid) {
    ensureApplication();
    RecordGrid records(40);
    app::ViewContext context;
    app::GridItemModel model(records.grid, context);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);

    EXPECT_EQ(model.rowCount(), 40);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("ControlName"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("ctl99999"));

    records.grid.SortKeys().Add(2, 1);
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("ctl99960"));
    // Grouped: a header row before each group; the headers read no row the order did not.
    records.grid.Groups().Add(1, -1);
    (void)records.grid.cellValue(0, 1);
    int64_t readForOrder = records.grid.rowsRead();
    ASSERT_EQ(model.rowCount(), 42);
    EXPECT_EQ(records.grid.rowsRead(), readForOrder);
    EXPECT_TRUE(model.isGroupHeader(0));
    EXPECT_EQ(model.index(0, 0).data().toString(), QStringLiteral("ControlType: TextBox"));
    EXPECT_EQ(model.index(0, 1).data().toString(), QString());
    EXPECT_FALSE(model.flags(model.index(0, 0)) & Qt::ItemIsSelectable);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("TextBox"));
    EXPECT_EQ(model.index(1, 1).data().toString(), QStringLiteral("ctl99961"));
    EXPECT_EQ(model.gridRow(0), -1);
    EXPECT_EQ(model.gridRow(1), 0);
    EXPECT_EQ(model.modelRow(0), 1);
    EXPECT_TRUE(model.isGroupHeader(21));
    EXPECT_EQ(model.index(21, 0).data().toString(), QStringLiteral("ControlType: Label"));
    EXPECT_EQ(model.gridRow(22), 20);
    EXPECT_EQ(model.modelRow(20), 22);
    EXPECT_EQ(model.modelRow(39), 41);
    EXPECT_EQ(model.modelRow(40), -1);
    // A second level: a header of the inner level before every row of it.
    records.grid.Groups().Add(2, 1);
    ASSERT_EQ(model.rowCount(), 82);
    EXPECT_EQ(model.groupLevel(0), 0);
    EXPECT_EQ(model.groupLevel(1), 1);
    EXPECT_EQ(model.index(1, 0).data().toString(), QStringLiteral("    ControlName: ctl99961"));
    EXPECT_EQ(model.groupLevel(2), -1);
    EXPECT_EQ(model.groupLevel(3), 1);
    records.grid.Groups().Clear();
    records.grid.Groups().Add(1, -1);
    ASSERT_EQ(model.rowCount(), 42);
    records.grid.Columns().Item(3).SetColPosition(1);
    records.grid.Columns().Item(1).SetColPosition(3);
    EXPECT_EQ(model.gridColumn(0), 3);
    EXPECT_EQ(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("HelpText"));
    records.grid.SetItemCount(5);
    EXPECT_EQ(model.rowCount(), 7); // three text boxes and two labels, under their headers
    records.grid.SetItemCount(0);
    EXPECT_EQ(model.rowCount(), 0);

    // Once the window is gone the model shows nothing and reads nothing.
    records.grid.SetItemCount(3);
    context.retire();
    EXPECT_EQ(model.rowCount(), 0);
}

TEST(GridItemModel, EditsGoIntoTheGridsCurrentRowAndOnlyEditableColumnsTakeThem) {
    ensureApplication();
    RecordGrid records(10);
    app::ViewContext context;
    app::GridItemModel model(records.grid, context);
    EXPECT_FALSE(model.flags(model.index(4, 1)) & Qt::ItemIsEditable);
    EXPECT_FALSE(model.setData(model.index(4, 1), QStringLiteral("x")));
    ASSERT_TRUE(model.flags(model.index(4, 2)) & Qt::ItemIsEditable);
    ASSERT_TRUE(model.setData(model.index(4, 2), QStringLiteral("line one\nline two")));
    EXPECT_EQ(records.grid.Row(), 4);
    records.grid.SetRow(0); // leaving the row commits the edit
    EXPECT_EQ(records.texts[5], "line one\r\nline two");
    EXPECT_EQ(model.index(4, 2).data().toString(), QStringLiteral("line one line two"));
    EXPECT_EQ(model.index(4, 2).data(Qt::EditRole).toString(), QStringLiteral("line one\r\nline two"));
}

TEST(GridView, ReadsOnlyTheRowsOnScreenOfFiveThousand) {
    ensureApplication();
    RecordGrid records(5000);
    app::ViewContext context;
    app::GridView view(records.grid, context, nullptr);
    view.resize(600, 400);
    PaintCounter painted(view.table()->viewport());
    view.show();
    ASSERT_TRUE(waitFor([&] { return painted.paints() > 0; }));
    int64_t afterShow = records.grid.rowsRead();
    EXPECT_GT(afterShow, 0);
    EXPECT_LT(afterShow, 100);

    // Scrolling to the end reads the rows shown there, not the ones in between.
    int paintsBefore = painted.paints();
    view.table()->scrollToBottom();
    ASSERT_TRUE(waitFor([&] { return painted.paints() > paintsBefore; }));
    EXPECT_LT(records.grid.rowsRead() - afterShow, 100);
    EXPECT_EQ(view.table()->indexAt(QPoint(5, 5)).isValid(), true);
    EXPECT_GT(view.table()->indexAt(QPoint(5, 5)).row(), 4900);

    // A header dropped on the group-by area groups by its column.
    app::GroupByArea* area = view.groupByArea();
    int64_t beforeGrouping = records.grid.rowsRead();
    area->dropColumn(1);
    area->dropColumn(1); // a second drop of the same column adds nothing
    ASSERT_EQ(records.grid.Groups().Count(), 1);
    EXPECT_EQ(area->shownText(), QStringLiteral("ControlType"));
    paintsBefore = painted.paints();
    ASSERT_TRUE(waitFor([&] { return painted.paints() > paintsBefore; }));
    // The grouped order reads every row once; the header rows and the screen add nothing.
    EXPECT_LE(records.grid.rowsRead() - beforeGrouping, 5000);
    EXPECT_EQ(view.table()->model()->rowCount(), 5002);
    EXPECT_EQ(view.table()->columnSpan(0, 0), 3);
    EXPECT_EQ(view.table()->columnSpan(1, 0), 1);

    // Selecting a row in the table moves the grid's current row.
    QModelIndex target = view.table()->indexAt(QPoint(5, 5));
    ASSERT_FALSE(view.model()->isGroupHeader(target.row()));
    clickAt(view.table()->viewport(), view.table()->visualRect(target).center());
    EXPECT_EQ(records.grid.Row(), view.model()->gridRow(target.row()));
    EXPECT_EQ(view.table()->currentIndex().row(), target.row());
    // A click on a header row selects nothing.
    view.table()->scrollToTop();
    ASSERT_TRUE(waitFor([&] { return view.table()->rowAt(0) == 0; }));
    int32_t before = records.grid.Row();
    clickAt(view.table()->viewport(), view.table()->visualRect(view.model()->index(0, 0)).center());
    EXPECT_EQ(records.grid.Row(), before);
    context.retire();
}

} // namespace corvane::test

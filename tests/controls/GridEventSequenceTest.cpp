// The grid model's events in exact order: what the editor window relies on when it counts,
// re-reads, sorts and edits rows.
#include "controls/Grid.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

namespace corvane::controls {
namespace {

using Log = std::vector<std::string>;

// A grid over records of (name, text) that logs every event with what a handler sees then.
struct RecordingGrid {
    Grid grid;
    std::vector<std::pair<std::string, std::string>> records;
    Log log;

    explicit RecordingGrid(std::vector<std::pair<std::string, std::string>> rows) : records(std::move(rows)) {
        grid.Columns().Add("Name");
        grid.Columns().Add("Text");
        grid.UnboundReadData.connect([this](int32_t index, const Variant& bookmark, GridRowValues& values) {
            log.push_back("read " + std::to_string(index) + " bookmark " + bookmark.toText());
            values.SetValue(1, Variant(records[static_cast<size_t>(index - 1)].first));
            values.SetValue(2, Variant(records[static_cast<size_t>(index - 1)].second));
        });
        grid.UnboundUpdate.connect([this](int32_t index, const Variant&, GridRowValues& values) {
            const Variant& text = values.Value(2);
            log.push_back("update " + std::to_string(index) + " " + (text.isNull() ? "null" : text.toText()));
            records[static_cast<size_t>(index - 1)].second = text.isNull() ? "" : text.toText();
        });
        grid.Change.connect([this] { log.push_back("change, cell now " + grid.Value(2).toText()); });
        grid.RowColChange.connect([this](const Variant& lastRow, int16_t lastCol) {
            log.push_back("rowcol from " + lastRow.toText() + "," + std::to_string(lastCol) + " to " +
                          std::to_string(grid.Row()) + "," + std::to_string(grid.Col()) + " of " +
                          std::to_string(grid.ItemCount()));
        });
        grid.ColumnHeaderClick.connect([this](GridColumn& column) { log.push_back("header " + column.Key()); });
    }

    Log take() { return std::exchange(log, {}); }
    // The names in display order, read through the grid.
    std::string names() {
        std::string result;
        for (int32_t position = 0; position < grid.RowCount(); ++position)
            result += grid.cellValue(position, 1).toText();
        return result;
    }
};

TEST(GridEvents, CountingAndRefetchingDropPendingEditsAndReportTheNewState) {
    RecordingGrid g({{"a", "1"}, {"b", "2"}, {"c", "3"}});
    g.grid.SetItemCount(3);
    EXPECT_EQ(g.take(), (Log{"rowcol from 0,1 to 0,1 of 3"}));
    g.grid.SetRow(2);
    g.grid.SetValue(2, Variant("three"));
    EXPECT_EQ(g.take(), (Log{"rowcol from 0,1 to 2,1 of 3", "read 3 bookmark 3", "change, cell now three"}));

    // Re-counting forgets the edit and puts the current row on the first position.
    g.grid.SetItemCount(2);
    EXPECT_EQ(g.take(), (Log{"rowcol from 2,1 to 0,1 of 2"}));
    EXPECT_EQ(g.records[2].second, "3");
    g.grid.SetRow(1);
    g.grid.SetValue(2, Variant("two"));
    g.grid.Refetch();
    EXPECT_EQ(g.take(), (Log{"rowcol from 0,1 to 1,1 of 2", "read 2 bookmark 2", "change, cell now two",
                             "rowcol from 1,1 to 1,1 of 2"}));
    EXPECT_EQ(g.grid.Value(2).toText(), "2");
    EXPECT_EQ(g.take(), (Log{"read 2 bookmark 2"}));

    // Down to no rows: the handler sees the count 0 and no current record.
    g.grid.SetItemCount(0);
    EXPECT_EQ(g.take(), (Log{"rowcol from 1,1 to 0,1 of 0"}));
    EXPECT_TRUE(g.grid.Value(2).isEmpty());
    g.grid.Update();
    g.grid.Refetch();
    EXPECT_EQ(g.take(), (Log{"rowcol from 0,1 to 0,1 of 0"}));
}

TEST(GridEvents, ColumnMovesCommitNothingAndRowMovesCommitFirst) {
    RecordingGrid g({{"a", "1"}, {"b", "2"}});
    g.grid.SetItemCount(2);
    g.grid.SetValue(2, Variant("one"));
    g.take();
    g.grid.SetCol(2);
    g.grid.SetCol(2); // the same column: nothing
    g.grid.SetRow(0); // the same row: nothing
    EXPECT_EQ(g.take(), (Log{"rowcol from 0,1 to 0,2 of 2"}));
    EXPECT_EQ(g.records[0].second, "1");

    g.grid.MoveNext();
    EXPECT_EQ(g.take(), (Log{"update 1 one", "rowcol from 0,2 to 1,2 of 2"}));
    // A cleared cell is committed as null; clearing it twice changes it once.
    g.grid.SetValue(2, Variant::null());
    g.grid.SetValue(2, Variant::null());
    g.grid.MoveNext();
    g.grid.MoveNext(); // already past the last row: nothing
    EXPECT_EQ(g.take(), (Log{"read 2 bookmark 2", "change, cell now Null", "update 2 null", "rowcol from 1,2 to 2,2 of 2"}));
    EXPECT_EQ(g.records[1].second, "");
    EXPECT_THROW(g.grid.SetValue(2, Variant("x")), VbError);
    EXPECT_THROW(g.grid.SetRow(3), VbError);
    EXPECT_TRUE(g.take().empty());

    g.grid.clickColumnHeader(2);
    EXPECT_EQ(g.take(), (Log{"header Text"}));
}

TEST(GridEvents, SortingKeepsTheEditPendingAndACommitThatMovesTheRowLandsOnTheClickedRecord) {
    RecordingGrid g({{"a", "1"}, {"b", "2"}, {"c", "3"}, {"d", "4"}});
    g.grid.SetItemCount(4);
    g.grid.SetValue(2, Variant("9")); // record a, still first
    g.take();
    g.grid.SortKeys().Add(2, 1);
    EXPECT_EQ(g.take(), (Log{"read 2 bookmark 2", "read 3 bookmark 3", "read 4 bookmark 4"}));
    EXPECT_EQ(g.names(), "bcda") << "sorted by the pending value";
    EXPECT_EQ(g.grid.Row(), 3);
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 1);
    EXPECT_EQ(g.records[0].second, "1") << "sorting commits nothing";

    // The user clicks record c; the commit of a keeps its place, c becomes current.
    g.grid.SetRow(1);
    EXPECT_EQ(g.take(), (Log{"update 1 9", "rowcol from 3,1 to 1,1 of 4"}));
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 3);

    // Now c's edit moves it to the end; the click on d (position 2) must land on d.
    g.grid.SetValue(2, Variant("99"));
    g.grid.SetRow(2);
    EXPECT_EQ(g.names(), "bdac");
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 4) << "the row the user clicked";
    EXPECT_EQ(g.take(), (Log{"change, cell now 99", "update 3 99", "rowcol from 3,1 to 1,1 of 4"}));

    // A walk with MoveNext over rows whose edits re-sort them visits every record.
    std::set<std::string> visited;
    g.grid.MoveFirst();
    for (int steps = 0; g.grid.Row() != g.grid.RowCount() && steps < 20; ++steps) {
        visited.insert(g.grid.Value(1).toText());
        g.grid.SetValue(2, Variant("x" + g.grid.Value(1).toText())); // moves the row to the end
        g.grid.MoveNext();
    }
    EXPECT_EQ(visited, (std::set<std::string>{"a", "b", "c", "d"}));
    EXPECT_EQ(g.grid.Row(), g.grid.RowCount());
}

TEST(GridEvents, AColumnIsGroupedOnceSoAGroupingLoadedAgainStaysAsItWas) {
    RecordingGrid g({{"b", "1"}, {"a", "2"}, {"c", "1"}});
    g.grid.SetItemCount(3);
    g.grid.Groups().Add(2, 1);
    g.grid.Groups().Add(1, -1);
    g.grid.Groups().Add(2, -1); // already grouped: dropped
    g.grid.Groups().Add(1, -1);
    std::vector<GridOrderKey> levels(g.grid.Groups().begin(), g.grid.Groups().end());
    EXPECT_EQ(levels, (std::vector<GridOrderKey>{{2, 1}, {1, -1}}));
    EXPECT_EQ(g.names(), "cba");
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 1) << "the current record stays current";
}

} // namespace
} // namespace corvane::controls

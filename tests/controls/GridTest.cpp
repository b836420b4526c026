#include "controls/Grid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane::controls {
namespace {

// A grid over a small table of texts that logs every event it raises.
struct LoggedGrid {
    Grid grid;
    std::vector<std::vector<std::string>> records; // records[i] = columns 1..3 of record i+1
    std::vector<std::string> log;

    explicit LoggedGrid(std::vector<std::vector<std::string>> rows) : records(std::move(rows)) {
        grid.Columns().Add("Name");
        grid.Columns().Add("Type");
        grid.Columns().Add("Text");
        grid.UnboundReadData.connect([this](int32_t index, const Variant&, GridRowValues& values) {
            log.push_back("read " + std::to_string(index));
            for (int16_t c = 1; c <= 3; ++c)
                values.SetValue(c, Variant(records[static_cast<size_t>(index - 1)][static_cast<size_t>(c - 1)]));
        });
        grid.UnboundUpdate.connect([this](int32_t index, const Variant&, GridRowValues& values) {
            log.push_back("update " + std::to_string(index) + " " + values.Value(3).toText());
            records[static_cast<size_t>(index - 1)][2] = values.Value(3).toText();
        });
        grid.Change.connect([this] { log.push_back("change"); });
        grid.RowColChange.connect([this](const Variant& lastRow, int16_t lastCol) {
            log.push_back("rowcol " + lastRow.toText() + "," + std::to_string(lastCol) + " -> " +
                          std::to_string(grid.Row()));
        });
    }

    std::vector<std::string> take() { return std::exchange(log, {}); }
};

using Log = std::vector<std::string>;

TEST(Grid, ReadsOnlyRowsAskedForAndCommitsEditsWhenTheRowChanges) {
    LoggedGrid g({{"a", "T", "one"}, {"b", "T", "two"}, {"c", "T", "three"}});
    g.grid.SetItemCount(3);
    EXPECT_EQ(g.take(), (Log{"rowcol 0,1 -> 0"}));
    EXPECT_EQ(g.grid.Value(3).toText(), "one");
    EXPECT_EQ(g.take(), (Log{"read 1"}));

    g.grid.SetValue(3, Variant("ONE"));
    g.grid.SetValue(3, Variant("ONE")); // the same value again raises nothing
    EXPECT_EQ(g.take(), (Log{"change"}));
    EXPECT_EQ(g.records[0][2], "one"); // not committed yet

    g.grid.MoveNext();
    EXPECT_EQ(g.take(), (Log{"update 1 ONE", "rowcol 0,1 -> 1"}));
    EXPECT_EQ(g.records[0][2], "ONE");
    EXPECT_EQ(g.grid.rowsRead(), 1) << "row 2 is read only when asked";

    g.grid.SetValue(3, Variant("TWO"));
    g.grid.Update();
    g.grid.Update(); // nothing left to commit
    EXPECT_EQ(g.take(), (Log{"read 2", "change", "update 2 TWO"}));

    g.grid.Refetch();
    EXPECT_EQ(g.take(), (Log{"rowcol 1,1 -> 1"}));
    EXPECT_EQ(g.grid.Value(3).toText(), "TWO");
    EXPECT_EQ(g.take(), (Log{"read 2"}));
}

TEST(Grid, WalkingFromFirstToRowCountVisitsEveryRowOnce) {
    LoggedGrid g({{"a", "", "1"}, {"b", "", "2"}, {"c", "", "3"}});
    g.grid.SetItemCount(3);
    std::vector<std::string> seen;
    g.grid.MoveFirst();
    while (g.grid.Row() != g.grid.RowCount()) {
        seen.push_back(g.grid.Value(1).toText());
        g.grid.MoveNext();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 0);
    EXPECT_TRUE(g.grid.Value(3).isEmpty());

    LoggedGrid empty({});
    empty.grid.SetItemCount(0);
    empty.grid.MoveFirst();
    EXPECT_EQ(empty.grid.Row(), empty.grid.RowCount());
    EXPECT_THROW(empty.grid.SetValue(3, Variant("x")), VbError);
}

TEST(Grid, SortKeysAndGroupsOrderTheRowsAndKeepTheCurrentRecord) {
    LoggedGrid g({{"b", "Label", "x"}, {"A", "Text", "y"}, {"c", "Label", "z"}});
    g.grid.SetItemCount(3);
    g.grid.SetRow(2); // record 3, "c"
    g.grid.SortKeys().Add(1, 1);
    EXPECT_EQ(g.grid.RowIndex(0), 2); // "A" (letter case ignored)
    EXPECT_EQ(g.grid.RowIndex(1), 1);
    EXPECT_EQ(g.grid.RowIndex(2), 3);
    EXPECT_EQ(g.grid.RowIndex(g.grid.Row()), 3);

    g.grid.SortKeys().Clear();
    g.grid.SortKeys().Add(1, -1);
    EXPECT_EQ(g.grid.RowIndex(0), 3);

    g.grid.Groups().Add(2, 1);
    EXPECT_EQ(g.grid.RowIndex(0), 3); // Label group first, "c" before "b" (descending)
    EXPECT_EQ(g.grid.RowIndex(1), 1);
    EXPECT_EQ(g.grid.RowIndex(2), 2);
    EXPECT_THROW(g.grid.Groups().Add(9, 1), VbError);
    EXPECT_THROW(g.grid.Groups().Add(1, 0), VbError);
    EXPECT_EQ(g.grid.Groups().Count(), 1);
}

} // namespace
} // namespace corvane::controls

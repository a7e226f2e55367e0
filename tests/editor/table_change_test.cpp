#include "editor/table_change.h"

#include <gtest/gtest.h>

namespace quisk {
namespace {

FormatDefinition numbered(int count) {
    FormatDefinition f;
    for (int r = 1; r <= count; ++r)
        f.row(r).fieldName = "n" + std::to_string(r);
    return f;
}

// Each kind of change the editor makes: undoing gives the table before it,
// redoing the table after it, and only the rows that differ are kept.
TEST(TableChange, UndoAndRedoRestoreEveryKindOfChange) {
    struct Case {
        const char* name;
        void (*edit)(FormatDefinition&);
        std::size_t keptBefore, keptAfter;
    };
    const Case cases[] = {
        {"one cell", [](FormatDefinition& f) { f.row(7).length = "3"; }, 1, 1},
        {"a block",
         [](FormatDefinition& f) {
             for (int r = 3; r <= 5; ++r)
                 f.row(r).remarks = "x";
         },
         3, 3},
        {"insert", [](FormatDefinition& f) { f.insertRow(4); }, 0, 1},
        {"delete", [](FormatDefinition& f) { f.removeRow(2); }, 1, 0},
        {"ten rows",
         [](FormatDefinition& f) {
             for (int i = 0; i < 10; ++i)
                 f.insertRow(1);
         },
         0, 10},
        {"first and last",
         [](FormatDefinition& f) {
             f.row(1).fieldType = "Num";
             f.row(200).fieldType = "Num";
         },
         200, 200},
    };
    for (const Case& c : cases) {
        const FormatDefinition before = numbered(20);
        FormatDefinition table = before;
        c.edit(table);
        const FormatDefinition after = table;
        auto change = diffTables(before.rows(), after.rows());
        ASSERT_TRUE(change) << c.name;
        EXPECT_EQ(change->before.size(), c.keptBefore) << c.name;
        EXPECT_EQ(change->after.size(), c.keptAfter) << c.name;
        undoChange(table, *change);
        EXPECT_EQ(table, before) << c.name;
        redoChange(table, *change);
        EXPECT_EQ(table, after) << c.name;
    }
}

TEST(TableChange, EqualTablesGiveNoChange) {
    EXPECT_FALSE(diffTables(numbered(5).rows(), numbered(5).rows()));
}

// Inserting an empty row among empty rows: the stretch found may lie
// elsewhere than where the row went in, but undoing still gives the table.
TEST(TableChange, InsertAmongEqualRowsStillUndoes) {
    const FormatDefinition before;
    FormatDefinition table = before;
    table.insertRow(100);
    auto change = diffTables(before.rows(), table.rows());
    ASSERT_TRUE(change);
    undoChange(table, *change);
    EXPECT_EQ(table, before);
}

} // namespace
} // namespace quisk

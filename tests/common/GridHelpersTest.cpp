#include "common/GridHelpers.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

TEST(GridHelpers, ClearAndEmpty) {
    QStandardItemModel grid(3, 2);
    grid.setData(grid.index(0, 0), "x");
    grid.setData(grid.index(2, 1), "y");
    EXPECT_FALSE(GridIsEmpty(&grid));
    ClearGrid(&grid, 0);
    EXPECT_EQ(grid.rowCount(), 1);
    EXPECT_TRUE(GridIsEmpty(&grid));
    ClearGrid(&grid, 4);
    EXPECT_EQ(grid.rowCount(), 4);
    EXPECT_FALSE(GridIsEmpty(&grid));
}

TEST(GridHelpers, LocateByFieldValueKeepsPositionWhenNotFound) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "grid-helpers");
        db.setDatabaseName(":memory:");
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("create table t(code text)"));
        ASSERT_TRUE(q.exec("insert into t values ('a'),('b'),('c')"));
        QSqlQuery sel(db);
        sel.setForwardOnly(false);
        ASSERT_TRUE(sel.exec("select code from t order by code"));
        EXPECT_FALSE(HasCurrentRecord(sel));
        ASSERT_TRUE(sel.seek(1));
        EXPECT_TRUE(HasCurrentRecord(sel));
        EXPECT_TRUE(LocateByFieldValue(sel, "code", "c"));
        EXPECT_EQ(sel.value(0).toString(), "c");
        EXPECT_FALSE(LocateByFieldValue(sel, "code", "zz"));
        EXPECT_EQ(sel.value(0).toString(), "c");
        EXPECT_FALSE(LocateByFieldValue(sel, "nofield", "a"));
    }
    QSqlDatabase::removeDatabase("grid-helpers");
}

} // namespace

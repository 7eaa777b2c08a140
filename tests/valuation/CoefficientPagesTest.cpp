#include "valuation/CoefficientPages.h"

#include <gtest/gtest.h>

namespace {

TEST(CoefficientPages, AgroGroupListKeepsItsOrderAndGivesBackTheCode) {
    const QStringList codes = AgroGroupCodes();
    const QStringList entries = AgroGroupEntries();
    ASSERT_EQ(codes.size(), 84);
    ASSERT_EQ(entries.size(), 85);
    EXPECT_EQ(entries.first(), "-");
    EXPECT_EQ(codes.first(), "49");
    EXPECT_EQ(codes.last(), "222");
    EXPECT_EQ(codes.indexOf("218") + 1, codes.indexOf("217"));
    EXPECT_EQ(QStringList(codes).removeDuplicates(), 0);
    EXPECT_EQ(entries[1], "49-Черноземы оподзоленные и реградированные слабосмытые");
    EXPECT_TRUE(entries.contains("143.4-Лугово-болотные солончаковатые неосушенные почвы"));
    EXPECT_EQ(entries.last(), "222-Пассивные оползни");
    for (int i = 0; i < codes.size(); ++i)
        EXPECT_EQ(AgroCodeFromChoice(entries[i + 1]), codes[i]) << i;
    EXPECT_EQ(AgroCodeFromChoice(entries[0]), "-");
}

TEST(CoefficientPages, EveryPageWithTablesNamesTablesOfTheSession) {
    TNgoTables tables;
    ASSERT_EQ(PageLayouts().size(), 13);
    for (const TPageLayout& l : PageLayouts()) {
        ASSERT_FALSE(l.Grids.isEmpty());
        for (const TPageGrid& g : l.Grids)
            EXPECT_TRUE(tables.ByName(g.TableName) || g.TableName == "NextGridAgro")
                << g.TableName.toStdString();
        // A page's filter works on a column of its first table.
        if (!l.FilterLabel.isEmpty()) {
            ASSERT_NE(tables.ByName(l.Grids[0].TableName), nullptr);
            EXPECT_GE(FilterColumn(*tables.ByName(l.Grids[0].TableName)), 0) << l.Stem.toStdString();
        }
    }
    EXPECT_EQ(PageLayoutOf(TNgoPage::Kcp)->FilterLabel, "Введіть код");
    EXPECT_EQ(PageLayoutOf(TNgoPage::Nrd)->Grids[1].MemoLines.value(0), "Додаток 2 до Методики НОРМАТИВИ ");
    EXPECT_EQ(PageLayoutOf(TNgoPage::Kni), nullptr);
}

TEST(CoefficientTable, OnlyAChangeThroughTheGridReportsAToggledCheckBox) {
    TCoefficientTable t("NextGridKm2", TTableKind::CheckBox, {"a", "b"});
    t.AppendFields({"x", "1"});
    t.AppendFields({"y", "2"});
    QList<int> toggled;
    QObject::connect(&t, &TCoefficientTable::checkToggled, [&toggled, &t](int row) {
        EXPECT_TRUE(t.IsChecked(row)); // sent after the change
        toggled << row;
    });
    t.SetChecked(0, true);
    EXPECT_TRUE(toggled.isEmpty());
    ASSERT_TRUE(t.setData(t.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(toggled, QList<int>{1});
}

} // namespace

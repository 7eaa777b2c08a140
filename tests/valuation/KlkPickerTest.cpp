// The Клк picker: the pages' filter on its table, cell clicks and the check of the chosen value.
#include "valuation/KlkPicker.h"
#include "common/RecordingSink.h"
#include "valuation/CoefficientRules.h"
#include "valuation/NgoTables.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

class KlkPickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        ParseNgoTables(tables_, {U("dod13=Київська\t1.5\t1.1"), U("dod13=Кам’янка-Бузька\t1.4\t1.0"),
                                 U("dod13=Вінницька\t1,3")});
        ASSERT_EQ(tables_.Klk.RowCount(), 3);
    }
    QVector<bool> Visible() const {
        QVector<bool> v;
        for (int r = 0; r < tables_.Klk.RowCount(); ++r)
            v << !tables_.Klk.IsRowHidden(r);
        return v;
    }
    TNgoTables tables_;
};

TEST_F(KlkPickerTest, FilterOnTheUnitName) {
    TCoefficientTable& klk = tables_.Klk;
    EXPECT_FALSE(ApplyFilter(klk, QStringLiteral(" ки "))); // under three characters: nothing changes
    EXPECT_EQ(Visible(), (QVector<bool>{true, true, true}));
    EXPECT_TRUE(ApplyFilter(klk, U("КИЇВ")));
    EXPECT_EQ(Visible(), (QVector<bool>{true, false, false}));
    EXPECT_TRUE(ApplyFilter(klk, U("кам'ян")));
    EXPECT_EQ(Visible(), (QVector<bool>{false, true, false}));
    ReleaseFilter(klk);
    EXPECT_EQ(Visible(), (QVector<bool>{true, true, true}));
}

TEST_F(KlkPickerTest, CellClicksGiveTheValueOfColumnsOneAndTwo) {
    const TCoefficientTable& klk = tables_.Klk;
    EXPECT_EQ(KlkCellValue(klk, 0, 1), std::optional<QString>(U("1.5")));
    EXPECT_EQ(KlkCellValue(klk, 1, 2), std::optional<QString>(U("1.0")));
    EXPECT_EQ(KlkCellValue(klk, 2, 2), std::optional<QString>(QString()));
    EXPECT_FALSE(KlkCellValue(klk, 0, 0).has_value());
    EXPECT_FALSE(KlkCellValue(klk, 3, 1).has_value());
}

TEST(KlkPicker, TheChosenValueMustBeANonZeroNumber) {
    TRecordingSink sink;
    struct Case {
        const char* value;
        bool ok;
        const char* message;
    };
    const Case cases[] = {
        {"", false, "Значення не обрано."},
        {"0", false, "Значення не є дійсним коефіцієнтом."},
        {"0,0", false, "Значення не є дійсним коефіцієнтом."},
        {"abc", false, "Значення не є дійсним коефіцієнтом."},
        {"1,3", true, ""},
        {" 1.15 ", true, ""},
    };
    for (const Case& c : cases) {
        sink.Clear();
        EXPECT_EQ(KlkAcceptValue(U(c.value)), c.ok) << c.value;
        EXPECT_EQ(sink.LastText(), U(c.message)) << c.value;
    }
}

} // namespace

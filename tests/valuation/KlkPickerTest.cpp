// The Клк picker: filter, cell clicks and the check of the chosen value.
#include "valuation/KlkPicker.h"
#include "common/RecordingSink.h"

#include <gtest/gtest.h>

namespace {

QString U(const char* s) {
    return QString::fromUtf8(s);
}

const QList<QStringList> kRows = {
    {U("Київська"), U("1.5"), U("1.1")},
    {U("Кам’янка-Бузька"), U("1.4"), U("1.0")},
    {U("Вінницька"), U("1,3"), U("")},
};

TEST(KlkPicker, FilterOnTheUnitName) {
    EXPECT_FALSE(KlkFilterRows(kRows, QStringLiteral(" ки ")).has_value()); // under three characters
    EXPECT_EQ(KlkFilterRows(kRows, U("КИЇВ")), (QVector<bool>{true, false, false}));
    EXPECT_EQ(KlkFilterRows(kRows, U("кам'ян")), (QVector<bool>{false, true, false}));
    EXPECT_EQ(KlkFilterRows(kRows, U("кам`ян")), (QVector<bool>{false, true, false}));
    EXPECT_EQ(KlkFilterRows(kRows, U("ька")), (QVector<bool>{true, true, true}));
    EXPECT_EQ(KlkFilterText(U("  Кам'янка ")), U("кам’янка"));
}

TEST(KlkPicker, CellClicksGiveTheValueOfColumnsOneAndTwo) {
    EXPECT_EQ(KlkCellValue(kRows, 0, 1), std::optional<QString>(U("1.5")));
    EXPECT_EQ(KlkCellValue(kRows, 1, 2), std::optional<QString>(U("1.0")));
    EXPECT_FALSE(KlkCellValue(kRows, 0, 0).has_value());
    EXPECT_FALSE(KlkCellValue(kRows, 3, 1).has_value());
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

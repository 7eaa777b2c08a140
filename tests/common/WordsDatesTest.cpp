#include "common/Dates.h"
#include "common/Words.h"

#include <gtest/gtest.h>

namespace {

TEST(AmountInWords, Table) {
    const struct {
        const char* amount;
        bool wordsOnly;
        const char* expected;
    } cases[] = {
        {"1000005.00", true, "один мільйон п'ять"},
        {"1000005.00", false, "один мільйон п'ять грн 00 коп."},
        {"21.5", false, "двадцять одна грн 05 коп."},
        {"100000", true, "сто тисяч"},
        {"0.10", false, "0 грн 10 коп."},
        {"", true, ""},
        {"", false, "0 грн 00 коп."},
        {"11000", true, "одинадцять тисяч"},
        {"2002", false, "дві тисячі дві грн 00 коп."},
        {"97284.00", false, "дев'яносто сім тисяч двісті вісімдесят чотири грн 00 коп."},
        {"1000000000", true, "один мільярд"},
        {"512312", true, "п'ятсот дванадцять тисяч триста дванадцять"},
        {"3000000000000", true, "три трильйони"},
        {"abc", false, "0 грн 00 коп."},
        // Undefined by the rules: must not crash and give a defined result.
        {"-21.50", false, "мінус двадцять одна грн 50 коп."},
        {"12345678901234567890", true,
         "шістсот сімдесят вісім трильйонів дев'ятсот один мільярд двісті тридцять чотири мільйони п'ятсот "
         "шістдесят сім тисяч вісімсот дев'яносто"},
        {"5.123456789012345678901", false, "п'ять грн 123456789012345678 коп."},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AmountInWords(QString::fromUtf8(c.amount), c.wordsOnly), QString::fromUtf8(c.expected))
            << c.amount;
}

TEST(DeclineCouncilName, Genitive) {
    const std::pair<const char*, const char*> cases[] = {
        {"Київська міська рада", "Київської міської ради"},
        {"Бучанська  міська рада", "Бучанської міської ради"},
        {"Петрівська сільська рада", "Петрівської сільської ради"},
        {"Вишгородський район", "Вишгородського району"},
        {"Київська область", "Київської області"},
        {"с. Гора сільська рада", "с.Гора сільської ради"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(DeclineCouncilName(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(ShortPersonName, Forms) {
    const std::pair<const char*, const char*> cases[] = {
        {"Петренко Іван Степанович", "І.С. Петренко"},
        {"Петренко Іван", "І. Петренко"},
        {"І.С. Петренко", "І.С. Петренко"},
        {"Петренко І. С.", "І.С. Петренко"},
        // Too short for the positional slicing: defined, no crash.
        {"", ""},
        {"І.", "І."},
        {"Я", "Я"},
        {"a.b", "a.b"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(ShortPersonName(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(Dates, ConversionsPlaceholdersAndShortInputs) {
    const std::pair<const char*, const char*> toUa[] = {
        {"2024-03-07", "07.03.2024"}, {"1900-01-01", ""}, {"07.03.2024", "07.03.2024"}, {"", ""},
        {"0001-01-01", ""},           {"1967-08-13", ""}, {"0000-01-01", ""},           {"————|————", ""},
        {"2024-3", "2024-3"},
    };
    for (const auto& [in, out] : toUa)
        EXPECT_EQ(IsoDateToUa(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    const std::pair<const char*, const char*> toIso[] = {
        {"07.03.2024", "2024-03-07"}, {"2024-03-07", "2024-03-07"}, {"", ""}, {"7.3", "7.3"}};
    for (const auto& [in, out] : toIso)
        EXPECT_EQ(UaDateToIso(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
    QDate d;
    ASSERT_TRUE(IsoTextToDate("2024-03-07", &d));
    EXPECT_EQ(d, QDate(2024, 3, 7));
    EXPECT_FALSE(IsoTextToDate("2024-13-07", &d));
    EXPECT_FALSE(IsoTextToDate("2024", &d));
}

} // namespace

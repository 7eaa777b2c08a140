#include "common/NumberFormat.h"

#include <gtest/gtest.h>

namespace {

TEST(FormatDecimals, RoundsHalfAwayFromZeroOnTheDecimalValue) {
    const struct {
        double v;
        int n;
        const char* expected;
    } cases[] = {
        {2.5, 0, "3"},           {1.23456, 4, "1.2346"},
        {7, 2, "7.00"},          {2.675, 2, "2.68"},
        {-2.5, 0, "-3"},         {-2.675, 2, "-2.68"},
        {0.125, 2, "0.13"},      {1.005, 2, "1.01"},
        {0.0, 3, "0.000"},       {-0.001, 2, "0.00"},
        {999.995, 2, "1000.00"}, {97284.00000000001, 2, "97284.00"},
        {1e-7, 3, "0.000"},      {123456789012.5, 0, "123456789013"},
        {0.12355, 4, "0.1236"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatDecimals(c.v, c.n), QString(c.expected)) << c.v << " n=" << c.n;
}

TEST(FormatFloatPattern, EveryPatternInUse) {
    const struct {
        const char* pattern;
        double v;
        const char* expected;
    } cases[] = {
        {"0.0######", 1.0, "1.0"},
        {"0.0######", 1.123456789, "1.1234568"},
        {"0.0######", 1.608, "1.608"},
        {"0.#######", 1.0, "1"},
        {"0.#######", 0.00000005, "0.0000001"},
        {"0.#######", 27500.5, "27500.5"},
        {"0.0####", 2.0, "2.0"},
        {"0.0####", 1.234567, "1.23457"},
        {"0.000", 2.0005, "2.001"},
        {"0.000", 0.0, "0.000"},
        {"0.0##", 3.14159, "3.142"},
        {"0.0##", 3.1, "3.1"},
        {"0.00", 2.675, "2.68"},
        {"0.00", -0.004, "0.00"},
        {"### ### ### ##0.00", 97284.00000000001, "97 284.00"},
        {"### ### ### ##0.00", 0.5, "0.50"},
        {"### ### ### ##0.00", 999.999, "1 000.00"},
        {"### ### ### ##0.00", 1234567890.125, "1 234 567 890.13"},
        {"### ### ### ##0.00", -1234.5, "-1 234.50"},
        {"### ### ### ##0.00", 123.0, "123.00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatFloatPattern(c.pattern, c.v), QString::fromUtf8(c.expected))
            << c.pattern << " " << c.v;
}

TEST(FormatGeneral, FifteenSignificantDigits) {
    const struct {
        double v;
        const char* expected;
    } cases[] = {
        {0.1 + 0.2, "0.3"},
        {1.5, "1.5"},
        {100, "100"},
        {-2.25, "-2.25"},
        {1.0 / 3, "0.333333333333333"},
        {123456789012345.0, "123456789012345"},
        {1e20, "1E20"},
        {0.0001, "0.0001"},
        {1e-7, "1E-7"},
        {0, "0"},
        {27500, "27500"},
        {1.608, "1.608"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatGeneral(c.v), QString(c.expected)) << c.v;
}

TEST(ParseNumber, PointParsesCommaDoesNot) {
    bool ok = false;
    EXPECT_DOUBLE_EQ(ParseNumber("1.5", &ok), 1.5);
    EXPECT_TRUE(ok);
    for (const char* bad : {"1,5", "", "-", ".5", "5.", "1.2.3", "1 5", "abc", "1e5"}) {
        ParseNumber(bad, &ok);
        EXPECT_FALSE(ok) << bad;
    }
    EXPECT_DOUBLE_EQ(ParseNumber("1e5", &ok, true), 1e5);
    EXPECT_TRUE(ok);
    EXPECT_DOUBLE_EQ(RoundDecimal(2.675, 2), 2.68);
}

} // namespace

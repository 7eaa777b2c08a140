#include "common/TextHelpers.h"

#include <gtest/gtest.h>

namespace {

struct SplitFieldCase {
    const char* text;
    int n;
    bool prefix;
    const char* expected;
};

TEST(SplitField, FieldsDefaultsAndLast) {
    const SplitFieldCase cases[] = {
        {"a;b;c", 2, false, "b"}, {"a;b;c", 4, false, "x"}, {"a;b;c", -1, false, "c"},
        {"abc", 1, false, "abc"}, {"a;b;c", 2, true, ";b"}, {"a;b;c", 3, false, "c"},
        {"a;b;c", 0, false, "x"}, {"", 1, false, "x"},      {"abc", -1, false, "abc"},
        {"a;;c", 2, true, ""},    {"a;b;c", 1, false, "a"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SplitField(QString::fromUtf8(c.text), ";", "x", c.n, c.prefix),
                  QString::fromUtf8(c.expected))
            << c.text << " n=" << c.n;
}

TEST(ReplaceAll, RepeatCollapsesRunsAndNeverLoops) {
    EXPECT_EQ(ReplaceAll("a    b", "  ", " ", true), "a b");
    EXPECT_EQ(ReplaceAll("a    b", "  ", " ", false), "a  b");
    EXPECT_EQ(ReplaceAll("abc", "", "x", true), "abc");
    // A replacement containing the searched text must terminate: one pass only.
    EXPECT_EQ(ReplaceAll("aa", "a", "aa", true), "aaaa");
    // Replaced text is not scanned again within a pass.
    EXPECT_EQ(ReplaceAll("aaa", "aa", "a", false), "aa");
}

TEST(SplitHelpers, EmptyPiecesAndTrailingDelimiter) {
    EXPECT_EQ(SplitToArray("a;b;", ";"), QStringList({"a", "b", ""}));
    EXPECT_EQ(SplitToArrayNoLastEmpty("a;b;", ";"), QStringList({"a", "b"}));
    EXPECT_EQ(SplitToList("a;;b;", ";"), QStringList({"a", "", "b"}));
    EXPECT_TRUE(SplitToArray("", ";").isEmpty());
    EXPECT_EQ(JoinArray({"a", "", "c"}, 3, ",", true), "a,c");
    EXPECT_EQ(JoinArray({"a", "", "c"}, 3, ",", false), "a,,c");
    EXPECT_EQ(JoinArray({"a", "b", "c"}, 2, ",", false), "a,b");
    QString h, t;
    SplitOnce("key=va=lue", "=", &h, &t);
    EXPECT_EQ(h, "key");
    EXPECT_EQ(t, "va=lue");
    SplitOnce("novalue", "=", &h, &t);
    EXPECT_EQ(h, "novalue");
    EXPECT_EQ(t, "");
    EXPECT_EQ(TrimChars("--ab-c--", "-"), "ab-c");
    EXPECT_EQ(TrimChars("----", "-"), "");
    EXPECT_EQ(CountChar("a.b.c", '.'), 2);
}

TEST(ShortenMiddle, LimitsIncludingTinyOnes) {
    EXPECT_EQ(ShortenMiddle("short", 10), "short");
    EXPECT_EQ(ShortenMiddle("0123456789abcdef", 10), "012[...]def");
    for (int limit : {-5, 0, 1, 2, 3, 4, 5})
        EXPECT_EQ(ShortenMiddle("0123456789", limit), "[...]") << limit;
    EXPECT_EQ(ShortenMiddle("", 0), "[...]");
}

TEST(NumberTexts, IntegerAndNumberRecognition) {
    const std::pair<const char*, bool> ints[] = {{"-", false},  {"-5", true},   {"", false},  {"5-", false},
                                                 {"007", true}, {"1.5", false}, {" 5", false}};
    for (const auto& [t, ok] : ints)
        EXPECT_EQ(IsIntegerText(t), ok) << t;
    const std::pair<const char*, bool> nums[] = {
        {"-", false},  {".5", false},  {"5.", false}, {"1.2.3", false}, {"-0.5", true},
        {"1.5", true}, {"1,5", false}, {"12", true},  {"-.5", false},   {"1e5", false}};
    for (const auto& [t, ok] : nums)
        EXPECT_EQ(IsNumberText(t), ok) << t;
    EXPECT_EQ(TextToIntOrZero("42"), 42);
    EXPECT_EQ(TextToIntOrZero("4x"), 0);
    EXPECT_DOUBLE_EQ(TextToFloatOrZero("1.5"), 1.5);
    EXPECT_DOUBLE_EQ(TextToFloatOrZero("1,5"), 0.0);
}

TEST(Random, DigitsAreZeroToEightAndRepeatFromTheInitialState) {
    ResetRandomGenerator();
    const QString a = RandomDigits(10);
    ResetRandomGenerator();
    const QString b = RandomDigits(10);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.size(), 10);
    ResetRandomGenerator();
    const QString many = RandomDigits(2000);
    EXPECT_FALSE(many.contains('9'));
    for (QChar c : many)
        EXPECT_TRUE(c >= '0' && c <= '8');
    Randomize();
    const QString c = RandomDigits(10);
    Randomize();
    EXPECT_NE(RandomDigits(30), many.left(30));
    Q_UNUSED(c);
}

TEST(Guid, ShapeWithoutBraces) {
    const QString g = NewGuidText();
    ASSERT_EQ(g.size(), 36);
    EXPECT_FALSE(g.contains('{'));
    EXPECT_FALSE(g.contains('}'));
    EXPECT_EQ(g, g.toUpper());
    const QStringList groups = g.split('-');
    ASSERT_EQ(groups.size(), 5);
    EXPECT_EQ(groups[0].size(), 8);
    EXPECT_EQ(groups[4].size(), 12);
    EXPECT_NE(g, NewGuidText());
}

TEST(ArgsToTexts, MixedValues) {
    EXPECT_EQ(ArgsToTexts({QVariant("Parcels"), QVariant(3), QVariant(true), QVariant(2.5)}),
              QStringList({"Parcels", "3", "True", "2.5"}));
}

} // namespace

#include "exchange/ExchangePaths.h"
#include "common/Messages.h"
#include "exchange/ExchangeDocument.h"

#include <gtest/gtest.h>

namespace {

// A valuation block with a foreign child between the districts and two agro groups.
const char* kValuation = R"(<?xml version="1.0" encoding="UTF-8"?>
<R>
  <ValuationDistricts>
    <ValuationDistrict><DistrictNumber>1</DistrictNumber></ValuationDistrict>
    <Note>не район</Note>
    <ValuationDistrict><DistrictNumber>2</DistrictNumber></ValuationDistrict>
  </ValuationDistricts>
  <AgroGroups>
    <AgroGroup><Code>A1</Code><Area><Size>1.5</Size></Area></AgroGroup>
    <AgroGroup><Code>A2</Code><Area><Size>2.5</Size></Area></AgroGroup>
  </AgroGroups>
  <Leaves><C>c</C><E></E></Leaves>
</R>
)";

class Paths : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(doc.LoadFromBytes(kValuation)) << LastErrorText.toStdString(); }
    pugi::xml_node Root() { return doc.DocumentElement(); }
    QStringList AgroCodes() {
        QStringList codes;
        for (pugi::xml_node g : Root().child("AgroGroups").children())
            codes << ReadValuesAtPath(g, {}, {}, {"Code"}, "", false);
        return codes;
    }
    ExchangeDocument doc;
};

TEST_F(Paths, FindWalksNamesAndNumbers) {
    struct Case {
        QString path;
        QString number; // DistrictNumber of the district found, "" for none
    };
    const Case cases[] = {
        {R"(ValuationDistricts\ValuationDistrict)", "1"},
        {R"(ValuationDistricts\ValuationDistrict#2)", "2"}, // the second district, not the second child
        {R"(ValuationDistricts\valuationdistrict#1)", "1"}, // numbered names ignore letter case
        {R"(ValuationDistricts\valuationdistrict)", ""},    // plain names do not
        {R"(ValuationDistricts\ValuationDistrict#3)", ""},
        {R"(ValuationDistricts\ValuationDistrict#0)", ""},
        {R"(ValuationDistricts\ValuationDistrict#-1)", ""},
        {R"(ValuationDistricts\ValuationDistrict#x)", ""},
        {R"(ValuationDistricts\ValuationDistrict#)", ""},
        {R"(Missing\ValuationDistrict)", ""},
    };
    for (const Case& c : cases) {
        const pugi::xml_node n = FindNodeAtPath(Root(), {}, SplitPath(c.path));
        EXPECT_EQ(ElementText(n.child("DistrictNumber")), c.number) << c.path.toStdString();
        EXPECT_EQ(LastErrorText.isEmpty(), !c.number.isEmpty()) << c.path.toStdString();
    }
}

TEST_F(Paths, FailureTextsNamePrefixAndPath) {
    EXPECT_FALSE(FindNodeAtPath(Root(), {"InfoPart", "X"}, {"A", "B#2"}));
    EXPECT_EQ(LastErrorText, R"(InfoPart\X\A\B#2: Неможливо считування блоку)");
    EXPECT_FALSE(FindNodeAtPath(Root(), {}, {"A"}));
    EXPECT_EQ(LastErrorText, R"(A: Неможливо считування блоку)");
    EXPECT_FALSE(FindNodeAtPath(pugi::xml_node(), {"P"}, {}));
    EXPECT_EQ(LastErrorText, R"(P\: Неможливо считування блоку)");

    EXPECT_EQ(ReadValuesAtPath(Root(), {"P"}, {"No", "Where"}, {"A", "B"}, ", ", false), "");
    EXPECT_EQ(LastErrorText, R"(P\No\Where\A+B: Неможливо считування блоку)");

    EXPECT_FALSE(WriteValueAtPath(Root(), {"P"}, {"Leaves", "Z"}, "v"));
    EXPECT_EQ(LastErrorText, R"(P\Leaves\Z: Помилка запису блоку)");
    EXPECT_FALSE(WriteValueAtPath(Root(), {}, {"Leaves", "Z#2"}, "v")); // no Z at all: nothing to copy
    EXPECT_EQ(LastErrorText, R"(Leaves\Z#2: Помилка запису блоку)");
    EXPECT_FALSE(WriteValueAtPath(Root(), {}, {"Leaves", "C#0"}, "v"));

    // A success clears an earlier failure.
    EXPECT_TRUE(FindNodeAtPath(Root(), {}, {"Leaves"}));
    EXPECT_TRUE(LastErrorText.isEmpty());
}

TEST_F(Paths, ReadValuesSkipsAndSeparates) {
    struct Case {
        QStringList leaves;
        bool skipEmpty;
        QString expected;
    };
    const Case cases[] = {
        {{"A", "-B", "C"}, false, ", , c"}, // A skipped, B empty after a separator, C after a separator
        {{"A", "-B", "C"}, true, ", c"},
        {{"C", "E", "-F"}, false, "c, , "},
        {{"C", "E", "-F"}, true, "c"},
        {{"C#1", "c#1"}, false, "c, c"},
        {{}, false, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReadValuesAtPath(Root(), {}, {"Leaves"}, c.leaves, ", ", c.skipEmpty), c.expected)
            << c.leaves.join('|').toStdString() << " skipEmpty=" << c.skipEmpty;
        EXPECT_TRUE(LastErrorText.isEmpty());
    }
    EXPECT_EQ(ReadValuesAtPath(Root(), {}, {"AgroGroups", "AgroGroup#2"}, {"Code", "Area"}, "/", false),
              "A2/2.5");
}

TEST_F(Paths, WriteNumberedAddsOneCopyAfterTheLast) {
    // Third of two: a copy of the first, after the second, with the new text.
    pugi::xml_node n = WriteValueAtPath(Root(), {}, {"AgroGroups", "AgroGroup#3", "Code"}, "A3");
    ASSERT_TRUE(n);
    EXPECT_EQ(AgroCodes(), QStringList({"A1", "A2", "A3"}));
    EXPECT_EQ(ReadValuesAtPath(Root(), {}, {"AgroGroups", "AgroGroup#3", "Area"}, {"Size"}, "", false),
              "1.5");

    // Fifth of three: still only one copy, written into.
    ASSERT_TRUE(WriteValueAtPath(Root(), {}, {"AgroGroups", "AgroGroup#5", "Code"}, "A5"));
    EXPECT_EQ(AgroCodes(), QStringList({"A1", "A2", "A3", "A5"}));

    // An existing one is written in place; the copy lands after the last, not after a foreign sibling.
    ASSERT_TRUE(WriteValueAtPath(Root(), {}, {"AgroGroups", "agrogroup#2", "Code"}, "B2"));
    EXPECT_EQ(AgroCodes(), QStringList({"A1", "B2", "A3", "A5"}));
    ASSERT_TRUE(
        WriteValueAtPath(Root(), {}, {"ValuationDistricts", "ValuationDistrict#3", "DistrictNumber"}, "3"));
    QStringList order;
    for (pugi::xml_node c : Root().child("ValuationDistricts").children())
        order << ElementName(c);
    EXPECT_EQ(order, QStringList({"ValuationDistrict", "Note", "ValuationDistrict", "ValuationDistrict"}));
}

TEST_F(Paths, WriteAgroGroupFiveWithTwoPresent) {
    ASSERT_TRUE(WriteValueAtPath(Root(), {}, {"AgroGroups", "AgroGroup#5", "Code"}, "A5"));
    EXPECT_EQ(AgroCodes(), QStringList({"A1", "A2", "A5"}));
}

TEST_F(Paths, WriteReplacesContentAndReturnsTheElement) {
    pugi::xml_node n = WriteValueAtPath(Root(), {}, {"Leaves", "E"}, "нове & <значення>");
    ASSERT_TRUE(n);
    EXPECT_STREQ(n.name(), "E");
    EXPECT_EQ(ElementText(n), "нове & <значення>");
    n = WriteValueAtPath(Root(), {}, {"AgroGroups", "AgroGroup"}, "x");
    EXPECT_EQ(ElementText(n), "x");
    EXPECT_FALSE(n.first_child().next_sibling()); // the children were replaced
    EXPECT_TRUE(WriteValueAtPath(Root(), {}, {"Leaves", "C"}, ""));
    EXPECT_FALSE(Root().child("Leaves").child("C").first_child());
}

TEST(PathsNumbers, ElementDouble) {
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes("<R><a> 5432101.1234 </a><b>-0.5</b><c>1,5</c><d>1e3</d><e/><f>12x</f>"
                                  "<g><h>1</h></g><i>+1</i><j>.5</j></R>"));
    const struct {
        const char* name;
        bool ok;
        double value;
    } cases[] = {{"a", true, 5432101.1234}, {"b", true, -0.5}, {"c", false, 0},
                 {"d", false, 0},           {"e", false, 0},   {"f", false, 0},
                 {"g", false, 0},           {"i", false, 0},   {"j", true, 0.5}};
    for (const auto& c : cases) {
        double v = -1;
        EXPECT_EQ(ElementDouble(doc.DocumentElement().child(c.name), &v), c.ok) << c.name;
        if (c.ok) EXPECT_DOUBLE_EQ(v, c.value) << c.name;
    }
}

TEST_F(Paths, ElementPathOfAndJoin) {
    const pugi::xml_node size = FindNodeAtPath(Root(), {}, {"AgroGroups", "AgroGroup#2", "Area", "Size"});
    EXPECT_EQ(ElementPathOf(size), QStringList({"AgroGroups", "AgroGroup", "Area", "Size"}));
    EXPECT_TRUE(ElementPathOf(Root()).isEmpty());
    EXPECT_TRUE(ElementPathOf(pugi::xml_node()).isEmpty());
    EXPECT_EQ(SplitPath(R"(InfoPart\MetricInfo\\PointInfo\)"),
              QStringList({"InfoPart", "MetricInfo", "PointInfo"}));
    EXPECT_EQ(JoinPath({}, {"A", "B"}), R"(A\B)");
    EXPECT_EQ(JoinPath({"P"}, {"A"}), R"(P\A)");
}

} // namespace

#include "valuation/GeneralData.h"

#include <gtest/gtest.h>

namespace {

TGeneralDataInput ValidInput() {
    TGeneralDataInput in;
    in.Area = QStringLiteral("0.25");
    in.Koatuu = QStringLiteral("3221200000");
    in.Region = QStringLiteral(" Київська область ");
    in.District = QStringLiteral("Броварський район");
    in.Council = QStringLiteral("Броварська міська рада");
    in.Settlement = QStringLiteral("м. Бровари, вул. Київська");
    in.Location = QStringLiteral("В межах");
    in.Centre = QStringLiteral("м. Бровари");
    in.Population = QStringLiteral("110000");
    in.Category = QStringLiteral("200-землі житлової та громадської забудови");
    in.Purpose = QStringLiteral("02.01-Для будівництва і обслуговування житлового будинку");
    in.Year = QStringLiteral("2026");
    in.AgriLandType = QStringLiteral("несільськогосподарські угіддя");
    return in;
}

QString Missing(const char* p) {
    return QStringLiteral("Відсутній обов'язковий параметр \"%1\"").arg(QString::fromUtf8(p));
}
QString Wrong(const char* p) {
    return Missing(p) + QStringLiteral(" або некоректний");
}

} // namespace

TEST(GeneralData, ValidInputIsApplied) {
    TGeneralData d;
    ASSERT_EQ(ValidateGeneralData(ValidInput(), &d, 2021), QString());
    EXPECT_EQ(d.AreaText, QStringLiteral("0.25"));
    EXPECT_EQ(d.CategoryCode, QStringLiteral("200"));
    EXPECT_EQ(d.PurposeCode, QStringLiteral("02.01"));
    EXPECT_EQ(d.RegionName, QStringLiteral("Київська область"));
    EXPECT_EQ(d.LocationKind, QStringLiteral("В межах"));
    EXPECT_EQ(d.PopulationCount, 110000);
    EXPECT_EQ(d.YearOfValuation, 2026);
    EXPECT_EQ(d.BaseYear, 2021);
}

TEST(GeneralData, TextsAreNormalised) {
    TGeneralDataInput in = ValidInput();
    in.Area = QStringLiteral(" 1 234,5 ");
    in.Population = QStringLiteral("1 200");
    in.Region = QStringLiteral("Кам'янська`область");
    in.District = QStringLiteral(" Кам'янський район ");
    in.Council = QStringLiteral("Кам'янська");
    in.Settlement = QStringLiteral("с. Мар`янівка");
    in.Centre = QStringLiteral("с. Кам'янка");
    in.Category = QStringLiteral(" 100 -землі с/г");
    in.Purpose = QStringLiteral("01.01");
    TGeneralData d;
    ASSERT_EQ(ValidateGeneralData(in, &d), QString());
    EXPECT_EQ(d.AreaText, QStringLiteral("1234.5"));
    EXPECT_EQ(d.PopulationCount, 1200);
    EXPECT_EQ(d.CategoryCode, QStringLiteral("100"));
    EXPECT_EQ(d.PurposeCode, QStringLiteral("01.01"));
    EXPECT_EQ(d.RegionName, QStringLiteral("Кам'янська`область")); // the region keeps its apostrophes
    EXPECT_EQ(d.DistrictName, QStringLiteral("Кам’янський район"));
    EXPECT_EQ(d.CouncilName, QStringLiteral("Кам’янська"));
    EXPECT_EQ(d.SettlementName, QStringLiteral("с. Мар’янівка"));
    EXPECT_EQ(d.CentreName, QStringLiteral("с. Кам’янка"));
}

TEST(GeneralData, ChecksRunInOrderWithTheirMessages) {
    using Edit = void (*)(TGeneralDataInput&);
    const struct {
        Edit edit;
        QString message;
    } cases[] = {
        {[](TGeneralDataInput& i) {
             i.Category = QStringLiteral(" ");
             i.Purpose.clear();
         },
         Missing("Категорія земель")},
        {[](TGeneralDataInput& i) {
             i.Purpose = QStringLiteral(" -назва");
             i.Region.clear();
         },
         Missing("Цільове призначення")},
        {[](TGeneralDataInput& i) { i.Region = QStringLiteral("  "); }, Missing("Область")},
        {[](TGeneralDataInput& i) { i.District.clear(); }, Missing("Район")},
        {[](TGeneralDataInput& i) { i.Council = QStringLiteral(" "); }, Missing("Рада")},
        {[](TGeneralDataInput& i) { i.Koatuu.clear(); }, Missing("КОАТУУ")},
        {[](TGeneralDataInput& i) {
             i.Location = QStringLiteral(" ");
             i.Area.clear();
         },
         Missing("В межах")},
        {[](TGeneralDataInput& i) { i.Area = QStringLiteral("0"); }, Wrong("Площа")},
        {[](TGeneralDataInput& i) { i.Area = QStringLiteral("0,0"); }, Wrong("Площа")},
        {[](TGeneralDataInput& i) { i.Area = QStringLiteral("abc"); }, Wrong("Площа")},
        {[](TGeneralDataInput& i) { i.Area = QStringLiteral("-0,25"); }, Wrong("Площа")},
        {[](TGeneralDataInput& i) { i.Population = QStringLiteral("12,5"); }, Wrong("Кількість нас.")},
        {[](TGeneralDataInput& i) { i.Population = QStringLiteral("0"); }, Wrong("Кількість нас.")},
        {[](TGeneralDataInput& i) { i.Population = QStringLiteral("-"); }, Wrong("Кількість нас.")},
        {[](TGeneralDataInput& i) { i.Population = QStringLiteral("-500"); }, Wrong("Кількість нас.")},
        {[](TGeneralDataInput& i) { i.Year = QStringLiteral("двадцять"); }, Wrong("Рік оцінки")},
        {[](TGeneralDataInput& i) { i.Year = QStringLiteral("0"); }, Wrong("Рік оцінки")},
        {[](TGeneralDataInput& i) { i.Year = QStringLiteral("2019"); },
         QStringLiteral("Невідповідний параметр \"Рік оцінки\"")},
        {[](TGeneralDataInput& i) { i.Year = QStringLiteral("2041"); },
         QStringLiteral("Невідповідний параметр \"Рік оцінки\"")},
        {[](TGeneralDataInput& i) {
             i.Category = QStringLiteral("100-с/г");
             i.AgriLandType = QStringLiteral(" ");
         },
         Missing("Вид угідь для с/г")},
        {[](TGeneralDataInput& i) { i.Category = QStringLiteral("800-водний"); },
         Missing("Вид водного об'єкту")},
        {[](TGeneralDataInput& i) { i.Category = QStringLiteral("700-лісовий"); },
         Missing("Вид лісового об'єкту")},
    };
    for (const auto& c : cases) {
        TGeneralDataInput in = ValidInput();
        c.edit(in);
        TGeneralData d;
        d.CategoryCode = QStringLiteral("unchanged");
        EXPECT_EQ(ValidateGeneralData(in, &d), c.message);
        EXPECT_EQ(d.CategoryCode, QStringLiteral("unchanged")); // nothing applied on a failure
    }
}

TEST(GeneralData, BoundaryValuesPass) {
    using Edit = void (*)(TGeneralDataInput&);
    const Edit cases[] = {
        [](TGeneralDataInput& i) { i.Year = QStringLiteral("2020"); },
        [](TGeneralDataInput& i) { i.Year = QStringLiteral("2040"); },
        [](TGeneralDataInput& i) { i.Area = QStringLiteral("0,25"); },
        [](TGeneralDataInput& i) { i.AgriLandType.clear(); }, // category 200 does not need it
        [](TGeneralDataInput& i) {
            i.Category = QStringLiteral("800-водний");
            i.WaterObjectType = QStringLiteral("інше значення");
        },
        [](TGeneralDataInput& i) {
            i.Category = QStringLiteral("700-лісовий");
            i.ForestType = QStringLiteral("інші ліси");
        },
    };
    for (Edit edit : cases) {
        TGeneralDataInput in = ValidInput();
        edit(in);
        TGeneralData d;
        EXPECT_EQ(ValidateGeneralData(in, &d), QString());
    }
}

#include "plots/Recalculation.h"
#include "support/TestSupport.h"
#include "valuation/Calculation.h"
#include "valuation/NgoTables.h"
#include "valuation/ReferenceStores.h"

#include <gtest/gtest.h>

namespace {

TPlotRows Plot(const char* category) {
    return {
        {QStringLiteral("NxItemCategory"), QString::fromUtf8(category) + QStringLiteral("-категорія")},
        {QStringLiteral("NxItemCileve"), QStringLiteral("04.02-Для заказників")},
        {QStringLiteral("NxItemSQ"), QStringLiteral("2")},
        {QStringLiteral("NxItemVMezhah"), QStringLiteral("В межах")},
        {QStringLiteral("NxItemVydSilhoz"), QStringLiteral("сіножаті")},
        {QStringLiteral("NxItemOcYear"), QStringLiteral("2026")},
        {QStringLiteral("NxItemOcNdr"), QStringLiteral("27500, рядок в табл. № 1 (дод.2)")},
        {QStringLiteral("NxItemOcKm1"), QStringLiteral("1.0, рядок в табл. № 0")},
        {QStringLiteral("NxItemOcKm2"), QStringLiteral("1.0, рядок в табл. № 0")},
        {QStringLiteral("NxItemOcKm3"), QStringLiteral("1.0, рядок в табл. № 0")},
        {QStringLiteral("NxItemOcKcp"), QStringLiteral("1,0, рядок в табл. № 7")},
        {QStringLiteral("NxItemOcKm4"), QStringLiteral("1.3")},
        {QStringLiteral("NxItemOcKmc1"), QStringLiteral("1.5, рядок в табл. № 2x4")},
        {QStringLiteral("NxItemOcPsrNo"), QStringLiteral("4, рядок в табл. № 2")},
        {QStringLiteral("NxItemOcKni"), QStringLiteral("1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)")},
    };
}

QStringList Lines(const QString& text) {
    QStringList l = text.split(QStringLiteral("\r\n"));
    l.removeLast();
    return l;
}

} // namespace

TEST(Recalculation, IndexationStep) {
    TTestProgramDir dir;
    TRefFiles files{dir.Path()};
    QStringList list{QStringLiteral("2020=9")}; // whatever the wizard held before
    TPlotRows rows = Plot("200");
    RecalcIndexation(rows, files, &list);
    EXPECT_EQ(list, BuiltInIndexationList());
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKni")],
              QStringLiteral("1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)"));

    rows[QStringLiteral("NxItemOcYear")] = QStringLiteral("2020");
    RecalcIndexation(rows, files, &list);
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKni")], QStringLiteral("1.000 ()"));

    rows[QStringLiteral("NxItemOcYear")] = QStringLiteral("не рік");
    WriteBytes(dir.File(kYearsShFile), "2020=2\r\n2025=3\r\n");
    rows[QStringLiteral("NxItemCategory")] = QStringLiteral("100-с/г");
    RecalcIndexation(rows, files, &list);
    EXPECT_EQ(rows[QStringLiteral("NxItemOcYear")], QStringLiteral("2026"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKni")], QStringLiteral("6.000 (2.0 x 3.0)"));
}

TEST(Recalculation, StoredFactorsByCategory) {
    TNgoTables t;
    ParseNgoTables(t, {QStringLiteral("dod9=Київська область\t1\tБроварський\t1\t1\t1\t1\t1"),
                       QStringLiteral("dod9=Київська область\t4\tБориспільський\t1.1\t1.2\t1,3\t1.4\t1.5")});
    // Category 100: Кпсгр of the stored district row for the land type; Км4 fixed to 1.0.
    TPlotRows rows = Plot("100");
    QStringList lines = Lines(RecalcValuation(rows, t.Psr));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcPsrKpsgp")], QStringLiteral("1.3"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKmc")], QStringLiteral("1.3"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKm4")], QStringLiteral("1.0"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcValue")], QStringLiteral("114972.00"));
    EXPECT_EQ(
        lines,
        (QStringList{
            QStringLiteral("Розрахунки по формулі: Цн = Пд х Нрд х Км1 х Км2 х Км3 х Км4 х Кцп х Кмц х Кні"),
            QString(),
            QStringLiteral("Пд=20000 кв.м"),
            QStringLiteral("Нрд=2.75 грн за кв.м."),
            QStringLiteral("Км1=1"),
            QStringLiteral("Км2=1"),
            QStringLiteral("Км3=1"),
            QStringLiteral("Км4=1"),
            QStringLiteral("Кцп=1"),
            QStringLiteral("Кмц=1.3 (по п.12 =Кпсгр)"),
            QStringLiteral("Кні=1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)"),
            QStringLiteral("ОЦІНКА=114 972.00 грн"),
        }));

    rows = Plot("300");
    lines = Lines(RecalcValuation(rows, t.Psr));
    EXPECT_EQ(lines[9], QStringLiteral("Кмц=3.9 (по п.15 =3,3 або 3,9)"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcPsrKpsgp")], QStringLiteral("0.0"));

    // Category 200: Км4 as stored, Кмц1 from its row; an appendix-1 Нрд is not divided.
    rows = Plot("200");
    rows[QStringLiteral("NxItemOcNdr")] = QStringLiteral("140, рядок в табл. № 3 (дод.1)");
    rows[QStringLiteral("NxItemSQ")] = QStringLiteral(" 0,25 ");
    lines = Lines(RecalcValuation(rows, t.Psr, true));
    EXPECT_EQ(rows[QStringLiteral("NxItemSQ")], QStringLiteral("0.25"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKm4")], QStringLiteral("1.3"));
    EXPECT_EQ(lines[3], QStringLiteral("Нрд=140 грн за кв.м."));
    EXPECT_EQ(lines[7], QStringLiteral("Км4=1.3"));
    EXPECT_EQ(lines[9], QStringLiteral("Кмц=1.5 (по п.13 =Кмц1)"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcValue")], QStringLiteral("1097460.00"));

    // Category 700: Клк x Клс.
    rows = Plot("700");
    rows[QStringLiteral("NxItemOcKlk")] = QStringLiteral("1.5, рядок в табл. № 1x1");
    rows[QStringLiteral("NxItemOcKls")] = QStringLiteral("1,2, рядок в табл. № 5");
    lines = Lines(RecalcValuation(rows, t.Psr));
    EXPECT_EQ(lines[9], QStringLiteral("Кмц=1.8 (по п.16 Клк=1.5 x Клс=1.2)"));
    EXPECT_EQ(rows[QStringLiteral("NxItemOcKmc")], QStringLiteral("1.8"));
}

TEST(Recalculation, StoredCoefficientTexts) {
    EXPECT_EQ(StoredCoefficientValue(QStringLiteral("1,2, рядок в табл. № 3")), QStringLiteral("1,2"));
    EXPECT_EQ(StoredCoefficientRow(QStringLiteral("1,2, рядок в табл. № 3")), QStringLiteral("3"));
    EXPECT_DOUBLE_EQ(StoredCoefficientNumber(QStringLiteral(" 1,2 , рядок в табл. № 3")), 1.2);
    EXPECT_DOUBLE_EQ(StoredCoefficientNumber(QStringLiteral("декілька")), 0);
    EXPECT_EQ(StoredCoefficientRow(QStringLiteral("1.3")), QString());
}

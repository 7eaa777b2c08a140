#include "valuation/Calculation.h"
#include "valuation/CoefficientRules.h"
#include "valuation/Indexation.h"
#include "valuation/NgoTables.h"
#include "valuation/ReferenceStores.h"

#include <gtest/gtest.h>

namespace {

TGeneralData Data(const char* category, const char* location = "В межах") {
    TGeneralData d;
    d.AreaText = QStringLiteral("2");
    d.CategoryCode = QString::fromUtf8(category);
    d.PurposeCode = QStringLiteral("01.01");
    d.LocationKind = QString::fromUtf8(location);
    d.AgriLandType = QStringLiteral("рілля, перелоги");
    d.WaterObjectType = QStringLiteral("інше значення");
    d.YearOfValuation = 2026;
    return d;
}

// Every factor 1 except the ones a case sets.
TValuationBoxes OnesBoxes() {
    TValuationBoxes b;
    for (TCoefficientBox* box :
         {&b.Nrd, &b.Km1, &b.Km2, &b.Km3, &b.Kcp, &b.Kmc1, &b.KmcI, &b.KmcH, &b.KmcN, &b.Kls, &b.Klk, &b.Km4})
        box->Value = QStringLiteral("1,0");
    b.NrdAppendix = kAppendix1;
    b.KniValue = QStringLiteral("1.000");
    return b;
}

QStringList Lines(const QString& text) {
    QStringList l = text.split(QStringLiteral("\r\n"));
    EXPECT_EQ(l.last(), QString()); // every line ends with CR LF
    l.removeLast();
    return l;
}

} // namespace

TEST(Calculation, WorkedExampleCategory100) {
    TNgoTables t;
    ParseNgoTables(
        t, {QStringLiteral(
               "dod9=Київська область\t4\tБроварський (П-1)\t1.1\t1.0\t0.9\t0.8\t0.7\t40\t41\t42\t43")});
    TGeneralData d = Data("100");
    const TKni kni = ComputeKni(BuiltInIndexationList(), 2020, 2026);
    EXPECT_EQ(kni.Value, QStringLiteral("1.608"));
    EXPECT_EQ(kni.Factors, QStringLiteral("1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08"));

    TValuationBoxes b = OnesBoxes();
    b.Nrd.Value = QStringLiteral("27500");
    b.NrdAppendix = kAppendix2;
    b.Psr.Value = QStringLiteral("Броварський (П-1)");
    b.Psr.Row = QStringLiteral("1");
    b.KniValue = kni.Value;
    b.KniFormula = kni.Factors;
    const QStringList lines = Lines(BuildCalculationText(d, b, t.Psr, t.Psr, QString()));
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
            QStringLiteral("Кмц=1.1 (по п.12 =Кпсгр)"),
            QStringLiteral("Кні=1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)"),
            QStringLiteral("ОЦІНКА=97 284.00 грн"),
        }));
}

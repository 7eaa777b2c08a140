#include "valuation/Calculation.h"
#include "common/RecordingSink.h"
#include "valuation/CalculationFixtures.h"
#include "valuation/CoefficientRules.h"
#include "valuation/Indexation.h"
#include "valuation/NgoTables.h"
#include "valuation/ReferenceStores.h"
#include "valuation/Summary.h"

#include "common/NumberFormat.h"

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
    ParseNgoTables(t, {WorkedExamplePsrLine()});
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
    EXPECT_EQ(Lines(BuildCalculationText(d, b, t.Psr, t.Psr, QString())), WorkedExampleLines());
}

TEST(Calculation, KmcRuleAndNoteOfEveryCategory) {
    TKmcInputs in;
    in.Kpsgr = 1.1;
    in.Kmc1 = 2.0;
    in.KmcH = 3.0;
    in.KmcN = 4.0;
    in.KmcI = 5.0;
    in.Klk = 1.5;
    in.Kls = 1.2;
    const struct {
        const char *category, *purpose, *location, *water;
        double kmc;
        const char* note;
    } cases[] = {
        {"100", "01.01", "За межами", "", 1.1, " (по п.12 =Кпсгр)"},
        {"200", "02.01", "В межах", "", 2.0, " (по п.13 =Кмц1)"},
        {"300", "04.02", "В межах", "", 3.9, " (по п.15 =3,3 або 3,9)"},
        {"300", "04.04", "В межах", "", 3.3, " (по п.15 =3,3 або 3,9)"},
        {"400", "07.01", "В межах", "", 2.0, " (по дод.10 =Kмц1)"},
        {"400", "07.01", "За межами", "", 3.0, " (по п.14 =KмсОзд)"},
        {"400", "07.01", "", "", 1.0, ""},
        {"500", "07.01", "За межами", "", 2.0, " (по п.13 =Kмц1)"},
        {"600", "08.01", "В межах", "", 4.0, " (по п.14 =KмцІст)"},
        {"700", "09.01", "За межами", "", 1.8, " (по п.16 Клк=1.5 x Клс=1.2)"},
        {"800", "10.01", "За межами", "загальнодержавного значення", 1.2, " (по п.17 =1,0 або 1,2)"},
        {"800", "10.01", "За межами", "інше значення", 1.0, " (по п.17 =1,0 або 1,2)"},
        {"900", "11.01", "В межах", "", 2.0, " (по п.13 =Kмц1)"},
        {"900", "11.01", "За межами", "", 5.0, " (по п.13 =KмцПром)"},
        {"950", "11.01", "За межами", "", 1.0, ""},
    };
    for (const auto& c : cases) {
        const TKmcRule r = KmcByCategory(QString::fromUtf8(c.category), QString::fromUtf8(c.purpose),
                                         QString::fromUtf8(c.location), QString::fromUtf8(c.water), in);
        EXPECT_DOUBLE_EQ(r.Kmc, c.kmc) << c.category << c.location;
        EXPECT_EQ(r.Note, QString::fromUtf8(c.note)) << c.category << c.location;
    }
    EXPECT_EQ(FormatGeneral(KmcByCategory(QStringLiteral("700"), {}, {}, {}, in).Kmc), QStringLiteral("1.8"));
}

TEST(Calculation, KniFromTheList) {
    const struct {
        int base, year;
        QStringList list;
        const char *value, *factors;
    } cases[] = {
        {2020, 2026, BuiltInIndexationList(), "1.608", "1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08"},
        {2020, 2020, BuiltInIndexationList(), "1.000", ""},
        {2020, 2019, BuiltInIndexationList(), "1.000", ""},
        {2021, 2023, BuiltInIndexationList(), "1.265", "1.1 x 1.15"},
        // The empty 2026 inside the range is skipped.
        {2020, 2028, BuiltInIndexationList() << QStringLiteral("2027=1.1"), "1.769",
         "1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08 x 1.1"},
        {2020,
         2023,
         {QStringLiteral("рік=1.5"), QStringLiteral("2020=abc"), QStringLiteral("2021=1.2"),
          QStringLiteral("2022")},
         "1.200",
         "1.2"},
    };
    for (const auto& c : cases) {
        const TKni kni = ComputeKni(c.list, c.base, c.year);
        EXPECT_EQ(kni.Value, QString::fromUtf8(c.value)) << c.base << " " << c.year;
        EXPECT_EQ(kni.Factors, QString::fromUtf8(c.factors)) << c.base << " " << c.year;
    }
}

TEST(Calculation, CategoryRulesInTheText) {
    TNgoTables t;
    TValuationBoxes b = OnesBoxes();
    b.Klk.Value = QStringLiteral("1,5");
    b.Kls.Value = QStringLiteral("1.2");
    b.Km4.Value = QStringLiteral("1.3");
    TGeneralData d = Data("700");
    QStringList lines = Lines(BuildCalculationText(d, b, t.Psr, t.Psr, QString()));
    EXPECT_EQ(lines[9], QStringLiteral("Кмц=1.8 (по п.16 Клк=1.5 x Клс=1.2)"));
    EXPECT_EQ(lines[7], QStringLiteral("Км4=1")); // fixed for this category
    EXPECT_EQ(lines[10], QStringLiteral("Кні=1 ()"));

    d = Data("200");
    lines = Lines(BuildCalculationText(d, b, t.Psr, t.Psr, QString()));
    EXPECT_EQ(lines[7], QStringLiteral("Км4=1.3"));
    EXPECT_EQ(lines[3], QStringLiteral("Нрд=1 грн за кв.м."));
    EXPECT_EQ(lines[11], QStringLiteral("ОЦІНКА=26 000.00 грн"));

    // A coefficient that is not a number counts as 0.
    b.Km1.Value = kSeveral;
    lines = Lines(BuildCalculationText(d, b, t.Psr, t.Psr, QString()));
    EXPECT_EQ(lines[4], QStringLiteral("Км1=0"));
    EXPECT_EQ(lines[11], QStringLiteral("ОЦІНКА=0.00 грн"));

    // Category 100 without a chosen district: Кпсгр 0.
    lines = Lines(BuildCalculationText(Data("100"), OnesBoxes(), t.Psr, t.Psr, QString()));
    EXPECT_EQ(lines[9], QStringLiteral("Кмц=0 (по п.12 =Кпсгр)"));
}

TEST(Calculation, PreviousValuesBlockInCompareAndAgainModes) {
    TNgoTables t;
    TCoefficientTable prev(QStringLiteral("NextGridPSRPrev"), TTableKind::CheckBox, PsrCaptions());
    prev.AppendFields({QStringLiteral("Київська область"), QStringLiteral("1"), QStringLiteral("Броварський"),
                       QStringLiteral("1.25")});
    TValuationBoxes b = OnesBoxes();
    b.Nrd.Value = QStringLiteral("27500");
    b.NrdAppendix = kAppendix2;
    b.Nrd.Prev = QStringLiteral("25000"); // above 2000: per hectare
    b.Km1.Prev = QStringLiteral("1,2");   // previous values are read without turning "," into "."
    b.Km2.Prev = QStringLiteral("1.1");
    b.Km3.Prev = QStringLiteral("1");
    b.Km4.Prev = QStringLiteral("1.0,1.1");
    b.KniValue = QStringLiteral("1.608");
    b.KniFormula = QStringLiteral("1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08");
    const TGeneralData d = Data("100");
    EXPECT_FALSE(BuildCalculationText(d, b, t.Psr, prev, QString()).contains(QStringLiteral("ПОПЕРЕДНІ")));
    const QStringList lines = Lines(BuildCalculationText(d, b, t.Psr, prev, QStringLiteral("compare")));
    ASSERT_EQ(lines.size(), 23);
    EXPECT_EQ(lines.mid(12), (QStringList{
                                 QString(),
                                 QStringLiteral("ПОПЕРЕДНІ КОЕФІЦІЄНТИ:"),
                                 QStringLiteral("Нрд=2.5 грн за кв.м."),
                                 QStringLiteral("Км1=0"),
                                 QStringLiteral("Км2=1.1"),
                                 QStringLiteral("Км3=1"),
                                 QStringLiteral("Км4=1 (більше 1го оц.района не підтримується оцінка)"),
                                 QStringLiteral("Кцп=1"),
                                 QStringLiteral("Кмц=1.25"),
                                 QStringLiteral("Кні=1.608 (1.0 x 1.1 x 1.15 x 1.051 x 1.12 x 1.08)"),
                                 QStringLiteral("ОЦІНКА БУЛА=0.00 грн"),
                             }));
}

TEST(Summary, CoefficientsAreNormalised) {
    const struct {
        const char *text, *coefficient, *nrd;
    } cases[] = {
        {"1,0", "1.0", "1"},
        {"1", "1.0", "1"},
        {"1,25", "1.25", "1.25"},
        {"27500", "27500.0", "27500"},
        {"2.75", "2.75", "2.75"},
        {"декілька", "", ""},
        {"", "", ""},
        {"-1", "", ""},
        {" 0,12345678 ", "0.1234568", "0.1234568"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NormaliseSummaryNumber(QString::fromUtf8(c.text)), QString::fromUtf8(c.coefficient))
            << c.text;
        EXPECT_EQ(NormaliseSummaryNumber(QString::fromUtf8(c.text), QStringLiteral("0.#######")),
                  QString::fromUtf8(c.nrd))
            << c.text;
    }
}

TEST(Summary, FilledFromThePagesAndCheckedByTheOutputButtons) {
    TRecordingSink sink;
    TGeneralData d = Data("200");
    d.RegionName = QStringLiteral("Київська область");
    d.DistrictName = QStringLiteral("Броварський район");
    d.CouncilName = QStringLiteral("Броварська міська рада");
    d.SettlementName = QStringLiteral("м. Бровари");
    d.KoatuuCode = QStringLiteral("3210600000");
    d.PopulationCount = 110000;
    TValuationBoxes b = OnesBoxes();
    b.Nrd.Value = QStringLiteral("140");
    b.DistrictNumber.Value = QStringLiteral("1");
    b.Psr.Value = QStringLiteral("Броварський (П-1)");
    b.Psr.Row = QStringLiteral("1");
    b.PsrNumber = QStringLiteral("4");
    TCoefficientTable agro(QStringLiteral("NextGridAgro"), TTableKind::Cell, AgroCaptions());
    agro.AppendRow({QStringLiteral("1"), QStringLiteral("-"), QStringLiteral("2")});
    TSummary s;
    s.FileTerrID = QStringLiteral("UA32060050000030591");
    FillSummary(s, d, b, agro);
    EXPECT_EQ(s.FileSq, QStringLiteral("2.0"));
    EXPECT_EQ(s.FileRada, QStringLiteral("Броварська міська рада, м. Бровари"));
    EXPECT_EQ(s.FileNrd, QStringLiteral("140"));
    EXPECT_EQ(s.FileKm1, QStringLiteral("1.0"));
    EXPECT_EQ(s.FilePsgNo, QStringLiteral("4"));
    EXPECT_EQ(s.FileAgroCod, QStringLiteral("-"));
    EXPECT_EQ(s.FileYear, QStringLiteral("2026"));
    EXPECT_EQ(s.FileTerrCode, QStringLiteral("021"));
    EXPECT_TRUE(CheckCreateXml(s));
    EXPECT_TRUE(sink.messages.isEmpty());

    d.SettlementName = QStringLiteral("(м. Бровари)");
    FillSummary(s, d, b, agro);
    EXPECT_EQ(s.FileRada, QStringLiteral("Броварська міська рада (м. Бровари)"));

    // "декілька" leaves the summary edit empty and the output names the field.
    b.Km1.Value = kSeveral;
    b.Psr.Row.clear();
    FillSummary(s, d, b, agro);
    EXPECT_EQ(s.FileKm1, QString());
    EXPECT_EQ(s.FilePsgName, QString());
    QString focus;
    EXPECT_FALSE(CheckCreateXml(s, &focus));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Не визначені необхідні дані.\rПоле: Км1"));
    EXPECT_EQ(focus, QStringLiteral("EFileKm1"));
    EXPECT_FALSE(CheckUpdateXml(s));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Відсутні необхідні дані.\rПоле: Км1"));

    // Tag 98 edits stop "Створити XML" only.
    b.Km1.Value = QStringLiteral("1,0");
    FillSummary(s, d, b, agro);
    EXPECT_TRUE(CheckUpdateXml(s));
    EXPECT_FALSE(CheckCreateXml(s));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Не визначені необхідні дані.\rПоле: № ПСГ района"));

    b.Psr.Row = QStringLiteral("1");
    FillSummary(s, d, b, agro);
    s.OrganFromDB = true;
    EXPECT_FALSE(CheckCreateXml(s, &focus));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Не обрано організацію."));
    EXPECT_EQ(focus, QStringLiteral("EDefLicenziat"));
    s.Organisation = QStringLiteral("ТОВ Земля");
    s.ApproveDt = QStringLiteral("31.02.2025");
    EXPECT_FALSE(CheckCreateXml(s));
    EXPECT_EQ(sink.LastText(), QStringLiteral("Вказана некоректна дата затв.док."));
    s.ApproveDt = QStringLiteral("28.02.2025");
    EXPECT_TRUE(CheckCreateXml(s));
    s.ApproveDt = QStringLiteral("31.02.2025");
    s.BlockCreateApprove = false;
    EXPECT_TRUE(CheckCreateXml(s));
}

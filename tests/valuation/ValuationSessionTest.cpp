#include "valuation/ValuationSession.h"
#include "app/GlobalVar.h"
#include "app/Settings.h"
#include "common/CodePage.h"
#include "common/Ini.h"
#include "common/RecordingSink.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TGeneralDataInput Input(const QString& category, const QString& location = QStringLiteral("В межах")) {
    TGeneralDataInput in;
    in.Area = QStringLiteral("2");
    in.Koatuu = QStringLiteral("3221200000");
    in.Region = QStringLiteral("Київська область");
    in.District = QStringLiteral("Броварський район");
    in.Council = QStringLiteral("Броварська міська рада");
    in.Settlement = QStringLiteral("м. Бровари");
    in.Location = location;
    in.Centre = QStringLiteral("м. Бровари");
    in.Population = QStringLiteral("110000");
    in.Category = category + QStringLiteral("-категорія");
    in.Purpose = QStringLiteral("02.01-Присадибна");
    in.Year = QStringLiteral("2026");
    in.AgriLandType = QStringLiteral("рілля, перелоги");
    in.WaterObjectType = QStringLiteral("загальнодержавного значення");
    in.ForestType = QStringLiteral("інші ліси");
    return in;
}

class Session : public ::testing::Test {
protected:
    TTestProgramDir dir;
    TRecordingSink sink;
};

} // namespace

TEST_F(Session, ApplyStoresChoosesAndIndexes) {
    QByteArray ngo;
    for (const char* line : {"dod2-100 землі с/г\t27500", "dod8=02.01\tПрисадибна\t1.0",
                             "dod9=Київська область\t4\tБроварський (П-1)\t1.1\t1\t1\t1\t1\t40\t41\t42\t43",
                             "[YEAR]", "on=2021"})
        ngo += ToCp1251(QString::fromUtf8(line)) + "\r\n";
    WriteBytes(dir.File(kNgoFile), ngo);
    WriteBytes(dir.File(kYearsShFile), "2021=1.5\r\n2022=1.2\r\n");
    ASSERT_TRUE(IniWriteString(GlobalVar().Settings.IniFile, IniKeys::kInterface, IniKeys::kKmcAlways,
                               QStringLiteral("0")));

    TValuationSession s;
    s.TerritorialZoneId = [](const TGeneralData& d) { return d.KoatuuCode + QStringLiteral("-id"); };
    s.Initialize();
    EXPECT_FALSE(s.KmcAlways);
    EXPECT_EQ(s.Tables.Purposes, QStringList{QStringLiteral("02.01-Присадибна")});

    // A failing check leaves everything as it was.
    TGeneralDataInput bad = Input(QStringLiteral("100"));
    bad.Population = QStringLiteral("-");
    EXPECT_FALSE(s.Apply(bad, TApplyButton::Apply));
    EXPECT_EQ(sink.LastText(),
              QStringLiteral("Відсутній обов'язковий параметр \"Кількість нас.\" або некоректний"));
    EXPECT_EQ(s.Data.CategoryCode, QString());
    EXPECT_FALSE(QFile::exists(dir.File(kPopulFile)));

    s.KmcAlways = true;
    ASSERT_TRUE(s.Apply(Input(QStringLiteral("100")), TApplyButton::Apply));
    EXPECT_EQ(s.Data.BaseYear, 2021);
    EXPECT_EQ(ReadRefLines(dir.File(kPopulFile)).Lines,
              QStringList{QStringLiteral("Броварська міська рада\t110000\tм. Бровари")});
    EXPECT_TRUE(ReadRefLines(dir.File(kAddrFile))
                    .Lines.contains(QStringLiteral("NxItemAddrRaion=Броварський район")));
    EXPECT_TRUE(ReadKmcAlways());
    EXPECT_EQ(s.IndexationList, (QStringList{QStringLiteral("2021=1.5"), QStringLiteral("2022=1.2")}));
    EXPECT_EQ(s.Boxes.KniValue, QStringLiteral("1.800"));
    EXPECT_EQ(s.Boxes.KniFormula, QStringLiteral("1.5 x 1.2"));
    EXPECT_EQ(s.Boxes.Nrd.Value, QStringLiteral("27500"));
    EXPECT_EQ(s.Boxes.NrdAppendix, QStringLiteral("дод.2"));
    EXPECT_EQ(s.Boxes.Km1.Value, QStringLiteral("1,0"));
    EXPECT_EQ(s.Boxes.Km1.Row, QStringLiteral("0"));
    EXPECT_EQ(s.Boxes.Kcp.Row, QStringLiteral("1"));
    EXPECT_EQ(s.Boxes.Psr.Row, QStringLiteral("1"));
    EXPECT_EQ(s.Boxes.PsrNumber, QStringLiteral("4"));
    EXPECT_EQ(s.Agro.RowCells(0), (QStringList{QStringLiteral("1"), QStringLiteral("-"), QStringLiteral("2"),
                                               QStringLiteral("40"), QStringLiteral("41"),
                                               QStringLiteral("42"), QStringLiteral("43")}));
    EXPECT_EQ(s.Summary.FileTerrID, QStringLiteral("3221200000-id"));
    EXPECT_TRUE(s.CalculationText().contains(QStringLiteral("Кмц=1.1 (по п.12 =Кпсгр)\r\n")));

    // Hand choice of the district: unchecking empties the agro row's scores.
    s.Tables.Psr.SetChecked(0, false);
    s.OnRowCheckChanged(s.Tables.Psr, 0);
    EXPECT_EQ(s.Boxes.Psr.Value, QString());
    EXPECT_EQ(s.Boxes.PsrNumber, QString());
    EXPECT_EQ(s.Agro.Cell(0, 3), QString());

    // Кні is recomputed from the list as edited.
    s.IndexationList = QStringList{QStringLiteral("2021=2")};
    s.ComputeKni();
    EXPECT_EQ(s.Boxes.KniValue, QStringLiteral("2.000"));
    EXPECT_TRUE(TValuationSession::MapPageVisibleAfter(TApplyButton::Apply));
    EXPECT_FALSE(TValuationSession::MapPageVisibleAfter(TApplyButton::Compare));
}

TEST_F(Session, AgainModeKeepsThePreviousDistrictNumber) {
    TValuationSession s;
    s.Mode = kModeAgain;
    s.Initialize();
    s.Boxes.DistrictNumber.Prev = QStringLiteral("3");
    s.Boxes.DistrictNumber.PrevVisible = true;
    ASSERT_TRUE(s.Apply(Input(QStringLiteral("200")), TApplyButton::Again));
    EXPECT_EQ(s.Boxes.DistrictNumber.Value, QStringLiteral("3"));
    // Without NGO.dat nothing is found; the calculation still runs and shows the previous block.
    EXPECT_EQ(s.Boxes.Nrd.Value, QString());
    EXPECT_TRUE(s.CalculationText().contains(QStringLiteral("ПОПЕРЕДНІ КОЕФІЦІЄНТИ:")));
}

// Every category, valued from the shipped reference files, reaches a complete summary and a non-zero amount.
TEST_F(Session, EveryCategoryCanBeValuedWithTheShippedFiles) {
    for (const char* name : {"NGO.dat", "YEARS.dat", "YEARS_SH.dat"})
        ASSERT_TRUE(dir.CopyFromProgram(QString::fromLatin1(name)));
    TValuationSession s;
    s.TerritorialZoneId = [](const TGeneralData&) { return QStringLiteral("UA32060050000030591"); };
    s.Initialize();
    const struct {
        const char *category, *location;
    } cases[] = {{"100", "За межами"}, {"200", "В межах"}, {"300", "За межами"}, {"400", "В межах"},
                 {"400", "За межами"}, {"500", "В межах"}, {"600", "В межах"},   {"700", "За межами"},
                 {"800", "За межами"}, {"900", "В межах"}, {"900", "За межами"}};
    for (const auto& c : cases) {
        ASSERT_TRUE(s.Apply(Input(QString::fromLatin1(c.category), QString::fromUtf8(c.location)),
                            TApplyButton::Apply))
            << c.category;
        s.FillSummary();
        EXPECT_TRUE(CheckCreateXml(s.Summary)) << c.category << " " << sink.LastText().toStdString();
        const QString text = s.CalculationText();
        EXPECT_FALSE(text.contains(QStringLiteral("ОЦІНКА=0.00"))) << c.category << text.toStdString();
    }
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(Session, RevaluationTakesTheStoredPlot) {
    WriteBytes(dir.File(kNgoFile),
               ToCp1251(QStringLiteral(
                   "dod9=Київська область\t1\tІрпінський\t1\t1\t1\t1\t1\r\n"
                   "dod9=Київська область\t4\tБроварський (П-1)\t1.1\t1\t1\t1\t1\t40\t41\t42\t43\r\n")));
    TValuationSession s;
    s.Mode = kModeAgain;
    s.Initialize();
    const QMap<QString, QString> rows{
        {QStringLiteral("NxItemFile"), QStringLiteral("/plots/ділянка.xml")},
        {QStringLiteral("NxItemCadnum"), QStringLiteral("3221200000:01:001:0001")},
        {QStringLiteral("NxItemSQ"), QStringLiteral("2")},
        {QStringLiteral("NxItemCategory"), QStringLiteral("100")},
        {QStringLiteral("NxItemOcYear"), QStringLiteral("2025")},
        {QStringLiteral("NxItemOcNdr"), QStringLiteral("27500, рядок в табл. № 1 (дод.2)")},
        {QStringLiteral("NxItemOcKm1"), QStringLiteral("1.0, рядок в табл. № 0")},
        {QStringLiteral("NxItemOcRaNo"), QStringLiteral("3")},
        {QStringLiteral("NxItemOcKm4"), QStringLiteral("1.0")},
        {QStringLiteral("NxItemOcPsrNo"), QStringLiteral("4, рядок в табл. № 2")},
    };
    const TGeneralDataInput in = s.PrefillFromPlot(rows);
    EXPECT_EQ(s.SourceFileName, QStringLiteral("/plots/ділянка.xml"));
    EXPECT_EQ(s.Summary.FileCadnum, QStringLiteral("3221200000:01:001:0001"));
    EXPECT_EQ(in.Year, QStringLiteral("2025"));
    EXPECT_EQ(in.Category, QStringLiteral("100"));
    EXPECT_EQ(s.Boxes.Nrd.Prev, QStringLiteral("27500"));
    EXPECT_EQ(s.Boxes.Km1.Prev, QStringLiteral("1.0"));
    EXPECT_TRUE(s.Boxes.Km1.PrevVisible);
    EXPECT_EQ(s.Boxes.DistrictNumber.Prev, QStringLiteral("3"));
    ASSERT_EQ(s.PsrPrev.RowCount(), 1);
    EXPECT_EQ(s.PsrPrev.Cell(0, 3), QStringLiteral("Броварський (П-1)"));

    TGeneralDataInput completed = Input(QStringLiteral("100"));
    completed.Year = in.Year;
    ASSERT_TRUE(s.Apply(completed, TApplyButton::Again));
    EXPECT_EQ(s.Boxes.DistrictNumber.Value, QStringLiteral("3"));
    const QString text = s.CalculationText();
    EXPECT_TRUE(text.contains(QStringLiteral("ПОПЕРЕДНІ КОЕФІЦІЄНТИ:\r\nНрд=2.75 грн за кв.м.\r\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("Кмц=1.1\r\n")));
}

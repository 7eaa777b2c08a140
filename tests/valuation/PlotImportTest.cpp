#include "valuation/PlotImport.h"

#include "common/CodePage.h"
#include "exchange/ExchangeDocument.h"
#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

TEST(PlotImport, SettlementSplit) {
    const struct {
        const char *text, *council, *settlement;
    } cases[] = {
        {"Борівська сільська рада (с. Борова)", "Борівська сільська рада", "(с. Борова)"},
        {"Борівська сільська рада, с. Борова ", "Борівська сільська рада", "с. Борова"},
        {"Ралівська сільська рада (за межами населених пунктів)", "Ралівська сільська рада", " "},
        {"м. Фастів", "м. Фастів", " "},
        {"Рада, вул. Шкільна (біля ставу)", "Рада, вул. Шкільна", "(біля ставу)"},
    };
    for (const auto& c : cases) {
        QString council, settlement;
        SplitSettlementText(QString::fromUtf8(c.text), &council, &settlement);
        EXPECT_EQ(council, QString::fromUtf8(c.council)) << c.text;
        EXPECT_EQ(settlement, QString::fromUtf8(c.settlement)) << c.text;
    }
}

TEST(PlotImport, AreaText) {
    EXPECT_EQ(ImportedAreaText("0.12345"), "0.1235");
    EXPECT_EQ(ImportedAreaText("2"), "2.0000");
    EXPECT_EQ(ImportedAreaText("0,5"), "");
    EXPECT_EQ(ImportedAreaText(""), "");
}

TEST(PlotImport, LandManagementFile) {
    TTestProgramDir dir;
    WriteBytes(dir.File("POPUL.dat"), ToCp1251("Борівська сільська рада\t2400\tс. Борова\r\n"));
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(TestDataPath("exchange/parcel-6-vertices.xml")));
    TPlotImport p;
    ASSERT_EQ(ImportPlot(doc, TSourceKind::LandManagement, dir.File("POPUL.dat"), &p), "");
    EXPECT_EQ(p.Input.Koatuu, "3224980400") << "the cadastral zone number, cut to ten characters";
    EXPECT_EQ(p.Input.Area, "0.1079");
    EXPECT_EQ(p.Input.Region, "Київська область");
    EXPECT_EQ(p.Input.District, "Фастівський район");
    EXPECT_EQ(p.Input.Council, "Борівська сільська рада");
    EXPECT_EQ(p.Input.Settlement, "(с. Борова)");
    EXPECT_EQ(p.Input.Population, "2400");
    EXPECT_EQ(p.Input.Centre, "с. Борова");
    EXPECT_EQ(p.Input.Location, "В межах");
    EXPECT_EQ(p.Input.Category, "200");
    EXPECT_EQ(p.Input.Purpose, "02.01");
    EXPECT_EQ(p.Input.Year, QString::number(QDate::currentDate().year()));
    EXPECT_EQ(p.Input.AgriLandType, "несільськогосподарські угіддя");
    EXPECT_EQ(p.TerrCode, "021");
    EXPECT_EQ(p.TerrID, "");
    EXPECT_EQ(p.ApproveBy, "Борівська сільська рада");
    EXPECT_EQ(p.ApproveDt, "20.05.2025");
    EXPECT_EQ(p.ApproveNo, "838-55-VIII");
    EXPECT_EQ(p.Cadnum, "3224980400:05:017:0008"); // ParcelID of the parcel's metric block
    EXPECT_TRUE(p.HasCoordinates);
}

TEST(PlotImport, RuralWindows1251FileWithUnknownCouncil) {
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromFile(TestDataPath("exchange/parcel-with-hole-cp1251.xml")));
    TPlotImport p;
    ASSERT_EQ(ImportPlot(doc, TSourceKind::LandManagement, "missing-POPUL.dat", &p), "");
    EXPECT_EQ(p.Input.Location, "За межами");
    EXPECT_EQ(p.Input.Settlement, " ");
    EXPECT_EQ(p.Input.Population, "-");
    EXPECT_EQ(p.Input.Centre, " ");
    EXPECT_EQ(p.Input.Category, "100");
}

TEST(PlotImport, ValuationFile) {
    ExchangeDocument doc;
    ASSERT_TRUE(doc.LoadFromBytes(R"(<?xml version="1.0" encoding="UTF-8"?>
<UkrainianCadastralExchangeFile>
 <AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart>
 <InfoPart><MetricInfo/><TerritorialZoneInfo>
  <Objects><Lands><NormativValuation>
   <DescriptionOfTerritory><Region><Name>Київська область</Name><KOATUU>32249804001234</KOATUU></Region>
    <District>Фастівський район</District><Rada>Фастівська міська рада, м. Фастів</Rada></DescriptionOfTerritory>
   <Population>45000</Population><AreaTerritory><Size>1.5</Size></AreaTerritory>
  </NormativValuation></Lands></Objects>
  <DocumentationApproval><ApprovedBy>Рада</ApprovedBy><ApprovalDate>2024-02-01</ApprovalDate><ApprovalNumber>5</ApprovalNumber></DocumentationApproval>
 </TerritorialZoneInfo></InfoPart>
</UkrainianCadastralExchangeFile>)"));
    TPlotImport p;
    ASSERT_EQ(ImportPlot(doc, TSourceKind::Valuation, QString(), &p), "");
    EXPECT_EQ(p.Input.Koatuu, "3224980400");
    EXPECT_EQ(p.Input.Area, "1.5000");
    EXPECT_EQ(p.Input.Council, "Фастівська міська рада");
    EXPECT_EQ(p.Input.Settlement, "м. Фастів");
    EXPECT_EQ(p.Input.Location, "В межах");
    EXPECT_EQ(p.Input.Population, "45000");
    EXPECT_EQ(p.Input.Category, " ");
    EXPECT_FALSE(p.CentreTouched);
    EXPECT_EQ(p.ApproveDt, "01.02.2024");
    EXPECT_EQ(p.Cadnum, "");
    EXPECT_FALSE(p.HasCoordinates);
}

TEST(PlotImport, BlockChecksInOrder) {
    const struct {
        const char* xml;
        TSourceKind kind;
        QString message;
    } cases[] = {
        {"<A/>", TSourceKind::LandManagement, kImportNoExecutor},
        {"<A><AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart></A>",
         TSourceKind::LandManagement, kImportNoMetric},
        {"<A><AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart><InfoPart><MetricInfo/>"
         "</InfoPart></A>",
         TSourceKind::LandManagement, kImportNoParcel},
        {"<A><AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart><InfoPart><MetricInfo/>"
         "</InfoPart></A>",
         TSourceKind::Valuation, kImportNoValuation},
    };
    for (const auto& c : cases) {
        ExchangeDocument doc;
        ASSERT_TRUE(doc.LoadFromBytes(c.xml));
        TPlotImport p;
        EXPECT_EQ(ImportPlot(doc, c.kind, QString(), &p), c.message) << c.xml;
    }
    ExchangeDocument empty;
    TPlotImport p;
    EXPECT_EQ(ImportPlot(empty, TSourceKind::LandManagement, QString(), &p), kImportNoRoot);
}

} // namespace

#include "valuation/ImportFromExchange.h"

#include "common/CodePage.h"
#include "exchange/ExchangeDocument.h"
#include "support/TestSupport.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

TImportResult ImportFile(const QString& name, const TImportOptions& options) {
    ExchangeDocument doc;
    EXPECT_EQ(LoadSourceDocument(doc, TestDataPath("valuation/" + name)), "");
    return ImportGeneralData(doc, options);
}

TImportResult ImportText(const QString& xml, const TImportOptions& options) {
    ExchangeDocument doc;
    EXPECT_TRUE(doc.LoadFromBytes(xml.toUtf8()));
    return ImportGeneralData(doc, options);
}

TEST(ImportFromExchange, LandManagementFileFillsTheGeneralDataAndEndPage) {
    TTestProgramDir dir;
    WriteBytes(dir.File("POPUL.dat"),
               ToCp1251(QStringLiteral("Інша рада\t10\tс. Інше\r\n"
                                       "Борівська сільська рада\t2140\tс. Борова\r\n")));
    TImportOptions o;
    o.PopulPath = dir.File("POPUL.dat");
    const TImportResult r = ImportFile("parcel-6-vertices.xml", o);
    ASSERT_TRUE(r.Ok) << r.Message.toStdString();
    const QList<QPair<QString, QString>> rows = {
        {"NxItemKoatuu", "3224980400"}, // no KOATUU: the cadastral zone number, ten characters
        {"NxItemSQ", "0.1079"},
        {"NxItemAddrObl", "Київська область"},
        {"NxItemAddrRaion", "Фастівський район"},
        {"NxItemAddrRada", "Борівська сільська рада"},
        {"NxItemAddrNP", "(с. Борова)"},
        {"NxItemCenterTG", "с. Борова"},
        {"NxItemPopul", "2140"},
        {"NxItemVMezhah", "В межах"},
        {"NxItemCategory", "200"},
        {"NxItemCileve", "02.01"},
        {"NxItemYear", QString::number(QDate::currentDate().year())},
        {"NxItemVydSilhoz", "несільськогосподарські угіддя"},
        {"NxItemVydVodnogo", ""},
        {"NxItemVydLisnogo", ""},
    };
    for (const auto& [name, value] : rows) {
        EXPECT_TRUE(r.HasRow(name)) << name.toStdString();
        EXPECT_EQ(r.Row(name), value) << name.toStdString();
    }
    EXPECT_EQ(r.Rows.size(), rows.size());
    EXPECT_EQ(r.Field("EFileCadnum"), "3224980400:05:017:0008");
    EXPECT_EQ(r.Field("EFileTerrCode"), "021");
    EXPECT_EQ(r.Field("EFileTerrID"), "");
    EXPECT_EQ(r.Field("EFileApproveBy"), "Борівська сільська рада");
    EXPECT_EQ(r.Field("EFileApproveDt"), "20.05.2025");
    EXPECT_EQ(r.Field("EFileApproveNo"), "838-55-VIII");
    EXPECT_FALSE(r.HasPrevious);
}

TEST(ImportFromExchange, RuralWindows1251FileAndACouncilNotRemembered) {
    TTestProgramDir dir;
    TImportOptions o;
    o.PopulPath = dir.File("POPUL.dat"); // missing
    const TImportResult r = ImportFile("parcel-with-hole-cp1251.xml", o);
    ASSERT_TRUE(r.Ok) << r.Message.toStdString();
    EXPECT_EQ(r.Row("NxItemAddrObl"), "Львівська область");
    EXPECT_EQ(r.Row("NxItemAddrRada"), "Ралівська сільська рада");
    EXPECT_EQ(r.Row("NxItemAddrNP"), " ");
    EXPECT_EQ(r.Row("NxItemVMezhah"), "За межами");
    EXPECT_EQ(r.Row("NxItemPopul"), "-");
    EXPECT_EQ(r.Row("NxItemCenterTG"), " ");
    EXPECT_EQ(r.Row("NxItemCategory"), "100");
    EXPECT_EQ(r.Row("NxItemSQ"), "5.0906");
    EXPECT_EQ(r.Field("EFileCadnum"), "4624280900:01:020:0017");
}

TEST(ImportFromExchange, RealSampleWithoutApprovalOrBracketedSettlement) {
    TImportOptions o;
    const TImportResult r = ImportFile("land-management-urban-4624280900.xml", o);
    ASSERT_TRUE(r.Ok) << r.Message.toStdString();
    EXPECT_EQ(r.Row("NxItemKoatuu"), "4624280900");
    EXPECT_EQ(r.Row("NxItemAddrRada"), "с. Воля-Блажівська");
    EXPECT_EQ(r.Row("NxItemAddrNP"), " ");
    EXPECT_EQ(r.Row("NxItemSQ"), "0.2500");
    EXPECT_EQ(r.Field("EFileCadnum"), "4624280900:02:007:0000");
    EXPECT_EQ(r.Field("EFileApproveBy"), "");
}

TEST(ImportFromExchange, MissingBlocksStopInOrder) {
    const QString executor = "<AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart>";
    const QString metric = "<InfoPart><MetricInfo/></InfoPart>";
    const QString parcel =
        "<InfoPart><MetricInfo/><CadastralZoneInfo><CadastralQuarters><CadastralQuarterInfo>"
        "<Parcels><ParcelInfo/></Parcels></CadastralQuarterInfo></CadastralQuarters>"
        "</CadastralZoneInfo></InfoPart>";
    struct Case {
        QString body;
        TSourceKind kind;
        QString message;
    };
    const QString root = "UkrainianCadastralExchangeFile";
    for (const Case& c : {
             Case{"", TSourceKind::LandManagement,
                  "Зчитування файлу: Відсутній блок Виконавця AdditionalPart/InfoLandWork/Executor"},
             Case{metric, TSourceKind::LandManagement,
                  "Зчитування файлу: Відсутній блок Виконавця AdditionalPart/InfoLandWork/Executor"},
             Case{executor, TSourceKind::LandManagement,
                  "Зчитування файлу: Відсутній блок Метричних InfoPart/MetricInfo"},
             Case{executor + metric, TSourceKind::LandManagement,
                  "Зчитування файлу: Відсутній блок Ділянки ParcelInfo"},
             Case{executor + metric, TSourceKind::Valuation,
                  "Зчитування файлу: Відсутній блок НГО NormativValuation"},
             Case{executor + parcel, TSourceKind::LandManagement, ""},
         }) {
        SCOPED_TRACE(c.message.toStdString());
        TImportOptions o;
        o.Kind = c.kind;
        const TImportResult r = ImportText("<" + root + ">" + c.body + "</" + root + ">", o);
        EXPECT_EQ(r.Message, c.message);
        EXPECT_EQ(r.Ok, c.message.isEmpty());
        if (!r.Ok) EXPECT_TRUE(r.Rows.isEmpty());
    }
    const ExchangeDocument empty;
    const TImportResult none = ImportGeneralData(empty, {});
    EXPECT_EQ(none.Message, "Зчитування файлу: Відсутній блок Початку DocumentElement");
}

TEST(ImportFromExchange, ValuationFileInCompareModeReadsThePreviousValues) {
    const QString xml = R"(<UkrainianCadastralExchangeFile>
<AdditionalPart><InfoLandWork><Executor/></InfoLandWork></AdditionalPart>
<InfoPart><MetricInfo/>
<CadastralZoneInfo><CadastralZoneNumber>3224980400:05:017:0008</CadastralZoneNumber></CadastralZoneInfo>
<TerritorialZoneInfo>
 <TerritorialZoneNumber><TerritorialZoneID>064411</TerritorialZoneID><TerritorialZoneCode>021</TerritorialZoneCode></TerritorialZoneNumber>
 <DocumentationApproval><ApprovedBy>Рада</ApprovedBy><ApprovalDate>2024-01-02</ApprovalDate></DocumentationApproval>
 <Objects><Lands><NormativValuation>
  <DescriptionOfTerritory><Region><Name>Київська область</Name></Region><District>Фастівський район</District>
   <Rada>Борівська сільська рада, с. Борова</Rada></DescriptionOfTerritory>
  <AreaTerritory><Size>0.12345</Size></AreaTerritory>
  <Population>2140</Population><ValuationYear>2024</ValuationYear>
  <Nrd>27500</Nrd><Km1>1.2</Km1><Km2>1.0</Km2><Km3>1.0</Km3><Kmc1>1.5</Kmc1><KmcIndustry>1.1</KmcIndustry>
  <KmcHealth>1.3</KmcHealth><KmcNatureReserve>1.4</KmcNatureReserve><Kls>1.05</Kls>
  <ValuationDistricts>
   <ValuationDistrict><DistrictNumber>1</DistrictNumber><Km4>1.0</Km4><Klk>1.2</Klk></ValuationDistrict>
   <ValuationDistrict><DistrictNumber>2</DistrictNumber><Km4>1.1</Km4><Klk>1.3</Klk></ValuationDistrict>
  </ValuationDistricts>
  <NaturalAgriculturalsDistrict><AgrDistrictNumber>7</AgrDistrictNumber><AgrDistrictName>Лісостеп</AgrDistrictName>
   <Kpsgr><Arable>1.1</Arable><PerennialPlants>1.2</PerennialPlants><Grasslands>1.3</Grasslands><Pasture>1.4</Pasture><Nsg>1.5</Nsg></Kpsgr>
   <Bpsgr><Arable>50</Arable><PerennialPlants>51</PerennialPlants><Grasslands>52</Grasslands><Pasture>53</Pasture></Bpsgr>
   <AgroGroups><AgroGroup><CodeAgroGroup>49</CodeAgroGroup><AgroGroupArea><Size>0.1</Size></AgroGroupArea>
    <Bagr><Arable>40</Arable><PerennialPlants>41</PerennialPlants><Grasslands>42</Grasslands><Pasture>43</Pasture></Bagr>
   </AgroGroup></AgroGroups>
  </NaturalAgriculturalsDistrict>
 </NormativValuation></Lands></Objects>
</TerritorialZoneInfo></InfoPart></UkrainianCadastralExchangeFile>)";
    TImportOptions o;
    o.Kind = TSourceKind::Valuation;
    o.Mode = "compare";
    const TImportResult r = ImportText(xml, o);
    ASSERT_TRUE(r.Ok) << r.Message.toStdString();
    EXPECT_EQ(r.Row("NxItemKoatuu"), "3224980400");
    EXPECT_EQ(r.Row("NxItemSQ"), "0.1235");
    EXPECT_EQ(r.Row("NxItemAddrRada"), "Борівська сільська рада");
    EXPECT_EQ(r.Row("NxItemAddrNP"), "с. Борова");
    EXPECT_EQ(r.Row("NxItemVMezhah"), "В межах");
    EXPECT_EQ(r.Row("NxItemPopul"), "2140");
    EXPECT_FALSE(r.HasRow("NxItemCenterTG"));
    EXPECT_EQ(r.Row("NxItemCategory"), " ");
    EXPECT_EQ(r.Row("NxItemYear"), "2024");
    EXPECT_EQ(r.Field("EFileCadnum"), "");
    EXPECT_EQ(r.Field("EFileApproveBy"), ""); // approval fields only for a new valuation
    ASSERT_TRUE(r.HasPrevious);
    const TPreviousValues& p = r.Previous;
    EXPECT_EQ(p.Nrd, "27500");
    EXPECT_EQ(p.KmcN, "1.4");
    EXPECT_EQ(p.DistrictNumber, "1,2");
    EXPECT_EQ(p.Km4, "1.0,1.1");
    EXPECT_EQ(p.Klk, "1.2,1.3");
    ASSERT_EQ(p.PsrRows.size(), 1);
    EXPECT_EQ(p.PsrRows[0], (QStringList{"", "Київська область", "7", "Лісостеп", "1.1", "1.2", "1.3", "1.4",
                                         "1.5", "50", "51", "52", "53"}));
    ASSERT_EQ(p.AgroRows.size(), 1);
    EXPECT_EQ(p.AgroRows[0], (QStringList{"1", "49", "0.1", "40", "41", "42", "43"}));
    EXPECT_EQ(p.TerritorialZoneId, "064411");
    EXPECT_EQ(p.TerritorialZoneCode, "021");

    // The same file opened for a new valuation: this year, the approval, and no location without a
    // settlement.
    o.Mode = "";
    QString plain = xml;
    plain.replace("Борівська сільська рада, с. Борова", "Борівська сільська рада");
    const TImportResult n = ImportText(plain, o);
    EXPECT_EQ(n.Row("NxItemYear"), QString::number(QDate::currentDate().year()));
    EXPECT_EQ(n.Row("NxItemVMezhah"), "За межами");
    EXPECT_EQ(n.Field("EFileApproveBy"), "Рада");
    EXPECT_EQ(n.Field("EFileApproveDt"), "02.01.2024");
    EXPECT_FALSE(n.HasPrevious);
}

TEST(ImportFromExchange, LongKoatuuIsCutToTenCharacters) {
    const QString xml =
        "<UkrainianCadastralExchangeFile><AdditionalPart><InfoLandWork><Executor/></InfoLandWork>"
        "</AdditionalPart><InfoPart><MetricInfo/><CadastralZoneInfo><KOATUU>3224980400123</KOATUU>"
        "<CadastralQuarters><CadastralQuarterInfo><Parcels><ParcelInfo/></Parcels>"
        "</CadastralQuarterInfo></CadastralQuarters></CadastralZoneInfo></InfoPart>"
        "</UkrainianCadastralExchangeFile>";
    const TImportResult r = ImportText(xml, {});
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Row("NxItemKoatuu"), "3224980400");
    EXPECT_EQ(r.Row("NxItemVMezhah"), " ");
    EXPECT_EQ(r.Field("EFileCadnum"), "0000000000:00:000:0000");
}

} // namespace

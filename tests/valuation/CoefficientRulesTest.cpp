#include "valuation/CoefficientRules.h"

#include <gtest/gtest.h>

namespace {

// A small set of tables with the cases the rules have to tell apart.
void Fill(TNgoTables& t) {
    ParseNgoTables(
        t, {
               QStringLiteral("dod1=менше 0,2 тис. осіб\t95"),
               QStringLiteral("dod1=від 0,5 до 1 тис. осіб\t125"),
               QStringLiteral("dod1=від 1 до 5 тис. осіб\t140"),
               QStringLiteral("dod1=більше 1500 тис. осіб\t360"),
               QStringLiteral("dod2-100 землі с/г\t20000"),
               QStringLiteral("dod2-100 землі с/г (уточнено)\t27500"),
               QStringLiteral("dod2-300 землі природно-заповідні\tнема"),
               QStringLiteral("dod2-400 землі оздоровчі\t24=6"),
               QStringLiteral("dod3=м. Київ\tБроварська, Бориспільська\t1.2"),
               QStringLiteral("dod3=м. Київ (2)\tІрпінська, Броварська селищна\t1.1"),
               QStringLiteral("dod3=м. Львів\tПустомитівська\t1.15"),
               QStringLiteral("dod4=м. Трускавець\t1.2"),
               QStringLiteral("dod4=м. Моршин\t1.25"),
               QStringLiteral("dod5=зона посиленого контролю\t0.9"),
               QStringLiteral("dod8=02.01\tПрисадибна\t1.0"),
               QStringLiteral("dod8=02.02\tДачна\t1.1"),
               QStringLiteral("dod8=02.01\tПрисадибна (друга)\t1.3"),
               QStringLiteral(
                   "dod9=Київська область\t1\tБроварський (П-1)\t1.1\t1.2\t1.3\t1.4\t1.5\t40\t41\t42\t43"),
               QStringLiteral(
                   "dod9=Київська область\t2\tБориспільський (П-2)\t0.9\t0.8\t0.7\t0.6\t0.5\t30\t31\t32\t33"),
               QStringLiteral("dod9=Київська область\t3\tБориспільсько-Яготинський "
                              "(П-3)\t0.9\t0.8\t0.7\t0.6\t0.5\t20\t21\t22\t23"),
               QStringLiteral(
                   "dod10=Київська область\t0.8\t0.9\t1.0\t1.1\t1.2\t1.3\t1.4\t1.5\t1.6\t1.7\t1.8\t1.9"),
               QStringLiteral("dod10=Київська область (друга)\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2\t2"),
               QStringLiteral("dod10=м. Київ\t3\t3\t3\t3\t3\t3\t3\t3\t3\t3\t3\t3.5"),
               QStringLiteral("dod11=Київська область\t1.4"),
               QStringLiteral("dod11=Львівська область\t1.3"),
               QStringLiteral("dod12=Київська область\t1.6"),
               QStringLiteral("dod12=Львівська область\t1.5"),
               QStringLiteral("dod12i=Київська область\t1.7"),
               QStringLiteral("dod14=Полісся, Броварський район\t1.1"),
               QStringLiteral("dod14=Лісостеп, Бориспільський район\t1.2"),
               QStringLiteral("dod13=Київська область\t1.6\t1.1"),
               QStringLiteral("dod13=Львівська область\t1.5\t1.0"),
           });
}

TGeneralData Data(const char* category, const char* location = "В межах") {
    TGeneralData d;
    d.AreaText = QStringLiteral("0.25");
    d.CategoryCode = QString::fromUtf8(category);
    d.PurposeCode = QStringLiteral("02.01");
    d.RegionName = QStringLiteral("Київська область");
    d.DistrictName = QStringLiteral("Броварський район");
    d.CouncilName = QStringLiteral("Пустомитівська міська рада");
    d.SettlementName = QStringLiteral("(м. Трускавець, вул. Шевченка)");
    d.LocationKind = QString::fromUtf8(location);
    d.PopulationCount = 3000;
    d.YearOfValuation = 2026;
    d.ForestType = QStringLiteral("інші ліси");
    return d;
}

class Rules : public ::testing::Test {
protected:
    Rules() { Fill(t); }
    TNgoTables t;
};

} // namespace

TEST(RuleTexts, SearchTextsFromTheGeneralData) {
    EXPECT_EQ(Km1SearchText(QStringLiteral("Броварська міська рада")), QStringLiteral("броварська"));
    EXPECT_EQ(Km1SearchText(QStringLiteral("на території Броварської міської ради")),
              QStringLiteral("броварськ"));
    EXPECT_EQ(Km1SearchText(QStringLiteral("Калинівського сільської")), QStringLiteral("калинівськ"));
    EXPECT_EQ(Km2SearchText(QStringLiteral("(м. Трускавець, вул. Шевченка)")), QStringLiteral("трускавець"));
    EXPECT_EQ(Km2SearchText(QStringLiteral("с-ще Сходниця")), QStringLiteral("сходниця"));
    EXPECT_EQ(Km2SearchText(QString()), QString());
    EXPECT_EQ(Kmc1SearchText(QStringLiteral("Київська обл.")), QStringLiteral("київська"));
    EXPECT_EQ(KmcISearchText(QStringLiteral("м. Київ")), QStringLiteral("київ"));
    EXPECT_EQ(KmcHSearchText(QStringLiteral("Київська область")), QStringLiteral("київськ"));
    EXPECT_EQ(KlsSearchText(QStringLiteral("Броварський район")), QStringLiteral("броварський"));
    EXPECT_EQ(PsrSearchText(QStringLiteral("Броварський район")), QStringLiteral("броварськ"));
    EXPECT_EQ(KlkSearchText(QStringLiteral("Львівська обл.")), QStringLiteral("львівська"));
}

TEST(RuleTexts, PopulationBands) {
    const struct {
        const char* text;
        bool caption;
        bool ok;
        double lower, upper;
    } cases[] = {
        {"менше 0,2 тис. осіб", false, true, 0, 200},
        {"від 0,5 до 1 тис. осіб", false, true, 500, 1000},
        {"більше 1500 тис. осіб", false, true, 1500000, 99999999000.0},
        {"Від 1 до 5 тис. осіб ", false, true, 1000, 5000},
        {"без меж", false, false, 0, 0},
        {"менше \n0,2 \nтис. осіб", true, true, 0, 200},
        {"від 0,2 \nдо 0,5 \nтис. осіб", true, true, 200, 500},
        {"більше \n1500 \nтис. осіб", true, true, 1500000, 99999999000.0},
    };
    for (const auto& c : cases) {
        double lo = -1, up = -1;
        const QString text = QString::fromUtf8(c.text);
        const bool ok = c.caption ? ParseBandCaption(text, &lo, &up) : ParseBandText(text, &lo, &up);
        EXPECT_EQ(ok, c.ok) << c.text;
        if (!c.ok) continue;
        EXPECT_DOUBLE_EQ(lo, c.lower) << c.text;
        EXPECT_DOUBLE_EQ(up, c.upper) << c.text;
    }
    // Every standard caption of NextGridKmc1 is understood.
    for (const QString& caption : Kmc1BandCaptions()) {
        double lo = 0, up = 0;
        EXPECT_TRUE(ParseBandCaption(caption, &lo, &up)) << caption.toStdString();
    }
}

TEST_F(Rules, Km1OneSeveralNoneAndNotApplicable) {
    TGeneralData d = Data("200");
    TChoice c = ChooseKm1(t.Km1, d);
    EXPECT_EQ(c.Value, QStringLiteral("1.15"));
    EXPECT_EQ(c.Row, QStringLiteral("3"));
    EXPECT_EQ(c.FilterText, QStringLiteral("пустомитівська"));

    d.CouncilName = QStringLiteral("Броварська міська рада"); // in two rows
    c = ChooseKm1(t.Km1, d);
    EXPECT_EQ(c.Value, kSeveral);
    EXPECT_EQ(c.Row, QString());
    EXPECT_EQ(c.TableRow, -1);

    d.CouncilName = QStringLiteral("Яготинська міська рада");
    c = ChooseKm1(t.Km1, d);
    EXPECT_EQ(c.Value, QStringLiteral("1,0"));
    EXPECT_EQ(c.Row, QStringLiteral("1"));
    EXPECT_EQ(c.TableRow, 0);

    for (const char* category : {"100", "300", "400", "500", "600", "700", "800"}) {
        c = ChooseKm1(t.Km1, Data(category));
        EXPECT_EQ(c.Value, QStringLiteral("1,0")) << category;
        EXPECT_EQ(c.Row, QStringLiteral("0")) << category;
        EXPECT_FALSE(c.Applicable) << category;
        MarkChoice(t.Km1, c);
        EXPECT_EQ(t.Km1.VisibleRowCount(), 0);
        EXPECT_EQ(t.Km1.CheckedCount(), 0);
    }
    EXPECT_TRUE(ChooseKm1(t.Km1, Data("900")).Applicable);
}

TEST_F(Rules, EmptySearchTextMatchesNothing) {
    TGeneralData d = Data("200");
    d.SettlementName.clear();
    const TChoice km2 = ChooseKm2(t.Km2, d);
    EXPECT_EQ(km2.Value, QStringLiteral("1,0")); // not "декілька" from matching every row
    EXPECT_EQ(km2.Row, QStringLiteral("1"));
    EXPECT_EQ(ChooseKls(t.Kls, d, QString()).Value, QString()); // a saved empty default
    EXPECT_EQ(ChooseKls(t.Kls, d, QString()).Row, QString());
    EXPECT_EQ(SearchTable(t.Km2, 1, QString(), TMatchMode::Last).Row, -1);
}

TEST_F(Rules, Km2AndKm3) {
    TChoice c = ChooseKm2(t.Km2, Data("200"));
    EXPECT_EQ(c.Value, QStringLiteral("1.2"));
    EXPECT_EQ(c.Row, QStringLiteral("1"));
    EXPECT_EQ(c.FilterText, QStringLiteral("трускавець"));
    c = ChooseKm3(t.Km3, Data("900"));
    EXPECT_EQ(c.Value, QStringLiteral("1,0"));
    EXPECT_EQ(c.Row, QStringLiteral("1"));
    TNgoTables empty;
    c = ChooseKm3(empty.Km3, Data("900"));
    EXPECT_EQ(c.Value, QStringLiteral("1,0"));
    EXPECT_EQ(c.Row, QString());
    EXPECT_EQ(c.TableRow, -1);
}

TEST_F(Rules, KcpTakesTheLastMatchingCode) {
    const TChoice c = ChooseKcp(t.Kcp, Data("200"));
    EXPECT_EQ(c.Value, QStringLiteral("1.3"));
    EXPECT_EQ(c.Row, QStringLiteral("3"));
    EXPECT_EQ(c.FilterText, QStringLiteral("02.01"));
    TGeneralData d = Data("200");
    d.PurposeCode = QStringLiteral("99.99");
    EXPECT_EQ(ChooseKcp(t.Kcp, d).Value, QString());
    EXPECT_EQ(ChooseKcp(t.Kcp, d).Row, QString());
}

TEST_F(Rules, NrdAppendixByCategoryAndLocation) {
    const struct {
        const char* category;
        const char* location;
        const char* appendix;
        const char* value;
        const char* row;
    } cases[] = {
        {"100", "В межах", "дод.2", "27500", "2"},  // the later of two matching rows
        {"300", "В межах", "дод.2", "", "3"},       // a norm that does not parse stays empty
        {"400", "За межами", "дод.2", "24.6", "4"}, // "=" in a "dod2-" line is the decimal point
        {"400", "В межах", "дод.1", "140", "3"},
        {"700", "В межах", "дод.2", "", ""}, // no row for the category
        {"200", "За межами", "дод.1", "140", "3"},
        {"900", "В межах", "дод.1", "140", "3"},
        {"950", "В межах", "дод.1", "140", "3"},
    };
    for (const auto& c : cases) {
        const TChoice choice = ChooseNrd(t, Data(c.category, c.location));
        EXPECT_EQ(choice.Appendix, QString::fromUtf8(c.appendix)) << c.category << c.location;
        EXPECT_EQ(choice.Value, QString::fromUtf8(c.value)) << c.category << c.location;
        EXPECT_EQ(choice.Row, QString::fromUtf8(c.row)) << c.category << c.location;
    }
    EXPECT_TRUE(Nrd2PanelVisible(QStringLiteral("400")));
    EXPECT_FALSE(Nrd2PanelVisible(QStringLiteral("200")));
}

TEST_F(Rules, NrdBandBoundaryBelongsToTheLaterBand) {
    TGeneralData d = Data("200");
    const struct {
        qint64 population;
        const char* value;
        const char* row;
    } cases[] = {
        {1000, "140", "3"}, {999, "125", "2"}, {200, "95", "1"}, {300, "", ""}, {2000000, "360", "4"}};
    for (const auto& c : cases) {
        d.PopulationCount = c.population;
        const TChoice choice = ChooseNrd(t, d);
        EXPECT_EQ(choice.Value, QString::fromUtf8(c.value)) << c.population;
        EXPECT_EQ(choice.Row, QString::fromUtf8(c.row)) << c.population;
        EXPECT_EQ(choice.Appendix, kAppendix1);
    }
    const TChoice choice = ChooseNrd(t, Data("100"));
    MarkNrdChoice(t, choice);
    EXPECT_TRUE(t.Nrd2.IsChecked(1));
    EXPECT_EQ(t.Nrd.CheckedCount(), 0);
}

TEST_F(Rules, Kmc1CellByUnitRowAndPopulationBand) {
    TGeneralData d = Data("200");
    const struct {
        qint64 population;
        const char* value;
        const char* row;
    } cases[] = {{200, "0.9", "1x2"},  {199, "0.8", "1x1"},      {3000, "1.1", "1x4"},
                 {5000, "1.2", "1x5"}, {1500000, "1.9", "1x12"}, {9000000, "1.9", "1x12"}};
    for (const auto& c : cases) {
        d.PopulationCount = c.population;
        const TChoice choice = ChooseKmc1(t.Kmc1, d, false);
        EXPECT_EQ(choice.Value, QString::fromUtf8(c.value)) << c.population;
        EXPECT_EQ(choice.Row, QString::fromUtf8(c.row)) << c.population;
    }
    d.RegionName = QStringLiteral("м. Київ");
    d.PopulationCount = 3000000;
    TChoice choice = ChooseKmc1(t.Kmc1, d, false);
    EXPECT_EQ(choice.Value, QStringLiteral("3.5"));
    EXPECT_EQ(choice.Row, QStringLiteral("3x12"));
    MarkChoice(t.Kmc1, choice);
    EXPECT_EQ(t.Kmc1.SelectedRow(), 2);
    EXPECT_EQ(t.Kmc1.SelectedColumn(), 12);

    d.RegionName = QStringLiteral("Волинська область");
    choice = ChooseKmc1(t.Kmc1, d, false);
    EXPECT_EQ(choice.Value, QString());
    EXPECT_EQ(choice.Row, QString());
}

TEST_F(Rules, KmcApplicabilityByCategoryLocationAndKmcAlways) {
    const struct {
        const char* category;
        const char* location;
        bool kmc1, kmcI, kmcH, kmcN;
    } cases[] = {
        {"100", "За межами", false, false, false, false}, {"200", "В межах", true, false, false, false},
        {"300", "За межами", true, false, false, false},  {"400", "В межах", true, false, false, false},
        {"400", "За межами", false, false, true, false},  {"500", "В межах", true, false, false, false},
        {"600", "В межах", false, false, false, true},    {"700", "В межах", false, false, false, false},
        {"800", "В межах", false, false, false, false},   {"900", "В межах", true, false, false, false},
        {"900", "За межами", true, true, false, false},
    };
    for (const auto& c : cases) {
        const TGeneralData d = Data(c.category, c.location);
        EXPECT_EQ(ChooseKmc1(t.Kmc1, d, false).Applicable, c.kmc1) << c.category << c.location;
        EXPECT_EQ(ChooseKmcI(t.KmcI, d, false).Applicable, c.kmcI) << c.category << c.location;
        EXPECT_EQ(ChooseKmcH(t.KmcH, d, false).Applicable, c.kmcH) << c.category << c.location;
        EXPECT_EQ(ChooseKmcN(t.KmcN, d, false).Applicable, c.kmcN) << c.category << c.location;
        for (const TChoice& k : {ChooseKmc1(t.Kmc1, d, true), ChooseKmcI(t.KmcI, d, true),
                                 ChooseKmcH(t.KmcH, d, true), ChooseKmcN(t.KmcN, d, true)})
            EXPECT_TRUE(k.Applicable) << c.category;
    }
    // 900 inside a settlement: Кмц(пром) does not apply unless every Кмц is taken from the tables.
    const TGeneralData d = Data("900", "В межах");
    TChoice c = ChooseKmcI(t.KmcI, d, false);
    EXPECT_EQ(c.Value, QStringLiteral("1,0"));
    EXPECT_EQ(c.Row, QStringLiteral("0"));
    c = ChooseKmcI(t.KmcI, d, true);
    EXPECT_EQ(c.Value, QStringLiteral("1.4"));
    EXPECT_EQ(c.Row, QStringLiteral("1"));
    EXPECT_EQ(ChooseKmcH(t.KmcH, Data("400", "За межами"), false).Value, QStringLiteral("1.6"));
    EXPECT_EQ(ChooseKmcN(t.KmcN, Data("600"), false).Value, QStringLiteral("1.7"));
}

TEST_F(Rules, KlsUsesTheSavedDefaultFirst) {
    const TGeneralData d = Data("700");
    TChoice c = ChooseKls(t.Kls, d, std::nullopt);
    EXPECT_EQ(c.Value, QStringLiteral("1.1"));
    EXPECT_EQ(c.Row, QStringLiteral("1"));
    c = ChooseKls(t.Kls, d, QStringLiteral("Лісостеп, Бориспільський район"));
    EXPECT_EQ(c.Value, QStringLiteral("1.2"));
    EXPECT_EQ(c.Row, QStringLiteral("2"));
    EXPECT_EQ(c.FilterText, QStringLiteral("броварський")); // the filter box shows the district text
    c = ChooseKls(t.Kls, d, QStringLiteral("район"));
    EXPECT_EQ(c.Value, kSeveral);
}

TEST_F(Rules, DistrictKlkKm4AndAgroGroup) {
    TGeneralData d = Data("100");
    TAutoChoices c = ChooseAllCoefficients(t, d, {});
    EXPECT_EQ(c.Psr.Value, QStringLiteral("Броварський (П-1)"));
    EXPECT_EQ(c.Psr.Number, QStringLiteral("1"));
    EXPECT_EQ(c.Psr.Row, QStringLiteral("1"));
    EXPECT_EQ(c.AgroRow, (QStringList{QStringLiteral("1"), QStringLiteral("-"), QStringLiteral("0.25"),
                                      QStringLiteral("40"), QStringLiteral("41"), QStringLiteral("42"),
                                      QStringLiteral("43")}));
    EXPECT_EQ(c.Klk.Value, QStringLiteral("1.6"));
    EXPECT_EQ(c.Klk.Row, QStringLiteral("1x1"));
    EXPECT_EQ(c.Km4.Value, QStringLiteral("1,0"));
    EXPECT_EQ(c.DistrictNumber.Value, QStringLiteral("1"));

    d.ForestType = QStringLiteral("експлуатаційні ліси");
    d.DistrictName = QStringLiteral("Бориспільський район"); // in two district names
    TChoiceOptions again;
    again.PreviousDistrictNumber = QStringLiteral("3");
    again.PreviousDistrictVisible = true;
    c = ChooseAllCoefficients(t, d, again);
    EXPECT_EQ(c.Klk.Value, QStringLiteral("1.1"));
    EXPECT_EQ(c.Klk.Row, QStringLiteral("1x2"));
    EXPECT_EQ(c.Psr.Value, kSeveral);
    EXPECT_EQ(c.Psr.Number, QString());
    EXPECT_EQ(c.Psr.Row, QString());
    EXPECT_EQ(c.AgroRow.mid(3), (QStringList{QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
                                             QStringLiteral("0")}));
    EXPECT_EQ(c.DistrictNumber.Value, QStringLiteral("3"));
    again.PreviousDistrictVisible = false;
    EXPECT_EQ(ChooseAllCoefficients(t, d, again).DistrictNumber.Value, QStringLiteral("1"));
    d.RegionName = QStringLiteral("область"); // nothing left to search for
    EXPECT_EQ(ChooseKlk(t.Klk, d).Value, QString());
}

TEST_F(Rules, HandChoiceOfRowsAndCells) {
    // Checking a row takes its value; checking another unchecks the first; unchecking clears.
    t.Km1.SetChecked(1, true);
    auto c = RowCheckChanged(t.Km1, 1);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Value, QStringLiteral("1.1"));
    EXPECT_EQ(c->Row, QStringLiteral("2"));
    t.Km1.SetChecked(2, true);
    c = RowCheckChanged(t.Km1, 2);
    EXPECT_EQ(c->Row, QStringLiteral("3"));
    EXPECT_EQ(t.Km1.CheckedCount(), 1);
    EXPECT_EQ(t.Km1.SelectedRow(), 2); // the checked row is the table's current row
    t.Km1.SetChecked(2, false);
    c = RowCheckChanged(t.Km1, 2);
    ASSERT_TRUE(c);
    EXPECT_EQ(c->Value, QString());
    EXPECT_EQ(c->Row, QString());
    EXPECT_FALSE(RowCheckChanged(t.Km1, 7));

    t.Nrd2.SetChecked(0, true);
    c = RowCheckChanged(t.Nrd2, 0);
    EXPECT_EQ(c->Appendix, kAppendix2);
    EXPECT_EQ(c->Value, QStringLiteral("20000"));
    t.Psr.SetChecked(1, true);
    c = RowCheckChanged(t.Psr, 1);
    EXPECT_EQ(c->Value, QStringLiteral("Бориспільський (П-2)"));
    EXPECT_EQ(c->Number, QStringLiteral("2"));

    EXPECT_FALSE(CellClicked(t.Kmc1, 0, 0));
    const auto cell = CellClicked(t.Klk, 1, 2);
    ASSERT_TRUE(cell);
    EXPECT_EQ(cell->Value, QStringLiteral("1.0"));
    EXPECT_EQ(cell->Row, QStringLiteral("2x2"));
    EXPECT_EQ(t.Klk.SelectedRow(), 1);
}

TEST_F(Rules, AgroRowFollowsTheHandChosenDistrict) {
    TCoefficientTable agro(QStringLiteral("NextGridAgro"), TTableKind::Cell, AgroCaptions());
    agro.AppendRow(AgroRowFor(QStringLiteral("2"), t.Psr, -1));
    UpdateAgroFromPsr(agro, t.Psr, 1);
    EXPECT_EQ(agro.RowCells(0).mid(3), (QStringList{QStringLiteral("30"), QStringLiteral("31"),
                                                    QStringLiteral("32"), QStringLiteral("33")}));
    UpdateAgroFromPsr(agro, t.Psr, -1);
    EXPECT_EQ(agro.RowCells(0).mid(3), QStringList(4, QString()));
    EXPECT_EQ(AgroCodeFromChoice(QStringLiteral("49-Черноземы оподзоленные и реградированные слабосмытые")),
              QStringLiteral("49"));
    EXPECT_EQ(AgroCodeFromChoice(QStringLiteral("-")), QStringLiteral("-"));
    EXPECT_EQ(AgroCodeFromChoice(QStringLiteral("143.4-Лугово-болотные")), QStringLiteral("143.4"));
}

TEST_F(Rules, FilterNeedsThreeCharactersAndNormalisesApostrophes) {
    EXPECT_FALSE(ApplyFilter(t.Kls, QStringLiteral(" Бр ")));
    EXPECT_EQ(t.Kls.VisibleRowCount(), 2);
    EXPECT_TRUE(ApplyFilter(t.Kls, QStringLiteral(" БРОВ")));
    EXPECT_FALSE(t.Kls.IsRowHidden(0));
    EXPECT_TRUE(t.Kls.IsRowHidden(1));
    ReleaseFilter(t.Kls);
    EXPECT_EQ(t.Kls.VisibleRowCount(), 2);

    TNgoTables named;
    ParseNgoTables(named, {QStringLiteral("dod3=м. Харків\tМереф’янська\t1.1"),
                           QStringLiteral("dod3=м. Київ\tІрпінська\t1.2")});
    EXPECT_TRUE(ApplyFilter(named.Km1, QStringLiteral("мереф'ян")));
    EXPECT_EQ(named.Km1.VisibleRowCount(), 1);
    EXPECT_FALSE(named.Km1.IsRowHidden(0));
    EXPECT_EQ(FilterColumn(t.Kcp), 1);
    EXPECT_EQ(FilterColumn(t.Km3), -1);
    EXPECT_FALSE(ApplyFilter(t.Km3, QStringLiteral("зона")));
}

TEST_F(Rules, AutomaticChoiceResetsEarlierMarksAndFilters) {
    ApplyFilter(t.Kcp, QStringLiteral("02.02"));
    t.Kcp.SetChecked(1, true);
    const TAutoChoices c = ChooseAllCoefficients(t, Data("200"), {});
    MarkChoices(t, c);
    EXPECT_EQ(t.Kcp.VisibleRowCount(), 3);
    EXPECT_EQ(t.Kcp.CheckedCount(), 1);
    EXPECT_TRUE(t.Kcp.IsChecked(2));
    EXPECT_EQ(t.Km1.CheckedCount(), 1);
    EXPECT_TRUE(t.Km1.IsChecked(2));
}

TEST_F(Rules, SearchSeesChangedCells) {
    EXPECT_EQ(SearchTable(t.Km2, 1, QStringLiteral("моршин"), TMatchMode::OneOrMany).Row, 1);
    t.Km2.SetCell(1, 1, QStringLiteral(" М. Яремче "));
    EXPECT_EQ(SearchTable(t.Km2, 1, QStringLiteral("моршин"), TMatchMode::OneOrMany).Row, -1);
    EXPECT_EQ(SearchTable(t.Km2, 1, QStringLiteral("м. яремче"), TMatchMode::OneOrMany).Row, 1);
    t.Km2.AppendFields({QStringLiteral("м. Моршин"), QStringLiteral("1.3")});
    EXPECT_EQ(SearchTable(t.Km2, 1, QStringLiteral("моршин"), TMatchMode::OneOrMany).Row, 2);
}

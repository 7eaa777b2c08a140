// Automatic coefficient choice and the calculation for one plot, from tables loaded once (the shipped
// NGO.dat). Reports plots per second.
#include "valuation/Calculation.h"
#include "valuation/CoefficientRules.h"
#include "valuation/Indexation.h"
#include "valuation/NgoTables.h"
#include "valuation/ReferenceStores.h"
#include "valuation/Summary.h"

#include <benchmark/benchmark.h>

namespace {

const TNgoTables& Tables() {
    static TNgoTables* tables = [] {
        auto* t = new TNgoTables;
        LoadNgoTables(*t, QStringLiteral(ZEMLYAR_SOURCE_DIR "/resources/NGO.dat"));
        return t;
    }();
    return *tables;
}

QList<TGeneralData> Plots() {
    const char* categories[] = {"100", "200", "300", "400", "500", "600", "700", "800", "900"};
    const char* districts[] = {"Броварський район", "Львівський район", "Одеський район",
                               "Полтавський район"};
    const char* regions[] = {"Київська область", "Львівська область", "Одеська область",
                             "Полтавська область"};
    QList<TGeneralData> plots;
    for (int i = 0; i < 36; ++i) {
        TGeneralData d;
        d.AreaText = QStringLiteral("0.25");
        d.CategoryCode = QString::fromLatin1(categories[i % 9]);
        d.PurposeCode = QStringLiteral("02.01");
        d.RegionName = QString::fromUtf8(regions[i % 4]);
        d.DistrictName = QString::fromUtf8(districts[i % 4]);
        d.CouncilName = QStringLiteral("Броварська міська рада");
        d.SettlementName = QStringLiteral("м. Бровари, вул. Київська");
        d.LocationKind = i % 2 ? QStringLiteral("В межах") : QStringLiteral("За межами");
        d.PopulationCount = 1000 * (i + 1);
        d.YearOfValuation = 2026;
        d.AgriLandType = QStringLiteral("рілля, перелоги");
        d.WaterObjectType = QStringLiteral("інше значення");
        d.ForestType = QStringLiteral("інші ліси");
        plots << d;
    }
    return plots;
}

void Put(TCoefficientBox& box, const TChoice& c) {
    box.Value = c.Value;
    box.Row = c.Row;
}

void BM_ChooseAndCalculate(benchmark::State& state) {
    const TNgoTables& tables = Tables();
    const QList<TGeneralData> plots = Plots();
    const QStringList years = BuiltInIndexationList();
    TCoefficientTable psrPrev(QStringLiteral("NextGridPSRPrev"), TTableKind::CheckBox, PsrCaptions());
    TCoefficientTable agro(QStringLiteral("NextGridAgro"), TTableKind::Cell, AgroCaptions());
    qsizetype i = 0;
    for (auto _ : state) {
        const TGeneralData& d = plots[i++ % plots.size()];
        const TAutoChoices c = ChooseAllCoefficients(tables, d, {});
        TValuationBoxes b;
        Put(b.Nrd, c.Nrd);
        b.NrdAppendix = c.Nrd.Appendix;
        Put(b.Km1, c.Km1);
        Put(b.Km2, c.Km2);
        Put(b.Km3, c.Km3);
        Put(b.Kcp, c.Kcp);
        Put(b.Kmc1, c.Kmc1);
        Put(b.KmcI, c.KmcI);
        Put(b.KmcH, c.KmcH);
        Put(b.KmcN, c.KmcN);
        Put(b.Kls, c.Kls);
        Put(b.Psr, c.Psr);
        Put(b.Klk, c.Klk);
        b.Km4.Value = c.Km4.Value;
        b.DistrictNumber.Value = c.DistrictNumber.Value;
        const TKni kni = ComputeKni(years, 2020, d.YearOfValuation);
        b.KniValue = kni.Value;
        b.KniFormula = kni.Factors;
        const QString text = BuildCalculationText(d, b, tables.Psr, psrPrev, QString());
        TSummary summary;
        FillSummary(summary, d, b, agro);
        benchmark::DoNotOptimize(text);
        benchmark::DoNotOptimize(summary);
    }
    state.SetItemsProcessed(state.iterations());
    state.SetLabel("plots");
}
BENCHMARK(BM_ChooseAndCalculate);

void BM_LoadTables(benchmark::State& state) {
    for (auto _ : state) {
        TNgoTables t;
        LoadNgoTables(t, QStringLiteral(ZEMLYAR_SOURCE_DIR "/resources/NGO.dat"));
        benchmark::DoNotOptimize(t.Kcp.RowCount());
    }
}
BENCHMARK(BM_LoadTables);

} // namespace

BENCHMARK_MAIN();

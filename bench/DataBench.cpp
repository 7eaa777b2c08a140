// Start-up cost of the databases with the shipped reference database (full KATOTTG codifier) and the
// address-to-ID look-up.
#include "app/GlobalVar.h"
#include "data/DataQuery.h"
#include "data/TFormMain.h"
#include "valuation/KatottgTree.h"
#include "valuation/TerritoryId.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

// A program folder with a copy of the shipped ref.db.
struct TBenchFolder {
    TBenchFolder() {
        InitGlobalVar(dir.path() + QStringLiteral("/zemlyar"), true);
        ok = QFile::copy(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + QStringLiteral("/ref.db"),
                         dir.path() + "/ref.db");
        if (!ok) std::fprintf(stderr, "ref.db missing in %s: build the program first\n", ZEMLYAR_PROGRAM_DIR);
    }
    QTemporaryDir dir;
    bool ok = false;
};

TBenchFolder& Folder() {
    static TBenchFolder f;
    return f;
}

// OpenDatabases as the start-up runs it: both connections, update lists, reference cache, plot table.
void BM_OpenDatabases(benchmark::State& state) {
    if (!Folder().ok) {
        state.SkipWithError("no ref.db");
        return;
    }
    int entries = 0;
    for (auto _ : state) {
        TFormMain module;
        if (!module.OpenDatabases()) {
            state.SkipWithError("OpenDatabases failed");
            return;
        }
        entries = int(module.ReferenceCache.Entries().size());
    }
    state.counters["cache_entries"] = entries;
}
BENCHMARK(BM_OpenDatabases)->Unit(benchmark::kMillisecond);

// OpenDatabases followed by the codifier tree's roots, the rest of the start-up's database work.
void BM_OpenDatabasesAndCodifierRoots(benchmark::State& state) {
    if (!Folder().ok) {
        state.SkipWithError("no ref.db");
        return;
    }
    for (auto _ : state) {
        TFormMain module;
        module.OpenDatabases();
        TKatottgTreeModel tree(&module.ADOQueryRef);
        tree.Fill();
        benchmark::DoNotOptimize(tree.rowCount());
    }
}
BENCHMARK(BM_OpenDatabasesAndCodifierRoots)->Unit(benchmark::kMillisecond);

void BM_TerritoryIdFromAddress(benchmark::State& state) {
    if (!Folder().ok) {
        state.SkipWithError("no ref.db");
        return;
    }
    TFormMain module;
    module.OpenDatabases();
    const TAddressForId address{QStringLiteral("Чернігівська область"), QStringLiteral("Ніжинський район"),
                                QStringLiteral("на території Бобровицької міської ради"),
                                QStringLiteral("м. Бобровиця"), QStringLiteral("В межах")};
    for (auto _ : state) {
        const QString id = TerritoryIdFromAddress(module.ADOQueryRef, address);
        if (id != QStringLiteral("084586")) {
            state.SkipWithError("wrong ID");
            return;
        }
        benchmark::DoNotOptimize(id);
    }
}
BENCHMARK(BM_TerritoryIdFromAddress)->Unit(benchmark::kMicrosecond);

void BM_FindById(benchmark::State& state) {
    if (!Folder().ok) {
        state.SkipWithError("no ref.db");
        return;
    }
    TFormMain module;
    module.OpenDatabases();
    for (auto _ : state) {
        TKatottgTreeModel tree(&module.ADOQueryRef);
        tree.Fill();
        benchmark::DoNotOptimize(tree.FindById(QStringLiteral("084586")));
    }
}
BENCHMARK(BM_FindById)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

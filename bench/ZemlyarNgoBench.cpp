// Valuing and writing 1,000 generated plots with zemlyar-ngo: the tool itself as an engineer runs it on a
// folder of files, and the same work inside this process (CPU per plot without the start of a program).
//
// The plots are generated once into build-bench/bench-data/ngo/ by bench/tools/gen_exchange.py (sixteen
// different parcels: vertices, holes, places, encodings), each written under 1000 / 16 names.
#include "app/GlobalVar.h"
#include "common/Files.h"
#include "valuation/BatchValuation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr int kPlots = 1000;
constexpr int kBases = 16;

const QStringList kValuationArgs{"--population", "5000", "--zone-id", "123456"};

QString DataDir() {
    return QStringLiteral(ZEMLYAR_PROGRAM_DIR) + QStringLiteral("/../bench-data/ngo");
}

// The 1000 input files (generated on the first run).
const QStringList& PlotFiles() {
    static QStringList files = [] {
        const QString dir = DataDir();
        QDir().mkpath(dir + "/base");
        QDir().mkpath(dir + "/in");
        for (int s = 1; s <= kBases; ++s) {
            const QString base = dir + QStringLiteral("/base/p%1.xml").arg(s);
            if (QFile::exists(base)) continue;
            QStringList args{QStringLiteral(ZEMLYAR_SOURCE_DIR) + "/bench/tools/gen_exchange.py",
                             "--seed",
                             QString::number(s),
                             "--vertices",
                             QString::number(5 + s % 12),
                             "--place",
                             QString::number(s % 6),
                             "--out",
                             base,
                             "--no-manifest"};
            if (s % 4 == 0) args << "--holes";
            if (s % 3 == 0)
                args << "--encoding"
                     << "windows-1251";
            if (QProcess::execute("python3", args) != 0) qFatal("gen_exchange.py failed");
        }
        QStringList out;
        for (int i = 0; i < kPlots; ++i) {
            const QString file = dir + QStringLiteral("/in/plot%1.xml").arg(i, 4, 10, QLatin1Char('0'));
            if (!QFile::exists(file))
                QFile::copy(dir + QStringLiteral("/base/p%1.xml").arg(i % kBases + 1), file);
            out << file;
        }
        return out;
    }();
    return files;
}

double ChildCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// The tool, as a separate program over the whole folder (wall time; the tool's own CPU as a counter).
void BM_ZemlyarNgoWrite1000(benchmark::State& state) {
    const QStringList& files = PlotFiles();
    const QString out = DataDir() + "/out";
    double cpu = 0;
    for (auto _ : state) {
        DeleteFolderTree(out);
        QDir().mkpath(out);
        const double before = ChildCpuSeconds();
        QStringList args = kValuationArgs;
        args << "--out-dir" << out << files;
        QProcess tool;
        tool.setStandardOutputFile(QProcess::nullDevice());
        tool.setStandardErrorFile(QProcess::nullDevice());
        tool.start(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + "/zemlyar-ngo", args);
        tool.waitForFinished(-1);
        const int rc = tool.exitCode();
        cpu += ChildCpuSeconds() - before;
        if (rc != 0) state.SkipWithError("zemlyar-ngo did not value every plot");
    }
    state.SetItemsProcessed(state.iterations() * kPlots);
    state.counters["plots_per_cpu_s"] =
        benchmark::Counter(kPlots * static_cast<double>(state.iterations()) / cpu);
}
BENCHMARK(BM_ZemlyarNgoWrite1000)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The same valuation and writing inside this process.
void BM_BatchValuationWrite1000(benchmark::State& state) {
    const QStringList& files = PlotFiles();
    const QString out = DataDir() + "/out-inprocess";
    InitGlobalVar(QStringLiteral(ZEMLYAR_PROGRAM_DIR) + "/zemlyar-ngo");
    // Scratch working copies in memory, as the tool keeps them.
    QTemporaryDir scratch(QFileInfo("/dev/shm").isWritable()
                              ? QStringLiteral("/dev/shm/zemlyar-bench-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/zemlyar-bench-XXXXXX"));
    GlobalVar().Settings.TempDir = scratch.path();
    TNgoCommandLine options;
    QStringList args = kValuationArgs;
    args << "--out-dir" << out << "x.xml";
    ParseNgoCommandLine(args, &options);
    for (auto _ : state) {
        state.PauseTiming();
        DeleteFolderTree(out);
        QDir().mkpath(out);
        TBatchValuation batch(options);
        state.ResumeTiming();
        for (const QString& f : files)
            if (batch.ValueFile(f).Status != NgoValued) state.SkipWithError("a plot was not valued");
    }
    state.SetItemsProcessed(state.iterations() * kPlots);
}
BENCHMARK(BM_BatchValuationWrite1000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

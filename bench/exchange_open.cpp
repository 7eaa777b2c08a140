// Opening a large exchange file as the program does (working copy, parse) and reading every point's UIDP,
// X and Y, and the structure tester, each side by side with xmllint on the same file.
//
// The file: ZEMLYAR_BENCH_EXCHANGE (path of a large exchange file); without it a file of about 60 MB with
// 5000 parcels of 20 vertices is generated into a temporary folder.
// Peak memory is measured on separate processes (this executable re-run with --open-child, and xmllint).
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string g_self;
std::string g_file;
QTemporaryDir* g_tmp = nullptr;

struct TMeasure {
    double seconds = 0; // wall time
    double cpu = 0;     // user + system time
    double peakMb = 0;
};
TMeasure g_open, g_xmllint, g_tester, g_xmllintSchema;

// Runs a program and returns its wall time; *m gets its CPU time and peak resident memory.
double Spawn(const std::vector<std::string>& args, TMeasure* m) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::fprintf(stderr, "cannot start %s\n", argv[0]);
        std::exit(1);
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    posix_spawn_file_actions_destroy(&actions);
    if (m) {
        m->peakMb = double(usage.ru_maxrss) / 1024.0;
        m->cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                 double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
        m->seconds = seconds;
    }
    return seconds;
}

// What the program does on opening, then what the geometry builder reads.
double OpenAndReadPoints(const QString& source, const QString& workingFolder) {
    const QString copy = workingFolder + QStringLiteral("/working.xml");
    QFile::remove(copy);
    QFile::copy(source, copy);
    ExchangeDocument doc;
    if (!doc.LoadFromFile(copy)) {
        std::fprintf(stderr, "cannot open %s\n", qPrintable(copy));
        std::exit(1);
    }
    double sum = 0;
    const pugi::xml_node points =
        FindNodeAtPath(doc.DocumentElement(), {}, {"InfoPart", "MetricInfo", "PointInfo"});
    for (pugi::xml_node p = points.child("Point"); p; p = p.next_sibling("Point")) {
        double uidp = 0, x = 0, y = 0;
        ElementDouble(p.child("UIDP"), &uidp);
        ElementDouble(p.child("X"), &x);
        ElementDouble(p.child("Y"), &y);
        sum += x + y + uidp;
    }
    return sum;
}

void GenerateFile(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly)) std::exit(1);
    const int parcels = 5000, vertices = 20;
    auto w = [&](const QByteArray& b) { f.write(b); };
    w("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<UkrainianCadastralExchangeFile>\n  <AdditionalPart>\n"
      "    "
      "<ServiceInfo><FileID><FileDate>2025-05-20</FileDate><FileGUID>x</FileGUID></FileID></ServiceInfo>\n"
      "  </AdditionalPart>\n  <InfoPart>\n    <MetricInfo>\n      <PointInfo>\n");
    int uidp = 0;
    for (int i = 0; i < parcels; ++i)
        for (int v = 0; v < vertices; ++v) {
            ++uidp;
            w("        <Point>\n          <UIDP>" + QByteArray::number(uidp) + "</UIDP>\n          <PN>" +
              QByteArray::number(uidp) +
              "</PN>\n          <DeterminationMethod>\n            <GPS/>\n          </DeterminationMethod>\n"
              "          <X>" +
              QByteArray::number(5400000.0 + uidp * 0.37, 'f', 2) + "</X>\n          <Y>" +
              QByteArray::number(2300000.0 + uidp * 0.41, 'f', 2) +
              "</Y>\n          <MX>0.05</MX>\n          <MY>0.05</MY>\n        </Point>\n");
        }
    w("      </PointInfo>\n      <Polyline>\n");
    for (int l = 1; l <= uidp; ++l)
        w("        <PL>\n          <ULID>" + QByteArray::number(l) +
          "</ULID>\n          <Points>\n            <P>" + QByteArray::number(l) + "</P>\n            <P>" +
          QByteArray::number(l % uidp + 1) +
          "</P>\n          </Points>\n          <Length>12.34</Length>\n        </PL>\n");
    w("      </Polyline>\n    </MetricInfo>\n    <CadastralZoneInfo>\n      <CadastralQuarters>\n");
    for (int i = 0; i < parcels; ++i) {
        w("        "
          "<CadastralQuarterInfo><Parcels><ParcelInfo><ParcelMetricInfo><Externals><Boundary><Lines>\n");
        for (int v = 0; v < vertices; ++v)
            w("          <Line><ULID>" + QByteArray::number(i * vertices + v + 1) +
              "</ULID><FP>1</FP><TP>2</TP></Line>\n");
        w("        "
          "</Lines><Closed>true</Closed></Boundary></Externals></ParcelMetricInfo></ParcelInfo></Parcels>"
          "</CadastralQuarterInfo>\n");
    }
    w("      </CadastralQuarters>\n    </CadastralZoneInfo>\n  "
      "</InfoPart>\n</UkrainianCadastralExchangeFile>\n");
}

// Each case runs as its own process so that time, CPU time and peak memory are measured alike.
void Measure(benchmark::State& state, const std::vector<std::string>& args, TMeasure* result) {
    TMeasure sum, one;
    int n = 0;
    for (auto _ : state) {
        Spawn(args, &one);
        sum.seconds += one.seconds;
        sum.cpu += one.cpu;
        sum.peakMb = std::max(sum.peakMb, one.peakMb);
        state.SetIterationTime(one.seconds);
        ++n;
    }
    *result = {sum.seconds / n, sum.cpu / n, sum.peakMb};
    state.counters["cpu_s"] = result->cpu;
    state.counters["peak_MB"] = result->peakMb;
}

void BM_OpenAndReadPoints(benchmark::State& state) {
    const QString folder = g_tmp->filePath(QStringLiteral("work"));
    QDir().mkpath(folder);
    Measure(state, {g_self, "--open-child", g_file, folder.toStdString()}, &g_open);
}

void BM_XmllintNoout(benchmark::State& state) {
    Measure(state, {"xmllint", "--noout", g_file}, &g_xmllint);
}

void BM_TesterXml(benchmark::State& state) {
    const std::string copy = g_tmp->filePath(QStringLiteral("checked.xml")).toStdString();
    QFile::remove(QString::fromStdString(copy));
    QFile::copy(QString::fromStdString(g_file), QString::fromStdString(copy));
    Measure(state, {ZEMLYAR_PROGRAM_DIR "/testerxml", "tovm5276", copy}, &g_tester);
}

void BM_XmllintSchema(benchmark::State& state) {
    Measure(state, {"xmllint", "--noout", "--schema", ZEMLYAR_PROGRAM_DIR "/IN4XMLSchema.xsd", g_file},
            &g_xmllintSchema);
}

BENCHMARK(BM_OpenAndReadPoints)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_XmllintNoout)->Unit(benchmark::kMillisecond)->Iterations(5)->UseManualTime();
BENCHMARK(BM_TesterXml)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();
BENCHMARK(BM_XmllintSchema)->Unit(benchmark::kMillisecond)->Iterations(3)->UseManualTime();

} // namespace

int main(int argc, char** argv) {
    if (argc >= 4 && std::strcmp(argv[1], "--open-child") == 0) {
        const double sum =
            OpenAndReadPoints(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        return sum > 0 ? 0 : 1;
    }
    g_self = "/proc/self/exe";
    char path[4096];
    const ssize_t len = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (len > 0) g_self.assign(path, size_t(len));

    QTemporaryDir tmp;
    g_tmp = &tmp;
    if (const char* env = std::getenv("ZEMLYAR_BENCH_EXCHANGE"); env && *env) {
        g_file = env;
    } else {
        g_file = tmp.filePath(QStringLiteral("large.xml")).toStdString();
        GenerateFile(QString::fromStdString(g_file));
    }
    std::printf("file: %s (%.1f MB)\n", g_file.c_str(),
                double(QFile(QString::fromStdString(g_file)).size()) / 1e6);

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    if (g_open.seconds > 0 && g_xmllint.seconds > 0)
        std::printf("open+points / xmllint --noout: time %.2f, CPU time %.2f (target <= 0.50); "
                    "peak memory %.0f / %.0f MB = %.2f (target <= 0.75)\n",
                    g_open.seconds / g_xmllint.seconds, g_open.cpu / g_xmllint.cpu, g_open.peakMb,
                    g_xmllint.peakMb, g_open.peakMb / g_xmllint.peakMb);
    if (g_tester.seconds > 0 && g_xmllintSchema.seconds > 0)
        std::printf("testerxml / xmllint --noout --schema: time %.2f, CPU time %.2f (target <= 1.50)\n",
                    g_tester.seconds / g_xmllintSchema.seconds, g_tester.cpu / g_xmllintSchema.cpu);
    return 0;
}

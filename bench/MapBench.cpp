// Building the map objects of a large exchange file against parsing it, and searching
// at a point among many features.
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <random>

namespace {

// A land-management file of 5000 parcels with 20 vertices, generated once per run and
// turned into a valuation file: the first parcel's contour for the plot, every parcel's
// contour for a valuation district.
const QString& ValuationFile() {
    static QTemporaryDir dir;
    static QString path;
    if (!path.isEmpty()) return path;
    const QString source = dir.path() + "/parcels.xml";
    QProcess gen;
    gen.start("python3",
              {QString(ZEMLYAR_SOURCE_DIR) + "/bench/tools/gen_exchange.py", "--seed", "7", "--parcels",
               "5000", "--vertices", "20", "--no-manifest", "--no-verify", "--out", source});
    if (!gen.waitForFinished(-1) || gen.exitCode() != 0) {
        qFatal("gen_exchange.py failed: %s", gen.readAllStandardError().constData());
    }
    pugi::xml_document doc;
    if (!doc.load_file(source.toUtf8().constData())) qFatal("cannot read the generated file");
    pugi::xml_node info = doc.document_element().child("InfoPart");
    pugi::xml_node zone = info.child("TerritorialZoneInfo");
    if (!zone) zone = info.append_child("TerritorialZoneInfo");
    pugi::xml_node plot =
        zone.append_child("Objects").append_child("Lands").append_child("NormativValuation");
    pugi::xml_node districts = plot.append_child("ValuationDistricts");
    bool first = true;
    for (pugi::xpath_node n : doc.select_nodes("//ParcelInfo/ParcelMetricInfo/Externals")) {
        if (first) plot.prepend_copy(n.node());
        first = false;
        districts.append_child("ValuationDistrict").append_copy(n.node());
    }
    path = dir.path() + "/valuation.xml";
    doc.save_file(path.toUtf8().constData());
    return path;
}

void BM_ParseExchangeFile(benchmark::State& state) {
    const QByteArray path = ValuationFile().toUtf8();
    for (auto _ : state) {
        pugi::xml_document doc;
        benchmark::DoNotOptimize(doc.load_file(path.constData()));
    }
}
BENCHMARK(BM_ParseExchangeFile)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_BuildMapObjects(benchmark::State& state) {
    pugi::xml_document doc;
    doc.load_file(ValuationFile().toUtf8().constData());
    TMap map;
    PrepareMapForFile(map, ValuationFile(), 4);
    int features = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : ClearableLayerNames())
            map.FindLayer(name)->DeleteAllFeatures();
        state.ResumeTiming();
        const TMapObjectsResult r = BuildMapObjectsFromExchangeFile(map, doc, [](const QString&) {});
        benchmark::DoNotOptimize(r);
        features = map.FindLayer(kLayerOcRaion)->FeatureCount();
    }
    state.counters["districts"] = features;
}
BENCHMARK(BM_BuildMapObjects)->Unit(benchmark::kMillisecond)->MinTime(2);

void BM_SearchAtPoint(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const int side = static_cast<int>(std::ceil(std::sqrt(n)));
    TMap map;
    TMapLayerInfo info;
    info.Name = "L";
    TMapLayer* layer = map.AddLayer(info);
    for (int i = 0; i < n; ++i) {
        const double x = 3300000.0 + 20.0 * (i % side), y = 5500000.0 + 20.0 * (i / side);
        layer->AddFeature(TMapFeature::MakeRegion(
            {{x, y}, {x + 15, y}, {x + 15, y + 15}, {x, y + 15}, {x, y}}, DefaultMapStyle()));
    }
    layer->SearchAtPoint({0, 0}); // builds the index
    std::mt19937 rng(1);
    std::uniform_real_distribution<double> ux(3300000.0, 3300000.0 + 20.0 * side),
        uy(5500000.0, 5500000.0 + 20.0 * side);
    size_t hits = 0;
    for (auto _ : state) {
        const auto found = layer->SearchAtPoint({ux(rng), uy(rng)}, 0.5);
        hits += found.size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["hits/search"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SearchAtPoint)->Arg(100000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

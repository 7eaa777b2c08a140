// Full redraws of the map view's layers for a generated file of 5000 parcels (about 100 000
// vertices), at full extent and at a close zoom, rendered into an image as the canvas does.
// The file is generated at start with bench/tools (gen_exchange.py, then to_valuation.py,
// which makes every parcel a valuation district), so nothing outside the project is read.
#include "map/MapEditing.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/MapRenderer.h"
#include "map/ViewTransform.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <pugixml.hpp>

#include <cstdio>
#include <memory>

namespace {

constexpr int kWidth = 1280, kHeight = 900;

struct TBenchMap {
    TMap map;
    TMapRect extent;
    int vertices = 0;
};

std::unique_ptr<TBenchMap> g_map;

bool Run(const QString& script, const QStringList& args) {
    const QString tools = QStringLiteral(ZEMLYAR_SOURCE_DIR) + QStringLiteral("/bench/tools/");
    return QProcess::execute(QStringLiteral("python3"), QStringList{tools + script} + args) == 0;
}

bool Prepare(const QString& folder) {
    const QString land = folder + QStringLiteral("/big.xml"), ngo = folder + QStringLiteral("/big-ngo.xml");
    if (!Run(QStringLiteral("gen_exchange.py"), {"--parcels", "5000", "--vertices", "20", "--seed", "7",
                                                 "--no-manifest", "--no-verify", "--out", land}))
        return false;
    if (!Run(QStringLiteral("to_valuation.py"), {land, ngo})) return false;
    g_map = std::make_unique<TBenchMap>();
    TMap& map = g_map->map;
    map.SetScreenSize(kWidth, kHeight);
    if (!PrepareMapForFile(map, ngo, 4)) return false;
    pugi::xml_document doc;
    if (!doc.load_file(ngo.toUtf8().constData())) return false;
    BuildMapObjectsFromExchangeFile(map, doc, [](const QString&) {});
    TMapLayer* districts = map.FindLayer(kLayerOcRaion);
    if (!districts || districts->FeatureCount() != 5000) return false;
    for (TFeatureKey k : districts->FeatureKeys())
        g_map->vertices += districts->Feature(k).NodeCount();
    g_map->extent = districts->Bounds();
    // The label layers of the plot, as the map view shows them.
    ZoomToRect(map, g_map->extent);
    TMapLayer* plot = map.FindLayer(kLayerOcDilanka);
    const TMapFeature& first = plot->Feature(plot->KeyAt(0));
    const double mm = MapUnitsPerScreenMm(map, ScreenWidthCm(kWidth, 96));
    BuildNumberingLabels(*map.FindLayer(kLayerInfoNumbering), first, mm * 2.5, LabelLayerSettings());
    BuildNodeMarkers(*map.FindLayer(kLayerInfoNodes), first, XmlStyles().StyleNode);
    std::fprintf(stderr, "5000 parcels, %d vertices\n", g_map->vertices);
    return true;
}

void Redraw(benchmark::State& state, bool close) {
    TMap& map = g_map->map;
    const TMapPoint c = g_map->extent.Centre();
    if (close)
        map.ZoomTo(5 * ScreenWidthCm(kWidth, 96), c.x, c.y); // 1:500
    else
        ZoomToRect(map, g_map->extent);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&image);
        TMapRenderer::Render(p, map);
        p.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["vertices"] = g_map->vertices;
}

void BM_RedrawFullExtent(benchmark::State& state) {
    Redraw(state, false);
}
void BM_RedrawCloseZoom(benchmark::State& state) {
    Redraw(state, true);
}

// A pan or wheel step: the view moves, then the frame is drawn again.
void BM_PanAndRedrawFullExtent(benchmark::State& state) {
    TMap& map = g_map->map;
    ZoomToRect(map, g_map->extent);
    QImage image(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    int i = 0;
    for (auto _ : state) {
        PanByPixels(map, QPointF((i++ % 2) ? 7 : -7, 3));
        QPainter p(&image);
        TMapRenderer::Render(p, map);
    }
}

} // namespace

BENCHMARK(BM_RedrawFullExtent)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RedrawCloseZoom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PanAndRedrawFullExtent)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid() || !Prepare(folder.path())) {
        std::fprintf(stderr, "could not prepare the 5000-parcel map\n");
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

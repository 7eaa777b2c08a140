// "Зберегти як" from the map: a node moved on the map view reaches the saved file, in both parcels.
#include "common/RecordingSink.h"
#include "exchange/GeometryFromMap.h"
#include "exchange/ValuationFileWriter.h"
#include "map/MapEditing.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/ui/TFormMapView.h"
#include "map/ui/TMapCanvas.h"
#include "support/TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QMouseEvent>

#include <pugixml.hpp>

#include <gtest/gtest.h>

namespace {

void Mouse(QWidget* w, QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The rings of a layer's features, every coordinate as the file keeps it.
std::vector<TMapPoints> Rings(const TMapLayer& layer) {
    std::vector<TMapPoints> rings;
    for (TFeatureKey k : layer.FeatureKeys())
        for (const TMapPoints& part : layer.Feature(k).Parts) {
            TMapPoints r;
            for (const TMapPoint& p : part)
                r.emplace_back(RoundTo4(p.x), RoundTo4(p.y));
            rings.push_back(r);
        }
    return rings;
}

} // namespace

TEST(MapViewSave, DraggedSharedNodeIsSavedInBothParcels) {
    TTestProgramDir dir;
    TRecordingSink sink;
    const QString source = TestDataPath(QStringLiteral("map/canvas/three-neighbours-ngo.xml"));
    TOpenExchangeFile file;
    file.WorkingCopy = dir.File(QStringLiteral("work.xml"));
    ASSERT_TRUE(QFile::copy(source, file.WorkingCopy));
    file.SaveAsFile = dir.File(QStringLiteral("saved нго.xml"));
    file.CoordinatesLoaded = true;

    TFormMapView view;
    view.PrecisionClass = [] { return 4; };
    ASSERT_TRUE(view.PrepareMapForFile(file.WorkingCopy));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(file.WorkingCopy.toUtf8().constData()));
    BuildMapObjectsFromExchangeFile(view.Map(), doc, [](const QString&) {});
    view.resize(1000, 700);
    view.ShowMap();
    QApplication::processEvents();

    // Drag the node that the first two parcels share.
    TMapLayer* districts = view.FindLayer(kLayerOcRaion);
    TMapPoint shared;
    bool found = false;
    for (const TMapPoint& p : districts->Feature(districts->KeyAt(0)).Parts[0])
        for (const TMapPoint& q : districts->Feature(districts->KeyAt(1)).Parts[0])
            if (!found && p == q) {
                shared = p;
                found = true;
            }
    ASSERT_TRUE(found);
    view.SetNodeEditing(true);
    TMapCanvas* canvas = view.Canvas();
    const QPointF from = canvas->MapToScreen(shared), to = from + QPointF(15, 10);
    Mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, from + QPointF(5, 5), Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    view.SetNodeEditing(false);
    const TMapPoint target = canvas->ScreenToMap(to);
    const TMapPoint moved(RoundTo4(target.x), RoundTo4(target.y));
    ASSERT_NE(moved, shared);

    const TSaveResult saved = SaveValuationFileAs(file, GeometryFromMap(view.Map()), {}, {});
    ASSERT_TRUE(saved.Written) << saved.Error.toStdString();

    // The saved file, read back into a map of its own, has the geometry that was drawn.
    TMap reread;
    ASSERT_TRUE(PrepareMapForFile(reread, file.SaveAsFile, 4));
    pugi::xml_document again;
    ASSERT_TRUE(again.load_file(file.SaveAsFile.toUtf8().constData()));
    BuildMapObjectsFromExchangeFile(reread, again, [](const QString&) {});
    for (const QString& name : {kLayerOcDilanka, kLayerOcRaion}) {
        const std::vector<TMapPoints> drawn = Rings(*view.FindLayer(name));
        const std::vector<TMapPoints> read = Rings(*reread.FindLayer(name));
        EXPECT_EQ(read, drawn) << name.toStdString();
    }
    int withMoved = 0;
    for (const TMapPoints& ring : Rings(*reread.FindLayer(kLayerOcRaion)))
        withMoved += std::count(ring.begin(), ring.end(), moved) > 0;
    EXPECT_EQ(withMoved, 2);
}

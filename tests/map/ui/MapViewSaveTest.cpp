// "Зберегти як" from the map: a node moved on the map view reaches the saved file, in both parcels.
#include "common/Files.h"
#include "common/RecordingSink.h"
#include "exchange/GeometryFromMap.h"
#include "exchange/ValuationFileWriter.h"
#include "map/MapEditing.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/ui/MapSaveCommands.h"
#include "map/ui/TFormMapView.h"
#include "map/ui/TMapCanvas.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
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

// A copy of the three-parcel file as the open file, shown in the map view.
void OpenInView(const TTestProgramDir& dir, TOpenExchangeFile& file, TFormMapView& view) {
    const QString source = TestDataPath(QStringLiteral("map/canvas/three-neighbours-ngo.xml"));
    file.WorkingCopy = dir.File(QStringLiteral("work.xml"));
    ASSERT_TRUE(QFile::copy(source, file.WorkingCopy));
    file.SaveAsFile = dir.File(QStringLiteral("saved нго.xml"));
    file.CoordinatesLoaded = true;
    view.PrecisionClass = [] { return 4; };
    ASSERT_TRUE(view.PrepareMapForFile(file.WorkingCopy));
    pugi::xml_document doc;
    ASSERT_TRUE(doc.load_file(file.WorkingCopy.toUtf8().constData()));
    BuildMapObjectsFromExchangeFile(view.Map(), doc, [](const QString&) {});
    view.resize(1000, 700);
    view.ShowMap();
    QApplication::processEvents();
}

// The rings of a file's layer, read back into a map of its own.
std::vector<TMapPoints> RingsInFile(const QString& path, const QString& layer) {
    TMap reread;
    if (!PrepareMapForFile(reread, path, 4)) return {};
    pugi::xml_document doc;
    if (!doc.load_file(path.toUtf8().constData())) return {};
    BuildMapObjectsFromExchangeFile(reread, doc, [](const QString&) {});
    return Rings(*reread.FindLayer(layer));
}

// Drags the node that the first two parcels share by a few pixels in node-edit mode; returns where it went.
TMapPoint DragSharedNode(TFormMapView& view) {
    TMapLayer* districts = view.FindLayer(kLayerOcRaion);
    TMapPoint shared;
    bool found = false;
    for (const TMapPoint& p : districts->Feature(districts->KeyAt(0)).Parts[0])
        for (const TMapPoint& q : districts->Feature(districts->KeyAt(1)).Parts[0])
            if (!found && p == q) {
                shared = p;
                found = true;
            }
    EXPECT_TRUE(found);
    if (!found) return {};
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
    EXPECT_NE(moved, shared);
    return moved;
}

} // namespace

TEST(MapViewSave, DraggedSharedNodeIsSavedInBothParcels) {
    TTestProgramDir dir;
    TRecordingSink sink;
    TOpenExchangeFile file;
    TFormMapView view;
    OpenInView(dir, file, view);
    if (HasFatalFailure()) return;

    const TMapPoint moved = DragSharedNode(view);
    if (HasFatalFailure()) return;

    const TSaveResult saved = SaveValuationFileAs(file, GeometryFromMap(view.Map()), {}, {});
    ASSERT_TRUE(saved.Written) << saved.Error.toStdString();

    // The saved file, read back into a map of its own, has the geometry that was drawn.
    for (const QString& name : {kLayerOcDilanka, kLayerOcRaion})
        EXPECT_EQ(RingsInFile(file.SaveAsFile, name), Rings(*view.FindLayer(name))) << name.toStdString();
    int withMoved = 0;
    for (const TMapPoints& ring : RingsInFile(file.SaveAsFile, kLayerOcRaion))
        withMoved += std::count(ring.begin(), ring.end(), moved) > 0;
    EXPECT_EQ(withMoved, 2);
}

// The main window's "Зберегти як" and its unattended save take the map view's objects.
TEST(MapViewSave, MainWindowSavesFromTheMap) {
    TTestProgramDir dir;
    TRecordingSink sink;
    TFormXMLMain main;
    TFormMapView view;
    main.SetMapViewPort(&view);
    RegisterSaveCommands(main, view);
    QAction* saveAs = main.Action(QStringLiteral("ACT_SAVE_XML_NGO"));
    ASSERT_TRUE(saveAs->isEnabled());
    saveAs->trigger();
    EXPECT_EQ(sink.Texts(), QStringList{QStringLiteral("Файл ще не завантажений.")});

    OpenInView(dir, main.File, view);
    if (HasFatalFailure()) return;
    const TMapPoint moved = DragSharedNode(view);
    if (HasFatalFailure()) return;
    const QByteArray before = ReadFileBytes(main.File.WorkingCopy);

    // Cancelling the dialog writes nothing.
    EXPECT_FALSE(SaveAsCommand(main, view, [](const QString&) { return QString(); }));
    EXPECT_FALSE(QFileInfo::exists(main.File.SaveAsFile));

    const QString target = dir.File(QStringLiteral("обрана назва.xml"));
    QString proposed;
    ASSERT_TRUE(SaveAsCommand(main, view, [&](const QString& p) {
        proposed = p;
        return target;
    }));
    EXPECT_EQ(proposed, dir.File(QStringLiteral("saved нго.xml")));
    EXPECT_EQ(main.File.SaveAsFile, target);
    EXPECT_EQ(QApplication::clipboard()->text(), target);
    EXPECT_EQ(main.FileCaption(), QStringLiteral("  ") + target);
    EXPECT_EQ(sink.LastText(), QStringLiteral("Закінчено."));
    int withMoved = 0;
    for (const TMapPoints& ring : RingsInFile(target, kLayerOcRaion))
        withMoved += std::count(ring.begin(), ring.end(), moved) > 0;
    EXPECT_EQ(withMoved, 2);
    // "Зберегти як" leaves the working copy as it was; the unattended save writes the edit into it.
    EXPECT_EQ(ReadFileBytes(main.File.WorkingCopy), before);
    ASSERT_TRUE(main.SaveWorkingCopy()) << LastErrorText.toStdString();
    EXPECT_EQ(RingsInFile(main.File.WorkingCopy, kLayerOcRaion), Rings(*view.FindLayer(kLayerOcRaion)));
}

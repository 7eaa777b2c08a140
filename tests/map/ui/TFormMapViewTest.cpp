#include "map/ui/TFormMapView.h"
#include "app/GlobalVar.h"
#include "common/NumberFormat.h"
#include "common/RecordingSink.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/ui/TMapCanvas.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <pugixml.hpp>

#include <functional>
#include <limits>

#include <gtest/gtest.h>

namespace {

void Mouse(QWidget* w, QEvent::Type type, const QPointF& pos, Qt::MouseButton button,
           Qt::MouseButtons buttons, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, pos, w->mapToGlobal(pos), button, buttons, mods);
    QApplication::sendEvent(w, &e);
}

void Click(QWidget* w, const QPointF& pos) {
    Mouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
    Mouse(w, QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton);
}

void Key(QWidget* w, int key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
}

int CountAt(const TMapFeature& f, const TMapPoint& p) {
    int n = 0;
    for (const auto& part : f.Parts)
        for (const auto& q : part)
            n += q == p;
    return n;
}

class MapViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        view = std::make_unique<TFormMapView>();
        view->PrecisionClass = [] { return 4; };
        view->NavigatorLink = [this](const QString& layer, int n, int parent) {
            navigator << QStringLiteral("%1|%2|%3").arg(layer).arg(n).arg(parent);
        };
        file = TestDataPath(QStringLiteral("map/canvas/three-neighbours-ngo.xml"));
        ASSERT_TRUE(view->PrepareMapForFile(file));
        pugi::xml_document doc;
        ASSERT_TRUE(doc.load_file(file.toUtf8().constData()));
        BuildMapObjectsFromExchangeFile(view->Map(), doc, [this](const QString& line) { log << line; });
        view->resize(1100, 750);
        view->ShowMap();
        QApplication::processEvents();
        districts = view->FindLayer(kLayerOcRaion);
        ASSERT_NE(districts, nullptr);
        ASSERT_EQ(districts->FeatureCount(), 3);
        canvas = view->Canvas();
    }

    const TMapFeature& District(int i) const { return districts->Feature(districts->KeyAt(i)); }
    // A node the first two districts share.
    TMapPoint SharedNode() const {
        for (const TMapPoint& p : District(0).Parts[0])
            if (CountAt(District(1), p) > 0) return p;
        ADD_FAILURE() << "no shared node";
        return {};
    }
    QPointF Px(const TMapPoint& p) const { return canvas->MapToScreen(p); }
    int RowOf(const TMapPoint& p) const {
        for (int r = 0; r < view->GridCords->rowCount(); ++r)
            if (view->GridCords->item(r, 2)->text() == FormatFloatPattern(QStringLiteral("0.####"), p.x) &&
                view->GridCords->item(r, 3)->text() == FormatFloatPattern(QStringLiteral("0.####"), p.y))
                return r;
        return -1;
    }
    void SelectDistrict(int i) {
        TMapPoint inside;
        ASSERT_TRUE(GeometryCentroidOf(District(i), &inside));
        Click(canvas, Px(inside));
    }
    static bool GeometryCentroidOf(const TMapFeature& f, TMapPoint* p) {
        *p = f.Centroid();
        return f.ContainsPoint(*p);
    }

    TTestProgramDir dir;
    TRecordingSink sink;
    std::unique_ptr<TFormMapView> view;
    TMapCanvas* canvas = nullptr;
    TMapLayer* districts = nullptr;
    QString file;
    QStringList log, navigator;
};

} // namespace

TEST_F(MapViewTest, ShowsTheFileWithItsLabelsAndLayerList) {
    EXPECT_TRUE(log.filter(QStringLiteral("Неможливо")).isEmpty()) << log.join('\n').toStdString();
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Перегляд меж"));
    EXPECT_EQ(view->ListMapLayers->count(), view->Map().LayerCount());
    // The plot fills the view; its seven nodes are numbered, the closing node gets a blank.
    const TMapLayer* numbers = view->FindLayer(kLayerInfoNumbering);
    QStringList texts;
    for (TFeatureKey k : numbers->FeatureKeys())
        texts << numbers->Feature(k).Caption;
    EXPECT_EQ(texts, (QStringList{"1", "2", "3", "4", "5", "6", "7", ""}));
    EXPECT_EQ(view->FindLayer(kLayerInfoNodes)->FeatureCount(), 7);
    // Distances are hidden at first; ticking the layer builds them.
    TMapLayer* distances = view->FindLayer(kLayerInfoDistances);
    EXPECT_EQ(distances->FeatureCount(), 0);
    const auto items = view->ListMapLayers->findItems(kLayerInfoDistances, Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    items[0]->setCheckState(Qt::Checked);
    EXPECT_TRUE(distances->Visible);
    EXPECT_EQ(distances->FeatureCount(), 7);
}

// Every command carries its text as caption and hint; the toolbar buttons keep their short
// captions whichever tool is pressed, and show the full text as their hint.
TEST_F(MapViewTest, CommandTextsAndToolbar) {
    const std::pair<const char*, const char*> commands[] = {
        {"CmdSelect", "Визначити об`єкт"},
        {"CmdRecenter", "Пересування"},
        {"CmdZoomin", "Збільшити масштаб"},
        {"cmdZoomout", "Зменьшити масштаб"},
        {"cmdZoomMenu", "Стандартний масштаб"},
        {"cmdRuler", "Лінійка"},
        {"cmdRebuild", "Поновити надписи згідно масштабу"},
        {"cmdOpenMenu", "Відкрити додаткову карту"},
        {"cmdOpenTab", "Відкрити додаткову карту"},
        {"cmdGoogleOpen", "Відкрити карту Google (в межах вікна)"},
        {"cmdEditNodes", "Режим редагування вузлів"},
        {"cmdAddNode", "Режим додавання вузлів (для кожного об`єкту окремо)"},
        {"cmdDelNode", "Видалити вузол (по всіх хто має таку координату)"},
        {"cmdObjNew", "Додати блок в XML (та на карту)"},
        {"cmdObjDel", "Видалити блок з об'єктом в XML та на карті"},
        {"cmdObjCopyTo", "Копіювати виділений об'єкт у інший (замінити виділеним)"},
        {"cmdGetCoord", "Побудувати межу ( як тимчасовий об'єкт)"},
        {"cmdBuildPoint", "Намалювати точку (F3 - прив'язка до вузла)"},
        {"cmdBuildLine", "Намалювати лінію (F3 - прив'язка до вузла, Enter - завершення)"},
        {"cmdBuildRegion", "Намалювати багатокутник (F3 - прив'язка до вузла, Enter - завершення)"},
        {"cmdObjGeo", "Геометрія об`єкту"},
        {"cmdLayerFull", "Показати шар повністю"},
        {"cmdLayerOnly", "Показати саме цей шар"},
        {"cmdLayerNodes", "Показати/Приховати вузли об`єктів"},
        {"cmdLayerClose", "Видалити шар"},
        {"cmdLayerClear", "Очистити шар"},
        {"cmdLayerInfo", "Налаштування шару"},
        {"POPUP_ZOOMTO_500", "1:500"},
        {"POPUP_ZOOMTO_1000", "1:1000"},
        {"POPUP_ZOOMTO_2000", "1:2000"},
        {"POPUP_ZOOMTO_5000", "1:5000"},
        {"POPUP_ZOOMTO_10000", "1:10000"},
    };
    auto buttonTexts = [this] {
        QStringList texts;
        for (QToolButton* b : view->ToolBarCMD->findChildren<QToolButton*>())
            if (b->defaultAction()) texts << b->defaultAction()->objectName() + QLatin1Char('=') + b->text();
        texts.sort();
        return texts;
    };
    const QStringList shown = buttonTexts();
    for (auto [name, text] : commands) {
        QAction* a = view->Action(QString::fromUtf8(name));
        ASSERT_NE(a, nullptr) << name;
        EXPECT_EQ(a->text(), QString::fromUtf8(text)) << name;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(text)) << name;
        if (auto* b = qobject_cast<QToolButton*>(view->ToolBarCMD->widgetForAction(a))) {
            EXPECT_EQ(b->toolTip(), QString::fromUtf8(text)) << name;
            EXPECT_FALSE(b->text().isEmpty()) << name;
        }
    }
    QStringList labels;
    for (QLabel* l : view->ToolBarCMD->findChildren<QLabel*>())
        labels << l->text();
    EXPECT_EQ(labels, (QStringList{"  Вузли: ", "  Блок: ", "  Межа: "}));
    for (const char* tool : {"cmdRuler", "cmdBuildLine", "CmdZoomin", "CmdSelect"}) {
        view->Action(QString::fromUtf8(tool))->trigger();
        EXPECT_EQ(buttonTexts(), shown) << tool;
    }
}

TEST_F(MapViewTest, ClickSelectsAParcelAndTellsTheNavigator) {
    SelectDistrict(1);
    EXPECT_EQ(view->SelectedLayerName(), kLayerOcRaion);
    EXPECT_EQ(view->SelectedOrdinal(), 2);
    EXPECT_EQ(navigator, QStringList{QStringLiteral("Оціночний район|2|1")});
    // Five nodes, the closing copy not listed; the attributes of the object.
    EXPECT_EQ(view->GridCords->rowCount(), 5);
    EXPECT_EQ(view->GridCords->item(0, 0)->text(), QStringLiteral("1"));
    EXPECT_EQ(view->GridCords->item(0, 1)->text(), kLayerOcRaion);
    EXPECT_EQ(view->GridFields->rowCount(), 2);
    EXPECT_EQ(view->GridFields->item(0, 1)->text(), QStringLiteral("uid"));
    EXPECT_EQ(view->GridFields->item(0, 2)->text(), QStringLiteral("2"));

    // The main window's choice selects without telling it back.
    navigator.clear();
    view->SelectMapObject(kLayerOcRaion, 3, 1);
    EXPECT_EQ(view->SelectedOrdinal(), 3);
    EXPECT_TRUE(navigator.isEmpty());

    // Two objects at once: empty grids, the main window is not moved.
    TMapLayer* plot = view->FindLayer(kLayerOcDilanka);
    plot->SelectionAdd(plot->KeyAt(0));
    EXPECT_EQ(view->GridCords->rowCount(), 0);
    EXPECT_EQ(view->SelectedOrdinal(), -1);
    EXPECT_TRUE(navigator.isEmpty());
}

// Editing a coordinate moves the node in every object that has it, also when the node holds
// more decimals than the grid shows.
TEST_F(MapViewTest, CoordinateEditMovesTheSharedNodeEverywhere) {
    for (double hidden : {0.0, 0.00003}) {
        TMapPoint shared = SharedNode();
        if (hidden != 0) {
            const TMapPoint precise(shared.x + hidden, shared.y - hidden);
            ASSERT_TRUE(MoveSharedNode(view->Map(), ThematicLayerNames(), shared, precise).Ok);
            shared = precise;
        }
        const int inSecond = CountAt(District(1), shared); // twice when it is the ring's first node
        SelectDistrict(1);
        const int row = RowOf(shared);
        ASSERT_GE(row, 0) << hidden;
        const double newY = RoundTo4(shared.y) + 1.5;
        view->GridCords->item(row, 3)->setText(FormatDecimals(newY, 4));
        const TMapPoint moved(RoundTo4(shared.x), newY);
        EXPECT_EQ(CountAt(District(0), moved), 1) << hidden;
        EXPECT_EQ(CountAt(District(1), moved), inSecond) << hidden;
        EXPECT_EQ(CountAt(District(0), shared), 0) << hidden;
        EXPECT_TRUE(sink.messages.isEmpty()) << sink.LastText().toStdString();
        // The grid shows the node where it is now.
        QApplication::processEvents();
        EXPECT_GE(RowOf(moved), 0) << hidden;
    }
}

// Text that is no number moves nothing, and the grid shows the node as it is again.
TEST_F(MapViewTest, CoordinateEditWithTextThatIsNoNumber) {
    const TMapPoint shared = SharedNode();
    SelectDistrict(1);
    const int row = RowOf(shared);
    ASSERT_GE(row, 0);
    const TMapFeature before = District(1);
    for (const char* typed : {"abc", "", "12,5,3"}) {
        view->GridCords->item(row, 2)->setText(QString::fromUtf8(typed));
        QApplication::processEvents();
        EXPECT_EQ(District(1).Parts, before.Parts) << typed;
        EXPECT_EQ(view->GridCords->item(row, 2)->text(),
                  FormatFloatPattern(QStringLiteral("0.####"), shared.x))
            << typed;
    }
}

TEST_F(MapViewTest, NodeEditingDragsAndDeletesASharedNode) {
    const TMapPoint shared = SharedNode();
    const int inSecond = CountAt(District(1), shared);
    view->Action(QStringLiteral("cmdEditNodes"))->trigger();
    ASSERT_TRUE(view->NodeEditing());
    EXPECT_TRUE(districts->Editable);
    const QPointF from = Px(shared), to = from + QPointF(12, -9);
    Mouse(canvas, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, from + QPointF(6, -4), Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    Mouse(canvas, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    const TMapPoint target = canvas->ScreenToMap(to);
    const TMapPoint moved(RoundTo4(target.x), RoundTo4(target.y));
    EXPECT_EQ(CountAt(District(0), moved), 1);
    EXPECT_EQ(CountAt(District(1), moved), inSecond);
    EXPECT_EQ(CountAt(District(0), shared), 0);

    // The dragged node stays picked: deleting it removes it from both parcels.
    const size_t before0 = District(0).Parts[0].size(), before1 = District(1).Parts[0].size();
    view->Action(QStringLiteral("cmdDelNode"))->trigger();
    EXPECT_EQ(District(0).Parts[0].size(), before0 - 1);
    EXPECT_EQ(District(1).Parts[0].size(), before1 - 1);
    EXPECT_EQ(CountAt(District(1), moved), 0);
    view->Action(QStringLiteral("cmdDelNode"))->trigger();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Програма не визначила виділений вузол. Повторіть ще раз."));

    view->Action(QStringLiteral("cmdEditNodes"))->trigger();
    EXPECT_FALSE(view->NodeEditing());
    EXPECT_FALSE(districts->Editable);
    EXPECT_TRUE(view->FindLayer(kLayerInfoNumbering)->Editable);
}

// A node of a temporary object is deleted from that object; a node no object has any longer
// is reported, not passed over.
TEST_F(MapViewTest, DeletesANodeOfATemporaryObject) {
    const TMapRect all = districts->Bounds();
    canvas->Map().ZoomTo(all.Width() * 3, all.x2 + all.Width(), all.Centre().y);
    view->Action(QStringLiteral("cmdBuildRegion"))->trigger();
    const QPointF corners[] = {{700, 300}, {800, 300}, {800, 400}, {700, 400}};
    for (const QPointF& p : corners)
        Click(canvas, p);
    Key(canvas, Qt::Key_Return);
    TMapLayer* temp = view->FindLayer(kLayerTemporary);
    ASSERT_EQ(temp->FeatureCount(), 1);
    const TMapFeature region = temp->Feature(temp->KeyAt(0));
    ASSERT_EQ(region.Parts[0].size(), 5u);
    const std::vector<TMapPoints> thematicBefore{District(0).Parts[0], District(1).Parts[0],
                                                 District(2).Parts[0]};

    view->SetTool(ToolSelect);
    view->Action(QStringLiteral("cmdEditNodes"))->trigger();
    const TMapPoint node = region.Parts[0][2];
    Click(canvas, Px(node));
    ASSERT_TRUE(canvas->Tools().SelectedNode().has_value());
    view->Action(QStringLiteral("cmdDelNode"))->trigger();
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.LastText().toStdString();
    const TMapFeature& after = temp->Feature(temp->KeyAt(0));
    ASSERT_EQ(after.Parts[0].size(), 4u);
    EXPECT_EQ(CountAt(after, node), 0);
    EXPECT_EQ(after.Parts[0].front(), after.Parts[0].back());
    EXPECT_EQ((std::vector<TMapPoints>{District(0).Parts[0], District(1).Parts[0], District(2).Parts[0]}),
              thematicBefore);

    // A pick whose coordinates no object holds any longer.
    Click(canvas, Px(after.Parts[0][1]));
    ASSERT_TRUE(canvas->Tools().SelectedNode().has_value());
    TNodeHit stale = *canvas->Tools().SelectedNode();
    stale.Point = TMapPoint(stale.Point.x + 1000, stale.Point.y);
    canvas->Tools().SetSelectedNode(stale);
    view->Action(QStringLiteral("cmdDelNode"))->trigger();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Програма не визначила виділений вузол. Повторіть ще раз."));
}

// A new file replaces the layers node editing was switched on for: the mode ends with them.
TEST_F(MapViewTest, PreparingTheMapForAFileEndsNodeEditing) {
    view->Action(QStringLiteral("cmdEditNodes"))->trigger();
    Click(canvas, Px(SharedNode()));
    ASSERT_TRUE(canvas->Tools().SelectedNode().has_value());
    ASSERT_TRUE(view->PrepareMapForFile(file));
    EXPECT_FALSE(view->NodeEditing());
    EXPECT_FALSE(view->Action(QStringLiteral("cmdEditNodes"))->isChecked());
    EXPECT_FALSE(canvas->Tools().SelectedNode().has_value());
    EXPECT_EQ(canvas->Map().FeatureEditMode, EditModeObjects);
}

// A label layer that fails to build names what was being done: ticking it in the layer list,
// or the set-up of the map.
TEST_F(MapViewTest, LabelLayerFailuresNameTheirOccasion) {
    struct Case {
        const char* name;
        std::function<void()> act;
        QString prefix;
    } cases[] = {
        {"ticking the distances",
         [this] {
             view->ListMapLayers->findItems(kLayerInfoDistances, Qt::MatchExactly)[0]->setCheckState(
                 Qt::Checked);
         },
         QStringLiteral("Відображення шару: ")},
        {"rebuilding for the scale", [this] { view->Action(QStringLiteral("cmdRebuild"))->trigger(); },
         QStringLiteral("Налагоджування вигляду мапи: ")},
    };
    const double factor = LabelLayerSettings().OffsetFactor;
    for (const Case& c : cases) {
        sink.messages.clear();
        LabelLayerSettings().OffsetFactor = std::numeric_limits<double>::infinity();
        c.act();
        LabelLayerSettings().OffsetFactor = factor;
        ASSERT_FALSE(sink.messages.isEmpty()) << c.name;
        EXPECT_TRUE(sink.LastText().startsWith(c.prefix + QStringLiteral("Операція: ")))
            << c.name << ": " << sink.LastText().toStdString();
    }
}

// Minimising the map takes the program's main window along; restoring brings both back.
TEST_F(MapViewTest, MinimisingTheMapMinimisesTheProgram) {
    QMainWindow main;
    main.show();
    view->show();
    view->showMinimized();
    EXPECT_TRUE(main.isMinimized());
    view->showNormal();
    EXPECT_FALSE(view->isMinimized());
    EXPECT_FALSE(main.isMinimized());
}

TEST_F(MapViewTest, SnapPutsTheNodeIntoTheDrawingAndReportsMisses) {
    const TMapPoint shared = SharedNode();
    view->Action(QStringLiteral("cmdBuildLine"))->trigger();
    // The mouse a few pixels off the node: well inside three screen millimetres.
    Mouse(canvas, QEvent::MouseMove, Px(shared) + QPointF(4, 3), Qt::NoButton, Qt::NoButton);
    view->SnapToNode();
    ASSERT_EQ(view->DrawingPoints().size(), 1u);
    EXPECT_EQ(view->DrawingPoints()[0], shared);
    EXPECT_EQ(view->FindLayer(kLayerCosmetic)->FeatureCount(), 1); // the start marker, the circle is gone

    // A second point by a click, then Enter: the line lands on the temporary layer.
    Click(canvas, Px(shared) + QPointF(80, 40));
    Key(canvas, Qt::Key_Return);
    TMapLayer* temp = view->FindLayer(kLayerTemporary);
    ASSERT_EQ(temp->FeatureCount(), 1);
    const TMapFeature& line = temp->Feature(temp->KeyAt(0));
    EXPECT_EQ(line.Type, TFeatureType::Line);
    EXPECT_EQ(line.Parts[0].front(), shared);
    EXPECT_EQ(view->FindLayer(kLayerCosmetic)->FeatureCount(), 0);

    // Far from everything, and near a side but no node.
    const TMapRect all = districts->Bounds();
    Mouse(canvas, QEvent::MouseMove, Px({all.x2 + 300, all.y2 + 300}), Qt::NoButton, Qt::NoButton);
    view->SetTool(ToolSelect);
    canvas->Map().ZoomTo(3000, all.Centre().x, all.Centre().y);
    Mouse(canvas, QEvent::MouseMove, Px({all.x2 + 1000, all.y1}), Qt::NoButton, Qt::NoButton);
    view->SnapToNode();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Об'єкт для прив'язки не знайдений."));
    canvas->Map().ZoomTo(100, all.Centre().x, all.Centre().y);
    const TMapPoints& ring = District(1).Parts[0];
    const TMapPoint mid((ring[0].x + ring[1].x) / 2, (ring[0].y + ring[1].y) / 2);
    Mouse(canvas, QEvent::MouseMove, Px(mid), Qt::NoButton, Qt::NoButton);
    view->SnapToNode();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Вузол для прив'язки не знайдений."));
}

// Tab on the map asks for the choice among the objects under the cursor a moment later.
TEST_F(MapViewTest, TabOnTheMapAsksForTheObjectChoice) {
    int asked = 0;
    view->SetCommandHandler(QStringLiteral("POPUP_SELECTDRILL"), [&asked] { ++asked; });
    Key(canvas, Qt::Key_Tab);
    EXPECT_EQ(asked, 0);
    QEventLoop wait;
    QTimer::singleShot(250, &wait, &QEventLoop::quit);
    wait.exec();
    EXPECT_EQ(asked, 1);
    view->Action(QStringLiteral("POPUP_SELECTDRILL"))->trigger();
    EXPECT_EQ(asked, 2);
}

TEST_F(MapViewTest, RulerMeasuresTheClickedPoints) {
    view->Action(QStringLiteral("cmdRuler"))->trigger();
    const QPointF a(200, 300), b(500, 300), c(500, 100);
    for (const QPointF& p : {a, b, c})
        Click(canvas, p);
    const TMapPoint pa = canvas->ScreenToMap(a), pb = canvas->ScreenToMap(b), pc = canvas->ScreenToMap(c);
    const double d = std::hypot(pb.x - pa.x, pb.y - pa.y) + std::hypot(pc.x - pb.x, pc.y - pb.y);
    EXPECT_NEAR(view->RulerDistance(), d, 1e-6);
    EXPECT_EQ(view->LabelMapStatus->text(),
              QStringLiteral("Відстань: ") + FormatDecimals(d, 2) + QStringLiteral(" м"));
}

TEST_F(MapViewTest, DrawingARegionAndClickingOutsideTheBounds) {
    view->Action(QStringLiteral("cmdBuildRegion"))->trigger();
    for (const QPointF& p : {QPointF(300, 300), QPointF(400, 300), QPointF(350, 200)})
        Click(canvas, p);
    Key(canvas, Qt::Key_Return);
    TMapLayer* temp = view->FindLayer(kLayerTemporary);
    ASSERT_EQ(temp->FeatureCount(), 1);
    const TMapFeature& region = temp->Feature(temp->KeyAt(0));
    EXPECT_EQ(region.Type, TFeatureType::Region);
    ASSERT_EQ(region.Parts[0].size(), 4u);
    const TMapPoint first = canvas->ScreenToMap(QPointF(300, 300));
    EXPECT_EQ(region.Parts[0][0], TMapPoint(RoundTo4(first.x), RoundTo4(first.y)));

    // 400 km across: the view's edge lies outside the 50 km window of the finest precision.
    canvas->Map().ZoomTo(400000, canvas->Map().CenterX(), canvas->Map().CenterY());
    EXPECT_TRUE(view->ErrorPanel->isHidden());
    Click(canvas, QPointF(5, 5));
    EXPECT_FALSE(view->ErrorPanel->isHidden());
    EXPECT_EQ(view->ErrorPanelMsg->text(),
              QStringLiteral("Координата не вписується в діапазон допустимих координат вказаної точності."));
    EXPECT_TRUE(view->DrawingPoints().empty());
    view->BErrorPanelClose->click();
    EXPECT_TRUE(view->ErrorPanel->isHidden());
}

TEST_F(MapViewTest, OpensAGeoJsonTableAndRemembersIt) {
    const QString table = TestDataPath(QStringLiteral("map/canvas/buildings.geojson"));
    EXPECT_EQ(view->OpenTableFiles({table}), 1);
    EXPECT_EQ(view->ListMapLayers->findItems(QStringLiteral("buildings"), Qt::MatchExactly).size(), 1);
    EXPECT_EQ(view->RecentMaps().Paths(), QStringList{table});
    TRecentMaps saved;
    saved.Load(GlobalVar().Settings.IniFile);
    EXPECT_EQ(saved.Paths(), QStringList{table});

    // A working layer cannot be removed; the table can.
    view->ListMapLayers->setCurrentItem(view->ListMapLayers->findItems(kLayerOcRaion, Qt::MatchExactly)[0]);
    view->Action(QStringLiteral("cmdLayerClose"))->trigger();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Не можливо видалити робочий шар."));
    view->Action(QStringLiteral("cmdLayerClear"))->trigger();
    EXPECT_EQ(sink.LastText(), QStringLiteral("Очистити можно тільки тимчасовий шар."));
    view->ListMapLayers->setCurrentItem(
        view->ListMapLayers->findItems(QStringLiteral("buildings"), Qt::MatchExactly)[0]);
    view->Action(QStringLiteral("cmdLayerClose"))->trigger();
    EXPECT_EQ(view->FindLayer(QStringLiteral("buildings")), nullptr);

    // A file that cannot be read.
    EXPECT_EQ(view->OpenTableFiles({dir.File(QStringLiteral("немає.tab"))}), 0);
    EXPECT_TRUE(sink.LastText().startsWith(QStringLiteral("Відкривання карти \"немає.tab\"\rПомилка: ")));
}

TEST_F(MapViewTest, StandardScaleAndWheel) {
    view->Action(QStringLiteral("POPUP_ZOOMTO_500"))->trigger();
    EXPECT_NEAR(canvas->Map().Zoom(), 5 * canvas->ScreenWidthCm(), 1e-9);
    const double zoom = canvas->Map().Zoom();
    QWheelEvent wheel(QPointF(100, 100), canvas->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas, &wheel);
    EXPECT_LT(canvas->Map().Zoom(), zoom);
}

// Pictures for the documentation, under a real display:
//   QT_QPA_PLATFORM=xcb ZEMLYAR_SCREENSHOT_DIR=docs/screenshots xvfb-run -a \
//     build/tests/zemlyar_ui_tests --gtest_filter='MapViewTest.Screenshots'
TEST_F(MapViewTest, Screenshots) {
    const QString out = qEnvironmentVariable("ZEMLYAR_SCREENSHOT_DIR");
    if (out.isEmpty()) GTEST_SKIP() << "ZEMLYAR_SCREENSHOT_DIR not set";
    QDir().mkpath(out);
    // Let the window system settle the layout before the view is fitted.
    QEventLoop settle;
    QTimer::singleShot(300, &settle, &QEventLoop::quit);
    settle.exec();
    view->ListMapLayers->findItems(kLayerInfoDistances, Qt::MatchExactly)[0]->setCheckState(Qt::Checked);
    view->ZoomToLayer(kLayerOcRaion);
    view->BuildLabelLayers(true);
    SelectDistrict(1);
    QApplication::processEvents();
    EXPECT_TRUE(view->grab().save(out + QStringLiteral("/map-view-three-parcels.png")));
    EXPECT_EQ(view->OpenTableFiles({TestDataPath(QStringLiteral("map/canvas/buildings.geojson"))}), 1);
    TMapLayer* buildings = view->FindLayer(QStringLiteral("buildings"));
    buildings->Labels.Visible = true;
    buildings->Labels.DataField = QStringLiteral("name");
    buildings->Labels.Style.TextFontSize = 8;
    view->ListMapLayers->findItems(kLayerInfoDistances, Qt::MatchExactly)[0]->setCheckState(Qt::Unchecked);
    view->RefreshMap();
    canvas->Map().ClearSelection();
    QApplication::processEvents();
    EXPECT_TRUE(view->grab().save(out + QStringLiteral("/map-view-geojson-table.png")));
}

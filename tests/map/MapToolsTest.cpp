#include "CanvasFixtures.h"

#include "map/MapTools.h"
#include "map/ViewTransform.h"

#include <gtest/gtest.h>

namespace {

QPointF Px(const TMap& map, double x, double y) {
    return TViewTransform::FromMap(map).ToScreen(x, y);
}

void Click(TMapToolController& t, const QPointF& p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    t.MousePress(p, Qt::LeftButton, mods);
    t.MouseRelease(p, Qt::LeftButton, mods);
}

void Drag(TMapToolController& t, const QPointF& from, const QPointF& to, Qt::MouseButton b = Qt::LeftButton) {
    t.MousePress(from, b, Qt::NoModifier);
    t.MouseMove((from + to) / 2, b, Qt::NoModifier);
    t.MouseMove(to, b, Qt::NoModifier);
    t.MouseRelease(to, b, Qt::NoModifier);
}

} // namespace

TEST(MapTools, SelectionClickPicksTheTopLayerAndShiftToggles) {
    TTwoSquares m;
    m.map.CurrentTool = ToolSelect;
    TMapToolController tools(m.map);
    int changed = 0;
    QObject::connect(&m.map, &TMap::SelectionChanged, [&] { ++changed; });

    Click(tools, Px(m.map, kX0 + 50, kY0 + 50)); // inside the plot, above the left district
    EXPECT_EQ(m.plot->Selection(), std::vector<TFeatureKey>{m.plotKey});
    EXPECT_EQ(m.districts->SelectionCount(), 0);
    EXPECT_EQ(changed, 1); // one notification per click

    Click(tools, Px(m.map, kX0 + 150, kY0 + 50)); // only the right district is there
    EXPECT_EQ(m.plot->SelectionCount(), 0);
    EXPECT_EQ(m.districts->Selection(), std::vector<TFeatureKey>{m.right});

    Click(tools, Px(m.map, kX0 + 50, kY0 + 50), Qt::ShiftModifier);
    EXPECT_EQ(m.map.SelectedFeatures().size(), 2u);
    Click(tools, Px(m.map, kX0 + 50, kY0 + 50), Qt::ShiftModifier);
    EXPECT_EQ(m.map.SelectedFeatures().size(), 1u);

    Click(tools, Px(m.map, kX0 + 500, kY0 + 500)); // empty map: nothing selected
    EXPECT_TRUE(m.map.SelectedFeatures().empty());

    // Hidden and unselectable layers are passed over.
    m.plot->Selectable = false;
    Click(tools, Px(m.map, kX0 + 50, kY0 + 50));
    EXPECT_EQ(m.districts->Selection(), std::vector<TFeatureKey>{m.left});
}

TEST(MapTools, SelectionBoxTakesFeaturesWhoseCentreLiesInside) {
    TTwoSquares m;
    m.map.CurrentTool = ToolSelect;
    TMapToolController tools(m.map);
    Drag(tools, Px(m.map, kX0 + 120, kY0 + 90), Px(m.map, kX0 + 190, kY0 + 10));
    EXPECT_EQ(m.districts->Selection(), std::vector<TFeatureKey>{m.right});
    EXPECT_EQ(m.plot->SelectionCount(), 0);
}

TEST(MapTools, ZoomAndPanTools) {
    TTwoSquares m;
    TMapToolController tools(m.map);
    const double zoom = m.map.Zoom();

    m.map.CurrentTool = ToolZoomIn;
    const QPointF at = Px(m.map, kX0 + 40, kY0 + 30);
    Click(tools, at);
    EXPECT_DOUBLE_EQ(m.map.Zoom(), zoom / 2);
    const TMapPoint under = TViewTransform::FromMap(m.map).ToMap(at);
    EXPECT_NEAR(under.x, kX0 + 40, 1e-6); // the clicked point stays under the mouse
    EXPECT_NEAR(under.y, kY0 + 30, 1e-6);

    m.map.CurrentTool = ToolZoomOut;
    Click(tools, at);
    EXPECT_DOUBLE_EQ(m.map.Zoom(), zoom);

    // A zoom box fits the boxed area.
    m.map.CurrentTool = ToolZoomIn;
    Drag(tools, Px(m.map, kX0 + 100, kY0 + 100), Px(m.map, kX0 + 200, kY0));
    EXPECT_NEAR(m.map.Zoom(), 400.0 / 3, 1e-6); // 100 m high in a 400 x 300 view
    EXPECT_NEAR(m.map.CenterX(), kX0 + 150, 1e-6);

    // Panning moves the map with the mouse, also with the middle button of any tool.
    m.map.CurrentTool = ToolPan;
    const double cx = m.map.CenterX(), cy = m.map.CenterY();
    const double perPixel = TViewTransform::FromMap(m.map).PixelsToMap(1);
    Drag(tools, QPointF(100, 100), QPointF(140, 70));
    EXPECT_NEAR(m.map.CenterX(), cx - 40 * perPixel, 1e-6);
    EXPECT_NEAR(m.map.CenterY(), cy - 30 * perPixel, 1e-6);
    m.map.CurrentTool = ToolSelect;
    Drag(tools, QPointF(140, 70), QPointF(100, 100), Qt::MiddleButton);
    EXPECT_NEAR(m.map.CenterX(), cx, 1e-6);

    // The wheel zooms around the mouse.
    tools.Wheel(QPointF(200, 150), 120);
    EXPECT_NEAR(m.map.Zoom(), 400.0 / 3 / tools.WheelZoomFactor, 1e-6);
}

TEST(MapTools, CustomToolsReportTheirPoints) {
    TTwoSquares m;
    m.map.CreateCustomTool(5, ToolKindPoint, 36);
    m.map.CreateCustomTool(52, ToolKindPolyline, 36);
    TMapToolController tools(m.map);
    struct Used {
        int tool;
        double x, y;
    };
    std::vector<Used> used;
    QObject::connect(&m.map, &TMap::ToolUsed,
                     [&](int tool, double x, double y, double, double, double, bool, bool) {
                         used.push_back({tool, x, y});
                     });
    struct Poly {
        int flags;
        TMapPoints points;
    };
    std::vector<Poly> poly;
    QObject::connect(&m.map, &TMap::PolyToolUsed, [&](int, int flags, const TMapPoints& pts, bool, bool) {
        poly.push_back({flags, pts});
    });

    m.map.CurrentTool = 5;
    Click(tools, Px(m.map, kX0 + 10, kY0 + 20));
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].tool, 5);
    EXPECT_NEAR(used[0].x, kX0 + 10, 1e-6);
    EXPECT_NEAR(used[0].y, kY0 + 20, 1e-6);

    struct Case {
        int endKey;
        int flags;
    } cases[] = {{Qt::Key_Return, PolyToolEnd}, {Qt::Key_Escape, PolyToolEndEscaped}};
    for (const Case& c : cases) {
        poly.clear();
        m.map.CurrentTool = 52;
        Click(tools, Px(m.map, kX0, kY0));
        Click(tools, Px(m.map, kX0 + 30, kY0));
        Click(tools, Px(m.map, kX0 + 30, kY0 + 40));
        EXPECT_EQ(tools.PolyPoints().size(), 3u);
        EXPECT_TRUE(tools.KeyPress(c.endKey, Qt::NoModifier));
        EXPECT_TRUE(tools.PolyPoints().empty());
        ASSERT_EQ(poly.size(), 4u); // begin, two in progress, the end
        EXPECT_EQ(poly[0].flags, PolyToolBegin);
        EXPECT_EQ(poly[3].flags, c.flags);
        EXPECT_EQ(poly[3].points.size(), 3u);
    }
    // A double click ends the line with its own point.
    poly.clear();
    Click(tools, Px(m.map, kX0, kY0));
    tools.DoubleClick(Px(m.map, kX0 + 10, kY0), Qt::LeftButton, Qt::NoModifier);
    ASSERT_EQ(poly.size(), 2u);
    EXPECT_EQ(poly[1].flags, PolyToolEnd);
    EXPECT_EQ(poly[1].points.size(), 2u);
    EXPECT_FALSE(tools.KeyPress(Qt::Key_Return, Qt::NoModifier)); // nothing in progress
}

TEST(MapTools, NodeModeDragsANodeOfAnEditableLayer) {
    TTwoSquares m;
    m.map.CurrentTool = ToolSelect;
    m.map.FeatureEditMode = EditModeNodes;
    m.districts->Editable = true;
    TMapToolController tools(m.map);
    std::vector<std::pair<TNodeHit, TMapPoint>> dragged;
    QObject::connect(&tools, &TMapToolController::NodeDragged,
                     [&](const TNodeHit& n, const TMapPoint& to) { dragged.emplace_back(n, to); });
    Drag(tools, Px(m.map, kX0 + 200.5, kY0 + 0.5), Px(m.map, kX0 + 210, kY0 - 10));
    ASSERT_EQ(dragged.size(), 1u);
    const TNodeHit hit = dragged[0].first;
    EXPECT_EQ(hit.Point, TMapPoint(kX0 + 200, kY0));
    const TMapPoint to = dragged[0].second;
    EXPECT_NEAR(to.x, kX0 + 210, 1e-6);
    EXPECT_NEAR(to.y, kY0 - 10, 1e-6);
    EXPECT_TRUE(tools.SelectedNode().has_value());

    // Adding nodes: a click on a side asks for a new node there.
    m.map.FeatureEditMode = EditModeAddNodes;
    std::vector<TNodeHit> add;
    QObject::connect(&tools, &TMapToolController::NodeAddRequested,
                     [&](const TNodeHit& side, const TMapPoint&) { add.push_back(side); });
    Click(tools, Px(m.map, kX0 + 150, kY0 + 100));
    ASSERT_EQ(add.size(), 1u);
    EXPECT_EQ(add[0].Feature.Key, m.right);
}

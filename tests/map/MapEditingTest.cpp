#include "CanvasFixtures.h"

#include "map/MapEditing.h"

#include <gtest/gtest.h>

namespace {

int CountNodesAt(const TMapFeature& f, const TMapPoint& p) {
    int n = 0;
    for (const auto& part : f.Parts)
        for (const auto& q : part)
            n += q == p;
    return n;
}

} // namespace

// The node shared by both districts and the plot moves in all of them; a node that differs
// in the fourth decimal is a different node.
TEST(MapEditing, MoveSharedNodeAcrossLayers) {
    struct Case {
        const char* name;
        TMapPoint from;
        int changed;
    } cases[] = {
        {"shared corner", {kX0 + 100, kY0}, 3},
        {"same after rounding to 4 decimals", {kX0 + 100 + 0.00001, kY0 - 0.00002}, 3},
        {"differs in the last stored digit", {kX0 + 100 + 0.0001, kY0}, 0},
        {"corner of the right square only", {kX0 + 200, kY0}, 1},
    };
    for (const Case& c : cases) {
        TTwoSquares m;
        const TMapPoint to(kX0 + 105.5, kY0 - 3.25);
        const TNodeEditResult r = MoveSharedNode(m.map, {kLayerOcRaion, kLayerOcDilanka}, c.from, to);
        EXPECT_TRUE(r.Ok) << c.name;
        EXPECT_EQ(r.Changed, c.changed) << c.name;
        if (c.changed == 3) {
            EXPECT_EQ(CountNodesAt(m.districts->Feature(m.left), to), 1) << c.name;
            EXPECT_EQ(CountNodesAt(m.districts->Feature(m.right), to), 2)
                << c.name; // first node and its closing copy
            EXPECT_EQ(CountNodesAt(m.plot->Feature(m.plotKey), to), 1) << c.name;
        }
    }
}

TEST(MapEditing, MoveSkipsHiddenLayers) {
    TTwoSquares m;
    m.plot->Visible = false;
    const TNodeEditResult r =
        MoveSharedNode(m.map, {kLayerOcRaion, kLayerOcDilanka}, {kX0 + 100, kY0}, {kX0 + 101, kY0});
    EXPECT_EQ(r.Changed, 2);
    EXPECT_EQ(CountNodesAt(m.plot->Feature(m.plotKey), {kX0 + 100, kY0}), 1);
}

TEST(MapEditing, DeleteSharedNodeKeepsRingsClosedAndRefusesDegenerateOnes) {
    TTwoSquares m;
    // The first node of the right square is also its closing node.
    TNodeEditResult r = DeleteSharedNode(m.map, {kLayerOcRaion, kLayerOcDilanka}, {kX0 + 100, kY0});
    ASSERT_TRUE(r.Ok);
    EXPECT_EQ(r.Changed, 3);
    const TMapPoints& right = m.districts->Feature(m.right).Parts[0];
    ASSERT_EQ(right.size(), 4u);
    EXPECT_EQ(right.front(), right.back());
    EXPECT_EQ(m.districts->Feature(m.left).Parts[0].size(), 4u);

    // A triangle cannot lose another node: nothing changes anywhere.
    const TMapFeature before = m.districts->Feature(m.left);
    const TMapFeature plotBefore = m.plot->Feature(m.plotKey);
    r = DeleteSharedNode(m.map, {kLayerOcDilanka, kLayerOcRaion}, {kX0, kY0});
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.FailedLayer, kLayerOcDilanka);
    EXPECT_EQ(m.districts->Feature(m.left).Parts, before.Parts);
    EXPECT_EQ(m.plot->Feature(m.plotKey).Parts, plotBefore.Parts);
}

// The snap takes the first node met in layer, feature, part and node order, not the nearest.
TEST(MapEditing, SnapTakesTheFirstNodeInsideTheCircle) {
    TTwoSquares m;
    // Centre near the shared corner: the plot (top layer) is met first.
    TSnapResult s = FindSnapNode(m.map, {kX0 + 99, kY0 + 1}, 3);
    ASSERT_TRUE(s.NodeFound);
    EXPECT_EQ(s.Node, TMapPoint(kX0 + 100, kY0));
    EXPECT_EQ(s.Feature.Layer, m.plot);

    // Two nodes inside the circle: the first of the feature's ring wins, though the other is nearer.
    TMapLayer* extra = AddMemLayer(m.map, QStringLiteral("Тимчасовий"));
    extra->AddFeature(TMapFeature::MakeLine({{kX0 + 50, kY0 + 50}, {kX0 + 52, kY0 + 50}}, DefaultMapStyle()));
    s = FindSnapNode(m.map, {kX0 + 51.9, kY0 + 50}, 2.5);
    ASSERT_TRUE(s.NodeFound);
    EXPECT_EQ(s.Node, TMapPoint(kX0 + 50, kY0 + 50));

    // A circle that touches a side but holds no node, and one that touches nothing.
    s = FindSnapNode(m.map, {kX0 + 50, kY0 + 1}, 2);
    EXPECT_TRUE(s.FeatureFound);
    EXPECT_FALSE(s.NodeFound);
    s = FindSnapNode(m.map, {kX0 + 1000, kY0 + 1000}, 2);
    EXPECT_FALSE(s.FeatureFound);

    // Label layers, hidden and unselectable layers are not searched.
    m.plot->Selectable = false;
    m.districts->Visible = false;
    TMapLayer* numbers = AddMemLayer(m.map, kLayerInfoNumbering);
    numbers->AddFeature(TMapFeature::MakeText({kX0 + 100, kY0}, QStringLiteral("2"), DefaultMapStyle()));
    s = FindSnapNode(m.map, {kX0 + 99, kY0 + 1}, 3);
    EXPECT_FALSE(s.FeatureFound);
}

TEST(MapEditing, NodeAndSideUnderTheMouse) {
    TTwoSquares m;
    m.districts->Editable = true;
    auto node = FindNodeNear(m.map, {kX0 + 200.4, kY0 + 99.8}, 1, true);
    ASSERT_TRUE(node);
    EXPECT_EQ(node->Feature.Key, m.right);
    EXPECT_EQ(node->Point, TMapPoint(kX0 + 200, kY0 + 100));
    EXPECT_FALSE(FindNodeNear(m.map, {kX0 + 150, kY0 + 50}, 1, true));

    auto side = FindSideNear(m.map, {kX0 + 150, kY0 + 0.5}, 1);
    ASSERT_TRUE(side);
    EXPECT_EQ(side->Feature.Key, m.right);
    EXPECT_EQ(side->Node, 0);
    InsertNodeAfter(*side, {kX0 + 150, kY0});
    EXPECT_EQ(m.districts->Feature(m.right).Parts[0][1], TMapPoint(kX0 + 150, kY0));
}

TEST(MapEditing, NumberingLabelsCountEachCoordinateOnce) {
    TMap map;
    TMapLayer* labels = AddMemLayer(map, kLayerInfoNumbering);
    const TMapFeature square = TMapFeature::MakeRegion(Square(kX0, kY0, 100), DefaultMapStyle());
    BuildNumberingLabels(*labels, square, 2.0, LabelLayerSettings());
    QStringList texts;
    for (TFeatureKey k : labels->FeatureKeys())
        texts << labels->Feature(k).Caption;
    EXPECT_EQ(texts, (QStringList{"1", "2", "3", "4", ""}));
    // Each number lies outside the square, 2 map units from its node along the bisector.
    const TMapPoint first = labels->Feature(labels->KeyAt(0)).Position();
    EXPECT_NEAR(first.x, kX0 - std::sqrt(2.0), 1e-9);
    EXPECT_NEAR(first.y, kY0 - std::sqrt(2.0), 1e-9);
}

TEST(MapEditing, DistanceLabelsReadUprightAlongEachSide) {
    TMap map;
    TMapLayer* labels = AddMemLayer(map, kLayerInfoDistances);
    // A triangle with a zero-length side (a repeated node), walked clockwise.
    const TMapPoints ring{{kX0, kY0}, {kX0, kY0 + 30}, {kX0, kY0 + 30}, {kX0 + 40, kY0}, {kX0, kY0}};
    const TMapFeature tri = TMapFeature::MakeRegion(ring, DefaultMapStyle());
    BuildDistanceLabels(map, *labels, tri, 1.0, LabelLayerSettings());
    ASSERT_EQ(labels->FeatureCount(), 3);
    QStringList texts;
    for (TFeatureKey k : labels->FeatureKeys()) {
        const TMapFeature& f = labels->Feature(k);
        texts << f.Caption;
        EXPECT_GT(f.TextAngle, -90.0001) << f.Caption.toStdString();
        EXPECT_LE(f.TextAngle, 90.0) << f.Caption.toStdString();
    }
    EXPECT_EQ(texts, (QStringList{"30.00", "50.00", "40.00"}));
    // The label of the west side lies west of it (outside the ring).
    EXPECT_LT(labels->Feature(labels->KeyAt(0)).Position().x, kX0);
}

TEST(MapEditing, NodeMarkersSkipTheClosingNode) {
    TMap map;
    TMapLayer* nodes = AddMemLayer(map, kLayerInfoNodes);
    BuildNodeMarkers(*nodes, TMapFeature::MakeRegion(Square(kX0, kY0, 10), DefaultMapStyle()),
                     XmlStyles().StyleNode);
    EXPECT_EQ(nodes->FeatureCount(), 4);
}

#include "exchange/NavigatorLines.h"

#include <gtest/gtest.h>

namespace {

const QStringList kBlock = ValuationBlockPath();

QStringList BlockAnd(const QStringList& tail) {
    return kBlock + tail;
}

struct TargetCase {
    int kind;
    const char* caption;
    QStringList path;
    QString layer;
    int number;
    int district;
};

TEST(NavigatorTarget, EachKindAimsAtItsSection) {
    const QList<TargetCase> cases = {
        {NavKind::Editor, "Редактор XML файлу", {}, {}, 0, 1},
        {NavKind::ServiceInfo, "Розділ: Службові дані", {"AdditionalPart", "ServiceInfo"}, {}, 0, 1},
        {NavKind::Licensee, "Розділ: Ліцензіат", {"AdditionalPart", "InfoLandWork", "Executor"}, {}, 0, 1},
        {NavKind::MetricInfo, "Розділ: Метрична інформація", {"InfoPart", "MetricInfo"}, {}, 0, 1},
        {NavKind::TerritoryNumber,
         "Розділ: Опис території",
         {"InfoPart", "TerritorialZoneInfo", "TerritorialZoneNumber"},
         {},
         0,
         1},
        {NavKind::TerritoryObject,
         "Розділ: Об'єкт території",
         {"InfoPart", "TerritorialZoneInfo", "Externals"},
         kLayerTerrZone,
         1,
         1},
        {NavKind::Plot, "Розділ: НГО Оціночна ділянка", kBlock, kLayerOcDilanka, 1, 1},
        {NavKind::Location, "Розділ: НГО Місцерозташування", BlockAnd({"DescriptionOfTerritory"}), {}, 0, 1},
        {NavKind::Coefficients, "Розділ: НГО Коефіціенти", BlockAnd({"Population"}), {}, 0, 1},
        {NavKind::ValuationDistricts,
         "Розділ: НГО Оціночний район",
         BlockAnd({"ValuationDistricts"}),
         {},
         0,
         1},
        {NavKind::ValuationDistrict, "    блок #2", BlockAnd({"ValuationDistricts", "ValuationDistrict#2"}),
         kLayerOcRaion, 2, 1},
        {NavKind::AgrDistricts,
         "Розділ: НГО ПСГ район",
         BlockAnd({"NaturalAgriculturalsDistrict"}),
         {},
         0,
         1},
        {NavKind::AgrDistrict, "    блок #4", BlockAnd({"NaturalAgriculturalsDistrict#4"}), kLayerSelhRaion,
         4, 1},
        {NavKind::AgroGroup, "    блок #3 агрогрупа #2",
         BlockAnd({"NaturalAgriculturalsDistrict#3", "AgroGroups", "AgroGroup#2"}), kLayerAgroGroup, 2, 3},
        {NavKind::Executor,
         "Розділ: Виконавець техдок",
         {"InfoPart", "TerritorialZoneInfo", "Executor"},
         {},
         0,
         1},
        {NavKind::Chief,
         "Розділ: Відповідальний техдок",
         {"InfoPart", "TerritorialZoneInfo", "Chief"},
         {},
         0,
         1},
        {NavKind::TechDocumentation,
         "Розділ: Реквізити документації",
         {"InfoPart", "TerritorialZoneInfo", "TechDocumentation"},
         {},
         0,
         1},
    };
    for (const TargetCase& c : cases) {
        SCOPED_TRACE(c.caption);
        const TNavigatorTarget t = NavigatorTargetOf({c.kind, QString::fromUtf8(c.caption), {}, {}});
        EXPECT_TRUE(t.OpenEditor);
        EXPECT_FALSE(t.ShowMap || t.ViewFile);
        EXPECT_EQ(t.EditorPath, c.path);
        EXPECT_EQ(t.MapLayer, c.layer);
        if (!c.layer.isEmpty()) {
            EXPECT_EQ(t.Number, c.number);
            EXPECT_EQ(t.District, c.district);
        }
    }
}

TEST(NavigatorTarget, MapAndViewerLinesOpenNoEditor) {
    const TNavigatorTarget map = NavigatorTargetOf({NavKind::Map, QStringLiteral("Мапа"), {}, {}});
    EXPECT_TRUE(map.ShowMap);
    EXPECT_FALSE(map.OpenEditor);
    const TNavigatorTarget view =
        NavigatorTargetOf({NavKind::FileView, QStringLiteral("Перегляд файлу у блокноті"), {}, {}});
    EXPECT_TRUE(view.ViewFile);
    EXPECT_FALSE(view.OpenEditor);
}

QList<TNavigatorLine> SampleLines() {
    return {
        {NavKind::Editor, QStringLiteral("Редактор XML файлу"), {}, {}},
        {NavKind::TerritoryObject, QStringLiteral("Розділ: Об'єкт території"), {}, {}},
        {NavKind::Plot, QStringLiteral("Розділ: НГО Оціночна ділянка"), {}, {}},
        {NavKind::ValuationDistricts, QStringLiteral("Розділ: НГО Оціночний район"), {}, {}},
        {NavKind::ValuationDistrict, QStringLiteral("    блок #1"), QStringLiteral("11111"), {}},
        {NavKind::ValuationDistrict, QStringLiteral("    блок #2"), QStringLiteral("22222"), {}},
        {NavKind::AgrDistricts, QStringLiteral("Розділ: НГО ПСГ район"), {}, {}},
        {NavKind::AgrDistrict, QStringLiteral("    блок #1"), QStringLiteral("33333"), {}},
        {NavKind::AgroGroup, QStringLiteral("    блок #1 агрогрупа #1"), QStringLiteral("44444"),
         QStringLiteral("1")},
        {NavKind::AgrDistrict, QStringLiteral("    блок #2"), QStringLiteral("55555"), {}},
        {NavKind::AgroGroup, QStringLiteral("    блок #2 агрогрупа #1"), QStringLiteral("66666"),
         QStringLiteral("2")},
        {NavKind::AgroGroup, QStringLiteral("    блок #2 агрогрупа #2"), QStringLiteral("77777"),
         QStringLiteral("2")},
    };
}

TEST(NavigatorLines, MapObjectsFindTheirLine) {
    const QList<TNavigatorLine> lines = SampleLines();
    struct Case {
        QString layer;
        int number, district, row;
    };
    const QList<Case> cases = {
        {kLayerTerrZone, 1, 1, 1},
        {kLayerOcDilanka, 7, 1, 2}, // the plot is always the first kind-10 line
        {kLayerOcRaion, 2, 1, 5},
        {kLayerOcRaion, 3, 1, -1},
        {kLayerSelhRaion, 2, 1, 9},
        {kLayerAgroGroup, 2, 2, 11}, // the second agro group of district 2
        {kLayerAgroGroup, 1, 2, 10},
        {kLayerAgroGroup, 2, 1, -1}, // district 1 has one agro group only
        {QStringLiteral("Вузли"), 1, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.layer.toStdString() + " " + std::to_string(c.number));
        EXPECT_EQ(NavigatorLineForMapObject(lines, c.layer, c.number, c.district), c.row);
    }
}

TEST(NavigatorLines, ElementPathsFindTheDeepestSection) {
    const QList<TNavigatorLine> lines = SampleLines();
    auto find = [&](const QString& path) { return NavigatorLineForElementPath(lines, path.split('\\')); };
    const QString block = kBlock.join('\\');
    EXPECT_EQ(find(block + QStringLiteral("\\ValuationDistricts\\ValuationDistrict#2\\Km4")), 5);
    EXPECT_EQ(find(block + QStringLiteral("\\ValuationDistricts\\ValuationDistrict\\Km4")),
              4); // no "#": the first
    EXPECT_EQ(find(block + QStringLiteral("\\NaturalAgriculturalsDistrict#2\\AgroGroups\\AgroGroup#2\\Bagr")),
              11);
    EXPECT_EQ(find(block + QStringLiteral("\\Nrd")), 2);
    EXPECT_EQ(find(QStringLiteral("AdditionalPart\\ServiceInfo")), -1); // no such line among these
}

} // namespace

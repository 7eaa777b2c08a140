#include "CanvasFixtures.h"

#include "common/Messages.h"
#include "map/MapTables.h"
#include "support/TestSupport.h"

#include <QFile>

#include <gdal.h>
#include <ogr_api.h>

#include <gtest/gtest.h>

TEST(MapTables, GeoJsonOpensAsALayerWithItsFields) {
    TMap map;
    AddMemLayer(map, kLayerOcDilanka);
    const QString path = TestDataPath(QStringLiteral("map/canvas/buildings.geojson"));
    TMapLayer* layer = OpenMapTable(map, path, true);
    ASSERT_NE(layer, nullptr) << LastErrorText.toStdString();
    EXPECT_EQ(layer->Name, QStringLiteral("buildings"));
    EXPECT_EQ(layer->FileName, path);
    EXPECT_EQ(map.LayerIndex(layer), 1); // at the bottom
    ASSERT_EQ(layer->FeatureCount(), 5);
    EXPECT_EQ(layer->Dataset().FieldIndex(QStringLiteral("name")), 0);
    EXPECT_EQ(layer->Dataset().Text(layer->KeyAt(0), QStringLiteral("name")), QStringLiteral("Будинок 1"));
    EXPECT_EQ(layer->Feature(layer->KeyAt(0)).Type, TFeatureType::Region);
    EXPECT_EQ(layer->Feature(layer->KeyAt(3)).Type, TFeatureType::Line);
    EXPECT_EQ(layer->Feature(layer->KeyAt(4)).Type, TFeatureType::Point);
    // First axis easting (map x), second northing (map y), exactly as written.
    const TMapPoint first = layer->Feature(layer->KeyAt(0)).Parts[0][0];
    EXPECT_DOUBLE_EQ(first.x, 4366654.74);
    EXPECT_DOUBLE_EQ(first.y, 5495935.35);
    // The same file again gives the same layer.
    EXPECT_EQ(OpenMapTable(map, path, true), layer);
    EXPECT_EQ(map.LayerCount(), 2);
}

TEST(MapTables, ShapeFileAndFailures) {
    TTestProgramDir dir;
    // A shape file written through OGR with one polygon.
    const QString shp = dir.File(QStringLiteral("Межі.shp"));
    {
        GDALAllRegister();
        GDALDriverH drv = GDALGetDriverByName("ESRI Shapefile");
        GDALDatasetH ds = GDALCreate(drv, shp.toUtf8().constData(), 0, 0, 0, GDT_Unknown, nullptr);
        ASSERT_NE(ds, nullptr);
        OGRLayerH l = GDALDatasetCreateLayer(ds, "m", nullptr, wkbPolygon, nullptr);
        OGRFieldDefnH fd = OGR_Fld_Create("KOD", OFTInteger);
        EXPECT_EQ(OGR_L_CreateField(l, fd, TRUE), OGRERR_NONE);
        OGR_Fld_Destroy(fd);
        OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(l));
        OGR_F_SetFieldInteger(f, 0, 17);
        OGRGeometryH g = nullptr;
        char wkt[] = "POLYGON ((4366600 5495900,4366700 5495900,4366700 5496000,4366600 5495900))";
        char* p = wkt;
        OGR_G_CreateFromWkt(&p, nullptr, &g);
        OGR_F_SetGeometryDirectly(f, g);
        EXPECT_EQ(OGR_L_CreateFeature(l, f), OGRERR_NONE);
        OGR_F_Destroy(f);
        GDALClose(ds);
    }
    TMap map;
    TMapLayer* layer = OpenMapTable(map, shp, false);
    ASSERT_NE(layer, nullptr) << LastErrorText.toStdString();
    EXPECT_EQ(layer->Name, QStringLiteral("Межі"));
    EXPECT_FALSE(layer->Visible);
    ASSERT_EQ(layer->FeatureCount(), 1);
    EXPECT_EQ(layer->Dataset().Text(layer->KeyAt(0), QStringLiteral("KOD")), QStringLiteral("17"));

    // Another extension, a missing file and a broken file give no layer and a reason.
    const QString broken = dir.File(QStringLiteral("broken.geojson"));
    WriteBytes(broken, "{ \"type\": \"FeatureCollection\", \"features\": [ {");
    for (const QString& path :
         {dir.File(QStringLiteral("a.dxf")), dir.File(QStringLiteral("none.tab")), broken}) {
        const int before = map.LayerCount();
        EXPECT_EQ(OpenMapTable(map, path, true), nullptr) << path.toStdString();
        EXPECT_FALSE(LastErrorText.isEmpty()) << path.toStdString();
        EXPECT_EQ(map.LayerCount(), before);
    }
}

TEST(MapTables, RecentMapsStopAtTheFirstGapAndIgnoreCase) {
    TTestProgramDir dir;
    const QString ini = dir.File(QStringLiteral("zemlyar.ini"));
    WriteBytes(ini, "[RecentFiles]\r\nFile0=C:\\a.tab\r\nFile1=C:\\b.tab\r\nFile3=C:\\d.tab\r\n");
    TRecentMaps recent;
    recent.Load(ini);
    EXPECT_EQ(recent.Paths(), (QStringList{"C:\\a.tab", "C:\\b.tab"}));
    recent.Add(QStringLiteral("c:\\A.TAB"));
    recent.Add(QStringLiteral("C:\\e.shp"));
    recent.Remove(0);
    recent.Save(ini);
    TRecentMaps again;
    again.Load(ini);
    EXPECT_EQ(again.Paths(), (QStringList{"C:\\b.tab", "C:\\e.shp"}));
}

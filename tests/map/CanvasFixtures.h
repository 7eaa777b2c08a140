#pragma once
// Small maps for the canvas tests: layers of squares at plane coordinates of millions of metres.
#include "map/MapControl.h"
#include "map/MapLayers.h"

inline constexpr double kX0 = 4366600.0; // easting of the first square's lower left corner
inline constexpr double kY0 = 5495900.0; // northing

// A closed square ring of side s with the lower left corner at (x, y), counter-clockwise.
inline TMapPoints Square(double x, double y, double s) {
    return {{x, y}, {x + s, y}, {x + s, y + s}, {x, y + s}, {x, y}};
}

inline TMapLayer* AddMemLayer(TMap& map, const QString& name, int position = 1) {
    TMapLayerInfo info;
    info.Name = name;
    info.Fields = {TMapField{QStringLiteral("uid"), TFieldType::String, 32},
                   TMapField{QStringLiteral("parent"), TFieldType::String, 32}};
    return map.AddLayer(info, position);
}

inline TMapStyle Outline(int color) {
    TMapStyle s = DefaultMapStyle();
    s.RegionPattern = FillNone;
    s.RegionBorderStyle = LineSolid;
    s.RegionBorderColor = color;
    return s;
}

// Two neighbouring squares of 100 m sharing their side x = kX0 + 100: the left one on the
// plot layer, both on the district layer underneath; the view shows them at 1 m per pixel.
struct TTwoSquares {
    TMap map;
    TMapLayer* districts = nullptr;
    TMapLayer* plot = nullptr;
    TFeatureKey left = kNoFeature, right = kNoFeature, plotKey = kNoFeature;
    TTwoSquares() {
        districts = AddMemLayer(map, kLayerOcRaion);
        plot = AddMemLayer(map, kLayerOcDilanka); // on top
        left =
            districts->AddFeature(TMapFeature::MakeRegion(Square(kX0, kY0, 100), Outline(MapRgb(0, 0, 255))),
                                  {QStringLiteral("1"), QString()});
        right = districts->AddFeature(
            TMapFeature::MakeRegion(Square(kX0 + 100, kY0, 100), Outline(MapRgb(0, 0, 255))),
            {QStringLiteral("2"), QString()});
        plotKey = plot->AddFeature(TMapFeature::MakeRegion(Square(kX0, kY0, 100), Outline(MapRgb(255, 0, 0))),
                                   {QStringLiteral("1"), QString()});
        map.SetScreenSize(400, 300);
        map.ZoomTo(400, kX0 + 100, kY0 + 50);
    }
};

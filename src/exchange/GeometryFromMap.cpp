#include "exchange/GeometryFromMap.h"

#include "map/MapControl.h"
#include "map/MapTexts.h"

namespace {

TContourLayer LayerObjects(const TMap& map, const QString& name) {
    TContourLayer objects;
    const TMapLayer* layer = map.FindLayer(name);
    if (!layer) return objects;
    const int parentField = layer->Dataset().FieldIndex(QStringLiteral("parent"));
    for (const TFeatureKey key : layer->FeatureKeys()) {
        const TMapFeature* feature = layer->FindFeature(key);
        if (!feature) continue;
        TContourObject object;
        if (parentField >= 0) object.Parent = layer->Dataset().Value(key, parentField).toString();
        if (feature->Type == TFeatureType::Region) object.Parts = feature->Parts;
        objects.push_back(std::move(object));
    }
    return objects;
}

} // namespace

TValuationGeometry GeometryFromMap(const TMap& map) {
    TValuationGeometry g;
    g.TerrZone = LayerObjects(map, kLayerTerrZone);
    g.Plot = LayerObjects(map, kLayerOcDilanka);
    g.Districts = LayerObjects(map, kLayerOcRaion);
    g.NaturalDistricts = LayerObjects(map, kLayerSelhRaion);
    g.AgroGroups = LayerObjects(map, kLayerAgroGroup);
    return g;
}

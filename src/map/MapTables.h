#pragma once

#include "map/MapControl.h"

#include <QStringList>

// Map tables on disk opened as layers: MapInfo tables (.tab), shape files (.shp) and
// GeoJSON (.geojson, .json), read through GDAL/OGR into a layer of their own with the
// table's fields. Coordinates are taken as they are: the first axis is the easting
// (map x), the second the northing (map y). The layer keeps the file name.

// The layer of an opened table: an existing layer with that file, or a new one added at
// the bottom of the map (named after the file without folder and extension). Null when
// the file cannot be read; the reason is then in LastErrorText.
TMapLayer* OpenMapTable(TMap& map, const QString& path, bool visible);
// The style of the features of an opened table.
TMapStyle MapTableStyle();

// Recently opened maps, kept in the ini file, section "RecentFiles", keys "File0", "File1"...
class TRecentMaps {
public:
    // Keys File0 to File25, up to the first empty value.
    void Load(const QString& iniFile);
    // Appends the path unless it is there already (letter case aside).
    void Add(const QString& path);
    void Remove(int index);
    void Save(const QString& iniFile) const;
    const QStringList& Paths() const { return paths_; }

private:
    QStringList paths_;
};

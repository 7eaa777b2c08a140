#pragma once

#include "map/MapControl.h"
#include "map/MapTexts.h"

#include <QStringList>

#include <optional>

// The map model every map window shares: the standard layers of an exchange file,
// the plane coordinate system chosen by the precision option, feature building from
// clicked or imported points, coordinate rounding and measurements.

// The ten standard layers in their order of creation (the last one ends up on top).
const QStringList& StandardLayerNames();
// The eight layers emptied before the geometry of a file is built again.
const QStringList& ClearableLayerNames();
// The five layers holding the objects of the exchange file.
const QStringList& ThematicLayerNames();

// The layer styles kept in the settings section "XML_STYLE" (read once at start-up).
struct TXmlStyles {
    TMapStyle StyleOcTerr;
    TMapStyle StyleOcDilanka;
    TMapStyle StyleOcRaion;
    TMapStyle StyleOcSelhRaion;
    TMapStyle StyleOcAgroGroup;
    TMapStyle StyleNode;
    TMapStyle StylePlaceholder; // the point standing for an object without a ring yet
};
// The built-in styles, on the base of the given default style.
TXmlStyles DefaultXmlStyles(const TMapStyle& base = DefaultMapStyle());
// The styles in force (the built-in ones until LoadXmlStyles runs).
TXmlStyles& XmlStyles();
// Reads the section "XML_STYLE" of the ini file; a missing key, or a value that cannot
// be read, keeps the built-in style of that key.
void LoadXmlStyles(const QString& iniFile, const TMapStyle& base = DefaultMapStyle());
// The style of a standard layer (the layer's own XML style for the five thematic
// layers, the base style otherwise).
TMapStyle LayerStyleFor(const QString& layerName, const TXmlStyles& styles);

// Removes every layer, chooses the coordinate system for the file and precision class
// (2, 3 or 4) and creates the ten standard layers. Refusals of the map throw TMapError.
bool PrepareMapForFile(TMap& map, const QString& path, int precisionClass);
// The same with the precision option of the settings ("INTERFACE"/"ACT_COORD_TO"; a value
// other than 3 or 4 gives the whole country).
bool PrepareMapForFile(TMap& map, const QString& path);

// Minimum and maximum of the eastings and northings found in a file, read by its
// extension (.in4, .xml, .json/.geojson, .csv, .txt).
struct TFileExtent {
    double minEasting = 10000000.0, maxEasting = -10000000.0;
    double minNorthing = 10000000.0, maxNorthing = -10000000.0;
    bool HasCoordinates() const { return minEasting <= maxEasting && minNorthing <= maxNorthing; }
};
TFileExtent ReadFileExtent(const QString& path);
// The precision class (2, 3 or 4) and bounds for an extent. When the extent does not fit
// the bounds of its class, the next coarser class is taken.
int ExtentClass(const TFileExtent& extent, int requestedClass, TMapRect* bounds);
// The bounds rectangle (easting low, northing low, easting high, northing high).
TMapRect ExtentForFile(const QString& path, int requestedClass);
// The plane coordinate system for a file at the precision class.
TMapCoordSys CoordSysForFile(const QString& path, int precisionClass);

// Tool numbers that count as drawing tools (5-29, 40-47, 49-53).
bool IsDrawingTool(int tool);
enum TDrawingTool : int { ToolDrawPoint = 5, ToolDrawPolyline = 7, ToolDrawRegion = 13 };

// Appends the first point when the list has at least three points and its first and
// last points differ after RoundTo4.
void CloseRing(TMapPoints& points);
// A point (tool 5), polyline (tool 7) or region (tool 13) feature from the points, not
// yet in any layer; the list may change (a repeated last point dropped, a region closed).
// nullopt when nothing can be built.
std::optional<TMapFeature> BuildFeatureFromPoints(int tool, TMapPoints& points, const TMapStyle& style);

// Fixed notation with 15 significant digits, cut five characters after the decimal
// point, rounded to 4 decimals with halves to even on that decimal text.
double RoundTo4(double value);
// The coordinate rounding setting used by RoundCoordinate with decimals -1.
struct TCoordRounding {
    bool PointCoordRoundToUse = false;
    int PointCoordRoundTo = 4;
};
TCoordRounding& CoordRounding();
// decimals -2: unchanged; -1: as the setting says; 0 or more: always rounded.
double RoundCoordinate(double value, int decimals);

// Distance in metres between two map points and area in square metres of a region
// (0 for other kinds and for a first ring of fewer than 4 points); the map's units
// are switched for the computation and restored.
double MapDistance(TMap& map, double x1, double y1, double x2, double y2);
double FeatureArea(TMap& map, const TMapFeature& feature);

// An ordered list of feature references with a text per entry.
class TMapXFeaturesList {
public:
    void Clear();
    void Add(const TMapFeatureRef& feature);
    void AddAll(const std::vector<TMapFeatureRef>& features);
    int Count() const { return static_cast<int>(features_.size()); }
    const TMapFeatureRef& Item(int index) const { return features_.at(static_cast<size_t>(index)); }
    QString& Text(int index) { return texts_[index]; }
    const QStringList& Texts() const { return texts_; }

private:
    std::vector<TMapFeatureRef> features_;
    QStringList texts_;
};

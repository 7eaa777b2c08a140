#pragma once

#include "exchange/ExchangeDocument.h"
#include "map/MapControl.h"

#include <pugixml.hpp>

#include <functional>

// Map objects from the metric block of an exchange file: the valued plot, its
// valuation districts, natural-agricultural districts with their agro groups, and
// the territorial zone, each a feature of its standard layer with the attributes
// uid (and parent for agro groups). Problems never stop the run: each becomes a line
// of the log, and the run goes on with the next object.

// Receives one log line (never an empty one).
using TMapLog = std::function<void(const QString&)>;

struct TMapObjectsResult {
    // False when a point or a line of the metric block could not be read: the
    // boundaries then stay placeholders and the geometry must not be saved back.
    bool CoordinatesLoaded = true;
    // Number of natural-agricultural districts found.
    int NaturalDistrictCount = 0;
};

// Builds the objects into the map's standard layers (emptied by the caller before).
// The document is the parsed exchange file.
TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const pugi::xml_document& document,
                                                  const TMapLog& log);
TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const pugi::xml_node& documentElement,
                                                  const TMapLog& log);
// The opening hook (TOpenHooks::BuildMapObjects) returns CoordinatesLoaded of this form.
TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const ExchangeDocument& document,
                                                  const TMapLog& log);

// The feature of a layer whose attribute parent equals the given one (empty: any) with
// the given 1-based ordinal among those, in layer order; kNoFeature when there is none.
TFeatureKey FindMapObject(const TMapLayer& layer, int ordinal, const QString& parent = QString());

// The plot's boundary alone, for the valuation wizard's map page: the point and line tables of the metric
// block, then every Boundary of `externals` (outer rings) and of its Internals (inner rings) as one region
// feature of the layer. Unlike the full build the first failure stops, and rings of two points or fewer add
// nothing.
struct TPlotContourTexts {
    QString NoCoordinates; // either table is empty
    QString NoLines;       // a Boundary without Lines (outer or inner)
    QString Outer;         // an outer ring that could not be resolved
    QString Inner;         // an inner ring that could not be resolved
};
struct TPlotContourResult {
    bool Built = false; // the layer holds the plot's region feature
    QString Failure;    // the message that stopped the build: one of the texts, a line break and the reason
};
TPlotContourResult BuildPlotContour(TMapLayer& layer, TMap& map, const pugi::xml_node& documentElement,
                                    const pugi::xml_node& externals, const TPlotContourTexts& texts);

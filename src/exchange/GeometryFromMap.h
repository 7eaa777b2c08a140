#pragma once
// The objects of the five exchange layers of a map, as the geometry writer takes them.
#include "exchange/GeometryWriter.h"

class TMap;

// Every feature of "Територіальна зона", "Оціночна ділянка", "Оціночний район", "Природний-c-г район" and
// "Агрогрупа грунтів" in layer order, with its parent attribute; a feature that is not a region (the
// placeholder of an object without a contour) gives an object without parts. A missing layer gives none.
TValuationGeometry GeometryFromMap(const TMap& map);

#include "map/MapCoordSys.h"

TMapCoordSys TMapCoordSys::NonEarth(const TMapRect& bounds, TMapUnit units) {
    TMapCoordSys cs;
    cs.Type = Kind::NonEarth;
    cs.Units = units;
    cs.Bounds = bounds.Normalised();
    cs.HasBounds = true;
    return cs;
}

TMapCoordSys TMapCoordSys::Earth(int projectionType, const TMapDatum& datum, TMapUnit units) {
    TMapCoordSys cs;
    cs.Type = Kind::Earth;
    cs.ProjectionType = projectionType;
    cs.Datum = datum;
    cs.Units = units;
    cs.HasBounds = false;
    return cs;
}

bool TMapCoordSys::Contains(const TMapPoint& p) const {
    return !HasBounds || Bounds.Normalised().Contains(p);
}

bool TMapCoordSys::operator==(const TMapCoordSys& o) const {
    if (Type != o.Type || Units != o.Units || HasBounds != o.HasBounds) return false;
    if (HasBounds && Bounds.Normalised() != o.Bounds.Normalised()) return false;
    if (HasAffine != o.HasAffine) return false;
    if (HasAffine && (AffineUnits != o.AffineUnits || Affine != o.Affine)) return false;
    if (Type == Kind::NonEarth) return true;
    return ProjectionType == o.ProjectionType && DatumNumber == o.DatumNumber && Datum == o.Datum &&
           OriginLongitude == o.OriginLongitude && OriginLatitude == o.OriginLatitude &&
           StandardParallelOne == o.StandardParallelOne && StandardParallelTwo == o.StandardParallelTwo &&
           Azimuth == o.Azimuth && ScaleFactor == o.ScaleFactor && FalseEasting == o.FalseEasting &&
           FalseNorthing == o.FalseNorthing && Range == o.Range;
}

#pragma once

#include "map/MapTypes.h"

#include <array>

// A datum: ellipsoid number and the seven shift parameters (metres, arc seconds, ppm)
// with the prime meridian.
struct TMapDatum {
    int Ellipsoid = 0;
    double ShiftX = 0, ShiftY = 0, ShiftZ = 0;
    double RotateX = 0, RotateY = 0, RotateZ = 0;
    double ScaleAdjust = 0;
    double PrimeMeridian = 0;
    bool operator==(const TMapDatum&) const = default;
};

// A coordinate system: either a non-earth plane in the given units with bounds, or
// an earth system with a datum and projection parameters. Bounds of a plane system
// are only used to validate input; coordinates are kept as exact doubles.
struct TMapCoordSys {
    enum class Kind { NonEarth, Earth };

    Kind Type = Kind::NonEarth;
    TMapUnit Units = TMapUnit::Metre;
    TMapRect Bounds{-10000000.0, -10000000.0, 10000000.0, 10000000.0};
    bool HasBounds = true;

    // Earth systems
    int ProjectionType = 0; // 1 longitude/latitude, 8 transverse Mercator, ...
    int DatumNumber = 0;    // a predefined datum, 0 when Datum holds the parameters
    TMapDatum Datum;
    double OriginLongitude = 0, OriginLatitude = 0;
    double StandardParallelOne = 0, StandardParallelTwo = 0;
    double Azimuth = 0, ScaleFactor = 1, FalseEasting = 0, FalseNorthing = 0, Range = 0;

    // Affine transformation applied after the projection
    bool HasAffine = false;
    TMapUnit AffineUnits = TMapUnit::Metre;
    std::array<double, 6> Affine{1, 0, 0, 0, 1, 0}; // A, B, C, D, E, F

    static TMapCoordSys NonEarth(const TMapRect& bounds, TMapUnit units = TMapUnit::Metre);
    static TMapCoordSys Earth(int projectionType, const TMapDatum& datum, TMapUnit units);

    bool IsEarth() const { return Type == Kind::Earth; }
    // True when the point lies inside the bounds (always true without bounds).
    bool Contains(const TMapPoint& p) const;
    bool operator==(const TMapCoordSys& o) const;
    bool operator!=(const TMapCoordSys& o) const { return !(*this == o); }
};

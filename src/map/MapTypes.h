#pragma once

#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>
#include <stdexcept>
#include <vector>

// Basic value types of the map component: exact double coordinates, rectangles,
// feature kinds, units and the component's error.

// A map point. Comparison is exact (unlike QPointF, which compares fuzzily):
// two nodes are "the same" only when both doubles are equal.
struct TMapPoint {
    double x = 0.0;
    double y = 0.0;

    TMapPoint() = default;
    TMapPoint(double px, double py) : x(px), y(py) {}
    explicit TMapPoint(const QPointF& p) : x(p.x()), y(p.y()) {}

    QPointF ToQPointF() const { return QPointF(x, y); }
    bool operator==(const TMapPoint& o) const { return x == o.x && y == o.y; }
    bool operator!=(const TMapPoint& o) const { return !(*this == o); }
};

using TMapPoints = std::vector<TMapPoint>;

// A rectangle given by two corners (x1, y1) - (x2, y2). Normalised() orders them.
struct TMapRect {
    double x1 = 0.0;
    double y1 = 0.0;
    double x2 = 0.0;
    double y2 = 0.0;

    TMapRect() = default;
    TMapRect(double ax1, double ay1, double ax2, double ay2) : x1(ax1), y1(ay1), x2(ax2), y2(ay2) {}

    static TMapRect Empty(); // an "inverted" rectangle that any Extend() replaces
    bool IsEmpty() const { return x1 > x2 || y1 > y2; }
    TMapRect Normalised() const;
    double Width() const { return x2 - x1; }
    double Height() const { return y2 - y1; }
    TMapPoint Centre() const { return {(x1 + x2) / 2.0, (y1 + y2) / 2.0}; }
    void Extend(const TMapPoint& p);
    void Extend(const TMapRect& r);
    bool Contains(const TMapPoint& p) const { return p.x >= x1 && p.x <= x2 && p.y >= y1 && p.y <= y2; }
    bool Contains(const TMapRect& r) const { return r.x1 >= x1 && r.x2 <= x2 && r.y1 >= y1 && r.y2 <= y2; }
    bool Intersects(const TMapRect& r) const { return !(r.x1 > x2 || r.x2 < x1 || r.y1 > y2 || r.y2 < y1); }
    TMapRect Inflated(double d) const { return {x1 - d, y1 - d, x2 + d, y2 + d}; }
    QRectF ToQRectF() const { return QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized(); }
    bool operator==(const TMapRect& o) const { return x1 == o.x1 && y1 == o.y1 && x2 == o.x2 && y2 == o.y2; }
    bool operator!=(const TMapRect& o) const { return !(*this == o); }
};

// Feature kinds, numbered as the callers expect them.
enum class TFeatureType : int {
    Region = 0,
    Line = 1,
    Point = 2,
    Mixed = 3,
    Unknown = 4,
    Text = 5,
    None = 6,
    Multipoint = 7,
    Collection = 8,
};

// Distance units. Only the plane systems of the program are used, so a unit is
// just a factor to metres.
enum class TMapUnit : int {
    Mile = 0,
    Kilometre = 1,
    Inch = 2,
    Foot = 3,
    Yard = 4,
    Millimetre = 5,
    Centimetre = 6,
    Metre = 7,
    SurveyFoot = 8,
    NauticalMile = 9,
    Link = 30,
    Chain = 31,
    Rod = 32,
};

enum class TAreaUnit : int {
    SquareMile = 0,
    SquareKilometre = 1,
    SquareInch = 2,
    SquareFoot = 3,
    SquareYard = 4,
    SquareMillimetre = 5,
    SquareCentimetre = 6,
    SquareMetre = 7,
    SquareSurveyFoot = 8,
    Acre = 11,
    Hectare = 12,
    SquareLink = 30,
    SquareChain = 31,
    SquareRod = 32,
    Perch = 33,
    Rood = 34,
};

double MetresPerUnit(TMapUnit unit);
double SquareMetresPerUnit(TAreaUnit unit);
// Unit names as expressions write them ("m", "km", "sq m", "hectare", ...). False when unknown.
bool MapUnitFromName(const QString& name, TMapUnit* unit);
bool AreaUnitFromName(const QString& name, TAreaUnit* unit);

// Every refusal of the map component. what() is UTF-8; Text() gives the message.
class TMapError : public std::runtime_error {
public:
    explicit TMapError(const QString& text) : std::runtime_error(text.toStdString()), text_(text) {}
    const QString& Text() const { return text_; }

private:
    QString text_;
};

// Stable identity of a feature inside its layer. Keys grow with every added
// feature, so the order of keys is the order of the layer.
using TFeatureKey = std::int64_t;
constexpr TFeatureKey kNoFeature = 0;

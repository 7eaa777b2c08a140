#include "map/MapTypes.h"

#include <algorithm>
#include <limits>

TMapRect TMapRect::Empty() {
    const double inf = std::numeric_limits<double>::infinity();
    return {inf, inf, -inf, -inf};
}

TMapRect TMapRect::Normalised() const {
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}

void TMapRect::Extend(const TMapPoint& p) {
    x1 = std::min(x1, p.x);
    y1 = std::min(y1, p.y);
    x2 = std::max(x2, p.x);
    y2 = std::max(y2, p.y);
}

void TMapRect::Extend(const TMapRect& r) {
    if (r.IsEmpty()) return;
    x1 = std::min(x1, r.x1);
    y1 = std::min(y1, r.y1);
    x2 = std::max(x2, r.x2);
    y2 = std::max(y2, r.y2);
}

double MetresPerUnit(TMapUnit unit) {
    switch (unit) {
    case TMapUnit::Mile:
        return 1609.344;
    case TMapUnit::Kilometre:
        return 1000.0;
    case TMapUnit::Inch:
        return 0.0254;
    case TMapUnit::Foot:
        return 0.3048;
    case TMapUnit::Yard:
        return 0.9144;
    case TMapUnit::Millimetre:
        return 0.001;
    case TMapUnit::Centimetre:
        return 0.01;
    case TMapUnit::Metre:
        return 1.0;
    case TMapUnit::SurveyFoot:
        return 1200.0 / 3937.0;
    case TMapUnit::NauticalMile:
        return 1852.0;
    case TMapUnit::Link:
        return 0.201168;
    case TMapUnit::Chain:
        return 20.1168;
    case TMapUnit::Rod:
        return 5.0292;
    }
    return 1.0;
}

double SquareMetresPerUnit(TAreaUnit unit) {
    auto sq = [](double m) { return m * m; };
    switch (unit) {
    case TAreaUnit::SquareMile:
        return sq(1609.344);
    case TAreaUnit::SquareKilometre:
        return 1e6;
    case TAreaUnit::SquareInch:
        return sq(0.0254);
    case TAreaUnit::SquareFoot:
        return sq(0.3048);
    case TAreaUnit::SquareYard:
        return sq(0.9144);
    case TAreaUnit::SquareMillimetre:
        return 1e-6;
    case TAreaUnit::SquareCentimetre:
        return 1e-4;
    case TAreaUnit::SquareMetre:
        return 1.0;
    case TAreaUnit::SquareSurveyFoot:
        return sq(1200.0 / 3937.0);
    case TAreaUnit::Acre:
        return 4046.8564224;
    case TAreaUnit::Hectare:
        return 10000.0;
    case TAreaUnit::SquareLink:
        return sq(0.201168);
    case TAreaUnit::SquareChain:
        return sq(20.1168);
    case TAreaUnit::SquareRod:
        return sq(5.0292);
    case TAreaUnit::Perch:
        return sq(5.0292);
    case TAreaUnit::Rood:
        return 1011.7141056;
    }
    return 1.0;
}

bool MapUnitFromName(const QString& name, TMapUnit* unit) {
    static const struct {
        const char* name;
        TMapUnit unit;
    } kUnits[] = {
        {"ch", TMapUnit::Chain},         {"cm", TMapUnit::Centimetre}, {"ft", TMapUnit::Foot},
        {"in", TMapUnit::Inch},          {"km", TMapUnit::Kilometre},  {"li", TMapUnit::Link},
        {"m", TMapUnit::Metre},          {"mi", TMapUnit::Mile},       {"mm", TMapUnit::Millimetre},
        {"nmi", TMapUnit::NauticalMile}, {"rd", TMapUnit::Rod},        {"survey ft", TMapUnit::SurveyFoot},
        {"yd", TMapUnit::Yard}};
    const QString n = name.trimmed().toLower();
    for (const auto& u : kUnits) {
        if (n == QLatin1String(u.name)) {
            *unit = u.unit;
            return true;
        }
    }
    return false;
}

bool AreaUnitFromName(const QString& name, TAreaUnit* unit) {
    static const struct {
        const char* name;
        TAreaUnit unit;
    } kUnits[] = {{"acre", TAreaUnit::Acre},
                  {"hectare", TAreaUnit::Hectare},
                  {"perch", TAreaUnit::Perch},
                  {"rood", TAreaUnit::Rood},
                  {"sq ch", TAreaUnit::SquareChain},
                  {"sq cm", TAreaUnit::SquareCentimetre},
                  {"sq ft", TAreaUnit::SquareFoot},
                  {"sq in", TAreaUnit::SquareInch},
                  {"sq km", TAreaUnit::SquareKilometre},
                  {"sq li", TAreaUnit::SquareLink},
                  {"sq m", TAreaUnit::SquareMetre},
                  {"sq mi", TAreaUnit::SquareMile},
                  {"sq mm", TAreaUnit::SquareMillimetre},
                  {"sq rd", TAreaUnit::SquareRod},
                  {"sq survey ft", TAreaUnit::SquareSurveyFoot},
                  {"sq yd", TAreaUnit::SquareYard}};
    const QString n = name.trimmed().toLower();
    for (const auto& u : kUnits) {
        if (n == QLatin1String(u.name)) {
            *unit = u.unit;
            return true;
        }
    }
    return false;
}

#include "exchange/NavigatorLines.h"

#include "common/TextHelpers.h"

QStringList ValuationBlockPath() {
    return {QStringLiteral("InfoPart"), QStringLiteral("TerritorialZoneInfo"), QStringLiteral("Objects"),
            QStringLiteral("Lands"), QStringLiteral("NormativValuation")};
}

namespace {

const QString kAgroWord = QStringLiteral("агрогрупа");

int WholeNumberOrZero(const QString& text) {
    const QString t = text.trimmed();
    return IsIntegerText(t) ? int(TextToIntOrZero(t)) : 0;
}

QStringList Zone(std::initializer_list<const char*> tail) {
    QStringList p{QStringLiteral("InfoPart"), QStringLiteral("TerritorialZoneInfo")};
    for (const char* n : tail)
        p << QString::fromLatin1(n);
    return p;
}

QStringList Block(std::initializer_list<QString> tail) {
    QStringList p = ValuationBlockPath();
    for (const QString& n : tail)
        p << n;
    return p;
}

} // namespace

TNavigatorTarget NavigatorTargetOf(const TNavigatorLine& line) {
    TNavigatorTarget t;
    if (line.Kind == NavKind::Map) {
        t.ShowMap = true;
        return t;
    }
    if (line.Kind == NavKind::FileView) {
        t.ViewFile = true;
        return t;
    }
    t.OpenEditor = true;

    // Object numbers come from the caption: "    блок #3" or "    блок #3 агрогрупа #2".
    QString number;
    QString district;
    const int at = line.Caption.indexOf(QStringLiteral(" блок "));
    if (at >= 0) {
        number = line.Caption.mid(at + 6).trimmed().remove(QLatin1Char('#'));
        const int agro = number.indexOf(kAgroWord);
        if (agro >= 0) {
            district = number.left(agro).trimmed();
            number = number.mid(agro + kAgroWord.size()).trimmed();
        }
    }
    if (line.Kind == NavKind::TerritoryObject || line.Kind == NavKind::Plot) number = QStringLiteral("1");
    t.Number = WholeNumberOrZero(number);
    t.District = district.isEmpty() ? 1 : WholeNumberOrZero(district);
    const QString n = number;

    switch (line.Kind) {
    case NavKind::Editor:
        break;
    case NavKind::ServiceInfo:
        t.EditorPath = {QStringLiteral("AdditionalPart"), QStringLiteral("ServiceInfo")};
        break;
    case NavKind::Licensee:
        t.EditorPath = {QStringLiteral("AdditionalPart"), QStringLiteral("InfoLandWork"),
                        QStringLiteral("Executor")};
        break;
    case NavKind::MetricInfo:
        t.EditorPath = {QStringLiteral("InfoPart"), QStringLiteral("MetricInfo")};
        break;
    case NavKind::TerritoryNumber:
        t.EditorPath = Zone({"TerritorialZoneNumber"});
        break;
    case NavKind::TerritoryObject:
        t.EditorPath = Zone({"Externals"});
        t.MapLayer = kLayerTerrZone;
        break;
    case NavKind::Plot:
        t.EditorPath = ValuationBlockPath();
        t.MapLayer = kLayerOcDilanka;
        break;
    case NavKind::Location:
        t.EditorPath = Block({QStringLiteral("DescriptionOfTerritory")});
        break;
    case NavKind::Coefficients:
        t.EditorPath = Block({QStringLiteral("Population")});
        break;
    case NavKind::ValuationDistricts:
        t.EditorPath = Block({QStringLiteral("ValuationDistricts")});
        break;
    case NavKind::ValuationDistrict:
        t.EditorPath =
            Block({QStringLiteral("ValuationDistricts"), QStringLiteral("ValuationDistrict#") + n});
        t.MapLayer = kLayerOcRaion;
        break;
    case NavKind::AgrDistricts:
        t.EditorPath = Block({QStringLiteral("NaturalAgriculturalsDistrict")});
        break;
    case NavKind::AgrDistrict:
        t.EditorPath = Block({QStringLiteral("NaturalAgriculturalsDistrict#") + n});
        t.MapLayer = kLayerSelhRaion;
        break;
    case NavKind::AgroGroup:
        t.EditorPath = Block({QStringLiteral("NaturalAgriculturalsDistrict#") + district,
                              QStringLiteral("AgroGroups"), QStringLiteral("AgroGroup#") + n});
        t.MapLayer = kLayerAgroGroup;
        break;
    case NavKind::Executor:
        t.EditorPath = Zone({"Executor"});
        break;
    case NavKind::Chief:
        t.EditorPath = Zone({"Chief"});
        break;
    case NavKind::TechDocumentation:
        t.EditorPath = Zone({"TechDocumentation"});
        break;
    default:
        break;
    }
    return t;
}

int NavigatorLineForMapObject(const QList<TNavigatorLine>& lines, const QString& layer, int number,
                              int district) {
    int kind = -1;
    bool first = false;
    if (layer == kLayerTerrZone) {
        kind = NavKind::TerritoryObject;
        first = true;
    } else if (layer == kLayerOcDilanka) {
        kind = NavKind::Plot;
        first = true;
    } else if (layer == kLayerOcRaion) {
        kind = NavKind::ValuationDistrict;
    } else if (layer == kLayerSelhRaion) {
        kind = NavKind::AgrDistrict;
    } else if (layer == kLayerAgroGroup) {
        kind = NavKind::AgroGroup;
    } else {
        return -1;
    }
    int seen = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const TNavigatorLine& l = lines[i];
        if (l.Kind != kind) continue;
        if (kind == NavKind::AgroGroup && l.District != QString::number(district)) continue;
        ++seen;
        if (first || seen == number) return i;
    }
    return -1;
}

namespace {

// Compares path items with the numbering rule of element paths: "Name" is "Name#1"; numbers compare as
// numbers, names without regard to letter case.
bool SameItem(const QString& a, const QString& b) {
    auto split = [](const QString& s, QString* name, int* n) {
        const int h = s.indexOf(QLatin1Char('#'));
        *name = h < 0 ? s : s.left(h);
        *n = h < 0 ? 1 : WholeNumberOrZero(s.mid(h + 1));
    };
    QString na, nb;
    int ia = 0, ib = 0;
    split(a, &na, &ia);
    split(b, &nb, &ib);
    return ia == ib && na.compare(nb, Qt::CaseInsensitive) == 0;
}

} // namespace

int NavigatorLineForElementPath(const QList<TNavigatorLine>& lines, const QStringList& path) {
    int best = -1;
    qsizetype bestLen = 0;
    for (int i = 0; i < lines.size(); ++i) {
        const TNavigatorTarget t = NavigatorTargetOf(lines[i]);
        if (!t.OpenEditor || t.EditorPath.isEmpty() || t.EditorPath.size() > path.size()) continue;
        bool prefix = true;
        for (qsizetype k = 0; k < t.EditorPath.size() && prefix; ++k)
            prefix = SameItem(t.EditorPath[k], path[k]);
        if (prefix && t.EditorPath.size() > bestLen) {
            best = i;
            bestLen = t.EditorPath.size();
        }
    }
    return best;
}

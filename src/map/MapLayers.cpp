#include "map/MapLayers.h"

#include "app/Settings.h"
#include "common/Ini.h"
#include "common/NumberFormat.h"

#include <QFile>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

// ---- standard layers

const QStringList& StandardLayerNames() {
    static const QStringList names = {
        kLayerTerrZone,      kLayerAgroGroup,     kLayerSelhRaion, kLayerOcRaion,   kLayerOcDilanka,
        kLayerInfoDistances, kLayerInfoNumbering, kLayerInfoNodes, kLayerTemporary, kLayerCosmetic};
    return names;
}

const QStringList& ClearableLayerNames() {
    static const QStringList names = StandardLayerNames().mid(0, 8);
    return names;
}

const QStringList& ThematicLayerNames() {
    static const QStringList names = StandardLayerNames().mid(0, 5);
    return names;
}

// ---- styles of the exchange-file layers

TXmlStyles DefaultXmlStyles(const TMapStyle& base) {
    auto outline = [&base](int color) {
        TMapStyle s = base;
        s.RegionPattern = FillNone;
        s.RegionBorderStyle = LineSolid;
        s.RegionBorderColor = color;
        return s;
    };
    TXmlStyles st;
    st.StyleOcTerr = outline(MapRgb(0, 0, 0));
    st.StyleOcTerr.RegionBorderWidth = 1;
    st.StyleOcDilanka = outline(MapRgb(255, 0, 0));
    st.StyleOcRaion = outline(MapRgb(0, 0, 255));
    st.StyleOcSelhRaion = outline(MapRgb(0, 153, 153));
    st.StyleOcAgroGroup = outline(MapRgb(54, 166, 42));
    st.StyleNode = base;
    st.StyleNode.SymbolType = SymbolVector;
    st.StyleNode.SymbolCharacter = 34;
    st.StyleNode.SymbolVectorSize = 4;
    st.StyleNode.SymbolVectorColor = MapRgb(255, 0, 0);
    st.StylePlaceholder = base;
    st.StylePlaceholder.SymbolType = SymbolVector;
    st.StylePlaceholder.SymbolCharacter = 1;
    return st;
}

TXmlStyles& XmlStyles() {
    static TXmlStyles styles = DefaultXmlStyles();
    return styles;
}

void LoadXmlStyles(const QString& iniFile, const TMapStyle& base) {
    TXmlStyles st = DefaultXmlStyles(base);
    auto load = [&iniFile](const QString& key, TMapStyle& style) {
        const QString text = IniReadString(iniFile, IniKeys::kXmlStyle, key, QString());
        if (text.isEmpty()) return;
        if (auto s = StyleFromText(text, style)) style = *s;
    };
    load(QStringLiteral("StyleOcTerr"), st.StyleOcTerr);
    load(QStringLiteral("StyleOcDilanka"), st.StyleOcDilanka);
    load(QStringLiteral("StyleOcRaion"), st.StyleOcRaion);
    load(QStringLiteral("StyleOcSelhRaion"), st.StyleOcSelhRaion);
    load(QStringLiteral("StyleOcAgroGroup"), st.StyleOcAgroGroup);
    load(QStringLiteral("StyleNode"), st.StyleNode);
    XmlStyles() = st;
}

TMapStyle LayerStyleFor(const QString& layerName, const TXmlStyles& styles) {
    if (layerName == kLayerTerrZone) return styles.StyleOcTerr;
    if (layerName == kLayerOcDilanka) return styles.StyleOcDilanka;
    if (layerName == kLayerOcRaion) return styles.StyleOcRaion;
    if (layerName == kLayerSelhRaion) return styles.StyleOcSelhRaion;
    if (layerName == kLayerAgroGroup) return styles.StyleOcAgroGroup;
    return DefaultMapStyle();
}

// ---- preparing the map for a file

bool PrepareMapForFile(TMap& map, const QString& path, int precisionClass) {
    map.RemoveAllLayers();
    const TMapCoordSys cs = CoordSysForFile(path, precisionClass);
    map.MapUnit = TMapUnit::Metre;
    map.NumericCoordSys = cs;
    map.DisplayCoordSys = cs;

    auto textField = [](const QString& name, int width) {
        TMapField f;
        f.Name = name;
        f.Type = TFieldType::String;
        f.Width = width;
        return f;
    };
    const std::vector<TMapField> uidParent = {textField(QStringLiteral("uid"), 32),
                                              textField(QStringLiteral("parent"), 32)};
    std::vector<TMapField> params;
    for (int i = 1; i <= 12; ++i)
        params.push_back(textField(QStringLiteral("PARAM%1").arg(i), 250));

    const QStringList& names = StandardLayerNames();
    for (int i = 0; i < names.size(); ++i) {
        TMapLayerInfo info;
        info.Name = names[i];
        info.TableStorageType = QStringLiteral("memtable");
        info.AutoCreateDataset = true;
        info.DatasetName = names[i];
        info.OverwriteFile = true;
        info.Visible = names[i] != kLayerInfoDistances;
        if (names[i] == kLayerTemporary)
            info.Fields = params;
        else if (names[i] == kLayerCosmetic)
            info.Fields = {textField(QStringLiteral("uid"), 32)};
        else
            info.Fields = uidParent;
        info.CoordSys =
            names[i] == kLayerCosmetic
                ? TMapCoordSys::NonEarth(TMapRect(-10000000.0, -10000000.0, 10000000.0, 10000000.0))
                : cs;
        TMapLayer* layer = map.AddLayer(info, 1);
        layer->Style = LayerStyleFor(names[i], XmlStyles());
        if (names[i] == kLayerInfoDistances || names[i] == kLayerInfoNumbering) layer->Editable = true;
    }
    map.CurrentTool = ToolSelect;
    map.AutoRedraw = true;
    return true;
}

bool PrepareMapForFile(TMap& map, const QString& path) {
    return PrepareMapForFile(map, path, ReadCoordPrecision().toInt());
}

// ---- extent of a file

namespace {

bool ToNumber(const QString& text, double* value) {
    bool ok = false;
    const double v = ParseNumber(text.trimmed(), &ok, true);
    if (ok) *value = v;
    return ok;
}

void TakeEasting(TFileExtent& e, const QString& text) {
    double v;
    if (!ToNumber(text, &v)) return;
    e.minEasting = std::min(e.minEasting, v);
    e.maxEasting = std::max(e.maxEasting, v);
}

void TakeNorthing(TFileExtent& e, const QString& text) {
    double v;
    if (!ToNumber(text, &v)) return;
    e.minNorthing = std::min(e.minNorthing, v);
    e.maxNorthing = std::max(e.maxNorthing, v);
}

// The text after `key` up to the next ",", or empty without the key.
QString ValueAfter(const QString& line, const QString& key) {
    const int at = line.indexOf(key);
    if (at < 0) return QString();
    const int start = at + key.size();
    const int end = line.indexOf(QLatin1Char(','), start);
    return end < 0 ? line.mid(start) : line.mid(start, end - start);
}

} // namespace

TFileExtent ReadFileExtent(const QString& path) {
    TFileExtent e;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        e.minEasting = e.minNorthing = -10000000.0;
        e.maxEasting = e.maxNorthing = 10000000.0;
        return e;
    }
    // Coordinates are plain ASCII in every format, so the code page does not matter here.
    QStringList lines;
    for (QByteArray raw : file.readAll().split('\n')) {
        if (raw.endsWith('\r')) raw.chop(1);
        lines << QString::fromLatin1(raw);
    }
    const QString ext = path.section(QLatin1Char('.'), -1).toLower();
    if (ext == QLatin1String("in4")) {
        for (const QString& raw : lines) {
            const QString line = raw.trimmed().toUpper();
            if (!line.startsWith(QLatin1String("N="))) continue;
            TakeEasting(e, ValueAfter(line, QStringLiteral("Y=")));
            TakeNorthing(e, ValueAfter(line, QStringLiteral("X=")));
        }
    } else if (ext == QLatin1String("xml")) {
        // Every <X> and <Y> element before the polylines counts, wherever it stands on its
        // line: exchange files often keep a whole point on one line.
        static const QRegularExpression element(QStringLiteral("<([XY])>([^<]*)</\\1>"));
        for (const QString& raw : lines) {
            QString line = raw.trimmed().toUpper();
            const int polyline = line.indexOf(QLatin1String("<POLYLINE>"));
            if (polyline >= 0) line.truncate(polyline);
            for (auto it = element.globalMatch(line); it.hasNext();) {
                const auto m = it.next();
                if (m.captured(1) == QLatin1String("Y"))
                    TakeEasting(e, m.captured(2));
                else
                    TakeNorthing(e, m.captured(2));
            }
            if (polyline >= 0) break;
        }
    } else if (ext == QLatin1String("json") || ext == QLatin1String("geojson")) {
        QString all = lines.join(QString());
        all.remove(QLatin1Char(' '));
        all.remove(QLatin1Char('\t'));
        for (int i = 0; i + 1 < all.size(); ++i) {
            if (all[i] != QLatin1Char('[') || !all[i + 1].isDigit()) continue;
            const int end = all.indexOf(QLatin1Char(']'), i + 1);
            if (end < 0) break;
            const QStringList pair = all.mid(i + 1, end - i - 1).split(QLatin1Char(','));
            if (pair.size() >= 2) {
                TakeEasting(e, pair[0]);
                TakeNorthing(e, pair[1]);
            }
            i = end;
        }
    } else if (ext == QLatin1String("csv")) {
        for (const QString& line : lines) {
            const QStringList f = line.split(QLatin1Char(','));
            if (f.size() < 3) continue;
            TakeEasting(e, f[1]);
            TakeNorthing(e, f[2]);
        }
    } else if (ext == QLatin1String("txt")) {
        for (QString line : lines) {
            line.replace(QLatin1Char('\t'), QLatin1Char(' '));
            line = line.simplified();
            line.replace(QLatin1Char(','), QLatin1Char('.'));
            const QStringList f = line.split(QLatin1Char(' '));
            if (f.size() < 3) continue;
            TakeEasting(e, f[2]);
            TakeNorthing(e, f[1]);
        }
    }
    return e;
}

namespace {

TMapRect BoundsOfClass(int cls, double ce, double cn) {
    if (cls == 3) {
        const double ke = std::trunc(ce / 500000.0), kn = std::trunc(cn / 500000.0);
        return {ke * 500000.0, kn * 500000.0, ke * 500000.0 + 500000.0, kn * 500000.0 + 500000.0};
    }
    if (cls == 4) {
        const double ke = std::trunc(ce / 50000.0), kn = std::trunc(cn / 50000.0);
        return {ke * 50000.0 - 50000.0, kn * 50000.0 - 50000.0, ke * 50000.0 + 50000.0,
                kn * 50000.0 + 50000.0};
    }
    return {-10000000.0, -10000000.0, 10000000.0, 10000000.0};
}

} // namespace

int ExtentClass(const TFileExtent& e, int requestedClass, TMapRect* bounds) {
    const double extent = std::max(e.maxEasting - e.minEasting, e.maxNorthing - e.minNorthing);
    int cls = extent >= 1000000.0 ? 2 : (extent >= 100000.0 ? 3 : 4);
    if (requestedClass == 2 || requestedClass == 3) cls = std::min(cls, requestedClass);
    const double ce = (e.minEasting + e.maxEasting) / 2.0, cn = (e.minNorthing + e.maxNorthing) / 2.0;
    TMapRect r = BoundsOfClass(cls, ce, cn);
    // A plot near a cell edge may stick out of its cell: then the coarser class.
    const TMapRect need(e.minEasting, e.minNorthing, e.maxEasting, e.maxNorthing);
    while (cls > 2 && e.HasCoordinates() && !r.Contains(need)) {
        --cls;
        r = BoundsOfClass(cls, ce, cn);
    }
    if (bounds) *bounds = r;
    return cls;
}

TMapRect ExtentForFile(const QString& path, int requestedClass) {
    TMapRect r;
    ExtentClass(ReadFileExtent(path), requestedClass, &r);
    return r;
}

TMapCoordSys CoordSysForFile(const QString& path, int precisionClass) {
    if (precisionClass == 3 || precisionClass == 4)
        return TMapCoordSys::NonEarth(ExtentForFile(path, precisionClass), TMapUnit::Metre);
    return TMapCoordSys::NonEarth(TMapRect(-10000000.0, -10000000.0, 10000000.0, 10000000.0),
                                  TMapUnit::Metre);
}

// ---- feature building

bool IsDrawingTool(int tool) {
    return (tool >= 5 && tool <= 29) || (tool >= 40 && tool <= 47) || (tool >= 49 && tool <= 53);
}

void CloseRing(TMapPoints& points) {
    if (points.size() < 3) return;
    const TMapPoint& a = points.front();
    const TMapPoint& b = points.back();
    if (RoundTo4(a.x) != RoundTo4(b.x) || RoundTo4(a.y) != RoundTo4(b.y)) points.push_back(points.front());
}

std::optional<TMapFeature> BuildFeatureFromPoints(int tool, TMapPoints& points, const TMapStyle& style) {
    try {
        if (tool == ToolDrawPoint) {
            if (points.empty()) return std::nullopt;
            return TMapFeature::MakePoint(points.front(), style);
        }
        if (tool != ToolDrawPolyline && tool != ToolDrawRegion) return std::nullopt;
        if (points.size() >= 2 && points.back() == points[points.size() - 2]) points.pop_back();
        if (points.size() < 2) return std::nullopt;
        if (tool == ToolDrawRegion) {
            if (points.size() == 2) points.push_back(points.front());
            CloseRing(points);
            return TMapFeature::MakeRegion(points, style);
        }
        return TMapFeature::MakeLine(points, style);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// ---- rounding

double RoundTo4(double value) {
    if (!std::isfinite(value) || value == 0.0) return value;
    // 15 significant digits as d.dddddddddddddde±x
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    const QString s = QString::fromLatin1(buf);
    const int ePos = s.indexOf(QLatin1Char('e'));
    const QString digits = s.left(1) + s.mid(2, ePos - 2); // 15 digits
    const int exp = s.mid(ePos + 1).toInt();
    // Fixed notation: integer digits and decimal digits.
    QString intPart, decPart;
    if (exp >= 0) {
        intPart = digits.left(exp + 1);
        while (intPart.size() < exp + 1)
            intPart += QLatin1Char('0');
        decPart = digits.mid(exp + 1);
    } else {
        intPart = QStringLiteral("0");
        decPart = QString(-exp - 1, QLatin1Char('0')) + digits;
    }
    decPart = decPart.left(5); // cut five characters after the decimal point
    const double sign = value < 0 ? -1.0 : 1.0;
    if (decPart.size() < 5) {
        bool ok = false;
        const double v =
            (intPart + QLatin1Char('.') + (decPart.isEmpty() ? QStringLiteral("0") : decPart)).toDouble(&ok);
        return sign * v;
    }
    // Round the five decimals to four, halves to even.
    const qint64 n = (intPart + decPart).toLongLong();
    qint64 q = n / 10;
    const qint64 r = n % 10;
    if (r > 5 || (r == 5 && (q % 2) != 0)) ++q;
    return sign * (static_cast<double>(q) / 10000.0);
}

TCoordRounding& CoordRounding() {
    static TCoordRounding settings;
    return settings;
}

double RoundCoordinate(double value, int decimals) {
    int n = decimals;
    if (decimals == -1) {
        if (!CoordRounding().PointCoordRoundToUse) return value;
        n = CoordRounding().PointCoordRoundTo;
    }
    if (n < 0) return value;
    if (n == 0) return std::nearbyint(value);
    const QString text = FormatFloatPattern(QStringLiteral("0.") + QString(n, QLatin1Char('0')), value) +
                         QStringLiteral("00000000");
    bool ok = false;
    const double v = ParseNumber(text, &ok);
    return ok ? v : value;
}

// ---- measurements

double MapDistance(TMap& map, double x1, double y1, double x2, double y2) {
    const TMapUnit saved = map.MapUnit;
    map.MapUnit = TMapUnit::Metre;
    const double d = map.Distance(x1, y1, x2, y2);
    map.MapUnit = saved;
    return d;
}

double FeatureArea(TMap& map, const TMapFeature& feature) {
    if (feature.Type != TFeatureType::Region || feature.Parts.empty() || feature.Parts.front().size() < 4)
        return 0.0;
    const TAreaUnit saved = map.AreaUnit;
    map.AreaUnit = TAreaUnit::SquareMetre;
    const double a = map.FeatureAreaInUnits(feature);
    map.AreaUnit = saved;
    return a;
}

// ---- feature list

void TMapXFeaturesList::Clear() {
    features_.clear();
    texts_.clear();
}

void TMapXFeaturesList::Add(const TMapFeatureRef& feature) {
    features_.push_back(feature);
    texts_ << QString();
}

void TMapXFeaturesList::AddAll(const std::vector<TMapFeatureRef>& features) {
    for (const auto& f : features)
        Add(f);
}

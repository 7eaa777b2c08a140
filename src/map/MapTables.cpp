#include "map/MapTables.h"

#include "common/Ini.h"
#include "common/Messages.h"

#include <QFileInfo>

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include <memory>

namespace {

QString FromUtf8(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

TFieldType FieldTypeOf(OGRFieldType t) {
    switch (t) {
    case OFTInteger:
        return TFieldType::Integer;
    case OFTInteger64:
        return TFieldType::Integer;
    case OFTReal:
        return TFieldType::Float;
    case OFTDate:
    case OFTDateTime:
        return TFieldType::Date;
    default:
        return TFieldType::String;
    }
}

void AddRing(OGRGeometryH ring, TMapPoints& out) {
    const int n = OGR_G_GetPointCount(ring);
    out.reserve(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        out.emplace_back(OGR_G_GetX(ring, i), OGR_G_GetY(ring, i));
}

// Collects the geometry into a feature; returns false for empty or unsupported kinds.
bool Collect(OGRGeometryH g, TMapFeature& f) {
    if (!g) return false;
    const OGRwkbGeometryType type = wkbFlatten(OGR_G_GetGeometryType(g));
    switch (type) {
    case wkbPoint:
        if (OGR_G_IsEmpty(g) || f.Type == TFeatureType::Region || f.Type == TFeatureType::Line) return false;
        f.Type = TFeatureType::Point;
        if (f.Parts.empty()) f.Parts.push_back({TMapPoint(OGR_G_GetX(g, 0), OGR_G_GetY(g, 0))});
        return true;
    case wkbLineString: {
        if (f.Type != TFeatureType::None && f.Type != TFeatureType::Line) return false;
        TMapPoints part;
        AddRing(g, part);
        if (part.size() < 2) return false;
        f.Type = TFeatureType::Line;
        f.Parts.push_back(std::move(part));
        return true;
    }
    case wkbPolygon: {
        if (f.Type != TFeatureType::None && f.Type != TFeatureType::Region) return false;
        bool any = false;
        for (int i = 0; i < OGR_G_GetGeometryCount(g); ++i) {
            TMapPoints ring;
            AddRing(OGR_G_GetGeometryRef(g, i), ring);
            if (ring.size() < 3) continue;
            f.Parts.push_back(std::move(ring));
            any = true;
        }
        if (any) f.Type = TFeatureType::Region;
        return any;
    }
    case wkbMultiPoint:
    case wkbMultiLineString:
    case wkbMultiPolygon:
    case wkbGeometryCollection: {
        bool any = false;
        for (int i = 0; i < OGR_G_GetGeometryCount(g); ++i)
            any = Collect(OGR_G_GetGeometryRef(g, i), f) || any;
        return any;
    }
    default:
        return false;
    }
}

struct DatasetCloser {
    void operator()(void* ds) const { GDALClose(ds); }
};

} // namespace

TMapStyle MapTableStyle() {
    TMapStyle s = DefaultMapStyle();
    s.RegionPattern = FillNone;
    s.RegionBorderStyle = LineSolid;
    s.RegionBorderColor = MapRgb(120, 80, 0);
    s.RegionBorderWidth = 1;
    s.LineColor = MapRgb(120, 80, 0);
    s.SymbolType = SymbolVector;
    s.SymbolCharacter = 34;
    s.SymbolVectorColor = MapRgb(120, 80, 0);
    s.SymbolVectorSize = 5;
    return s;
}

TMapLayer* OpenMapTable(TMap& map, const QString& path, bool visible) {
    LastErrorText.clear();
    for (int i = 0; i < map.LayerCount(); ++i)
        if (map.LayerAt(i)->FileName == path) return map.LayerAt(i);
    const QFileInfo info(path);
    const QString ext = info.suffix().toLower();
    if (ext != QLatin1String("tab") && ext != QLatin1String("shp") && ext != QLatin1String("geojson") &&
        ext != QLatin1String("json")) {
        LastErrorText = QStringLiteral("Невідомий формат карти: ") + path;
        return nullptr;
    }
    static const bool registered = [] {
        GDALAllRegister();
        return true;
    }();
    (void)registered;
    CPLErrorReset();
    std::unique_ptr<void, DatasetCloser> ds(
        GDALOpenEx(path.toUtf8().constData(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!ds) {
        const QString why = FromUtf8(CPLGetLastErrorMsg());
        LastErrorText = why.isEmpty() ? QStringLiteral("Неможливо відкрити файл ") + path : why;
        return nullptr;
    }
    OGRLayerH source = GDALDatasetGetLayerCount(ds.get()) > 0 ? GDALDatasetGetLayer(ds.get(), 0) : nullptr;
    if (!source) {
        LastErrorText = QStringLiteral("Файл не містить шару карти: ") + path;
        return nullptr;
    }
    OGRFeatureDefnH defn = OGR_L_GetLayerDefn(source);
    TMapLayerInfo li;
    li.Name = info.completeBaseName();
    li.TableStorageType = ext;
    li.FileName = path;
    li.Visible = visible;
    li.CoordSys = map.NumericCoordSys;
    for (int i = 0; i < OGR_FD_GetFieldCount(defn); ++i) {
        OGRFieldDefnH fd = OGR_FD_GetFieldDefn(defn, i);
        TMapField field;
        field.Name = FromUtf8(OGR_Fld_GetNameRef(fd));
        field.Type = FieldTypeOf(OGR_Fld_GetType(fd));
        field.Width = field.Type == TFieldType::String ? std::max(0, OGR_Fld_GetWidth(fd)) : 0;
        field.Decimals = OGR_Fld_GetPrecision(fd);
        if (field.Name.isEmpty()) field.Name = QStringLiteral("FIELD%1").arg(i + 1);
        li.Fields.push_back(field);
    }
    // Read everything first, so that a broken file adds no half layer.
    std::vector<std::pair<TMapFeature, TMapRow>> features;
    const TMapStyle style = MapTableStyle();
    OGR_L_ResetReading(source);
    while (OGRFeatureH of = OGR_L_GetNextFeature(source)) {
        TMapFeature f;
        f.Style = style;
        if (Collect(OGR_F_GetGeometryRef(of), f)) {
            TMapRow row;
            for (int i = 0; i < OGR_FD_GetFieldCount(defn); ++i) {
                if (!OGR_F_IsFieldSetAndNotNull(of, i)) {
                    row.emplace_back();
                    continue;
                }
                switch (li.Fields[static_cast<size_t>(i)].Type) {
                case TFieldType::Integer:
                    row.emplace_back(static_cast<qlonglong>(OGR_F_GetFieldAsInteger64(of, i)));
                    break;
                case TFieldType::Float:
                    row.emplace_back(OGR_F_GetFieldAsDouble(of, i));
                    break;
                default:
                    row.emplace_back(FromUtf8(OGR_F_GetFieldAsString(of, i)));
                    break;
                }
            }
            features.emplace_back(std::move(f), std::move(row));
        }
        OGR_F_Destroy(of);
    }
    try {
        // A table may use a name that the map already has.
        QString name = li.Name;
        for (int n = 2; map.FindLayer(name); ++n)
            name = li.Name + QStringLiteral(" (%1)").arg(n);
        li.Name = name;
        li.DatasetName = name;
        TMapLayer* layer = map.AddLayer(li, map.LayerCount() + 1);
        layer->Style = style;
        for (auto& [f, row] : features) {
            try {
                layer->AddFeature(f, row);
            } catch (const TMapError&) {
                // A geometry the map cannot hold (too few nodes) is left out.
            }
        }
        return layer;
    } catch (const TMapError& e) {
        LastErrorText = e.Text();
        return nullptr;
    }
}

void TRecentMaps::Load(const QString& iniFile) {
    paths_.clear();
    for (int i = 0; i <= 25; ++i) {
        const QString v =
            IniReadString(iniFile, QStringLiteral("RecentFiles"), QStringLiteral("File%1").arg(i), QString());
        if (v.isEmpty()) break;
        paths_ << v;
    }
}

void TRecentMaps::Add(const QString& path) {
    for (const QString& p : paths_)
        if (p.compare(path, Qt::CaseInsensitive) == 0) return;
    paths_ << path;
}

void TRecentMaps::Remove(int index) {
    if (index >= 0 && index < paths_.size()) paths_.removeAt(index);
}

void TRecentMaps::Save(const QString& iniFile) const {
    IniEraseSection(iniFile, QStringLiteral("RecentFiles"));
    for (int i = 0; i < paths_.size(); ++i)
        IniWriteString(iniFile, QStringLiteral("RecentFiles"), QStringLiteral("File%1").arg(i), paths_[i]);
}

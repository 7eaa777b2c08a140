#include "map/MapObjectsFromExchange.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "exchange/ExchangePaths.h"
#include "map/MapLayers.h"

#include <cstring>

#include <QHash>

#include <cmath>

namespace {

QString Text(const pugi::xml_node& n) {
    return ElementText(n);
}

// The element at a "\"-separated path below start; on failure the last-error text says
// which path could not be read.
pugi::xml_node FindNode(const pugi::xml_node& start, const QString& path) {
    return FindNodeAtPath(start, {}, SplitPath(path));
}

bool ElementNamed(const pugi::xml_node& n, const char* name) {
    return n.type() == pugi::node_element && std::strcmp(n.name(), name) == 0;
}

struct TPointEntry {
    double X = 0, Y = 0;
    QString UIDP;
};

struct TLineEntry {
    QString ULID;
    std::vector<TPointEntry> Nodes;
};

// Messages for one kind of object.
struct TObjectKind {
    QString outer, inner;
};

class TBuilder {
public:
    TBuilder(TMap& map, const TMapLog& log) : map_(map), log_(log) {}

    TMapObjectsResult Run(const pugi::xml_node& root);
    TPlotContourResult RunPlot(TMapLayer& layer, const pugi::xml_node& root, const pugi::xml_node& externals,
                               const TPlotContourTexts& texts);

private:
    void Log(const QString& line) {
        if (!line.isEmpty() && log_) log_(line);
    }
    void LogLastError() { Log(LastErrorText); }

    bool ReadPoints(const pugi::xml_node& root);
    bool ReadLines(const pugi::xml_node& root);
    void Boundaries(const pugi::xml_node& element, const TObjectKind& kind);
    void RingsOf(const pugi::xml_node& boundaries, const QString& failure);

    void SelectTargetLayer(const QString& name);
    void NewMapObject();
    void SetObjectAttribute(const QString& value, const QString& field);
    void ResolveBoundaryLines(const pugi::xml_node& lines);
    void AttachRing(bool closed);
    void ResetNodes(TMapFeature& feature, int part);

    TMap& map_;
    TMapLog log_;
    std::vector<TPointEntry> points_;
    QHash<QString, std::vector<int>> pointsByUidp_;
    std::vector<TLineEntry> lines_;
    QHash<QString, int> lineByUlid_; // first entry of each ULID
    TMapPoints ring_;

    TMapLayer* target_ = nullptr;
    TMapStyle targetStyle_;
    TFeatureKey current_ = kNoFeature;
    bool currentIsPlaceholder_ = false;
};

bool TBuilder::ReadPoints(const pugi::xml_node& root) {
    LastErrorText.clear();
    points_.clear();
    pointsByUidp_.clear();
    const pugi::xml_node info = FindNode(root, QStringLiteral("InfoPart\\MetricInfo\\PointInfo"));
    if (!info) return true;
    int position = 0;
    for (pugi::xml_node child : info.children()) {
        if (child.type() != pugi::node_element) continue;
        ++position;
        if (!ElementNamed(child, "Point")) continue;
        const pugi::xml_node uidp = child.child("UIDP"), x = child.child("X"), y = child.child("Y");
        bool okX = false, okY = false;
        TPointEntry p;
        if (uidp && x && y) {
            p.UIDP = Text(uidp);
            p.X = ParseNumber(Text(x).trimmed(), &okX, true);
            p.Y = ParseNumber(Text(y).trimmed(), &okY, true);
        }
        if (!okX || !okY) {
            LastErrorText = kMsgReadPoint + QString::number(position);
            points_.clear();
            pointsByUidp_.clear();
            return false;
        }
        pointsByUidp_[p.UIDP].push_back(static_cast<int>(points_.size()));
        points_.push_back(std::move(p));
    }
    return true;
}

bool TBuilder::ReadLines(const pugi::xml_node& root) {
    LastErrorText.clear();
    lines_.clear();
    lineByUlid_.clear();
    const pugi::xml_node info = FindNode(root, QStringLiteral("InfoPart\\MetricInfo\\Polyline"));
    if (!info) return true;
    int position = 0;
    for (pugi::xml_node child : info.children()) {
        if (child.type() != pugi::node_element) continue;
        ++position;
        if (!ElementNamed(child, "PL")) continue;
        const pugi::xml_node ulid = child.child("ULID"), pts = child.child("Points");
        if (!ulid || !pts) {
            LastErrorText = kMsgReadLine + QString::number(position);
            lines_.clear();
            lineByUlid_.clear();
            return false;
        }
        TLineEntry line;
        line.ULID = Text(ulid);
        for (pugi::xml_node p : pts.children()) {
            if (p.type() != pugi::node_element) continue;
            auto it = pointsByUidp_.constFind(Text(p));
            if (it == pointsByUidp_.constEnd()) continue;
            for (int index : *it)
                line.Nodes.push_back(points_[static_cast<size_t>(index)]);
        }
        if (!lineByUlid_.contains(line.ULID)) lineByUlid_.insert(line.ULID, static_cast<int>(lines_.size()));
        lines_.push_back(std::move(line));
    }
    return true;
}

void TBuilder::SelectTargetLayer(const QString& name) {
    LastErrorText.clear();
    target_ = map_.FindLayer(name);
    current_ = kNoFeature;
    currentIsPlaceholder_ = false;
    if (!target_ || !map_.FindDataset(name)) {
        target_ = nullptr;
        LastErrorText = QStringLiteral("Шар \"%1\" відсутній на карті").arg(name);
        return;
    }
    targetStyle_ = target_->Style;
}

void TBuilder::NewMapObject() {
    LastErrorText.clear();
    current_ = kNoFeature;
    currentIsPlaceholder_ = false;
    if (!target_) return;
    try {
        current_ = target_->AddFeature(TMapFeature::MakePoint(TMapPoint(0, 0), XmlStyles().StylePlaceholder));
        currentIsPlaceholder_ = true;
    } catch (const TMapError& e) {
        LastErrorText = kMsgCreateObject + e.Text();
    }
}

void TBuilder::SetObjectAttribute(const QString& value, const QString& field) {
    LastErrorText.clear();
    if (!target_ || current_ == kNoFeature) return;
    try {
        TMapDataset& ds = target_->Dataset();
        for (int i = 0; i < ds.FieldCount(); ++i) {
            if (ds.Fields()[static_cast<size_t>(i)].Name != field) continue;
            ds.SetValue(current_, i, value);
            break;
        }
    } catch (const TMapError& e) {
        LastErrorText = kMsgUpdateObject + e.Text();
    }
}

void TBuilder::ResolveBoundaryLines(const pugi::xml_node& lines) {
    LastErrorText.clear();
    ring_.clear();
    for (pugi::xml_node line : lines.children()) {
        if (!ElementNamed(line, "Line")) continue;
        const QString ulid = Text(line.child("ULID"));
        const pugi::xml_node fpNode = line.child("FP");
        QString fp = fpNode ? Text(fpNode) : QString();
        auto it = lineByUlid_.constFind(ulid);
        if (it == lineByUlid_.constEnd()) {
            LastErrorText = kMsgLineNotFound + ulid + kMsgLineNotFoundTail;
            ring_.clear();
            return;
        }
        const TLineEntry& entry = lines_[static_cast<size_t>(*it)];
        if (entry.Nodes.empty()) {
            LastErrorText = kMsgLineNoNodes + ulid + kMsgLineNoNodesTail;
            ring_.clear();
            return;
        }
        if (fp.isEmpty()) fp = entry.Nodes.front().UIDP;
        const bool reverse = entry.Nodes.front().UIDP != fp;
        const int n = static_cast<int>(entry.Nodes.size());
        for (int k = 0; k < n; ++k) {
            if (k == 0 && !ring_.empty()) continue; // the joining node is shared
            const TPointEntry& p = entry.Nodes[static_cast<size_t>(reverse ? n - 1 - k : k)];
            ring_.push_back(TMapPoint(p.Y, p.X));
        }
    }
}

void TBuilder::ResetNodes(TMapFeature& feature, int part) {
    // Every node is set once more inside a narrow plane system around it, rounded as the
    // coordinate setting says.
    TMapPoints& nodes = feature.Parts[static_cast<size_t>(part)];
    for (TMapPoint& p : nodes) {
        const double cx = std::nearbyint(p.x), cy = std::nearbyint(p.y);
        map_.NumericCoordSys =
            TMapCoordSys::NonEarth(TMapRect(cx - 10000, cy - 10000, cx + 10000, cy + 10000));
        p = TMapPoint(RoundCoordinate(p.x, -1), RoundCoordinate(p.y, -1));
    }
}

void TBuilder::AttachRing(bool closed) {
    LastErrorText.clear();
    const TMapCoordSys saved = map_.NumericCoordSys;
    try {
        if (ring_.empty()) return;
        if (!target_ || current_ == kNoFeature) throw TMapError(QStringLiteral("Немає об'єкта для межі"));
        if (closed) {
            if (ring_.size() == 1) {
                ring_.push_back(ring_.front());
                ring_.push_back(ring_.front());
            } else if (ring_.size() == 2) {
                ring_.push_back(ring_.front());
            }
        }
        TMapFeature feature = target_->Feature(current_);
        if (currentIsPlaceholder_) {
            TMapPoints points = ring_;
            auto region = BuildFeatureFromPoints(ToolDrawRegion, points, targetStyle_);
            if (!region) throw TMapError(QStringLiteral("Полігон не побудовано"));
            feature = *region;
            ResetNodes(feature, 0);
        } else {
            TMapPoints points = ring_;
            CloseRing(points);
            feature.AddPart(points);
            ResetNodes(feature, feature.PartCount() - 1);
        }
        target_->UpdateFeature(current_, feature);
        currentIsPlaceholder_ = false;
    } catch (const TMapError& e) {
        LastErrorText = kMsgBuildObject + e.Text();
    }
    map_.NumericCoordSys = saved;
}

void TBuilder::RingsOf(const pugi::xml_node& boundaries, const QString& failure) {
    for (pugi::xml_node boundary : boundaries.children()) {
        if (!ElementNamed(boundary, "Boundary")) continue;
        LastErrorText.clear();
        const pugi::xml_node lines = FindNode(boundary, QStringLiteral("Lines"));
        if (!lines) {
            LogLastError();
            return;
        }
        ResolveBoundaryLines(lines);
        if (!ring_.empty()) {
            AttachRing(true);
            LogLastError();
        } else {
            Log(failure + LastErrorText);
        }
    }
}

void TBuilder::Boundaries(const pugi::xml_node& element, const TObjectKind& kind) {
    const pugi::xml_node externals = element.child("Externals");
    if (!externals || points_.empty() || lines_.empty()) return;
    RingsOf(externals, kind.outer);
    if (const pugi::xml_node internals = externals.child("Internals")) RingsOf(internals, kind.inner);
}

TMapObjectsResult TBuilder::Run(const pugi::xml_node& root) {
    TMapObjectsResult result;
    ring_.clear();
    if (!root) return result;
    LastErrorText.clear();
    const pugi::xml_node plot =
        FindNode(root, QStringLiteral("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation"));
    if (!plot) return result;

    if (!ReadPoints(root)) result.CoordinatesLoaded = false;
    LogLastError();
    if (!ReadLines(root)) result.CoordinatesLoaded = false;
    LogLastError();

    // Valued plot
    SelectTargetLayer(kLayerOcDilanka);
    NewMapObject();
    LogLastError();
    SetObjectAttribute(QStringLiteral("1"), QStringLiteral("uid"));
    LogLastError();
    Boundaries(plot, {kMsgOuterPlot, kMsgInnerPlot});

    // Valuation districts
    SelectTargetLayer(kLayerOcRaion);
    if (const pugi::xml_node districts = plot.child("ValuationDistricts")) {
        int i = 0;
        for (pugi::xml_node d : districts.children()) {
            if (d.type() != pugi::node_element) continue;
            if (ElementNamed(d, "ValuationDistrict")) {
                NewMapObject();
                LogLastError();
                SetObjectAttribute(QString::number(i + 1), QStringLiteral("uid"));
                LogLastError();
                Boundaries(d, {kMsgOuterRaion, kMsgInnerRaion});
            }
            ++i;
        }
    }

    // Natural-agricultural districts
    SelectTargetLayer(kLayerSelhRaion);
    int k = 0;
    for (pugi::xml_node d : plot.children("NaturalAgriculturalsDistrict")) {
        ++k;
        NewMapObject();
        LogLastError();
        SetObjectAttribute(QString::number(k), QStringLiteral("uid"));
        LogLastError();
        Boundaries(d, {kMsgOuterSelh, kMsgInnerSelh});
    }
    result.NaturalDistrictCount = k;

    // Agro groups: parent = ordinal of the district, uid = ordinal within it
    SelectTargetLayer(kLayerAgroGroup);
    k = 0;
    for (pugi::xml_node d : plot.children("NaturalAgriculturalsDistrict")) {
        ++k;
        const pugi::xml_node groups = d.child("AgroGroups");
        if (!groups) continue;
        int j = 0;
        for (pugi::xml_node g : groups.children()) {
            if (g.type() != pugi::node_element) continue;
            if (ElementNamed(g, "AgroGroup")) {
                NewMapObject();
                LogLastError();
                SetObjectAttribute(QString::number(k), QStringLiteral("parent"));
                LogLastError();
                SetObjectAttribute(QString::number(j + 1), QStringLiteral("uid"));
                LogLastError();
                Boundaries(g, {kMsgOuterAgro, kMsgInnerAgro});
            }
            ++j;
        }
    }

    // Territorial zone
    SelectTargetLayer(kLayerTerrZone);
    const pugi::xml_node zone = root.child("InfoPart").child("TerritorialZoneInfo");
    if (zone && zone.child("Externals")) {
        NewMapObject();
        LogLastError();
        SetObjectAttribute(QStringLiteral("1"), QStringLiteral("uid"));
        LogLastError();
        Boundaries(zone, {kMsgOuterTerr, kMsgInnerTerr});
    }

    points_.clear();
    pointsByUidp_.clear();
    lines_.clear();
    lineByUlid_.clear();
    ring_.clear();
    return result;
}

TPlotContourResult TBuilder::RunPlot(TMapLayer& layer, const pugi::xml_node& root,
                                     const pugi::xml_node& externals, const TPlotContourTexts& texts) {
    TPlotContourResult result;
    ReadPoints(root);
    ReadLines(root);
    if (points_.empty() || lines_.empty()) {
        result.Failure = texts.NoCoordinates;
        return result;
    }
    target_ = &layer;
    targetStyle_ = layer.Style;
    current_ = kNoFeature;
    auto rings = [&](const pugi::xml_node& parent, const QString& failure) {
        if (!parent) return true;
        for (pugi::xml_node boundary : parent.children()) {
            if (!ElementNamed(boundary, "Boundary")) continue;
            LastErrorText.clear();
            const pugi::xml_node lines = FindNode(boundary, QStringLiteral("Lines"));
            if (!lines) {
                result.Failure = texts.NoLines + QLatin1Char('\r') + LastErrorText;
                return false;
            }
            ResolveBoundaryLines(lines);
            if (ring_.empty()) {
                result.Failure = failure + QLatin1Char('\r') + LastErrorText;
                return false;
            }
            if (ring_.size() <= 2) continue;
            const TMapCoordSys saved = map_.NumericCoordSys;
            try {
                TMapPoints points = ring_;
                if (current_ == kNoFeature) {
                    auto region = BuildFeatureFromPoints(ToolDrawRegion, points, targetStyle_);
                    if (region) {
                        ResetNodes(*region, 0);
                        current_ = layer.AddFeature(*region);
                    }
                } else {
                    TMapFeature feature = layer.Feature(current_);
                    CloseRing(points);
                    feature.AddPart(points);
                    ResetNodes(feature, feature.PartCount() - 1);
                    layer.UpdateFeature(current_, feature);
                }
            } catch (const TMapError&) {
                // A ring that cannot become part of the feature adds nothing.
            }
            map_.NumericCoordSys = saved;
        }
        return true;
    };
    if (rings(externals, texts.Outer)) rings(externals.child("Internals"), texts.Inner);
    result.Built = current_ != kNoFeature && layer.HasFeature(current_);
    LastErrorText.clear();
    return result;
}

} // namespace

TPlotContourResult BuildPlotContour(TMapLayer& layer, TMap& map, const pugi::xml_node& documentElement,
                                    const pugi::xml_node& externals, const TPlotContourTexts& texts) {
    TBuilder builder(map, TMapLog());
    return builder.RunPlot(layer, documentElement, externals, texts);
}

TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const pugi::xml_node& documentElement,
                                                  const TMapLog& log) {
    TBuilder builder(map, log);
    return builder.Run(documentElement);
}

TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const pugi::xml_document& document,
                                                  const TMapLog& log) {
    return BuildMapObjectsFromExchangeFile(map, document.document_element(), log);
}

TMapObjectsResult BuildMapObjectsFromExchangeFile(TMap& map, const ExchangeDocument& document,
                                                  const TMapLog& log) {
    return BuildMapObjectsFromExchangeFile(map, document.DocumentElement(), log);
}

TFeatureKey FindMapObject(const TMapLayer& layer, int ordinal, const QString& parent) {
    if (ordinal < 1) return kNoFeature;
    const TMapDataset& ds = layer.Dataset();
    const bool byParent = !parent.isEmpty() && ds.FieldIndex(QStringLiteral("parent")) >= 0;
    int count = 0;
    for (TFeatureKey key : layer.FeatureKeys()) {
        if (byParent && ds.Text(key, QStringLiteral("parent")) != parent) continue;
        if (++count == ordinal) return key;
    }
    return kNoFeature;
}

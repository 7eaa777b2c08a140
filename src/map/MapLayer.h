#pragma once

#include "map/MapCoordSys.h"
#include "map/MapExpression.h"
#include "map/MapFeature.h"
#include "map/MapSpatialIndex.h"

#include <QPointF>
#include <QString>
#include <QVariant>

#include <memory>
#include <vector>

class TMap;
class TMapLayer;

// Field types, numbered as the callers expect them.
enum class TFieldType : int {
    String = 0,
    Numeric = 1,
    Date = 2,
    Integer = 3,
    SmallInt = 4,
    Float = 5,
    Logical = 6
};

struct TMapField {
    QString Name;
    TFieldType Type = TFieldType::String;
    int Width = 0; // texts longer than a positive width are cut to it
    int Decimals = 0;
    bool Indexed = false;
    QString Expression; // not empty for a computed field
    bool IsComputed() const { return !Expression.isEmpty(); }
};

// One value per field, in field order (computed fields keep no value).
using TMapRow = std::vector<QVariant>;

// The attribute table of a layer: its fields and one row per feature.
class TMapDataset {
public:
    const QString& Name() const { return name_; }
    TMapLayer* Layer() const { return layer_; }

    const std::vector<TMapField>& Fields() const { return fields_; }
    int FieldCount() const { return static_cast<int>(fields_.size()); }
    // Case-insensitive; -1 when there is no such field.
    int FieldIndex(const QString& name) const;

    // A new field; a duplicate or empty name is refused with TMapError.
    void AddField(const TMapField& field);
    void AddTextField(const QString& name, int width);
    // A field whose value is the expression (see TMapExpression); refused with TMapError
    // when the expression uses anything outside the language.
    void AddComputedField(const QString& name, const QString& expression);

    // The value of a field for a feature; computed fields are evaluated. Throws TMapError
    // for an unknown feature or field.
    QVariant Value(TFeatureKey key, int field) const;
    QVariant Value(TFeatureKey key, const QString& field) const;
    // The value as text; empty for an unknown field or feature.
    QString Text(TFeatureKey key, const QString& field) const;
    // Sets a stored field; refused with TMapError for an unknown feature or field, or a
    // computed field.
    void SetValue(TFeatureKey key, const QString& field, const QVariant& value);
    void SetValue(TFeatureKey key, int field, const QVariant& value);
    TMapRow Row(TFeatureKey key) const;

private:
    friend class TMapLayer;
    QVariant Stored(int field, const QVariant& value) const;

    QString name_;
    TMapLayer* layer_ = nullptr;
    std::vector<TMapField> fields_;
    std::vector<std::shared_ptr<const TMapExpression>> expressions_; // parallel to fields_
};

enum class TLayerKind : int { Normal = 0, Raster = 2, Seamless = 4 };

// How features are found: by their centroid inside the area, entirely inside it, or
// touching it.
enum class TSearchType : int { CentroidWithin = 0, EntirelyWithin = 1, PartiallyWithin = 2 };

struct TLabelProperties {
    bool Visible = false;
    TMapStyle Style;     // text
    TMapStyle LineStyle; // leaders
    bool LabelZoom = false;
    double LabelZoomMin = 0, LabelZoomMax = 0;
    QString DataField; // field (or computed field) name
    int Position = 0;  // 0 centre, 1-8 around it
    int Offset = 0;    // points
    bool Parallel = false;
    bool Duplicate = false;
    bool Overlap = false;
    bool PartialSegments = false;
    int LabelMax = -1; // -1: no limit
    int LineType = 0;  // 0 none, 1 simple, 2 arrow
    bool operator==(const TLabelProperties&) const = default;
};

// A control point of a raster layer: a map point and the image pixel on it.
struct TRasterControlPoint {
    TMapPoint Map;
    QPointF Pixel;
};

// How a layer is created: a memory table with a dataset and fields, or a file.
struct TMapLayerInfo {
    QString Name;
    TLayerKind Kind = TLayerKind::Normal;
    QString TableStorageType = QStringLiteral("memtable");
    bool AutoCreateDataset = true;
    QString DatasetName; // the layer name when empty
    bool OverwriteFile = true;
    TMapCoordSys CoordSys;
    std::vector<TMapField> Fields;
    bool Visible = true;
    QString FileName; // table, shape or raster image file
};

// A layer: its display properties, features, dataset, selection and spatial index.
class TMapLayer {
public:
    explicit TMapLayer(const TMapLayerInfo& info, TMap* map = nullptr);
    TMapLayer(const TMapLayer&) = delete;
    TMapLayer& operator=(const TMapLayer&) = delete;

    TMap* Map() const { return map_; }

    // Display properties
    QString Name;
    TLayerKind Kind = TLayerKind::Normal;
    QString FileName; // empty for a memory table
    TMapCoordSys CoordSys;
    bool Visible = true;
    bool Editable = false;
    bool Selectable = true;
    bool ZoomLayer = false; // drawn only while the zoom lies in [ZoomMin, ZoomMax]
    double ZoomMin = 0, ZoomMax = 0;
    bool OverrideStyle = false; // draw every feature with Style
    TMapStyle Style;            // the layer's style; new features copy it
    bool ShowNodes = false;
    bool ShowLineDirection = false;
    bool ShowCentroids = false;
    TLabelProperties Labels;
    std::vector<TRasterControlPoint> RasterControlPoints;

    bool IsMemoryTable() const { return FileName.isEmpty(); }
    // The zoom range allows drawing at this zoom.
    bool VisibleAtZoom(double zoom) const;

    // Features, in layer order (the order in which they were added).
    int FeatureCount() const { return static_cast<int>(entries_.size()); }
    std::vector<TFeatureKey> FeatureKeys() const;
    TFeatureKey KeyAt(int index) const; // 0-based; kNoFeature when out of range
    int IndexOf(TFeatureKey key) const; // -1 when not in the layer
    bool HasFeature(TFeatureKey key) const { return IndexOf(key) >= 0; }
    const TMapFeature* FindFeature(TFeatureKey key) const;
    const TMapFeature& Feature(TFeatureKey key) const; // throws TMapError when missing

    // Adds a copy of the feature (with the row's values) and returns its key. A feature
    // of no plain kind, or with too few nodes (point 1, line 2, region ring 3), is
    // refused with TMapError.
    TFeatureKey AddFeature(const TMapFeature& feature, const TMapRow& row = {});
    // Replaces the geometry, style and caption in place; the row stays.
    void UpdateFeature(TFeatureKey key, const TMapFeature& feature);
    void DeleteFeature(TFeatureKey key);
    void DeleteAllFeatures();
    TMapRect Bounds() const; // of all features; empty without features

    TMapDataset& Dataset() { return dataset_; }
    const TMapDataset& Dataset() const { return dataset_; }

    // Selection; every change notifies the map (TMap::SelectionChanged).
    std::vector<TFeatureKey> Selection() const; // in layer order
    int SelectionCount() const { return static_cast<int>(selection_.size()); }
    bool IsSelected(TFeatureKey key) const;
    void SelectionReplace(const std::vector<TFeatureKey>& keys);
    void SelectionAdd(TFeatureKey key);
    void SelectionRemove(TFeatureKey key);
    void SelectionClear();

    // Search, results in layer order. At a point: regions containing it, other features
    // within the tolerance (map units).
    std::vector<TFeatureKey> SearchAtPoint(const TMapPoint& p, double tolerance = 0) const;
    std::vector<TFeatureKey> SearchWithinRectangle(const TMapRect& rect,
                                                   TSearchType type = TSearchType::PartiallyWithin) const;
    std::vector<TFeatureKey> SearchWithinDistance(const TMapPoint& centre, double radius,
                                                  TSearchType type = TSearchType::PartiallyWithin) const;

    // Layers with at least this many features answer searches through the spatial index.
    static constexpr int kIndexThreshold = 64;

private:
    friend class TMapDataset;
    struct Entry {
        TFeatureKey key;
        TMapFeature feature;
        TMapRow row;
        TMapRect bounds;
    };
    Entry* FindEntry(TFeatureKey key);
    const Entry* FindEntry(TFeatureKey key) const;
    std::vector<TFeatureKey> Candidates(const TMapRect& area) const;
    void NotifySelection();
    static void Validate(const TMapFeature& feature);

    TMap* map_ = nullptr;
    TMapDataset dataset_;
    std::vector<Entry> entries_; // sorted by key
    TFeatureKey nextKey_ = 1;
    std::vector<TFeatureKey> selection_; // sorted
    mutable TMapSpatialIndex index_;
    mutable bool indexDirty_ = true;
};

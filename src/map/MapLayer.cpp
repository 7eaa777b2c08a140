#include "map/MapLayer.h"

#include "map/MapControl.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <cmath>

// ---- dataset

int TMapDataset::FieldIndex(const QString& name) const {
    for (size_t i = 0; i < fields_.size(); ++i)
        if (fields_[i].Name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
    return -1;
}

void TMapDataset::AddField(const TMapField& field) {
    if (field.Name.trimmed().isEmpty()) throw TMapError(QStringLiteral("Порожня назва поля"));
    if (FieldIndex(field.Name) >= 0)
        throw TMapError(QStringLiteral("Поле \"%1\" вже є у наборі даних \"%2\"").arg(field.Name, name_));
    std::shared_ptr<const TMapExpression> expr;
    if (field.IsComputed())
        expr = TMapExpression::Parse(field.Expression, [this](const QString& n) { return FieldIndex(n); });
    fields_.push_back(field);
    expressions_.push_back(expr);
}

void TMapDataset::AddTextField(const QString& name, int width) {
    TMapField f;
    f.Name = name;
    f.Type = TFieldType::String;
    f.Width = width;
    AddField(f);
}

void TMapDataset::AddComputedField(const QString& name, const QString& expression) {
    TMapField f;
    f.Name = name;
    f.Type = TFieldType::String;
    f.Expression = expression.isEmpty() ? QStringLiteral(" ") : expression;
    AddField(f);
}

QVariant TMapDataset::Stored(int field, const QVariant& value) const {
    const TMapField& f = fields_[static_cast<size_t>(field)];
    if (!value.isValid() || value.isNull()) return QVariant();
    switch (f.Type) {
    case TFieldType::String: {
        QString t = value.toString();
        if (f.Width > 0 && t.size() > f.Width) t.truncate(f.Width);
        return t;
    }
    case TFieldType::Logical:
        return value.toBool();
    case TFieldType::Date:
        return value;
    case TFieldType::Integer:
    case TFieldType::SmallInt:
        return static_cast<qlonglong>(std::llround(value.toDouble()));
    case TFieldType::Numeric:
    case TFieldType::Float:
        return value.toDouble();
    }
    return value;
}

QVariant TMapDataset::Value(TFeatureKey key, int field) const {
    const TMapLayer::Entry* e = layer_ ? layer_->FindEntry(key) : nullptr;
    if (!e) throw TMapError(QStringLiteral("Об'єкт %1 відсутній у наборі даних \"%2\"").arg(key).arg(name_));
    if (field < 0 || field >= FieldCount())
        throw TMapError(QStringLiteral("Поле %1 відсутнє у наборі даних \"%2\"").arg(field).arg(name_));
    if (const auto& expr = expressions_[static_cast<size_t>(field)])
        return expr->Evaluate(e->feature, [this, key](int i) { return Value(key, i); });
    if (static_cast<size_t>(field) < e->row.size()) return e->row[static_cast<size_t>(field)];
    return QVariant();
}

QVariant TMapDataset::Value(TFeatureKey key, const QString& field) const {
    const int i = FieldIndex(field);
    if (i < 0)
        throw TMapError(QStringLiteral("Поле \"%1\" відсутнє у наборі даних \"%2\"").arg(field, name_));
    return Value(key, i);
}

QString TMapDataset::Text(TFeatureKey key, const QString& field) const {
    const int i = FieldIndex(field);
    if (i < 0 || !layer_ || !layer_->FindEntry(key)) return QString();
    const QVariant v = Value(key, i);
    if (v.typeId() == QMetaType::Double) return FormatGeneral(v.toDouble());
    return v.toString();
}

void TMapDataset::SetValue(TFeatureKey key, int field, const QVariant& value) {
    TMapLayer::Entry* e = layer_ ? layer_->FindEntry(key) : nullptr;
    if (!e) throw TMapError(QStringLiteral("Об'єкт %1 відсутній у наборі даних \"%2\"").arg(key).arg(name_));
    if (field < 0 || field >= FieldCount())
        throw TMapError(QStringLiteral("Поле %1 відсутнє у наборі даних \"%2\"").arg(field).arg(name_));
    if (fields_[static_cast<size_t>(field)].IsComputed())
        throw TMapError(QStringLiteral("Поле \"%1\" обчислюється і не змінюється").arg(fields_[field].Name));
    if (e->row.size() < fields_.size()) e->row.resize(fields_.size());
    e->row[static_cast<size_t>(field)] = Stored(field, value);
}

void TMapDataset::SetValue(TFeatureKey key, const QString& field, const QVariant& value) {
    const int i = FieldIndex(field);
    if (i < 0)
        throw TMapError(QStringLiteral("Поле \"%1\" відсутнє у наборі даних \"%2\"").arg(field, name_));
    SetValue(key, i, value);
}

TMapRow TMapDataset::Row(TFeatureKey key) const {
    const TMapLayer::Entry* e = layer_ ? layer_->FindEntry(key) : nullptr;
    if (!e) return {};
    TMapRow row = e->row;
    row.resize(fields_.size());
    return row;
}

// ---- layer

TMapLayer::TMapLayer(const TMapLayerInfo& info, TMap* map) : map_(map) {
    Name = info.Name;
    Kind = info.Kind;
    FileName = info.TableStorageType.compare(QLatin1String("memtable"), Qt::CaseInsensitive) == 0 &&
                       info.Kind == TLayerKind::Normal
                   ? QString()
                   : info.FileName;
    CoordSys = info.CoordSys;
    Visible = info.Visible;
    Selectable = info.Kind == TLayerKind::Normal;
    dataset_.layer_ = this;
    dataset_.name_ = info.DatasetName.isEmpty() ? info.Name : info.DatasetName;
    if (info.AutoCreateDataset)
        for (const TMapField& f : info.Fields)
            dataset_.AddField(f);
}

bool TMapLayer::VisibleAtZoom(double zoom) const {
    if (!Visible) return false;
    if (!ZoomLayer) return true;
    return zoom >= ZoomMin && zoom <= ZoomMax;
}

std::vector<TFeatureKey> TMapLayer::FeatureKeys() const {
    std::vector<TFeatureKey> keys;
    keys.reserve(entries_.size());
    for (const Entry& e : entries_)
        keys.push_back(e.key);
    return keys;
}

TFeatureKey TMapLayer::KeyAt(int index) const {
    if (index < 0 || index >= FeatureCount()) return kNoFeature;
    return entries_[static_cast<size_t>(index)].key;
}

int TMapLayer::IndexOf(TFeatureKey key) const {
    auto it = std::lower_bound(entries_.begin(), entries_.end(), key,
                               [](const Entry& e, TFeatureKey k) { return e.key < k; });
    if (it == entries_.end() || it->key != key) return -1;
    return static_cast<int>(it - entries_.begin());
}

TMapLayer::Entry* TMapLayer::FindEntry(TFeatureKey key) {
    const int i = IndexOf(key);
    return i < 0 ? nullptr : &entries_[static_cast<size_t>(i)];
}

const TMapLayer::Entry* TMapLayer::FindEntry(TFeatureKey key) const {
    const int i = IndexOf(key);
    return i < 0 ? nullptr : &entries_[static_cast<size_t>(i)];
}

const TMapFeature* TMapLayer::FindFeature(TFeatureKey key) const {
    const Entry* e = FindEntry(key);
    return e ? &e->feature : nullptr;
}

const TMapFeature& TMapLayer::Feature(TFeatureKey key) const {
    const Entry* e = FindEntry(key);
    if (!e) throw TMapError(QStringLiteral("Об'єкт %1 відсутній на шарі \"%2\"").arg(key).arg(Name));
    return e->feature;
}

void TMapLayer::Validate(const TMapFeature& f) {
    auto fail = [](const QString& why) { throw TMapError(why); };
    switch (f.Type) {
    case TFeatureType::Point:
    case TFeatureType::Text:
        if (f.Parts.size() != 1 || f.Parts[0].size() != 1)
            fail(QStringLiteral("Точковий об'єкт має мати один вузол"));
        break;
    case TFeatureType::Line:
        if (f.Parts.empty()) fail(QStringLiteral("Лінія не має вузлів"));
        for (const auto& part : f.Parts)
            if (part.size() < 2) fail(QStringLiteral("Частина лінії має менше 2 вузлів"));
        break;
    case TFeatureType::Region:
        if (f.Parts.empty()) fail(QStringLiteral("Полігон не має вузлів"));
        for (const auto& part : f.Parts)
            if (part.size() < 3) fail(QStringLiteral("Контур полігону має менше 3 вузлів"));
        break;
    default:
        fail(QStringLiteral("Тип об'єкта %1 не підтримується").arg(static_cast<int>(f.Type)));
    }
    for (const auto& part : f.Parts)
        for (const auto& p : part)
            if (!std::isfinite(p.x) || !std::isfinite(p.y)) fail(QStringLiteral("Координата не є числом"));
}

TFeatureKey TMapLayer::AddFeature(const TMapFeature& feature, const TMapRow& row) {
    Validate(feature);
    Entry e{nextKey_++, feature, row, feature.Bounds()};
    for (size_t i = 0; i < e.row.size() && i < dataset_.fields_.size(); ++i)
        e.row[i] =
            dataset_.fields_[i].IsComputed() ? QVariant() : dataset_.Stored(static_cast<int>(i), e.row[i]);
    entries_.push_back(std::move(e));
    const Entry& added = entries_.back();
    if (!indexDirty_ && !index_.Insert(added.key, added.bounds)) indexDirty_ = true;
    return added.key;
}

void TMapLayer::UpdateFeature(TFeatureKey key, const TMapFeature& feature) {
    Entry* e = FindEntry(key);
    if (!e) throw TMapError(QStringLiteral("Об'єкт %1 відсутній на шарі \"%2\"").arg(key).arg(Name));
    Validate(feature);
    if (!indexDirty_) index_.Remove(key, e->bounds);
    e->feature = feature;
    e->bounds = feature.Bounds();
    if (!indexDirty_ && !index_.Insert(key, e->bounds)) indexDirty_ = true;
}

void TMapLayer::DeleteFeature(TFeatureKey key) {
    const int i = IndexOf(key);
    if (i < 0) throw TMapError(QStringLiteral("Об'єкт %1 відсутній на шарі \"%2\"").arg(key).arg(Name));
    if (!indexDirty_) index_.Remove(key, entries_[static_cast<size_t>(i)].bounds);
    entries_.erase(entries_.begin() + i);
    auto s = std::lower_bound(selection_.begin(), selection_.end(), key);
    if (s != selection_.end() && *s == key) {
        selection_.erase(s);
        NotifySelection();
    }
}

void TMapLayer::DeleteAllFeatures() {
    entries_.clear();
    index_.Clear();
    indexDirty_ = true;
    if (!selection_.empty()) {
        selection_.clear();
        NotifySelection();
    }
}

TMapRect TMapLayer::Bounds() const {
    TMapRect r = TMapRect::Empty();
    for (const Entry& e : entries_)
        r.Extend(e.bounds);
    return r;
}

// ---- selection

void TMapLayer::NotifySelection() {
    if (map_) map_->NotifySelectionChanged();
}

std::vector<TFeatureKey> TMapLayer::Selection() const {
    return selection_;
}

bool TMapLayer::IsSelected(TFeatureKey key) const {
    return std::binary_search(selection_.begin(), selection_.end(), key);
}

void TMapLayer::SelectionReplace(const std::vector<TFeatureKey>& keys) {
    std::vector<TFeatureKey> next;
    for (TFeatureKey k : keys)
        if (HasFeature(k)) next.push_back(k);
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    if (next == selection_) return;
    selection_ = std::move(next);
    NotifySelection();
}

void TMapLayer::SelectionAdd(TFeatureKey key) {
    if (!HasFeature(key) || IsSelected(key)) return;
    selection_.insert(std::lower_bound(selection_.begin(), selection_.end(), key), key);
    NotifySelection();
}

void TMapLayer::SelectionRemove(TFeatureKey key) {
    auto s = std::lower_bound(selection_.begin(), selection_.end(), key);
    if (s == selection_.end() || *s != key) return;
    selection_.erase(s);
    NotifySelection();
}

void TMapLayer::SelectionClear() {
    if (selection_.empty()) return;
    selection_.clear();
    NotifySelection();
}

// ---- search

std::vector<TFeatureKey> TMapLayer::Candidates(const TMapRect& area) const {
    const TMapRect r = area.Normalised();
    if (FeatureCount() < kIndexThreshold) {
        std::vector<TFeatureKey> out;
        for (const Entry& e : entries_)
            if (e.bounds.Intersects(r)) out.push_back(e.key);
        return out;
    }
    if (indexDirty_) {
        std::vector<TMapSpatialIndex::Item> items;
        items.reserve(entries_.size());
        for (const Entry& e : entries_)
            items.emplace_back(e.key, e.bounds);
        index_.Build(items);
        indexDirty_ = false;
    }
    std::vector<TFeatureKey> out;
    for (TFeatureKey k : index_.Query(r)) {
        const Entry* e = FindEntry(k);
        if (e && e->bounds.Intersects(r)) out.push_back(k);
    }
    return out;
}

std::vector<TFeatureKey> TMapLayer::SearchAtPoint(const TMapPoint& p, double tolerance) const {
    const double tol = std::max(0.0, tolerance);
    std::vector<TFeatureKey> out;
    for (TFeatureKey k : Candidates(TMapRect(p.x, p.y, p.x, p.y).Inflated(tol))) {
        const TMapFeature& f = FindEntry(k)->feature;
        const bool hit = f.Type == TFeatureType::Region ? (f.ContainsPoint(p) || f.DistanceTo(p) <= tol)
                                                        : f.DistanceTo(p) <= tol;
        if (hit) out.push_back(k);
    }
    return out;
}

std::vector<TFeatureKey> TMapLayer::SearchWithinRectangle(const TMapRect& rect, TSearchType type) const {
    const TMapRect r = rect.Normalised();
    std::vector<TFeatureKey> out;
    for (TFeatureKey k : Candidates(r)) {
        const Entry& e = *FindEntry(k);
        bool hit = false;
        switch (type) {
        case TSearchType::CentroidWithin:
            hit = r.Contains(e.feature.Centroid());
            break;
        case TSearchType::EntirelyWithin:
            hit = r.Contains(e.bounds);
            break;
        case TSearchType::PartiallyWithin:
            hit = e.feature.IntersectsRect(r);
            break;
        }
        if (hit) out.push_back(k);
    }
    return out;
}

std::vector<TFeatureKey> TMapLayer::SearchWithinDistance(const TMapPoint& c, double radius,
                                                         TSearchType type) const {
    std::vector<TFeatureKey> out;
    auto within = [&](const TMapPoint& p) { return std::hypot(p.x - c.x, p.y - c.y) <= radius; };
    for (TFeatureKey k : Candidates(TMapRect(c.x, c.y, c.x, c.y).Inflated(radius))) {
        const TMapFeature& f = FindEntry(k)->feature;
        bool hit = false;
        switch (type) {
        case TSearchType::CentroidWithin:
            hit = within(f.Centroid());
            break;
        case TSearchType::EntirelyWithin:
            hit = true;
            for (const auto& part : f.Parts)
                for (const auto& p : part)
                    hit = hit && within(p);
            break;
        case TSearchType::PartiallyWithin:
            hit = f.DistanceTo(c) <= radius;
            break;
        }
        if (hit) out.push_back(k);
    }
    return out;
}

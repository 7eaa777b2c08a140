#include "map/MapControl.h"

#include <algorithm>
#include <cmath>

TMap::TMap(QObject* parent) : QObject(parent) {
    NumericCoordSys = TMapCoordSys::NonEarth(TMapRect(-10000000.0, -10000000.0, 10000000.0, 10000000.0));
    DisplayCoordSys = NumericCoordSys;
}

TMap::~TMap() = default;

TMapLayer* TMap::AddLayer(const TMapLayerInfo& info, int position) {
    if (info.Name.trimmed().isEmpty()) throw TMapError(QStringLiteral("Порожня назва шару"));
    auto layer = std::make_unique<TMapLayer>(info, this);
    TMapLayer* raw = layer.get();
    const int index = std::clamp(position - 1, 0, LayerCount());
    layers_.insert(layers_.begin() + index, std::move(layer));
    emit LayersChanged();
    return raw;
}

TMapLayer* TMap::LayerAt(int index) const {
    if (index < 0 || index >= LayerCount()) return nullptr;
    return layers_[static_cast<size_t>(index)].get();
}

TMapLayer* TMap::FindLayer(const QString& name) const {
    for (const auto& l : layers_)
        if (l->Name.compare(name, Qt::CaseInsensitive) == 0) return l.get();
    return nullptr;
}

TMapDataset* TMap::FindDataset(const QString& name) const {
    for (const auto& l : layers_)
        if (l->Dataset().Name().compare(name, Qt::CaseInsensitive) == 0) return &l->Dataset();
    return nullptr;
}

int TMap::LayerIndex(const TMapLayer* layer) const {
    for (size_t i = 0; i < layers_.size(); ++i)
        if (layers_[i].get() == layer) return static_cast<int>(i);
    return -1;
}

void TMap::RemoveLayer(TMapLayer* layer) {
    const int i = LayerIndex(layer);
    if (i < 0) return;
    const bool hadSelection = layer->SelectionCount() > 0;
    layers_.erase(layers_.begin() + i);
    emit LayersChanged();
    if (hadSelection) NotifySelectionChanged();
}

void TMap::RemoveAllLayers() {
    bool hadSelection = false;
    for (const auto& l : layers_)
        hadSelection = hadSelection || l->SelectionCount() > 0;
    layers_.clear();
    emit LayersChanged();
    if (hadSelection) NotifySelectionChanged();
}

void TMap::MoveLayer(int from, int to) {
    if (from < 0 || from >= LayerCount()) return;
    to = std::clamp(to, 0, LayerCount() - 1);
    if (from == to) return;
    auto layer = std::move(layers_[static_cast<size_t>(from)]);
    layers_.erase(layers_.begin() + from);
    layers_.insert(layers_.begin() + to, std::move(layer));
    emit LayersChanged();
}

void TMap::SetZoom(double zoom) {
    if (!(zoom > 0) || !std::isfinite(zoom)) throw TMapError(QStringLiteral("Неправильний масштаб"));
    zoom_ = zoom;
    emit ViewChanged();
}

void TMap::SetCenter(double x, double y) {
    centerX_ = x;
    centerY_ = y;
    emit ViewChanged();
}

void TMap::ZoomTo(double zoom, double x, double y) {
    if (!(zoom > 0) || !std::isfinite(zoom)) throw TMapError(QStringLiteral("Неправильний масштаб"));
    zoom_ = zoom;
    centerX_ = x;
    centerY_ = y;
    emit ViewChanged();
}

TMapRect TMap::Bounds() const {
    const double w = zoom_ * MetresPerUnit(MapUnit) / MetresPerUnit(NumericCoordSys.Units);
    const double h = w * screenHeight_ / std::max(1, screenWidth_);
    return {centerX_ - w / 2, centerY_ - h / 2, centerX_ + w / 2, centerY_ + h / 2};
}

void TMap::SetBounds(const TMapRect& rect) {
    const TMapRect r = rect.Normalised();
    double w = r.Width();
    const double aspect = static_cast<double>(screenHeight_) / std::max(1, screenWidth_);
    if (aspect > 0 && r.Height() / aspect > w) w = r.Height() / aspect;
    if (!(w > 0)) w = 1.0;
    centerX_ = (r.x1 + r.x2) / 2;
    centerY_ = (r.y1 + r.y2) / 2;
    zoom_ = w * MetresPerUnit(NumericCoordSys.Units) / MetresPerUnit(MapUnit);
    emit ViewChanged();
}

void TMap::SetScreenSize(int width, int height) {
    screenWidth_ = std::max(1, width);
    screenHeight_ = std::max(1, height);
    emit ViewChanged();
}

QTransform TMap::MapToScreenTransform() const {
    // Built around the centre, so that large coordinates only meet small offsets.
    const TMapRect b = Bounds();
    const double scale = screenWidth_ / std::max(1e-12, b.Width());
    QTransform t;
    t.translate(screenWidth_ / 2.0, screenHeight_ / 2.0);
    t.scale(scale, -scale);
    t.translate(-centerX_, -centerY_);
    return t;
}

QPointF TMap::MapToScreen(const TMapPoint& p) const {
    const TMapRect b = Bounds();
    const double scale = screenWidth_ / std::max(1e-12, b.Width());
    return {screenWidth_ / 2.0 + (p.x - centerX_) * scale, screenHeight_ / 2.0 - (p.y - centerY_) * scale};
}

TMapPoint TMap::ScreenToMap(const QPointF& pixel) const {
    const TMapRect b = Bounds();
    const double scale = screenWidth_ / std::max(1e-12, b.Width());
    return {centerX_ + (pixel.x() - screenWidth_ / 2.0) / scale,
            centerY_ - (pixel.y() - screenHeight_ / 2.0) / scale};
}

double TMap::Distance(double x1, double y1, double x2, double y2) const {
    const double d = std::hypot(x2 - x1, y2 - y1) * MetresPerUnit(NumericCoordSys.Units);
    return d / MetresPerUnit(MapUnit);
}

double TMap::FeatureAreaInUnits(const TMapFeature& feature) const {
    const double m = MetresPerUnit(NumericCoordSys.Units);
    return feature.Area() * m * m / SquareMetresPerUnit(AreaUnit);
}

void TMap::CreateCustomTool(int number, int kind, int cursor) {
    for (auto& t : customTools_)
        if (t.number == number) {
            t.kind = kind;
            t.cursor = cursor;
            return;
        }
    customTools_.push_back({number, kind, cursor});
}

bool TMap::IsCustomTool(int number) const {
    return CustomToolKind(number) >= 0;
}

int TMap::CustomToolKind(int number) const {
    for (const auto& t : customTools_)
        if (t.number == number) return t.kind;
    return -1;
}

std::vector<TMapFeatureRef> TMap::SelectedFeatures() const {
    std::vector<TMapFeatureRef> out;
    for (const auto& l : layers_)
        for (TFeatureKey k : l->Selection())
            out.push_back({l.get(), k});
    return out;
}

void TMap::ClearSelection() {
    TSelectionUpdate batch(*this);
    for (const auto& l : layers_)
        l->SelectionClear();
}

void TMap::NotifySelectionChanged() {
    if (selectionBatch_ > 0) {
        selectionPending_ = true;
        return;
    }
    emit SelectionChanged();
}

void TMap::BeginSelectionUpdate() {
    ++selectionBatch_;
}

void TMap::EndSelectionUpdate() {
    if (selectionBatch_ > 0 && --selectionBatch_ == 0 && selectionPending_) {
        selectionPending_ = false;
        emit SelectionChanged();
    }
}

void TMap::Refresh() {
    emit RefreshRequested();
}

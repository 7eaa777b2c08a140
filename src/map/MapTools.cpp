#include "map/MapTools.h"

#include "map/ViewTransform.h"

#include <cmath>

namespace {
constexpr double kDragThreshold = 3.0; // pixels before a press becomes a drag

bool IsSelectTool(int tool) {
    return tool == ToolArrow || tool == ToolSelect;
}
} // namespace

TMapToolController::TMapToolController(TMap& map, QObject* parent) : QObject(parent), map_(map) {}

bool TMapToolController::IsPolyTool() const {
    return map_.IsCustomTool(map_.CurrentTool) && map_.CustomToolKind(map_.CurrentTool) == ToolKindPolyline;
}

bool TMapToolController::NodeMode() const {
    return map_.FeatureEditMode != EditModeObjects && IsSelectTool(map_.CurrentTool);
}

double TMapToolController::Tolerance() const {
    return TViewTransform::FromMap(map_).PixelsToMap(PickTolerancePixels);
}

void TMapToolController::Reset() {
    pressed_ = false;
    dragged_ = false;
    panning_ = false;
    draggingNode_ = false;
    polyPoints_.clear();
    emit OverlayChanged();
}

std::optional<QRectF> TMapToolController::ZoomBox() const {
    const bool boxTool = map_.CurrentTool == ToolZoomIn || (IsSelectTool(map_.CurrentTool) && !draggingNode_);
    if (!pressed_ || !dragged_ || pressButton_ != Qt::LeftButton || !boxTool) return std::nullopt;
    return QRectF(pressPixel_, lastPixel_).normalized();
}

void TMapToolController::SelectAt(const TMapPoint& p, bool add) {
    const double tol = Tolerance();
    TSelectionUpdate batch(map_);
    for (int li = 0; li < map_.LayerCount(); ++li) {
        TMapLayer* layer = map_.LayerAt(li);
        if (layer->Kind != TLayerKind::Normal || !layer->Selectable || !layer->VisibleAtZoom(map_.Zoom()))
            continue;
        const std::vector<TFeatureKey> hits = layer->SearchAtPoint(p, tol);
        if (hits.empty()) continue;
        const TFeatureKey key = hits.back(); // drawn last, so on top
        if (add) {
            if (layer->IsSelected(key))
                layer->SelectionRemove(key);
            else
                layer->SelectionAdd(key);
        } else {
            map_.ClearSelection();
            layer->SelectionReplace({key});
        }
        return;
    }
    if (!add) map_.ClearSelection();
}

void TMapToolController::MousePress(const QPointF& pixel, Qt::MouseButton button,
                                    Qt::KeyboardModifiers mods) {
    const TViewTransform t = TViewTransform::FromMap(map_);
    mouse_ = t.ToMap(pixel);
    hasMouse_ = true;
    pressed_ = true;
    dragged_ = false;
    pressButton_ = button;
    pressPixel_ = lastPixel_ = pixel;
    if (button != Qt::LeftButton) return;
    const bool shift = mods.testFlag(Qt::ShiftModifier), ctrl = mods.testFlag(Qt::ControlModifier);
    const int tool = map_.CurrentTool;

    if (NodeMode()) {
        if (map_.FeatureEditMode == EditModeAddNodes) {
            if (auto side = FindSideNear(map_, mouse_, Tolerance())) {
                emit NodeAddRequested(*side, mouse_);
                pressed_ = false;
                return;
            }
        }
        if (auto node = FindNodeNear(map_, mouse_, Tolerance(), true, NodeLayersSkipped)) {
            selectedNode_ = node;
            draggingNode_ = true;
            dragTarget_ = node->Point;
            emit NodeSelected(*node);
            emit OverlayChanged();
            return;
        }
        selectedNode_.reset();
    }
    if (map_.IsCustomTool(tool)) {
        if (map_.CustomToolKind(tool) == ToolKindPolyline) {
            polyPoints_.push_back(mouse_);
            emit map_.PolyToolUsed(tool, polyPoints_.size() == 1 ? PolyToolBegin : PolyToolInProgress,
                                   polyPoints_, shift, ctrl);
            emit OverlayChanged();
        } else {
            emit map_.ToolUsed(tool, mouse_.x, mouse_.y, mouse_.x, mouse_.y, 0, shift, ctrl);
        }
    }
}

void TMapToolController::MouseMove(const QPointF& pixel, Qt::MouseButtons buttons, Qt::KeyboardModifiers) {
    mouse_ = TViewTransform::FromMap(map_).ToMap(pixel);
    hasMouse_ = true;
    lastPixel_ = pixel;
    if (pressed_ && !(buttons & pressButton_)) pressed_ = false; // the release went elsewhere
    if (pressed_ && !dragged_) {
        const QPointF d = pixel - pressPixel_;
        dragged_ = std::hypot(d.x(), d.y()) >= kDragThreshold;
    }
    if (pressed_ && dragged_) {
        if (draggingNode_) dragTarget_ = mouse_;
        const bool panTool = map_.CurrentTool == ToolPan && pressButton_ == Qt::LeftButton;
        panning_ = panTool || pressButton_ == Qt::MiddleButton;
    }
    emit OverlayChanged();
}

void TMapToolController::MouseRelease(const QPointF& pixel, Qt::MouseButton button,
                                      Qt::KeyboardModifiers mods) {
    if (!pressed_ || button != pressButton_) return;
    lastPixel_ = pixel;
    const TViewTransform t = TViewTransform::FromMap(map_);
    const TMapPoint p = t.ToMap(pixel);
    const bool wasDragged = dragged_;
    pressed_ = false;
    dragged_ = false;
    const int tool = map_.CurrentTool;

    if (panning_) {
        panning_ = false;
        PanByPixels(map_, pixel - pressPixel_);
        emit OverlayChanged();
        return;
    }
    if (button != Qt::LeftButton) return;
    if (draggingNode_) {
        draggingNode_ = false;
        if (wasDragged && selectedNode_) {
            const TNodeHit node = *selectedNode_;
            selectedNode_->Point = p;
            emit NodeDragged(node, p);
        }
        emit OverlayChanged();
        return;
    }
    const QRectF box = QRectF(pressPixel_, pixel).normalized();
    switch (tool) {
    case ToolZoomIn:
        if (wasDragged) {
            const TMapPoint a = t.ToMap(box.topLeft()), b = t.ToMap(box.bottomRight());
            ZoomToRect(map_, TMapRect(a.x, b.y, b.x, a.y));
        } else {
            ZoomAtPixel(map_, 1.0 / ClickZoomFactor, pixel);
        }
        break;
    case ToolZoomOut:
        ZoomAtPixel(map_, ClickZoomFactor, pixel);
        break;
    case ToolCenter:
        map_.SetCenter(p.x, p.y);
        break;
    case ToolArrow:
    case ToolSelect:
        if (wasDragged) {
            const TMapPoint a = t.ToMap(box.topLeft()), b = t.ToMap(box.bottomRight());
            const TMapRect r(a.x, b.y, b.x, a.y);
            TSelectionUpdate batch(map_);
            if (!mods.testFlag(Qt::ShiftModifier)) map_.ClearSelection();
            for (int li = 0; li < map_.LayerCount(); ++li) {
                TMapLayer* layer = map_.LayerAt(li);
                if (layer->Kind != TLayerKind::Normal || !layer->Selectable ||
                    !layer->VisibleAtZoom(map_.Zoom()))
                    continue;
                for (TFeatureKey k : layer->SearchWithinRectangle(r, TSearchType::CentroidWithin))
                    layer->SelectionAdd(k);
            }
        } else {
            SelectAt(p, mods.testFlag(Qt::ShiftModifier));
        }
        break;
    default:
        break;
    }
    emit OverlayChanged();
}

void TMapToolController::DoubleClick(const QPointF& pixel, Qt::MouseButton button,
                                     Qt::KeyboardModifiers mods) {
    if (button != Qt::LeftButton) return;
    const TMapPoint p = TViewTransform::FromMap(map_).ToMap(pixel);
    const int tool = map_.CurrentTool;
    if (IsPolyTool()) {
        if (polyPoints_.empty() || polyPoints_.back() != p) polyPoints_.push_back(p);
        EndPoly(false);
        return;
    }
    // The second press of a double click counts as a click of its own.
    MousePress(pixel, button, mods);
    (void)tool;
}

void TMapToolController::Wheel(const QPointF& pixel, int angleDelta) {
    if (angleDelta == 0) return;
    ZoomAtPixel(map_, std::pow(WheelZoomFactor, -angleDelta / 120.0), pixel);
    emit OverlayChanged();
}

bool TMapToolController::KeyPress(int key, Qt::KeyboardModifiers) {
    if (!IsPolyTool() || polyPoints_.empty()) return false;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        EndPoly(false);
        return true;
    }
    if (key == Qt::Key_Escape) {
        EndPoly(true);
        return true;
    }
    return false;
}

void TMapToolController::EndPoly(bool escaped) {
    const TMapPoints points = polyPoints_;
    polyPoints_.clear();
    emit map_.PolyToolUsed(map_.CurrentTool, escaped ? PolyToolEndEscaped : PolyToolEnd, points, false,
                           false);
    emit OverlayChanged();
}

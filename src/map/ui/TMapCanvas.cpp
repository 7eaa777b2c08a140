#include "map/ui/TMapCanvas.h"

#include "map/ViewTransform.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>

TMapCanvas::TMapCanvas(QWidget* parent) : QWidget(parent), tools_(map_) {
    setObjectName(QStringLiteral("Map1"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(120, 90);
    map_.SetScreenSize(std::max(1, width()), std::max(1, height()));
    connect(&map_, &TMap::ViewChanged, this, [this] {
        Invalidate();
        emit OnViewChanged();
    });
    connect(&map_, &TMap::LayersChanged, this, &TMapCanvas::Invalidate);
    connect(&map_, &TMap::RefreshRequested, this, &TMapCanvas::Invalidate);
    connect(&map_, &TMap::SelectionChanged, this, [this] {
        Invalidate();
        emit OnSelectionChanged();
    });
    connect(&map_, &TMap::ToolUsed, this,
            [this](int tool, double x1, double y1, double x2, double y2, double d, bool shift, bool ctrl) {
                emit OnToolUsed(tool, x1, y1, x2, y2, d, shift, ctrl);
            });
    connect(&map_, &TMap::PolyToolUsed, this,
            [this](int tool, int flags, const TMapPoints& points, bool, bool) {
                emit OnPolyToolUsed(tool, flags, points);
            });
    connect(&tools_, &TMapToolController::OverlayChanged, this, qOverload<>(&QWidget::update));
}

TMapPoint TMapCanvas::ScreenToMap(const QPointF& pixel) const {
    return TViewTransform::FromMap(map_).ToMap(pixel);
}

QPointF TMapCanvas::MapToScreen(const TMapPoint& p) const {
    return TViewTransform::FromMap(map_).ToScreen(p);
}

double TMapCanvas::ScreenWidthCm() const {
    return ::ScreenWidthCm(map_.ScreenWidth(), logicalDpiX());
}

void TMapCanvas::Invalidate() {
    dirty_ = true;
    update();
}

void TMapCanvas::Refresh() {
    Invalidate();
}

QImage TMapCanvas::RenderToImage(double dpr) const {
    QImage image(QSize(std::max(1, map_.ScreenWidth()), std::max(1, map_.ScreenHeight())) * dpr,
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    QPainter p(&image);
    TRenderOptions o = options_;
    o.LogicalDpi = logicalDpiX();
    TMapRenderer::Render(p, map_, o);
    return image;
}

void TMapCanvas::paintEvent(QPaintEvent*) {
    const double dpr = devicePixelRatioF();
    if (dirty_ || cache_.size() != size() * dpr) {
        cache_ = RenderToImage(dpr);
        dirty_ = false;
    }
    QPainter p(this);
    if (tools_.IsPanning()) {
        p.fillRect(rect(), options_.Background);
        p.drawImage(tools_.PanOffset(), cache_);
    } else {
        p.drawImage(QPointF(0, 0), cache_);
    }
    PaintOverlay(p);
}

void TMapCanvas::PaintOverlay(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    if (auto box = tools_.ZoomBox()) {
        p.setPen(QPen(QColor(0, 0, 0), 1, Qt::DashLine));
        p.setBrush(QColor(0, 120, 255, 30));
        p.drawRect(*box);
    }
    const TViewTransform view = TViewTransform::FromMap(map_);
    if (!tools_.PolyPoints().empty()) {
        QPolygonF line;
        for (const TMapPoint& pt : tools_.PolyPoints())
            line << view.ToScreen(pt);
        if (tools_.HasMousePoint()) line << view.ToScreen(tools_.MousePoint());
        p.setPen(QPen(QColor(220, 0, 0), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        p.setPen(QPen(QColor(220, 0, 0), 1));
        p.setBrush(Qt::white);
        for (const TMapPoint& pt : tools_.PolyPoints())
            p.drawEllipse(view.ToScreen(pt), 3, 3);
    }
    if (const auto& node = tools_.SelectedNode()) {
        const QPointF at = view.ToScreen(tools_.IsDraggingNode() ? tools_.NodeDragTarget() : node->Point);
        if (tools_.IsDraggingNode() && node->Feature.IsValid()) {
            // The sides that meet at the node follow the mouse.
            const TMapFeature* f = node->Feature.Feature();
            const TMapPoints& part = f->Parts.at(static_cast<size_t>(node->Part));
            const int n = static_cast<int>(part.size());
            const bool closed = f->Type == TFeatureType::Region && n > 1 && part.front() == part.back();
            const int count = closed ? n - 1 : n;
            const int i = node->Node % std::max(1, count);
            p.setPen(QPen(QColor(255, 0, 255), 1, Qt::DashLine));
            if (i > 0 || closed) p.drawLine(view.ToScreen(part[(i - 1 + count) % count]), at);
            if (i + 1 < count || closed) p.drawLine(at, view.ToScreen(part[(i + 1) % count]));
        }
        p.setPen(QPen(QColor(255, 0, 255), 1.5));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(at.x() - 4, at.y() - 4, 8, 8));
    }
    if (overlay_) overlay_(p);
}

void TMapCanvas::resizeEvent(QResizeEvent* e) {
    QWidget::resizeEvent(e);
    QSignalBlocker block(&map_);
    map_.SetScreenSize(std::max(1, width()), std::max(1, height()));
    Invalidate();
}

void TMapCanvas::UpdateCursor() {
    const int tool = map_.CurrentTool;
    Qt::CursorShape shape = Qt::ArrowCursor;
    if (map_.IsCustomTool(tool) || tool == ToolZoomIn || tool == ToolZoomOut)
        shape = Qt::CrossCursor;
    else if (tool == ToolPan)
        shape = tools_.IsPanning() ? Qt::ClosedHandCursor : Qt::OpenHandCursor;
    else if (map_.FeatureEditMode != EditModeObjects)
        shape = Qt::PointingHandCursor;
    if (cursor().shape() != shape) setCursor(shape);
}

bool TMapCanvas::event(QEvent* e) {
    if (e->type() == QEvent::Enter || e->type() == QEvent::MouseMove) UpdateCursor();
    // Tab and Enter belong to the map while it has the focus.
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
            keyPressEvent(k);
            return true;
        }
    }
    return QWidget::event(e);
}

void TMapCanvas::mousePressEvent(QMouseEvent* e) {
    setFocus(Qt::MouseFocusReason);
    const TMapPoint p = ScreenToMap(e->position());
    emit OnMouseDown(e->button(), e->modifiers(), p.x, p.y);
    tools_.MousePress(e->position(), e->button(), e->modifiers());
    UpdateCursor();
}

void TMapCanvas::mouseMoveEvent(QMouseEvent* e) {
    const TMapPoint p = ScreenToMap(e->position());
    emit OnMouseMove(e->buttons(), e->modifiers(), p.x, p.y);
    tools_.MouseMove(e->position(), e->buttons(), e->modifiers());
}

void TMapCanvas::mouseReleaseEvent(QMouseEvent* e) {
    tools_.MouseRelease(e->position(), e->button(), e->modifiers());
    const TMapPoint p = ScreenToMap(e->position());
    emit OnMouseUp(e->button(), e->modifiers(), p.x, p.y);
    UpdateCursor();
}

void TMapCanvas::mouseDoubleClickEvent(QMouseEvent* e) {
    const TMapPoint p = ScreenToMap(e->position());
    emit OnMouseDown(e->button(), e->modifiers(), p.x, p.y);
    tools_.DoubleClick(e->position(), e->button(), e->modifiers());
    if (e->button() == Qt::LeftButton) emit OnDblClick(p.x, p.y);
}

void TMapCanvas::wheelEvent(QWheelEvent* e) {
    tools_.Wheel(e->position(), e->angleDelta().y());
    e->accept();
}

void TMapCanvas::keyPressEvent(QKeyEvent* e) {
    emit OnKeyDown(e->key(), e->modifiers());
    if (!tools_.KeyPress(e->key(), e->modifiers())) QWidget::keyPressEvent(e);
}

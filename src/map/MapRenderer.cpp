#include "map/MapRenderer.h"

#include "map/MapControl.h"
#include "map/MapLayers.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <unordered_set>

namespace {

double PointsToPixels(double points, double dpi) {
    return points * dpi / 72.0;
}

// Screen polygon of a part; points closer than a third of a pixel to the previous one are
// dropped (they cannot be seen), the last one is always kept.
void ToScreen(const TMapPoints& part, const TViewTransform& view, QPolygonF& out) {
    out.clear();
    out.reserve(static_cast<qsizetype>(part.size()));
    constexpr double kMinStep = 0.33;
    QPointF last;
    for (size_t i = 0; i < part.size(); ++i) {
        const QPointF p = view.ToScreen(part[i]);
        if (!out.isEmpty() && i + 1 < part.size() && std::abs(p.x() - last.x()) < kMinStep &&
            std::abs(p.y() - last.y()) < kMinStep)
            continue;
        out.append(p);
        last = p;
    }
}

Qt::BrushStyle PatternBrush(int pattern) {
    switch (pattern) {
    case FillNone:
        return Qt::NoBrush;
    case FillSolid:
        return Qt::SolidPattern;
    case FillHorizontal:
        return Qt::HorPattern;
    case FillVertical:
        return Qt::VerPattern;
    case FillForwardDiagonal:
        return Qt::FDiagPattern;
    case FillBackwardDiagonal:
        return Qt::BDiagPattern;
    case FillCross:
        return Qt::CrossPattern;
    case FillDiagonalCross:
        return Qt::DiagCrossPattern;
    default:
        return pattern > 0 ? Qt::Dense5Pattern : Qt::NoBrush;
    }
}

QFont TextFont(const TMapStyle& s, double dpi) {
    QFont font(s.TextFontName);
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(PointsToPixels(s.TextFontSize, dpi)))));
    font.setBold(s.TextFontBold);
    font.setItalic(s.TextFontItalic);
    font.setUnderline(s.TextFontUnderline);
    return font;
}

// A text centred on the pixel, turned by the angle (degrees counter-clockwise); returns its
// screen rectangle (unturned) for overlap tests.
QRectF DrawText(QPainter& painter, const QPointF& at, QString text, double angle, const TMapStyle& s,
                double dpi, bool draw = true) {
    if (s.TextFontAllCaps) text = text.toUpper();
    const QFont font = TextFont(s, dpi);
    const QFontMetricsF fm(font);
    const QRectF box(-fm.horizontalAdvance(text) / 2.0, -fm.height() / 2.0, fm.horizontalAdvance(text),
                     fm.height());
    if (!draw || text.isEmpty()) return box.translated(at);
    painter.save();
    painter.translate(at);
    if (angle != 0) painter.rotate(-angle);
    if (s.TextFontOpaque) painter.fillRect(box.adjusted(-1, 0, 1, 0), MapColorToQColor(s.TextFontBackColor));
    const QPointF base(box.left(), box.top() + fm.ascent());
    if (s.TextFontHalo || s.TextFontShadow) {
        QPainterPath path;
        path.addText(base, font, text);
        if (s.TextFontShadow) painter.fillPath(path.translated(1, 1), QColor(128, 128, 128));
        if (s.TextFontHalo)
            painter.strokePath(
                path, QPen(QColor(255, 255, 255, 230), 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.fillPath(path, MapColorToQColor(s.TextFontColor));
    } else {
        painter.setFont(font);
        painter.setPen(MapColorToQColor(s.TextFontColor));
        painter.drawText(base, text);
    }
    painter.restore();
    return box.translated(at);
}

QPolygonF Star(const QPointF& c, double r, int points = 5) {
    QPolygonF poly;
    for (int i = 0; i < points * 2; ++i) {
        const double a = -M_PI / 2 + i * M_PI / points;
        const double rr = i % 2 ? r * 0.45 : r;
        poly << QPointF(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
    }
    return poly;
}

void DrawArrow(QPainter& painter, const QPointF& a, const QPointF& b) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    if (len < 24) return; // too short to carry an arrow
    const QPointF u = d / len, n(-u.y(), u.x());
    const QPointF tip = a + d / 2 + u * 4;
    QPolygonF head;
    head << tip << tip - u * 8 + n * 4 << tip - u * 8 - n * 4;
    painter.drawPolygon(head);
}

} // namespace

QPen TMapRenderer::LinePen(int lineStyle, int color, int width, int widthUnit, double dpi) {
    if (lineStyle == LineNone) return Qt::NoPen;
    double w = std::max(1, width);
    if (widthUnit == 1) w = std::max(1.0, PointsToPixels(width / 10.0, dpi));
    QPen pen(MapColorToQColor(color), w);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    switch (lineStyle) {
    case LineDash:
        pen.setStyle(Qt::DashLine);
        break;
    case LineDot:
        pen.setStyle(Qt::DotLine);
        break;
    case LineDashDot:
        pen.setStyle(Qt::DashDotLine);
        break;
    case LineDashDotDot:
        pen.setStyle(Qt::DashDotDotLine);
        break;
    default:
        pen.setStyle(Qt::SolidLine);
        break;
    }
    return pen;
}

void TMapRenderer::DrawSymbol(QPainter& painter, const QPointF& at, const TMapStyle& s, double dpi) {
    if (s.SymbolType == SymbolFont) {
        TMapStyle t = s;
        t.TextFontName = s.SymbolFontName;
        t.TextFontSize = s.SymbolFontSize;
        t.TextFontColor = s.SymbolFontColor;
        t.TextFontHalo = s.SymbolFontHalo;
        t.TextFontOpaque = s.SymbolFontOpaque;
        t.TextFontBackColor = s.SymbolFontBackColor;
        t.TextFontBold = s.SymbolFontBold;
        t.TextFontItalic = s.SymbolFontItalic;
        t.TextFontShadow = s.SymbolFontShadow;
        t.TextFontUnderline = t.TextFontAllCaps = false;
        DrawText(painter, at, QString(QChar(s.SymbolCharacter)), s.SymbolFontRotation, t, dpi);
        return;
    }
    const int size = s.SymbolType == SymbolBitmap ? s.SymbolBitmapSize : s.SymbolVectorSize;
    const QColor color =
        MapColorToQColor(s.SymbolType == SymbolBitmap ? s.SymbolBitmapColor : s.SymbolVectorColor);
    const double r = std::max(1.5, PointsToPixels(size, dpi) / 2.0);
    const int ch = s.SymbolType == SymbolBitmap ? 32 : s.SymbolCharacter;
    if (ch == 31) return; // the blank symbol
    const bool hollow = ch >= 38 && ch <= 43;
    const int shape = hollow ? ch - 6 : ch;
    painter.setPen(hollow ? QPen(color, 1.2) : QPen(color.darker(130), 0.8));
    painter.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(color));
    const QRectF box(at.x() - r, at.y() - r, 2 * r, 2 * r);
    switch (shape) {
    case 32:
        painter.drawRect(box);
        break;
    case 33:
        painter.drawPolygon(QPolygonF{
            {at.x(), at.y() - r}, {at.x() + r, at.y()}, {at.x(), at.y() + r}, {at.x() - r, at.y()}});
        break;
    case 35:
        painter.drawPolygon(Star(at, r * 1.2));
        break;
    case 36:
        painter.drawPolygon(
            QPolygonF{{at.x(), at.y() - r}, {at.x() + r, at.y() + r}, {at.x() - r, at.y() + r}});
        break;
    case 37:
        painter.drawPolygon(
            QPolygonF{{at.x(), at.y() + r}, {at.x() + r, at.y() - r}, {at.x() - r, at.y() - r}});
        break;
    case 49:
    case 50: {
        painter.setPen(QPen(color, 1.5));
        if (shape == 49) {
            painter.drawLine(QPointF(at.x() - r, at.y()), QPointF(at.x() + r, at.y()));
            painter.drawLine(QPointF(at.x(), at.y() - r), QPointF(at.x(), at.y() + r));
        } else {
            painter.drawLine(box.topLeft(), box.bottomRight());
            painter.drawLine(box.topRight(), box.bottomLeft());
        }
        break;
    }
    default:
        painter.drawEllipse(box);
        break;
    }
}

void TMapRenderer::RenderFeature(QPainter& painter, const TMapFeature& f, const TMapStyle& s,
                                 const TViewTransform& view, const TRenderOptions& options) {
    static thread_local QPolygonF poly;
    switch (f.Type) {
    case TFeatureType::Region: {
        const Qt::BrushStyle pattern = PatternBrush(s.RegionPattern);
        QBrush brush(MapColorToQColor(s.RegionColor), pattern);
        const QPen pen = LinePen(s.RegionBorderStyle, s.RegionBorderColor, s.RegionBorderWidth,
                                 s.RegionBorderWidthUnit, options.LogicalDpi);
        if (f.Parts.size() == 1) {
            ToScreen(f.Parts[0], view, poly);
            if (pattern != Qt::NoBrush && pattern != Qt::SolidPattern && !s.RegionTransparent) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(MapColorToQColor(s.RegionBackColor));
                painter.drawPolygon(poly);
            }
            painter.setPen(pen);
            painter.setBrush(brush);
            painter.drawPolygon(poly);
            break;
        }
        QPainterPath path;
        path.setFillRule(Qt::OddEvenFill);
        for (const TMapPoints& part : f.Parts) {
            ToScreen(part, view, poly);
            path.addPolygon(poly);
            path.closeSubpath();
        }
        if (pattern != Qt::NoBrush && pattern != Qt::SolidPattern && !s.RegionTransparent)
            painter.fillPath(path, MapColorToQColor(s.RegionBackColor));
        painter.setPen(pen);
        painter.setBrush(brush);
        painter.drawPath(path);
        break;
    }
    case TFeatureType::Line: {
        painter.setPen(LinePen(s.LineStyle, s.LineColor, s.LineWidth, s.LineWidthUnit, options.LogicalDpi));
        painter.setBrush(Qt::NoBrush);
        for (const TMapPoints& part : f.Parts) {
            ToScreen(part, view, poly);
            painter.drawPolyline(poly);
        }
        break;
    }
    case TFeatureType::Point:
        if (!f.Parts.empty() && !f.Parts[0].empty())
            DrawSymbol(painter, view.ToScreen(f.Parts[0][0]), s, options.LogicalDpi);
        break;
    case TFeatureType::Text:
        if (!f.Parts.empty() && !f.Parts[0].empty())
            DrawText(painter, view.ToScreen(f.Parts[0][0]), f.Caption, f.TextAngle, s, options.LogicalDpi);
        break;
    default:
        break;
    }
}

namespace {

// The screen outline of a text object, turned with it.
QPolygonF TextOutline(const TMapFeature& f, const TMapStyle& s, const TViewTransform& view, double dpi) {
    QString text = f.Caption;
    if (s.TextFontAllCaps) text = text.toUpper();
    const QFontMetricsF fm(TextFont(s, dpi));
    const double w = fm.horizontalAdvance(text), h = fm.height();
    QTransform t;
    const QPointF at = view.ToScreen(f.Parts[0][0]);
    t.translate(at.x(), at.y());
    t.rotate(-f.TextAngle);
    return t.map(QPolygonF(QRectF(-w / 2, -h / 2, w, h)));
}

std::vector<TFeatureKey> VisibleKeys(const TMapLayer& layer, const TViewTransform& view) {
    const TMapRect area = view.VisibleRect().Inflated(view.PixelsToMap(16));
    const TMapRect bounds = layer.Bounds();
    if (bounds.IsEmpty() || !bounds.Intersects(area)) return {};
    return area.Contains(bounds) ? layer.FeatureKeys()
                                 : layer.SearchWithinRectangle(area, TSearchType::PartiallyWithin);
}

} // namespace

TMapRenderer::TSkippedTexts TMapRenderer::PlaceTexts(const TMap& map, const TViewTransform& view,
                                                     const TRenderOptions& options) {
    TSkippedTexts skipped(static_cast<size_t>(map.LayerCount()));
    std::vector<QPolygonF> placed;
    for (int li = 0; li < map.LayerCount(); ++li) { // the top layer has the first choice
        const TMapLayer& layer = *map.LayerAt(li);
        if (layer.Kind != TLayerKind::Normal || !layer.VisibleAtZoom(map.Zoom())) continue;
        for (TFeatureKey key : VisibleKeys(layer, view)) {
            const TMapFeature& f = layer.Feature(key);
            if (f.Type != TFeatureType::Text || f.Caption.trimmed().isEmpty() || f.Parts.empty() ||
                f.Parts[0].empty())
                continue;
            const QPolygonF outline =
                TextOutline(f, layer.OverrideStyle ? layer.Style : f.Style, view, options.LogicalDpi);
            bool clash = false;
            for (const QPolygonF& other : placed)
                if (other.boundingRect().intersects(outline.boundingRect()) && other.intersects(outline)) {
                    clash = true;
                    break;
                }
            if (clash)
                skipped[static_cast<size_t>(li)].push_back(key);
            else
                placed.push_back(outline);
        }
        std::sort(skipped[static_cast<size_t>(li)].begin(), skipped[static_cast<size_t>(li)].end());
    }
    return skipped;
}

void TMapRenderer::RenderLayer(QPainter& painter, const TMap& map, const TMapLayer& layer,
                               const TViewTransform& view, const TRenderOptions& options,
                               const std::vector<TFeatureKey>* skippedTexts) {
    if (layer.Kind != TLayerKind::Normal || layer.FeatureCount() == 0) return;
    const TMapRect visible = view.VisibleRect();
    const TMapRect area = visible.Inflated(view.PixelsToMap(16)); // symbols and texts reach over the edge
    const TMapRect bounds = layer.Bounds();
    if (!bounds.IsEmpty() && !bounds.Intersects(area)) return;
    const std::vector<TFeatureKey> keys =
        area.Contains(bounds) ? layer.FeatureKeys()
                              : layer.SearchWithinRectangle(area, TSearchType::PartiallyWithin);
    (void)map;
    for (TFeatureKey key : keys) {
        const TMapFeature& f = layer.Feature(key);
        if (skippedTexts && f.Type == TFeatureType::Text &&
            std::binary_search(skippedTexts->begin(), skippedTexts->end(), key))
            continue;
        RenderFeature(painter, f, layer.OverrideStyle ? layer.Style : f.Style, view, options);
    }
    if (layer.ShowLineDirection || layer.ShowNodes || layer.ShowCentroids) {
        static thread_local QPolygonF poly;
        const TMapStyle& nodeStyle = XmlStyles().StyleNode;
        const double half = options.NodeMarkerPixels / 2.0;
        for (TFeatureKey key : keys) {
            const TMapFeature& f = layer.Feature(key);
            const TMapStyle& s = layer.OverrideStyle ? layer.Style : f.Style;
            if (layer.ShowLineDirection && (f.Type == TFeatureType::Line || f.Type == TFeatureType::Region)) {
                const int color = f.Type == TFeatureType::Line ? s.LineColor : s.RegionBorderColor;
                painter.setPen(QPen(MapColorToQColor(color), 1));
                painter.setBrush(MapColorToQColor(color));
                for (const TMapPoints& part : f.Parts) {
                    ToScreen(part, view, poly);
                    for (qsizetype i = 0; i + 1 < poly.size(); ++i)
                        DrawArrow(painter, poly[i], poly[i + 1]);
                }
            }
            if (layer.ShowNodes && f.Type != TFeatureType::Text) {
                painter.setPen(QPen(MapColorToQColor(nodeStyle.SymbolVectorColor), 1));
                painter.setBrush(Qt::NoBrush);
                for (const TMapPoints& part : f.Parts)
                    for (const TMapPoint& p : part) {
                        const QPointF c = view.ToScreen(p);
                        painter.drawRect(QRectF(c.x() - half, c.y() - half, 2 * half, 2 * half));
                    }
            }
            if (layer.ShowCentroids && f.Type == TFeatureType::Region) {
                const QPointF c = view.ToScreen(f.Centroid());
                painter.setPen(QPen(Qt::black, 1));
                painter.drawLine(c - QPointF(4, 0), c + QPointF(4, 0));
                painter.drawLine(c - QPointF(0, 4), c + QPointF(0, 4));
            }
        }
    }
    const TLabelProperties& labels = layer.Labels;
    const double zoom = map.Zoom();
    if (labels.Visible && !labels.DataField.isEmpty() &&
        (!labels.LabelZoom || (zoom >= labels.LabelZoomMin && zoom <= labels.LabelZoomMax)) &&
        layer.Dataset().FieldIndex(labels.DataField) >= 0) {
        std::vector<QRectF> placed;
        std::unordered_set<QString> texts;
        int count = 0;
        const double off = PointsToPixels(labels.Offset, options.LogicalDpi);
        for (TFeatureKey key : keys) {
            if (labels.LabelMax >= 0 && count >= labels.LabelMax) break;
            const QString text = layer.Dataset().Text(key, labels.DataField);
            if (text.isEmpty()) continue;
            if (!labels.Duplicate && texts.count(text)) continue;
            const TMapFeature& f = layer.Feature(key);
            QPointF at = view.ToScreen(f.Type == TFeatureType::Point ? f.Position() : f.Centroid());
            double angle = 0;
            if (f.Type == TFeatureType::Line && !f.Parts.empty() && f.Parts[0].size() >= 2) {
                const TMapPoints& part = f.Parts[0];
                const size_t mid = (part.size() - 1) / 2;
                const QPointF a = view.ToScreen(part[mid]), b = view.ToScreen(part[mid + 1]);
                at = (a + b) / 2;
                if (labels.Parallel) {
                    angle = -std::atan2(b.y() - a.y(), b.x() - a.x()) * 180 / M_PI;
                    if (angle > 90) angle -= 180;
                    if (angle <= -90) angle += 180;
                }
            }
            static const QPointF kDir[9] = {{0, 0}, {-1, -1}, {0, -1}, {1, -1}, {-1, 0},
                                            {1, 0}, {-1, 1},  {0, 1},  {1, 1}};
            int pos = labels.Position >= 0 && labels.Position <= 8 ? labels.Position : 0;
            if (pos == 0 && f.Type == TFeatureType::Point) pos = 5; // a point's label goes beside its symbol
            const QRectF box = DrawText(painter, at, text, angle, labels.Style, options.LogicalDpi, false);
            // A point's label keeps clear of its symbol.
            double gap = off;
            if (f.Type == TFeatureType::Point) {
                const TMapStyle& s = layer.OverrideStyle ? layer.Style : f.Style;
                const int size = s.SymbolType == SymbolBitmap ? s.SymbolBitmapSize
                                 : s.SymbolType == SymbolFont ? s.SymbolFontSize
                                                              : s.SymbolVectorSize;
                gap += PointsToPixels(size, options.LogicalDpi) / 2.0 + 2;
            }
            at += QPointF(kDir[pos].x() * (box.width() / 2 + gap), kDir[pos].y() * (box.height() / 2 + gap));
            const QRectF rect = box.translated(at - box.center());
            if (!labels.Overlap) {
                bool clash = false;
                for (const QRectF& r : placed)
                    if (r.intersects(rect)) {
                        clash = true;
                        break;
                    }
                if (clash) continue;
                placed.push_back(rect);
            }
            DrawText(painter, at, text, angle, labels.Style, options.LogicalDpi);
            texts.insert(text);
            ++count;
        }
    }
}

void TMapRenderer::RenderSelection(QPainter& painter, const TMap& map, const TViewTransform& view,
                                   const TRenderOptions& options) {
    const TMapRect area = view.VisibleRect().Inflated(view.PixelsToMap(16));
    QColor fill = options.SelectionColor;
    fill.setAlpha(45);
    const QPen pen(options.SelectionColor, 3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    QPolygonF poly;
    for (int li = map.LayerCount() - 1; li >= 0; --li) {
        const TMapLayer& layer = *map.LayerAt(li);
        if (!layer.Visible || layer.SelectionCount() == 0) continue;
        for (TFeatureKey key : layer.Selection()) {
            const TMapFeature* f = layer.FindFeature(key);
            if (!f || !f->Bounds().Intersects(area)) continue;
            switch (f->Type) {
            case TFeatureType::Region: {
                QPainterPath path;
                path.setFillRule(Qt::OddEvenFill);
                for (const TMapPoints& part : f->Parts) {
                    ToScreen(part, view, poly);
                    path.addPolygon(poly);
                    path.closeSubpath();
                }
                painter.fillPath(path, fill);
                painter.strokePath(path, pen);
                break;
            }
            case TFeatureType::Line:
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                for (const TMapPoints& part : f->Parts) {
                    ToScreen(part, view, poly);
                    painter.drawPolyline(poly);
                }
                break;
            case TFeatureType::Point:
            case TFeatureType::Text: {
                const QPointF c = view.ToScreen(f->Position());
                painter.setPen(pen);
                painter.setBrush(Qt::NoBrush);
                painter.drawEllipse(c, 8, 8);
                break;
            }
            default:
                break;
            }
            // The nodes of a selected object, as small squares.
            if (f->Type == TFeatureType::Region || f->Type == TFeatureType::Line) {
                painter.setPen(QPen(options.SelectionColor.darker(150), 1));
                painter.setBrush(Qt::white);
                for (const TMapPoints& part : f->Parts)
                    for (const TMapPoint& p : part) {
                        const QPointF c = view.ToScreen(p);
                        painter.drawRect(QRectF(c.x() - 2.5, c.y() - 2.5, 5, 5));
                    }
            }
        }
    }
}

void TMapRenderer::Render(QPainter& painter, const TMap& map, const TRenderOptions& options) {
    painter.save();
    painter.fillRect(QRectF(0, 0, map.ScreenWidth(), map.ScreenHeight()), options.Background);
    painter.setRenderHint(QPainter::Antialiasing, options.Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const TViewTransform view = TViewTransform::FromMap(map);
    const TSkippedTexts skipped = options.AvoidTextOverlap ? PlaceTexts(map, view, options) : TSkippedTexts();
    for (int li = map.LayerCount() - 1; li >= 0; --li) {
        const TMapLayer& layer = *map.LayerAt(li);
        if (!layer.VisibleAtZoom(map.Zoom())) continue;
        RenderLayer(painter, map, layer, view, options,
                    skipped.empty() ? nullptr : &skipped[static_cast<size_t>(li)]);
    }
    if (options.DrawSelection) RenderSelection(painter, map, view, options);
    painter.restore();
}

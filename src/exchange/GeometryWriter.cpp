#include "exchange/GeometryWriter.h"

#include "common/NumberFormat.h"
#include "map/MapFeature.h"
#include "map/MapLayers.h"

#include <cmath>

namespace {

std::string Utf8(const QString& text) {
    return text.toStdString();
}

void AppendTextChild(pugi::xml_node parent, const char* name, const QString& text) {
    pugi::xml_node child = parent.append_child(name);
    if (!text.isEmpty()) child.append_child(pugi::node_pcdata).set_value(Utf8(text).c_str());
}

QString PointKey(const QString& x, const QString& y) {
    return x + QLatin1Char('|') + y;
}

QString LineKey(const QString& x1, const QString& y1, const QString& x2, const QString& y2) {
    return x1 + QLatin1Char('|') + y1 + QLatin1Char('|') + x2 + QLatin1Char('|') + y2;
}

} // namespace

QString CoordinateText(double value) {
    return FormatDecimals(RoundTo4(value), 4);
}

QString SegmentLengthText(const QString& x1, const QString& y1, const QString& x2, const QString& y2) {
    bool ok1 = false, ok2 = false, ok3 = false, ok4 = false;
    const double ax = ParseNumber(x1, &ok1), ay = ParseNumber(y1, &ok2);
    const double bx = ParseNumber(x2, &ok3), by = ParseNumber(y2, &ok4);
    if (!(ok1 && ok2 && ok3 && ok4)) return QStringLiteral("0");
    const double dx = bx - ax, dy = by - ay;
    if (std::fabs(dx) < 0.00001 && std::fabs(dy) < 0.00001) return QStringLiteral("0");
    return FormatDecimals(std::sqrt(dx * dx + dy * dy), 2);
}

const TContourObject* FindContourObject(const TContourLayer& layer, int objectNumber, const QString& parent) {
    if (objectNumber < 1) return nullptr;
    int seen = 0;
    for (const TContourObject& object : layer) {
        if (!parent.isEmpty() && object.Parent != parent) continue;
        if (++seen == objectNumber) return &object;
    }
    return nullptr;
}

TGeometryWriter::TGeometryWriter(pugi::xml_node pointInfo, pugi::xml_node polyline,
                                 const TGeometryOptions& options)
    : pointInfo_(pointInfo), polyline_(polyline), options_(options) {}

TGeometryWriter::TRingText TGeometryWriter::RingTexts(const TMapPoints& ring) {
    TRingText texts;
    texts.xs.reserve(ring.size());
    texts.ys.reserve(ring.size());
    for (const TMapPoint& p : ring) {
        QString x = CoordinateText(p.x), y = CoordinateText(p.y);
        // A vertex equal to the one before it adds no segment.
        if (!texts.xs.empty() && texts.xs.back() == x && texts.ys.back() == y) continue;
        texts.xs.push_back(std::move(x));
        texts.ys.push_back(std::move(y));
    }
    // The closing vertex of a closed ring is the first one again.
    if (texts.xs.size() >= 2 && texts.xs.back() == texts.xs.front() && texts.ys.back() == texts.ys.front()) {
        texts.xs.pop_back();
        texts.ys.pop_back();
    }
    return texts;
}

int TGeometryWriter::FindPoint(const QString& xText, const QString& yText) const {
    return pointIndex_.value(PointKey(xText, yText), -1);
}

int TGeometryWriter::FindLine(const QString& x1, const QString& y1, const QString& x2,
                              const QString& y2) const {
    return lineIndex_.value(LineKey(x1, y1, x2, y2), -1);
}

void TGeometryWriter::AddLayerPoints(const TContourLayer& layer) {
    for (const TContourObject& object : layer) {
        for (const TMapPoints& part : object.Parts) {
            for (const TMapPoint& p : part) {
                const QString x = CoordinateText(p.x), y = CoordinateText(p.y);
                const QString key = PointKey(x, y);
                if (pointIndex_.contains(key)) continue;
                TNamedPoint named;
                named.X = y; // the file's X is the northing
                named.Y = x;
                named.UIDP = QString::number(points_.size() + 1);
                pointIndex_.insert(key, static_cast<int>(points_.size()));
                points_.push_back(named);

                pugi::xml_node point = pointInfo_.append_child("Point");
                AppendTextChild(point, "UIDP", named.UIDP);
                AppendTextChild(point, "PN", named.UIDP);
                point.append_child("DeterminationMethod").append_child("Survey");
                AppendTextChild(point, "X", named.X);
                AppendTextChild(point, "Y", named.Y);
                if (options_.AddMxMy) {
                    AppendTextChild(point, "MX", QStringLiteral("0.05"));
                    AppendTextChild(point, "MY", QStringLiteral("0.05"));
                }
            }
        }
    }
}

void TGeometryWriter::AddLayerLines(const TContourLayer& layer) {
    for (const TContourObject& object : layer) {
        for (const TMapPoints& part : object.Parts) {
            const TRingText ring = RingTexts(part);
            const size_t n = ring.xs.size();
            if (n < 2) continue;
            for (size_t i = 0; i < n; ++i) {
                const size_t j = (i + 1) % n;
                const QString &x1 = ring.xs[i], &y1 = ring.ys[i], &x2 = ring.xs[j], &y2 = ring.ys[j];
                const QString key = LineKey(x1, y1, x2, y2);
                if (lineIndex_.contains(key)) continue;
                const int start = FindPoint(x1, y1), end = FindPoint(x2, y2);
                TNamedPline line{x1,
                                 y1,
                                 x2,
                                 y2,
                                 start >= 0 ? points_[start].UIDP : QString(),
                                 end >= 0 ? points_[end].UIDP : QString(),
                                 QString::number(lines_.size() + 1)};
                lineIndex_.insert(key, static_cast<int>(lines_.size()));
                lines_.push_back(line);

                pugi::xml_node pl = polyline_.append_child("PL");
                AppendTextChild(pl, "ULID", line.ULID);
                pugi::xml_node pts = pl.append_child("Points");
                AppendTextChild(pts, "P", line.StartUIDP);
                AppendTextChild(pts, "P", line.EndUIDP);
                AppendTextChild(pl, "Length", SegmentLengthText(x1, y1, x2, y2));
            }
        }
    }
}

void TGeometryWriter::WriteBoundary(pugi::xml_node boundary, const TRingText& ring, const QString& closed) {
    pugi::xml_node lines = boundary.append_child("Lines");
    const size_t n = ring.xs.size();
    if (n >= 2) {
        for (size_t i = 0; i < n; ++i) {
            const size_t j = (i + 1) % n;
            const int found = FindLine(ring.xs[i], ring.ys[i], ring.xs[j], ring.ys[j]);
            pugi::xml_node line = lines.append_child("Line");
            const TNamedPline* pl = found >= 0 ? &lines_[static_cast<size_t>(found)] : nullptr;
            AppendTextChild(line, "ULID", pl ? pl->ULID : QString());
            if (options_.AddFpTp) {
                AppendTextChild(line, "FP", pl ? pl->StartUIDP : QString());
                AppendTextChild(line, "TP", pl ? pl->EndUIDP : QString());
            }
        }
    }
    AppendTextChild(boundary, "Closed", closed);
}

TContourResult TGeometryWriter::WriteContour(pugi::xml_node externals, const TContourLayer& layer,
                                             int objectNumber, const QString& parent, const QString& closed) {
    const TContourObject* object = FindContourObject(layer, objectNumber, parent);
    if (!object) return TContourResult::NoObject;
    if (object->Parts.empty()) return TContourResult::Empty;

    pugi::xml_node internals;
    std::vector<const TMapPoints*> outers;
    for (size_t k = 0; k < object->Parts.size(); ++k) {
        const TMapPoints& part = object->Parts[k];
        bool hole = false;
        if (k > 0 && !part.empty()) {
            const TMapPoint& probe = part[part.size() > 1 ? 1 : 0];
            for (const TMapPoints* outer : outers) {
                if (RingContains(*outer, probe)) {
                    hole = true;
                    break;
                }
            }
        }
        pugi::xml_node boundary;
        if (hole) {
            if (!internals) internals = externals.append_child("Internals");
            boundary = internals.append_child("Boundary");
        } else {
            boundary = internals ? externals.insert_child_before("Boundary", internals)
                                 : externals.append_child("Boundary");
            outers.push_back(&part);
        }
        WriteBoundary(boundary, RingTexts(part), closed);
    }
    return TContourResult::Written;
}

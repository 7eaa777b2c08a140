#pragma once
// The geometry block of a valuation file written from the map objects: the points (PointInfo), the lines
// (Polyline) and the contours (Externals) of the territorial zone, the plot, its valuation districts,
// natural-agricultural districts and agro groups.
//
// Coordinates are map coordinates (x easting, y northing). Every coordinate becomes text through RoundTo4
// and four decimals; two vertices are one point exactly when both texts are equal, two segments are one
// line exactly when their four texts are equal in the same direction (a segment and its reverse are two
// lines). In the file X holds the northing and Y the easting.
//
// A ring is taken as a closed cycle of its vertices: a closing vertex equal to the first one and a vertex
// equal to the one before it add no segment, so no line ever starts and ends at the same point.
#include "map/MapTypes.h"

#include <QHash>
#include <QString>

#include <pugixml.hpp>

#include <vector>

// One object of a layer: its parts (rings) in order and its attribute parent ("" when it has none).
// An object still without geometry (the placeholder of a missing contour) has no parts.
struct TContourObject {
    QString Parent;
    std::vector<TMapPoints> Parts;
};
using TContourLayer = std::vector<TContourObject>;

// The five layers of the exchange objects, each in map order.
struct TValuationGeometry {
    TContourLayer TerrZone;         // "Територіальна зона"
    TContourLayer Plot;             // "Оціночна ділянка"
    TContourLayer Districts;        // "Оціночний район"
    TContourLayer NaturalDistricts; // "Природний-c-г район"
    TContourLayer AgroGroups;       // "Агрогрупа грунтів"
};

struct TGeometryOptions {
    bool AddFpTp = false; // ACT_BLOCK_ADD_FPTP: FP and TP in every boundary Line
    bool AddMxMy = false; // ACT_BLOCK_ADD_MXMY: MX and MY "0.05" in every Point
};

struct TNamedPoint {
    QString X; // northing text
    QString Y; // easting text
    QString Spare;
    QString UIDP;
};

struct TNamedPline {
    QString x1, y1, x2, y2; // map x and y texts of the start and the end
    QString StartUIDP, EndUIDP;
    QString ULID;
};

// RoundTo4, then exactly four decimals.
QString CoordinateText(double value);
// "0" unless the four texts are numbers and the ends differ by at least 0.00001 in x or y; then the
// distance with two decimals.
QString SegmentLengthText(const QString& x1, const QString& y1, const QString& x2, const QString& y2);

enum class TContourResult {
    NoObject, // the layer has no such object; nothing written
    Empty,    // the object exists but has no ring; nothing written
    Written
};

// Collects the points and lines of one save and writes their elements. The lists live for one save.
class TGeometryWriter {
public:
    // pointInfo and polyline are the (emptied) PointInfo and Polyline elements that receive Point and PL.
    TGeometryWriter(pugi::xml_node pointInfo, pugi::xml_node polyline, const TGeometryOptions& options);

    // Every vertex not yet in the points list becomes a Point (UIDP = PN = its number from 1).
    void AddLayerPoints(const TContourLayer& layer);
    // Every segment not yet in the lines list becomes a PL (ULID from 1) between its two points.
    void AddLayerLines(const TContourLayer& layer);
    // The contour of an object (the objectNumber-th from 1, among those whose parent equals parent when
    // parent is not empty) appended to externals: part 1 an outer Boundary, a later part a hole (in
    // Internals, the last child) when its second vertex lies inside an outer part written before, otherwise
    // a further outer Boundary before Internals. Each Boundary: Lines (Line: ULID [, FP, TP]) and Closed.
    TContourResult WriteContour(pugi::xml_node externals, const TContourLayer& layer, int objectNumber,
                                const QString& parent = QString(),
                                const QString& closed = QStringLiteral("true"));

    const std::vector<TNamedPoint>& Points() const { return points_; }
    const std::vector<TNamedPline>& Lines() const { return lines_; }

private:
    struct TRingText {
        std::vector<QString> xs, ys; // map x, map y texts of the distinct cycle
    };
    static TRingText RingTexts(const TMapPoints& ring);
    int FindPoint(const QString& xText, const QString& yText) const;
    int FindLine(const QString& x1, const QString& y1, const QString& x2, const QString& y2) const;
    void WriteBoundary(pugi::xml_node boundary, const TRingText& ring, const QString& closed);

    pugi::xml_node pointInfo_;
    pugi::xml_node polyline_;
    TGeometryOptions options_;
    std::vector<TNamedPoint> points_;
    std::vector<TNamedPline> lines_;
    QHash<QString, int> pointIndex_; // "x|y" -> index into points_
    QHash<QString, int> lineIndex_;  // "x1|y1|x2|y2" -> index into lines_
};

// The object a contour is written for: the objectNumber-th (from 1) of the layer, or of the objects whose
// parent equals parent when parent is not empty; null when there is none.
const TContourObject* FindContourObject(const TContourLayer& layer, int objectNumber, const QString& parent);

#pragma once
// The main window's navigator over the sections of the open exchange file, without any widget: the lines
// built from a document, what a double-click on a line aims at, and which line stands for a map object.
#include "map/MapTexts.h"

#include <QList>
#include <QString>
#include <QStringList>

// Kind numbers of navigator lines; a line's kind decides what a double-click does.
namespace NavKind {
enum : int {
    Editor = 0,
    ServiceInfo = 1,
    Map = 2,
    FileView = 3,
    Licensee = 4,
    MetricInfo = 5,
    Location = 6,
    TerritoryNumber = 7,
    TerritoryObject = 8,
    Coefficients = 9,
    Plot = 10,
    ValuationDistricts = 11,
    ValuationDistrict = 12,
    AgrDistricts = 13,
    AgrDistrict = 14,
    AgroGroup = 16,
    Executor = 17,
    Chief = 18,
    TechDocumentation = 19,
};
}

struct TNavigatorLine {
    int Kind = 0;
    QString Caption;
    QString Tag;      // kinds 12, 14, 16: five random digits
    QString District; // kind 16: the number of its natural-agricultural district
};

struct TNavigatorLines {
    QList<TNavigatorLine> Lines;
    // Region name of the valuation block without " область", trimmed (empty without the block).
    QString RegionName;
};

// The element path (below the document element) of the valuation block.
QStringList ValuationBlockPath();

// What a double-click on a line aims at.
struct TNavigatorTarget {
    bool ShowMap = false;    // kind 2
    bool ViewFile = false;   // kind 3
    bool OpenEditor = false; // every other kind; with an empty path the editor is only shown
    QStringList EditorPath;  // element path below the document element
    QString MapLayer;        // kinds 8, 10, 12, 14, 16
    int Number = 0;          // object number taken from the caption; 0 when none was found
    int District = 1;        // district number of an agro group (1 when the caption has none)
};

TNavigatorTarget NavigatorTargetOf(const TNavigatorLine& line);

// The line that stands for a map object (-1 for none): the first kind-8 line for the territorial zone, the
// first kind-10 line for the plot, the number-th kind-12 or kind-14 line for a valuation or natural-
// agricultural district, the number-th of the kind-16 lines whose district equals the given one.
int NavigatorLineForMapObject(const QList<TNavigatorLine>& lines, const QString& layer, int number,
                              int district);

// The line whose section holds the element at the path (the deepest section that is a prefix of it), or -1.
int NavigatorLineForElementPath(const QList<TNavigatorLine>& lines, const QStringList& path);

class ExchangeDocument;

// The navigator of a parsed document: the six fixed lines, then (only when the valuation block exists) the
// sections and blocks present in the file. Lines of kinds 12, 14 and 16 get five random digits as tag.
TNavigatorLines BuildNavigatorLines(const ExchangeDocument& document);

// The element path, with every item numbered ("Name#k"), of the element whose start tag stands on the line
// of the loaded text (the deepest one when several start there); empty when none does.
QStringList ElementPathAtLine(const ExchangeDocument& document, int line);

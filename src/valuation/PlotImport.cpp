#include "valuation/PlotImport.h"

#include "common/Dates.h"
#include "common/NumberFormat.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"
#include "valuation/ReferenceStores.h"

#include <QDate>

namespace {

const QString kParcelPath = QStringLiteral(
    "InfoPart\\CadastralZoneInfo\\CadastralQuarters\\CadastralQuarterInfo\\Parcels\\ParcelInfo");
const QString kValuationPath =
    QStringLiteral("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation");

pugi::xml_node Find(pugi::xml_node start, const QString& path) {
    return FindNodeAtPath(start, {}, SplitPath(path));
}

QString Text(pugi::xml_node start, const QString& path) {
    pugi::xml_node node = Find(start, path);
    return node ? ElementText(node) : QString();
}

QString OrDefault(const QString& text, const QString& def) {
    return text.isEmpty() ? def : text;
}

// The parcel's number within its quarter. The format keeps it in the parcel's metric block; a number placed
// directly in the parcel block is taken first.
QString ParcelNumber(pugi::xml_node zone) {
    const QString parcel = QStringLiteral("CadastralQuarters\\CadastralQuarterInfo\\Parcels\\ParcelInfo");
    const QString direct = Text(zone, parcel + QStringLiteral("\\ParcelID"));
    return direct.isEmpty() ? Text(zone, parcel + QStringLiteral("\\ParcelMetricInfo\\ParcelID")) : direct;
}

} // namespace

void SplitSettlementText(const QString& text, QString* council, QString* settlement) {
    QString t = QString(text).remove(kOutsideSettlementsPhrase).trimmed();
    const bool bracket = t.contains(QLatin1Char('('));
    if (bracket || t.contains(QLatin1Char(','))) {
        const QChar separator = bracket ? QLatin1Char('(') : QLatin1Char(',');
        const int at = t.indexOf(separator);
        *council = t.left(at).trimmed();
        *settlement = (bracket ? QStringLiteral("(") : QString()) + t.mid(at + 1).trimmed();
    } else {
        *council = t;
        *settlement = QStringLiteral(" ");
    }
}

QString ImportedAreaText(const QString& text) {
    bool ok = false;
    const double value = ParseNumber(text.trimmed(), &ok);
    return ok ? FormatDecimals(value, 4) : QString();
}

QString ImportPlot(const ExchangeDocument& document, TSourceKind kind, const QString& populFile,
                   TPlotImport* out) {
    TPlotImport r;
    r.Kind = kind;
    const pugi::xml_node root = document.DocumentElement();
    if (!root) return kImportNoRoot;
    if (!Find(root, QStringLiteral("AdditionalPart\\InfoLandWork\\Executor"))) return kImportNoExecutor;
    if (!Find(root, QStringLiteral("InfoPart\\MetricInfo"))) return kImportNoMetric;
    const bool land = kind == TSourceKind::LandManagement;
    const pugi::xml_node plot = Find(root, land ? kParcelPath : kValuationPath);
    if (!plot) return land ? kImportNoParcel : kImportNoValuation;

    TGeneralDataInput& in = r.Input;
    const QString zoneNumber = Text(root, QStringLiteral("InfoPart\\CadastralZoneInfo\\CadastralZoneNumber"));
    QString koatuu = land ? Text(root, QStringLiteral("InfoPart\\CadastralZoneInfo\\KOATUU"))
                          : Text(plot, QStringLiteral("DescriptionOfTerritory\\Region\\KOATUU"));
    if (koatuu.isEmpty()) koatuu = zoneNumber;
    in.Koatuu = koatuu.left(10);
    in.Area = ImportedAreaText(Text(plot, land ? QStringLiteral("ParcelMetricInfo\\Area\\Size")
                                               : QStringLiteral("AreaTerritory\\Size")));
    if (land) {
        in.Region = Text(plot, QStringLiteral("ParcelLocationInfo\\Region"));
        in.District = Text(plot, QStringLiteral("ParcelLocationInfo\\District"));
        SplitSettlementText(Text(plot, QStringLiteral("ParcelLocationInfo\\Settlement")), &in.Council,
                            &in.Settlement);
        const TPopulationEntry population = PopulationLookup(populFile, in.Council);
        in.Centre = population.Centre;
        in.Population = population.Population;
        r.CentreTouched = true;
        const pugi::xml_node location = Find(plot, QStringLiteral("ParcelLocationInfo\\ParcelLocation"));
        if (location.child("Urban")) in.Location = kInsideSettlement;
        if (location.child("Rural")) in.Location = kOutsideSettlement;
        in.Category = Text(plot, QStringLiteral("CategoryPurposeInfo\\Category"));
        in.Purpose = Text(plot, QStringLiteral("CategoryPurposeInfo\\Purpose"));
    } else {
        in.Region = Text(plot, QStringLiteral("DescriptionOfTerritory\\Region\\Name"));
        in.District = Text(plot, QStringLiteral("DescriptionOfTerritory\\District"));
        SplitSettlementText(Text(plot, QStringLiteral("DescriptionOfTerritory\\Rada")), &in.Council,
                            &in.Settlement);
        in.Population = Text(plot, QStringLiteral("Population"));
        in.Location = in.Settlement.trimmed().isEmpty() ? kOutsideSettlement : kInsideSettlement;
        in.Category = QStringLiteral(" ");
        in.Purpose = QStringLiteral(" ");
    }
    in.Year = QString::number(QDate::currentDate().year());
    in.AgriLandType = QStringLiteral("несільськогосподарські угіддя");
    in.WaterObjectType.clear();
    in.ForestType.clear();

    const pugi::xml_node approval =
        land ? Find(plot, QStringLiteral("TechnicalDocumentationInfo\\ApprovalInfo"))
             : Find(root, QStringLiteral("InfoPart\\TerritorialZoneInfo\\DocumentationApproval"));
    if (approval) {
        r.ApprovalFound = true;
        r.ApproveBy = ElementText(approval.child(land ? "ApprovalAuthority" : "ApprovedBy"));
        r.ApproveDt = IsoDateToUa(ElementText(approval.child("ApprovalDate")));
        r.ApproveNo = ElementText(approval.child("ApprovalNumber"));
    }
    if (land) {
        const pugi::xml_node zone = Find(root, QStringLiteral("InfoPart\\CadastralZoneInfo"));
        r.Cadnum =
            OrDefault(zoneNumber, QStringLiteral("0000000000:00")) + QLatin1Char(':') +
            OrDefault(
                Text(zone, QStringLiteral("CadastralQuarters\\CadastralQuarterInfo\\CadastralQuarterNumber")),
                QStringLiteral("000")) +
            QLatin1Char(':') + OrDefault(ParcelNumber(zone), QStringLiteral("0000"));
    }
    const pugi::xml_node metric = Find(root, QStringLiteral("InfoPart\\MetricInfo"));
    r.HasCoordinates = metric.child("PointInfo").child("Point") && metric.child("Polyline").child("PL");
    *out = r;
    return QString();
}

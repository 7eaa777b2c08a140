#include "valuation/ImportFromExchange.h"

#include "common/Dates.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"
#include "valuation/ReferenceStores.h"

namespace {

const QString kReadPrefix = QStringLiteral("Зчитування файлу: ");

pugi::xml_node Node(const pugi::xml_node& start, const QString& path) {
    if (!start) return {};
    return FindNodeAtPath(start, {}, path.split(QLatin1Char('/')));
}

QString Text(const pugi::xml_node& start, const QString& path) {
    const pugi::xml_node n = Node(start, path);
    return n ? ElementText(n) : QString();
}

const QString kParcelPath =
    QStringLiteral("InfoPart/CadastralZoneInfo/CadastralQuarters/CadastralQuarterInfo/Parcels/ParcelInfo");
const QString kValuationPath = QStringLiteral("InfoPart/TerritorialZoneInfo/Objects/Lands/NormativValuation");

// Every child element of that name, in document order.
QList<pugi::xml_node> Children(const pugi::xml_node& parent, const char* name) {
    QList<pugi::xml_node> list;
    if (!parent) return list;
    for (pugi::xml_node c = parent.child(name); c; c = c.next_sibling(name))
        list << c;
    return list;
}

void Append(QString& box, const QString& value) {
    if (!box.isEmpty()) box += QLatin1Char(',');
    box += value;
}

} // namespace

QString TImportResult::Row(const QString& name) const {
    for (const auto& [row, value] : Rows)
        if (row == name) return value;
    return QString();
}

QString TImportResult::Field(const QString& name) const {
    for (const auto& [field, value] : Fields)
        if (field == name) return value;
    return QString();
}

bool TImportResult::HasRow(const QString& name) const {
    for (const auto& r : Rows)
        if (r.first == name) return true;
    return false;
}

QString LoadSourceDocument(ExchangeDocument& document, const QString& path) {
    document.Clear();
    if (document.LoadFromFile(path)) return QString();
    return QStringLiteral("Помилка завантаження файлу: ") + LastErrorText;
}

pugi::xml_node PlotNode(const pugi::xml_node& documentElement, TSourceKind kind) {
    return Node(documentElement, kind == TSourceKind::LandManagement ? kParcelPath : kValuationPath);
}

TSettlementSplit SplitSettlementText(const QString& text) {
    QString t = text;
    t.remove(QStringLiteral("(за межами населених пунктів)"));
    t = t.trimmed();
    const bool bracket = t.contains(QLatin1Char('('));
    if (!bracket && !t.contains(QLatin1Char(','))) return {t, QStringLiteral(" ")};
    const QChar sep = bracket ? QLatin1Char('(') : QLatin1Char(',');
    const qsizetype at = t.indexOf(sep);
    TSettlementSplit s;
    s.Council = t.left(at).trimmed();
    s.Settlement = t.mid(at + 1).trimmed();
    if (bracket) s.Settlement.prepend(QLatin1Char('('));
    return s;
}

QString ImportedAreaText(const QString& text) {
    bool ok = false;
    const double v = ParseNumber(text.trimmed(), &ok);
    return ok ? FormatDecimals(v, 4) : QString();
}

TImportResult ImportGeneralData(const pugi::xml_node& documentElement, const TImportOptions& options) {
    TImportResult r;
    const bool landFile = options.Kind == TSourceKind::LandManagement;
    const bool compare = options.Mode == QLatin1String("compare");

    // The blocks every valuation needs, in this order.
    if (!documentElement) {
        r.Message = kReadPrefix + QStringLiteral("Відсутній блок Початку DocumentElement");
        return r;
    }
    if (!Node(documentElement, QStringLiteral("AdditionalPart/InfoLandWork/Executor"))) {
        r.Message =
            kReadPrefix + QStringLiteral("Відсутній блок Виконавця AdditionalPart/InfoLandWork/Executor");
        return r;
    }
    if (!Node(documentElement, QStringLiteral("InfoPart/MetricInfo"))) {
        r.Message = kReadPrefix + QStringLiteral("Відсутній блок Метричних InfoPart/MetricInfo");
        return r;
    }
    const pugi::xml_node plot = PlotNode(documentElement, options.Kind);
    if (!plot) {
        r.Message = kReadPrefix + (landFile ? QStringLiteral("Відсутній блок Ділянки ParcelInfo")
                                            : QStringLiteral("Відсутній блок НГО NormativValuation"));
        return r;
    }

    auto row = [&r](const char* name, const QString& value) { r.Rows.append({QLatin1String(name), value}); };
    auto field = [&r](const char* name, const QString& value) {
        r.Fields.append({QLatin1String(name), value});
    };

    const QString zoneNumber =
        Text(documentElement, QStringLiteral("InfoPart/CadastralZoneInfo/CadastralZoneNumber"));
    QString koatuu = landFile ? Text(documentElement, QStringLiteral("InfoPart/CadastralZoneInfo/KOATUU"))
                              : Text(plot, QStringLiteral("DescriptionOfTerritory/Region/KOATUU"));
    if (koatuu.isEmpty()) koatuu = zoneNumber;
    row("NxItemKoatuu", koatuu.left(10));

    row("NxItemSQ", ImportedAreaText(landFile ? Text(plot, QStringLiteral("ParcelMetricInfo/Area/Size"))
                                              : Text(plot, QStringLiteral("AreaTerritory/Size"))));

    if (landFile) {
        row("NxItemAddrObl", Text(plot, QStringLiteral("ParcelLocationInfo/Region")));
        row("NxItemAddrRaion", Text(plot, QStringLiteral("ParcelLocationInfo/District")));
        const TSettlementSplit split =
            SplitSettlementText(Text(plot, QStringLiteral("ParcelLocationInfo/Settlement")));
        row("NxItemAddrRada", split.Council);
        row("NxItemAddrNP", split.Settlement);
        const TPopulationEntry found = PopulationLookup(options.PopulPath, split.Council);
        row("NxItemCenterTG", found.Centre);
        row("NxItemPopul", found.Population);
        // Neither Urban nor Rural: the row stays without a location, so that Apply asks for it.
        QString location = QStringLiteral(" ");
        if (Node(plot, QStringLiteral("ParcelLocationInfo/ParcelLocation/Urban")))
            location = QStringLiteral("В межах");
        if (Node(plot, QStringLiteral("ParcelLocationInfo/ParcelLocation/Rural")))
            location = QStringLiteral("За межами");
        row("NxItemVMezhah", location);
        row("NxItemCategory", Text(plot, QStringLiteral("CategoryPurposeInfo/Category")));
        row("NxItemCileve", Text(plot, QStringLiteral("CategoryPurposeInfo/Purpose")));
    } else {
        row("NxItemAddrObl", Text(plot, QStringLiteral("DescriptionOfTerritory/Region/Name")));
        row("NxItemAddrRaion", Text(plot, QStringLiteral("DescriptionOfTerritory/District")));
        const TSettlementSplit split =
            SplitSettlementText(Text(plot, QStringLiteral("DescriptionOfTerritory/Rada")));
        row("NxItemAddrRada", split.Council);
        row("NxItemAddrNP", split.Settlement);
        row("NxItemPopul", Text(plot, QStringLiteral("Population")));
        row("NxItemVMezhah",
            split.Settlement.trimmed().isEmpty() ? QStringLiteral("За межами") : QStringLiteral("В межах"));
        row("NxItemCategory", QStringLiteral(" "));
        row("NxItemCileve", QStringLiteral(" "));
    }

    QString year = QString::number(options.CurrentYear);
    if (compare && !landFile) year = Text(plot, QStringLiteral("ValuationYear"));
    row("NxItemYear", year);
    row("NxItemVydSilhoz", QStringLiteral("несільськогосподарські угіддя"));
    row("NxItemVydVodnogo", QString());
    row("NxItemVydLisnogo", QString());

    field("EFileTerrID", QString());
    field("EFileTerrCode", QStringLiteral("021"));
    if (landFile) {
        const pugi::xml_node quarter =
            Node(documentElement,
                 QStringLiteral("InfoPart/CadastralZoneInfo/CadastralQuarters/CadastralQuarterInfo"));
        QString zone = zoneNumber;
        QString quarterNumber = Text(quarter, QStringLiteral("CadastralQuarterNumber"));
        // The parcel's number lies in its metric block in the files of the format; a number placed directly
        // in the parcel block is taken first.
        QString parcelId = Text(quarter, QStringLiteral("Parcels/ParcelInfo/ParcelID"));
        if (parcelId.isEmpty())
            parcelId = Text(quarter, QStringLiteral("Parcels/ParcelInfo/ParcelMetricInfo/ParcelID"));
        if (zone.isEmpty()) zone = QStringLiteral("0000000000:00");
        if (quarterNumber.isEmpty()) quarterNumber = QStringLiteral("000");
        if (parcelId.isEmpty()) parcelId = QStringLiteral("0000");
        field("EFileCadnum", zone + QLatin1Char(':') + quarterNumber + QLatin1Char(':') + parcelId);
    } else {
        field("EFileCadnum", QString());
    }

    if (options.Mode.isEmpty()) {
        const pugi::xml_node approval =
            landFile
                ? Node(plot, QStringLiteral("TechnicalDocumentationInfo/ApprovalInfo"))
                : Node(documentElement, QStringLiteral("InfoPart/TerritorialZoneInfo/DocumentationApproval"));
        if (approval) {
            field("EFileApproveBy", Text(approval, landFile ? QStringLiteral("ApprovalAuthority")
                                                            : QStringLiteral("ApprovedBy")));
            field("EFileApproveDt", IsoDateToUa(Text(approval, QStringLiteral("ApprovalDate"))));
            field("EFileApproveNo", Text(approval, QStringLiteral("ApprovalNumber")));
        }
    }

    if (compare) {
        r.HasPrevious = true;
        TPreviousValues& p = r.Previous;
        p.Nrd = Text(plot, QStringLiteral("Nrd"));
        p.Km1 = Text(plot, QStringLiteral("Km1"));
        p.Km2 = Text(plot, QStringLiteral("Km2"));
        p.Km3 = Text(plot, QStringLiteral("Km3"));
        p.Kmc1 = Text(plot, QStringLiteral("Kmc1"));
        p.KmcI = Text(plot, QStringLiteral("KmcIndustry"));
        p.KmcH = Text(plot, QStringLiteral("KmcHealth"));
        p.KmcN = Text(plot, QStringLiteral("KmcNatureReserve"));
        p.Kls = Text(plot, QStringLiteral("Kls"));
        for (const pugi::xml_node& d : Children(plot.child("ValuationDistricts"), "ValuationDistrict")) {
            Append(p.DistrictNumber, Text(d, QStringLiteral("DistrictNumber")));
            Append(p.Km4, Text(d, QStringLiteral("Km4")));
            Append(p.Klk, Text(d, QStringLiteral("Klk")));
        }
        const QString regionName = Text(plot, QStringLiteral("DescriptionOfTerritory/Region/Name"));
        int count = 0;
        for (const pugi::xml_node& d : Children(plot, "NaturalAgriculturalsDistrict")) {
            ++count;
            QStringList cells = {QString(), regionName, Text(d, QStringLiteral("AgrDistrictNumber")),
                                 Text(d, QStringLiteral("AgrDistrictName"))};
            for (const char* land : {"Arable", "PerennialPlants", "Grasslands", "Pasture", "Nsg"})
                cells << Text(d, QStringLiteral("Kpsgr/") + QLatin1String(land));
            for (const char* land : {"Arable", "PerennialPlants", "Grasslands", "Pasture"})
                cells << Text(d, QStringLiteral("Bpsgr/") + QLatin1String(land));
            p.PsrRows << cells;
            for (const pugi::xml_node& g : Children(d.child("AgroGroups"), "AgroGroup")) {
                QStringList agro = {QString::number(count), Text(g, QStringLiteral("CodeAgroGroup")),
                                    Text(g, QStringLiteral("AgroGroupArea/Size"))};
                for (const char* land : {"Arable", "PerennialPlants", "Grasslands", "Pasture"})
                    agro << Text(g, QStringLiteral("Bagr/") + QLatin1String(land));
                p.AgroRows << agro;
            }
        }
        p.TerritorialZoneId =
            Text(documentElement,
                 QStringLiteral("InfoPart/TerritorialZoneInfo/TerritorialZoneNumber/TerritorialZoneID"));
        p.TerritorialZoneCode =
            Text(documentElement,
                 QStringLiteral("InfoPart/TerritorialZoneInfo/TerritorialZoneNumber/TerritorialZoneCode"));
    }

    LastErrorText.clear(); // the lookups of optional elements leave their misses there
    r.Ok = true;
    return r;
}

#include "valuation/ImportFromExchange.h"

#include "common/Messages.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"

namespace {

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

TPreviousValues ReadPreviousValues(const pugi::xml_node& root) {
    TPreviousValues p;
    const pugi::xml_node plot = PlotNode(root, TSourceKind::Valuation);
    if (!plot) return p;
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
        Text(root, QStringLiteral("InfoPart/TerritorialZoneInfo/TerritorialZoneNumber/TerritorialZoneID"));
    p.TerritorialZoneCode =
        Text(root, QStringLiteral("InfoPart/TerritorialZoneInfo/TerritorialZoneNumber/TerritorialZoneCode"));
    LastErrorText.clear();
    return p;
}

TImportResult ImportGeneralData(const ExchangeDocument& document, const TImportOptions& options) {
    TImportResult r;
    TPlotImport plot;
    r.Message = ImportPlot(document, options.Kind, options.PopulPath, &plot);
    LastErrorText.clear(); // the lookups of optional elements leave their misses there
    if (!r.Message.isEmpty()) return r;
    const bool landFile = options.Kind == TSourceKind::LandManagement;
    const bool compare = options.Mode == QLatin1String("compare");
    const TGeneralDataInput& in = plot.Input;
    auto row = [&r](const char* name, const QString& value) { r.Rows.append({QLatin1String(name), value}); };
    auto field = [&r](const char* name, const QString& value) {
        r.Fields.append({QLatin1String(name), value});
    };

    row("NxItemKoatuu", in.Koatuu);
    row("NxItemSQ", in.Area);
    row("NxItemAddrObl", in.Region);
    row("NxItemAddrRaion", in.District);
    row("NxItemAddrRada", in.Council);
    row("NxItemAddrNP", in.Settlement);
    if (plot.CentreTouched) row("NxItemCenterTG", in.Centre);
    row("NxItemPopul", in.Population);
    // A land-management file naming neither Urban nor Rural leaves the location for the engineer.
    row("NxItemVMezhah", in.Location.isEmpty() ? QStringLiteral(" ") : in.Location);
    row("NxItemCategory", in.Category);
    row("NxItemCileve", in.Purpose);
    QString year = in.Year;
    if (compare && !landFile)
        year = Text(PlotNode(document.DocumentElement(), options.Kind), QStringLiteral("ValuationYear"));
    row("NxItemYear", year);
    row("NxItemVydSilhoz", in.AgriLandType);
    row("NxItemVydVodnogo", in.WaterObjectType);
    row("NxItemVydLisnogo", in.ForestType);

    field("EFileTerrID", plot.TerrID);
    field("EFileTerrCode", plot.TerrCode);
    field("EFileCadnum", landFile ? plot.Cadnum : QString());
    // The approval of the documentation only for a new valuation.
    if (options.Mode.isEmpty() && plot.ApprovalFound) {
        field("EFileApproveBy", plot.ApproveBy);
        field("EFileApproveDt", plot.ApproveDt);
        field("EFileApproveNo", plot.ApproveNo);
    }
    if (compare) {
        r.HasPrevious = true;
        r.Previous = ReadPreviousValues(document.DocumentElement());
    }
    LastErrorText.clear();
    r.Ok = true;
    return r;
}

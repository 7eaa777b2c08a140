#include "exchange/NodeLibrary.h"

#include "common/Messages.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"

#include <cstring>

void TNodeLibrary::Add(const QString& parentName, const QString& elementName, pugi::xml_node node) {
    TNodeLibItem item;
    item.ParentName = parentName;
    item.ElementName = elementName;
    item.Holder = std::make_shared<pugi::xml_document>();
    if (node) item.Holder->append_copy(node);
    items_.push_back(std::move(item));
}

pugi::xml_node TNodeLibrary::Find(const QString& parentName, const QString& elementName) const {
    for (const TNodeLibItem& item : items_)
        if (item.ParentName == parentName && item.ElementName == elementName) return item.Node();
    return pugi::xml_node();
}

TNodeLibrary& NodeLibrary() {
    static TNodeLibrary library;
    return library;
}

void NodeLibraryAdd(const QString& parentName, const QString& elementName, pugi::xml_node node) {
    NodeLibrary().Add(parentName, elementName, node);
}

pugi::xml_node NodeLibraryFind(const QString& parentName, const QString& elementName) {
    return NodeLibrary().Find(parentName, elementName);
}

bool BuildNodeLibrary(TNodeLibrary& library, const ExchangeDocument& templ) {
    const pugi::xml_node root = templ.DocumentElement();
    if (!templ.IsActive() || !root) {
        LastErrorText = QStringLiteral("Шаблон не завантажений.");
        return false;
    }
    if (std::strcmp(root.name(), "UkrainianCadastralExchangeFile") != 0) {
        LastErrorText = QStringLiteral("Шаблон не є обмінним файлом: кореневий елемент \"%1\".")
                            .arg(QString::fromUtf8(root.name()));
        return false;
    }
    auto add = [&](const QString& parent, const QString& key, const QStringList& path) {
        const pugi::xml_node node = FindNodeAtPath(root, {}, path);
        if (node) library.Add(parent, key, node);
        return node;
    };
    auto under = [](QStringList base, const QStringList& more) { return base << more; };

    const QStringList executor = {"AdditionalPart", "InfoLandWork", "Executor"};
    for (const char* name : {"TaxNumber", "EDRPOU", "EDDRNumber"})
        add("Executor", name, under(executor, {name}));
    for (const QStringList& contact :
         {QStringList{"AdditionalPart", "TerritorialZoneInfo", "Executor", "Executor", "ContactInfo"},
          under(executor, {"Executor", "ContactInfo"})})
        for (const char* name : {"Phone", "Fax", "Email"})
            add("ContactInfo", name, under(contact, {name}));

    const QStringList metric = {"InfoPart", "MetricInfo"};
    const QStringList cs = under(metric, {"CoordinateSystem"});
    for (const char* name : {"SC42", "SC42_3", "Local", "USC2000", "WGS84"})
        add("CoordinateSystem", name, under(cs, {name}));
    const char* zones[] = {"X", "C", "P", "T"};
    for (int i = 0; i < 4; ++i)
        add("CoordinateSystem", QStringLiteral("SC63 \"%1\"").arg(QLatin1String(zones[i])),
            under(cs, {QStringLiteral("SC63#%1").arg(i + 1)}));
    for (const char* name : {"EVRS", "Baltic", "Baltic77", "Other"})
        add("HeightSystem", name, under(metric, {"HeightSystem", name}));
    for (const char* name : {"M", "Km", "Other"})
        add("MeasurementUnit", name, under(metric, {"MeasurementUnit", name}));
    const QStringList method = under(metric, {"PointInfo", "Point", "DeterminationMethod"});
    for (const char* name : {"Survey", "GPS", "Digitization", "Photogrammetry"})
        add("DeterminationMethod", name, under(method, {name}));

    // The point fragment carries a Survey determination method only.
    if (const pugi::xml_node point = FindNodeAtPath(root, {}, under(metric, {"PointInfo", "Point"}))) {
        library.Add("PointInfo", "Point", point);
        const pugi::xml_node copy = library.Items().back().Node();
        if (pugi::xml_node dm = copy.child("DeterminationMethod")) {
            while (pugi::xml_node c = dm.first_child())
                dm.remove_child(c);
            if (const pugi::xml_node survey = library.Find("DeterminationMethod", "Survey"))
                dm.append_copy(survey);
        }
    }
    add("Polyline", "PL", under(metric, {"Polyline", "PL"}));

    const QStringList valuation = {"InfoPart", "TerritorialZoneInfo", "Objects", "Lands",
                                   "NormativValuation"};
    add("Externals", "Boundary", under(valuation, {"Externals", "Boundary"}));
    add("ValuationDistricts", "ValuationDistrict",
        under(valuation, {"ValuationDistricts", "ValuationDistrict"}));
    add("NormativValuation", "NaturalAgriculturalsDistrict",
        under(valuation, {"NaturalAgriculturalsDistrict"}));
    add("AgroGroups", "AgroGroup",
        under(valuation, {"NaturalAgriculturalsDistrict", "AgroGroups", "AgroGroup"}));
    add("TechDocumentation", "DocumentList",
        {"InfoPart", "TerritorialZoneInfo", "TechDocumentation", "DocumentList"});

    const QStringList district = under(valuation, {"ValuationDistricts", "ValuationDistrict"});
    const QStringList agrDistrict = under(valuation, {"NaturalAgriculturalsDistrict"});
    for (const QStringList& area : {under(valuation, {"AreaTerritory"}), under(district, {"DistrictArea"}),
                                    under(agrDistrict, {"AreaAgrDistrict"}),
                                    under(agrDistrict, {"AgroGroups", "AgroGroup", "AgroGroupArea"})})
        add("DeterminationMethod", "ExhangeFileCoordinates",
            under(area, {"DeterminationMethod", "ExhangeFileCoordinates"}));

    // Absent entries are not failures.
    LastErrorText.clear();
    return true;
}

#include "exchange/ValuationFileWriter.h"

#include "app/GlobalVar.h"
#include "common/Dates.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "exchange/ExchangePaths.h"
#include "exchange/NodeLibrary.h"
#include "exchange/OrganisationLookup.h"
#include "exchange/WriterTexts.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>

#include <cstring>
#include <exception>
#include <sstream>

namespace {

const QString kLands = QStringLiteral("InfoPart\\TerritorialZoneInfo\\Objects\\Lands");
const QString kValuation = kLands + QStringLiteral("\\NormativValuation");
const QString kParcel = QStringLiteral(
    "InfoPart\\CadastralZoneInfo\\CadastralQuarters\\CadastralQuarterInfo\\Parcels\\ParcelInfo");

QString NoDistrictText(const QString& ndx) {
    return QStringLiteral("Природно-сільськогосподарський район не обрано (рядок \"%1\"): "
                          "його номер, назва та коефіцієнти не заповнені.")
        .arg(ndx);
}
const QString kNoAgroRowText = QStringLiteral("Агрогрупа не задана: її код, площа та бали не заповнені.");

pugi::xml_node Find(pugi::xml_node start, const QString& path) {
    return FindNodeAtPath(start, {}, SplitPath(path));
}

void Write(pugi::xml_node start, const QString& path, const QString& value) {
    WriteValueAtPath(start, {}, SplitPath(path), value);
}

void RemoveChildren(pugi::xml_node node) {
    while (node.first_child())
        node.remove_child(node.first_child());
}

// Removes every child element of that name.
void RemoveNamed(pugi::xml_node parent, const char* name) {
    if (!parent) return;
    while (pugi::xml_node child = parent.child(name))
        parent.remove_child(child);
}

void RemoveAtPath(pugi::xml_node start, const QString& path) {
    const QStringList names = SplitPath(path);
    if (names.isEmpty()) return;
    pugi::xml_node parent =
        names.size() == 1 ? start : FindNodeAtPath(start, {}, names.mid(0, names.size() - 1));
    if (parent) RemoveNamed(parent, names.last().toUtf8().constData());
}

// Replaces every child of target by a deep copy of the children of source.
void ReplaceChildren(pugi::xml_node target, pugi::xml_node source) {
    if (!target) return;
    RemoveChildren(target);
    if (!source) return;
    for (pugi::xml_node child : source.children())
        target.append_copy(child);
}

QString Cell(const QStringList& row, int column) {
    return column >= 0 && column < row.size() ? row.at(column) : QString();
}

void Log(const TCreateHooks& hooks, const QString& text) {
    if (hooks.LogLine && !text.isEmpty()) hooks.LogLine(text);
}

bool LoadLogged(ExchangeDocument& doc, const QString& path, const TCreateHooks& hooks) {
    if (doc.LoadFromFile(path)) return true;
    Log(hooks, kMsgLoadFile + LastErrorText);
    return false;
}

// Step 3 from the reference table.
void FillOrganisationFromRow(pugi::xml_node target, const TOrganisationRow& row) {
    auto column = [&row](const char* name) { return row.value(QString::fromUtf8(name)); };
    if (!column("інн").isEmpty()) {
        RemoveNamed(target, "EDRPOU");
        RemoveNamed(target, "EDDRNumber");
    }
    if (!column("едрпо").isEmpty()) {
        RemoveNamed(target, "TaxNumber");
        RemoveNamed(target, "EDDRNumber");
    }
    if (column("виконавець_сертиф_номер").isEmpty())
        RemoveAtPath(target, QStringLiteral("Executor\\Qualification"));
    if (column("відповідальна_сертиф_номер").isEmpty())
        RemoveAtPath(target, QStringLiteral("Chief\\Qualification"));
    if (column("адреса_корпус").isEmpty()) RemoveAtPath(target, QStringLiteral("Address\\Block"));
    if (column("факс").isEmpty()) RemoveAtPath(target, QStringLiteral("Executor\\ContactInfo\\Fax"));
    if (column("емайл").isEmpty()) RemoveAtPath(target, QStringLiteral("Executor\\ContactInfo\\Email"));

    static const char* const kMap[][2] = {
        {"CompanyName", "повна_назва"},
        {"TaxNumber", "інн"},
        {"EDRPOU", "едрпо"},
        {"Chief\\ChiefName\\LastName", "відповідальна_прізвище"},
        {"Chief\\ChiefName\\FirstName", "відповідальна_імя"},
        {"Chief\\ChiefName\\MiddleName", "відповідальна_побатькові"},
        {"Chief\\ChiefPosition", "відповідальна_посада"},
        {"Chief\\Qualification\\QualificationNumber", "відповідальна_сертиф_номер"},
        {"Chief\\Qualification\\QualificationDate", "відповідальна_сертиф_дата"},
        {"Executor\\ExecutorName\\LastName", "виконавець_прізвище"},
        {"Executor\\ExecutorName\\FirstName", "виконавець_імя"},
        {"Executor\\ExecutorName\\MiddleName", "виконавець_побатькові"},
        {"Executor\\ExecutorPosition", "виконавець_посада"},
        {"Executor\\Qualification\\QualificationNumber", "виконавець_сертиф_номер"},
        {"Executor\\Qualification\\QualificationDate", "виконавець_сертиф_дата"},
        {"Executor\\ContactInfo\\Phone", "телефон1"},
        {"Executor\\ContactInfo\\Fax", "факс"},
        {"Executor\\ContactInfo\\Email", "емайл"},
        {"Address\\Country", "адреса_код"},
        {"Address\\ZIP", "адреса_індекс"},
        {"Address\\Region", "адреса_область"},
        {"Address\\District", "адреса_район"},
        {"Address\\Settlement", "адреса_наспункт"},
        {"Address\\Street", "адреса_вулиця"},
        {"Address\\Building", "адреса_будинок"},
        {"Address\\Block", "адреса_корпус"},
        {"Address\\BuildingUnit", "адреса_квартира"},
    };
    for (const auto& entry : kMap)
        Write(target, QString::fromUtf8(entry[0]), column(entry[1]));
}

// Step 5: the documentation particulars.
void FillTechDocumentation(pugi::xml_node target, pugi::xml_node source) {
    if (!target) return;
    if (source) {
        const bool sourceHasDraftingDate = source.child("DraftingDate");
        for (pugi::xml_node child : target.children()) {
            if (child.type() != pugi::node_element) continue;
            const char* name = child.name();
            if (std::strcmp(name, "DocumentList") == 0) continue;
            const char* sourceName =
                std::strcmp(name, "DateDrafted") == 0 && sourceHasDraftingDate ? "DraftingDate" : name;
            pugi::xml_node from = source.child(sourceName);
            if (from && !child.first_child()) SetElementText(child, ElementText(from));
        }
        pugi::xml_node firstList = target.child("DocumentList");
        if (firstList) {
            bool first = true;
            for (pugi::xml_node from = source.child("DocumentList"); from;
                 from = from.next_sibling("DocumentList")) {
                if (first) {
                    SetElementText(firstList, ElementText(from));
                    first = false;
                } else {
                    pugi::xml_node added = target.insert_child_after("DocumentList", firstList);
                    SetElementText(added, ElementText(from));
                }
            }
        }
    }
    RemoveNamed(target, "BookNumber");
    RemoveNamed(target, "DateSigned");
}

QString Dots(const QString& text) {
    return QString(text).replace(QLatin1Char(','), QLatin1Char('.'));
}
QString DashToZero(const QString& text) {
    return QString(text).replace(QLatin1Char('-'), QLatin1Char('0'));
}

// Steps 2 to 13 on the template document; false only when the organisation could not be found.
bool FillValuationDocument(pugi::xml_node t, pugi::xml_node s, const TValuationHandOver& h,
                           const TCreateHooks& hooks) {
    // 2. Service block.
    Write(t, QStringLiteral("AdditionalPart\\ServiceInfo\\FileID\\FileDate"),
          QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd")));
    Write(t, QStringLiteral("AdditionalPart\\ServiceInfo\\FileID\\FileGUID"), NewGuidText());
    Write(t, QStringLiteral("AdditionalPart\\ServiceInfo\\FormatVersion"), QStringLiteral("0.12"));
    Write(t, QStringLiteral("AdditionalPart\\ServiceInfo\\Software"), GlobalVar().AppName);
    Write(t, QStringLiteral("AdditionalPart\\ServiceInfo\\SoftwareVersion"), GlobalVar().AppVersion);
    pugi::xml_node service = Find(t, QStringLiteral("AdditionalPart\\ServiceInfo"));
    RemoveNamed(service, "ReceiverName");
    RemoveNamed(service, "ReceiverIdentifier");

    // 3. The land-management organisation.
    const QString executorPath = QStringLiteral("AdditionalPart\\InfoLandWork\\Executor");
    pugi::xml_node executor = Find(t, executorPath);
    if (!h.RBOrganFromDB) {
        pugi::xml_node from = Find(s, executorPath);
        if (from && executor) {
            ReplaceChildren(executor, from);
            RemoveNamed(executor, "License");
        }
    } else {
        TOrganisationRow row;
        const bool found = hooks.FindOrganisation ? hooks.FindOrganisation(h.EDefLicenziat, &row)
                                                  : FindLicensee(h.EDefLicenziat, &row);
        if (!found) {
            Log(hooks, LastErrorText);
            return false;
        }
        try {
            if (executor) FillOrganisationFromRow(executor, row);
        } catch (const std::exception& e) {
            Log(hooks, kMsgFillExecutor + QString::fromUtf8(e.what()));
        }
    }

    // 4. Geometry as in the source.
    ReplaceChildren(Find(t, QStringLiteral("InfoPart\\MetricInfo")),
                    Find(s, QStringLiteral("InfoPart\\MetricInfo")));

    // 5. Documentation particulars.
    pugi::xml_node docSource;
    if (h.CBSrcZemXML) docSource = Find(s, kParcel + QStringLiteral("\\TechnicalDocumentationInfo"));
    if (h.CBSrcNGOXML)
        docSource = Find(s, QStringLiteral("InfoPart\\TerritorialZoneInfo\\TechDocumentation"));
    FillTechDocumentation(Find(t, QStringLiteral("InfoPart\\TerritorialZoneInfo\\TechDocumentation")),
                          docSource);

    // 6. Approval.
    const QString approval = QStringLiteral("InfoPart\\TerritorialZoneInfo\\DocumentationApproval");
    if (h.CBBlockCreateApprove) {
        Write(t, approval + QStringLiteral("\\ApprovedBy"), h.EFileApproveBy);
        Write(t, approval + QStringLiteral("\\ApprovalDate"), UaDateToIso(h.EFileApproveDt));
        Write(t, approval + QStringLiteral("\\ApprovalNumber"), h.EFileApproveNo);
    } else {
        RemoveAtPath(t, approval);
    }

    // 7. Territorial zone.
    const QString zone = QStringLiteral("InfoPart\\TerritorialZoneInfo");
    Write(t, zone + QStringLiteral("\\TerritorialZoneNumber\\TerritorialZoneCode"), h.EFileTerrCode);
    Write(t, zone + QStringLiteral("\\TerritorialZoneNumber\\TerritorialZoneID"), h.EFileTerrID);
    RemoveAtPath(t, zone + QStringLiteral("\\TerritorialZoneNumber\\TerritorialZoneShortNumber"));
    RemoveAtPath(t, zone + QStringLiteral("\\TerritorialZoneName"));
    RemoveAtPath(t, zone + QStringLiteral("\\AdditionalInfoBlock"));

    // 8. Valuation block.
    pugi::xml_node nv = Find(t, kValuation);
    const std::pair<const char*, const QString*> values[] = {
        {"DescriptionOfTerritory\\Region\\Name", &h.EFileObl},
        {"DescriptionOfTerritory\\Region\\KOATUU", &h.EFileKoatuu},
        {"DescriptionOfTerritory\\District", &h.EFileRaion},
        {"DescriptionOfTerritory\\Rada", &h.EFileRada},
        {"Population", &h.EFilePopul},
        {"AreaTerritory\\Size", &h.EFileSq},
        {"ValuationYear", &h.EFileYear},
        {"Nrd", &h.EFileNrd},
        {"Km1", &h.EFileKm1},
        {"Km2", &h.EFileKm2},
        {"Km3", &h.EFileKm3},
        {"Kmc1", &h.EFileKmc1},
        {"KmcIndustry", &h.EFileKmcI},
        {"KmcHealth", &h.EFileKmcH},
        {"KmcNatureReserve", &h.EFileKmcN},
        {"Kls", &h.EFileKls},
    };
    for (const auto& [path, value] : values)
        Write(nv, QString::fromUtf8(path), *value);

    // 9. Contours: every object starts with the contour of the source parcel.
    pugi::xml_node contour;
    if (h.CBSrcZemXML) contour = Find(s, kParcel + QStringLiteral("\\ParcelMetricInfo\\Externals"));
    if (h.CBSrcNGOXML) contour = Find(s, kValuation + QStringLiteral("\\Externals"));
    if (h.CBBlockCreateTerrZona)
        ReplaceChildren(Find(t, zone + QStringLiteral("\\Externals")), contour);
    else
        RemoveAtPath(t, zone + QStringLiteral("\\Externals"));
    const QString district = QStringLiteral("ValuationDistricts\\ValuationDistrict");
    const QString natural = QStringLiteral("NaturalAgriculturalsDistrict");
    const QString agro = natural + QStringLiteral("\\AgroGroups\\AgroGroup");
    for (const QString& path :
         {QStringLiteral("Externals"), district + QStringLiteral("\\Externals"),
          natural + QStringLiteral("\\Externals"), agro + QStringLiteral("\\Externals")})
        ReplaceChildren(Find(nv, path), contour);

    // 10. First valuation district.
    Write(nv, district + QStringLiteral("\\DistrictNumber"), h.EFileRaNo);
    Write(nv, district + QStringLiteral("\\Km4"), Dots(h.EFileRaKm4));
    Write(nv, district + QStringLiteral("\\Klk"), Dots(h.EFileRaKlk));
    Write(nv, district + QStringLiteral("\\DistrictArea\\Size"), h.EFileSq);

    // 11. First natural-agricultural district from the chosen row.
    Write(nv, natural + QStringLiteral("\\AreaAgrDistrict\\Size"), h.EFileSq);
    const QStringList& psr = h.PsrRow;
    if (psr.isEmpty()) Log(hooks, NoDistrictText(h.EPSRNdx));
    Write(nv, natural + QStringLiteral("\\AgrDistrictNumber"), Cell(psr, 2));
    Write(nv, natural + QStringLiteral("\\AgrDistrictName"), Cell(psr, 3));
    const char* const kpsgr[] = {"Arable", "PerennialPlants", "Grasslands", "Pasture", "Nsg"};
    for (int i = 0; i < 5; ++i)
        Write(nv, natural + QStringLiteral("\\Kpsgr\\") + QString::fromUtf8(kpsgr[i]),
              Dots(Cell(psr, 4 + i)));
    for (int i = 0; i < 4; ++i)
        Write(nv, natural + QStringLiteral("\\Bpsgr\\") + QString::fromUtf8(kpsgr[i]),
              DashToZero(Cell(psr, 9 + i)));

    // 12. Its first agro group from the first agro row.
    const QStringList agroRow = h.AgroRows.isEmpty() ? QStringList() : h.AgroRows.first();
    if (agroRow.isEmpty()) Log(hooks, kNoAgroRowText);
    Write(nv, agro + QStringLiteral("\\CodeAgroGroup"), Cell(agroRow, 1));
    Write(nv, agro + QStringLiteral("\\AgroGroupArea\\Size"), Dots(Cell(agroRow, 2)));
    for (int i = 0; i < 4; ++i)
        Write(nv, agro + QStringLiteral("\\Bagr\\") + QString::fromUtf8(kpsgr[i]),
              DashToZero(Cell(agroRow, 3 + i)));

    // 13. Executor and responsible person of the documentation.
    ReplaceChildren(Find(t, zone + QStringLiteral("\\Executor")),
                    Find(t, executorPath + QStringLiteral("\\Executor")));
    ReplaceChildren(Find(t, zone + QStringLiteral("\\Chief")),
                    Find(t, executorPath + QStringLiteral("\\Chief")));
    return true;
}

struct TStringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

} // namespace

QStringList RowByNumberText(const QList<QStringList>& rows, const QString& numberText) {
    const QString t = numberText.trimmed();
    if (!IsIntegerText(t)) return {};
    const qint64 n = TextToIntOrZero(t);
    if (n < 1 || n > rows.size()) return {};
    return rows.at(static_cast<int>(n - 1));
}

QString ValuationFileNameFor(const QString& sourceFile) {
    const QFileInfo info(sourceFile);
    return info.path() + QLatin1Char('/') + info.completeBaseName() + kValuationFileSuffix;
}

QByteArray FormatUtf8TwoSpaces(const pugi::xml_document& document) {
    TStringWriter writer;
    writer.out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    for (pugi::xml_node node : document.children()) {
        if (node.type() == pugi::node_declaration) continue;
        node.print(writer, "  ", pugi::format_indent, pugi::encoding_utf8);
    }
    return QByteArray::fromStdString(writer.out);
}

bool CreateValuationFile(TOpenExchangeFile& file, const QString& sourceFile, const QString& workingCopy,
                         const TValuationHandOver& handOver, const TCreateHooks& hooks) {
    LastErrorText.clear();
    ExchangeDocument& templ = file.XMLDocument_TEMPL;
    ExchangeDocument& source = file.XMLDocument_XML;
    auto finish = [&](bool ok) {
        source.Clear();
        templ.Clear();
        templ.LoadFromFile(TemplateFile());
        return ok;
    };

    // 1. Template, catalogue and source.
    templ.Clear();
    if (!LoadLogged(templ, TemplateFile(), hooks)) return finish(false);
    if (NodeLibrary().IsEmpty() && !BuildNodeLibrary(NodeLibrary(), templ)) {
        Log(hooks, LastErrorText);
        return finish(false);
    }
    source.Clear();
    if (!LoadLogged(source, sourceFile, hooks)) return finish(false);

    // 2-13.
    if (!FillValuationDocument(templ.DocumentElement(), source.DocumentElement(), handOver, hooks))
        return finish(false);

    // The working copy is written (and read back) before anything outside is changed, so that a failure
    // leaves the previous document, its map and its navigator as they were.
    auto saveFailed = [&]() {
        Log(hooks,
            kMsgSaveWorkingCopy + QLatin1Char('"') + workingCopy + QStringLiteral("\": ") + LastErrorText);
        return finish(false);
    };
    // The working copy is exactly what a parse of the written text gives: the text is parsed again and
    // that document is what goes to disk (in one write).
    const QByteArray first = templ.SaveToBytes(TXmlEncoding::Utf8);
    templ.Clear();
    if (!templ.LoadFromBytes(first, workingCopy)) return saveFailed();
    QString writeError;
    if (!WriteFileAtomic(workingCopy, templ.SaveToBytes(TXmlEncoding::Utf8), &writeError)) {
        LastErrorText = writeError;
        return saveFailed();
    }

    file.WorkingCopy = workingCopy;
    // 14. Map objects and navigator from the new document.
    file.CoordinatesLoaded = true;
    if (hooks.BuildMapObjects) {
        try {
            file.CoordinatesLoaded = hooks.BuildMapObjects(templ);
        } catch (const std::exception& e) {
            file.CoordinatesLoaded = false;
            Log(hooks, kMsgParseFile + QString::fromUtf8(e.what()));
        }
    }
    if (hooks.RebuildNavigator) hooks.RebuildNavigator(templ);
    // 16.
    return finish(true);
}

bool RegenerateGeometry(pugi::xml_node root, const TValuationGeometry& g, const TGeometryOptions& options,
                        QStringList* notes, QString* refusal) {
    auto refuse = [refusal](const QString& block) {
        *refusal = kMsgMissingBlock + block + kMsgMissingBlockTail;
        return false;
    };
    auto note = [notes](const QString& text) { notes->append(text); };

    // 5.
    pugi::xml_node pointInfo = Find(root, QStringLiteral("InfoPart\\MetricInfo\\PointInfo"));
    if (!pointInfo) return refuse(QStringLiteral("PointInfo"));
    RemoveChildren(pointInfo);
    pugi::xml_node polyline = Find(root, QStringLiteral("InfoPart\\MetricInfo\\Polyline"));
    if (!polyline) return refuse(QStringLiteral("Polyline"));
    RemoveChildren(polyline);

    TGeometryWriter writer(pointInfo, polyline, options);
    // 6, 7.
    for (const TContourLayer* layer :
         {&g.Plot, &g.Districts, &g.NaturalDistricts, &g.AgroGroups, &g.TerrZone})
        writer.AddLayerPoints(*layer);
    for (const TContourLayer* layer :
         {&g.TerrZone, &g.Plot, &g.Districts, &g.NaturalDistricts, &g.AgroGroups})
        writer.AddLayerLines(*layer);

    // 8. Territorial zone.
    pugi::xml_node zone = Find(root, QStringLiteral("InfoPart\\TerritorialZoneInfo"));
    if (!zone) return refuse(QStringLiteral("TerritorialZoneInfo"));
    pugi::xml_node zoneExternals = zone.child("Externals");
    if (!zoneExternals) zoneExternals = zone.append_child("Externals");
    RemoveChildren(zoneExternals);
    if (writer.WriteContour(zoneExternals, g.TerrZone, 1) == TContourResult::NoObject)
        zone.remove_child(zoneExternals);

    // 9. The plot.
    pugi::xml_node nv = Find(root, kValuation);
    if (!nv) return refuse(QStringLiteral("NormativValuation"));
    pugi::xml_node externals = nv.child("Externals");
    if (!externals) externals = nv.prepend_child("Externals");
    RemoveChildren(externals);
    if (writer.WriteContour(externals, g.Plot, 1) != TContourResult::Written) note(kMsgNoPlotContour);

    auto externalsOf = [](pugi::xml_node object) {
        pugi::xml_node e = object.child("Externals");
        if (!e) e = object.append_child("Externals");
        RemoveChildren(e);
        return e;
    };

    // 10. Valuation districts.
    pugi::xml_node districts = nv.child("ValuationDistricts");
    if (!districts) return refuse(QStringLiteral("ValuationDistricts"));
    int k = 0;
    for (pugi::xml_node d = districts.child("ValuationDistrict"); d;
         d = d.next_sibling("ValuationDistrict")) {
        ++k;
        if (writer.WriteContour(externalsOf(d), g.Districts, k) != TContourResult::Written)
            note(kMsgNoDistrictContour + QString::number(k) + QLatin1Char('.'));
    }

    // 11. Natural-agricultural districts and their agro groups.
    if (!nv.child("NaturalAgriculturalsDistrict"))
        return refuse(QStringLiteral("NaturalAgriculturalsDistrict"));
    k = 0;
    for (pugi::xml_node n = nv.child("NaturalAgriculturalsDistrict"); n;
         n = n.next_sibling("NaturalAgriculturalsDistrict")) {
        ++k;
        if (writer.WriteContour(externalsOf(n), g.NaturalDistricts, k) != TContourResult::Written)
            note(kMsgNoNaturalContour + QString::number(k) + QLatin1Char('.'));
        int j = 0;
        for (pugi::xml_node a = n.child("AgroGroups").child("AgroGroup"); a;
             a = a.next_sibling("AgroGroup")) {
            ++j;
            if (writer.WriteContour(externalsOf(a), g.AgroGroups, j, QString::number(k)) !=
                TContourResult::Written)
                note(kMsgNoAgroContour + QString::number(k) + QLatin1Char('-') + QString::number(j) +
                     QLatin1Char('.'));
        }
    }
    return true;
}

TSaveResult SaveValuationFileAs(TOpenExchangeFile& file, const TValuationGeometry& geometry,
                                const TGeometryOptions& options, const TSaveHooks& hooks) {
    TSaveResult result;
    LastErrorText.clear();
    const bool silent = SilentMessages;
    auto note = [&](const QString& text) {
        result.Notes << text;
        LastErrorText = text;
        if (!silent && hooks.LogLine) hooks.LogLine(text);
    };

    // 1.
    if (file.WorkingCopy.isEmpty() || !QFileInfo::exists(file.WorkingCopy)) {
        result.Error = kMsgNotLoaded;
        ShowWarning(kMsgNotLoaded);
        LastErrorText = kMsgNotLoaded;
        return result;
    }
    // 2.
    if (!silent && hooks.ChooseTarget) {
        const QString chosen = hooks.ChooseTarget(file.SaveAsFile);
        if (chosen.isEmpty()) return result;
        file.SaveAsFile = chosen;
    }
    const QString target = silent ? file.WorkingCopy : file.SaveAsFile;

    ExchangeDocument& doc = file.XMLDocument_XML;
    auto fail = [&](const QString& reason) {
        result.Error = kMsgSaveFile + reason;
        doc.Clear();
        ShowError(result.Error);
        return result;
    };
    // 3.
    doc.Clear();
    if (!doc.LoadFromFile(file.WorkingCopy)) return fail(LastErrorText);
    // 4.
    if (!file.CoordinatesLoaded) {
        note(kMsgNoCoordinates);
        result.Error = kMsgNoCoordinates;
        doc.Clear();
        return result;
    }
    // 5-11.
    QString refusal;
    QStringList notes;
    const bool regenerated = [&]() {
        try {
            return RegenerateGeometry(doc.DocumentElement(), geometry, options, &notes, &refusal);
        } catch (const std::exception& e) {
            refusal.clear();
            notes.clear();
            result.Error = QString::fromUtf8(e.what());
            return false;
        }
    }();
    for (const QString& n : notes)
        note(n);
    if (!regenerated) {
        if (!refusal.isEmpty()) {
            note(refusal);
            result.Error = refusal;
            doc.Clear();
            return result;
        }
        return fail(result.Error);
    }

    // 12.
    if (silent) {
        QString error;
        if (!WriteFileAtomic(target, FormatUtf8TwoSpaces(doc.Dom()), &error)) return fail(error);
        result.Written = true;
        doc.Clear();
        // The notes are in the result; a file that was written is no failure.
        LastErrorText.clear();
        return result;
    }
    // 13. Re-format into UTF-8, one element per line, two spaces per level: the written text is parsed
    // again and written re-indented. Both passes run in memory and the file is written once; when the
    // re-formatting fails, the file holds the text of the first pass.
    const QByteArray written = doc.SaveToBytes(TXmlEncoding::Utf8);
    doc.Clear();
    ExchangeDocument& pass = file.XMLDocument1;
    pass.Clear();
    const bool reformatted = pass.LoadFromBytes(written, target);
    const QString convertError = reformatted ? QString() : LastErrorText;
    QString error;
    const bool ok = WriteFileAtomic(target, reformatted ? FormatUtf8TwoSpaces(pass.Dom()) : written, &error);
    pass.Clear();
    if (!ok) return fail(error);
    result.Written = true;
    if (!reformatted) {
        result.Error = kMsgConvertFile + convertError;
        ShowError(result.Error);
        return result;
    }
    ShowInfo(kMsgFinished);
    return result;
}

TSaveResult SaveWorkingCopy(TOpenExchangeFile& file, const TValuationGeometry& geometry,
                            const TGeometryOptions& options, const TSaveHooks& hooks) {
    TSilentMessagesScope silent;
    return SaveValuationFileAs(file, geometry, options, hooks);
}

#include "valuation/BatchValuation.h"

#include "app/Settings.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "data/TFormMain.h"
#include "exchange/ExchangeDocument.h"
#include "exchange/ExchangePaths.h"
#include "exchange/GeometryFromMap.h"
#include "exchange/OpenExchangeFile.h"
#include "exchange/ValuationFileWriter.h"
#include "exchange/WriterTexts.h"
#include "map/MapControl.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "valuation/Calculation.h"
#include "valuation/HandOver.h"
#include "valuation/TerritoryId.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace {

// Collects what the writer shows while a plot is written.
class TCollectingSink final : public TMessageSink {
public:
    explicit TCollectingSink(QStringList* lines) : lines_(lines), previous_(MessageSink()) {
        SetMessageSink(this);
    }
    ~TCollectingSink() override { SetMessageSink(previous_); }
    void ShowMessage(TMsgKind, const QString&, const QString& text) override { lines_->append(text); }
    TMsgButton Ask(const QString&, const QString&, const QList<TMsgButton>& buttons) override {
        return buttons.isEmpty() ? TMsgButton::None : buttons.first();
    }
    void ShowBalloon(const QString&, const QString&, int, QObject*) override {}
    void HideBalloon() override {}

private:
    QStringList* lines_;
    TMessageSink* previous_;
};

QString OneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
}

struct TCoefficientSlot {
    const char* Name;
    TCoefficientBox TValuationBoxes::*Box;
    TCoefficientTable TNgoTables::*Table; // null for Km4 and District
    TChoice TAutoChoices::*Choice;
};

const TCoefficientSlot kSlots[] = {
    {"Nrd", &TValuationBoxes::Nrd, &TNgoTables::Nrd, &TAutoChoices::Nrd},
    {"Km1", &TValuationBoxes::Km1, &TNgoTables::Km1, &TAutoChoices::Km1},
    {"Km2", &TValuationBoxes::Km2, &TNgoTables::Km2, &TAutoChoices::Km2},
    {"Km3", &TValuationBoxes::Km3, &TNgoTables::Km3, &TAutoChoices::Km3},
    {"Km4", &TValuationBoxes::Km4, nullptr, &TAutoChoices::Km4},
    {"Kcp", &TValuationBoxes::Kcp, &TNgoTables::Kcp, &TAutoChoices::Kcp},
    {"Kmc1", &TValuationBoxes::Kmc1, &TNgoTables::Kmc1, &TAutoChoices::Kmc1},
    {"KmcI", &TValuationBoxes::KmcI, &TNgoTables::KmcI, &TAutoChoices::KmcI},
    {"KmcH", &TValuationBoxes::KmcH, &TNgoTables::KmcH, &TAutoChoices::KmcH},
    {"KmcN", &TValuationBoxes::KmcN, &TNgoTables::KmcN, &TAutoChoices::KmcN},
    {"Kls", &TValuationBoxes::Kls, &TNgoTables::Kls, &TAutoChoices::Kls},
    {"Klk", &TValuationBoxes::Klk, &TNgoTables::Klk, &TAutoChoices::Klk},
    {"PSR", &TValuationBoxes::Psr, &TNgoTables::Psr, &TAutoChoices::Psr},
    {"District", &TValuationBoxes::DistrictNumber, nullptr, &TAutoChoices::DistrictNumber},
};

const TCoefficientSlot* SlotOf(const QString& name) {
    for (const TCoefficientSlot& s : kSlots)
        if (name == QLatin1String(s.Name)) return &s;
    return nullptr;
}

// The table a coefficient is chosen from (Нрд: the table of the appendix in force).
TCoefficientTable* TableOf(TValuationSession& session, const TCoefficientSlot& slot) {
    if (!slot.Table) return nullptr;
    if (slot.Table == &TNgoTables::Nrd && session.Boxes.NrdAppendix == kAppendix2)
        return &session.Tables.Nrd2;
    return &(session.Tables.*slot.Table);
}

QString RowText(const TCoefficientTable& table, int row) {
    QStringList cells;
    for (int c = table.FirstDataColumn(); c < table.ColumnCount(); ++c) {
        const QString cell = table.Cell(row, c).trimmed();
        if (!cell.isEmpty()) cells << cell;
    }
    return cells.join(QStringLiteral(" | "));
}

// The rows a coefficient that stayed open could be: those whose filtered column holds the page's filter
// text, or every row when the filter finds none (at most 30).
QList<TCandidateRow> Candidates(const TCoefficientTable& table, const QString& filterText) {
    QList<int> rows;
    const int column = FilterColumn(table);
    const QString needle = NormaliseFilterText(filterText);
    if (column >= 0 && !needle.isEmpty())
        for (int r = 0; r < table.RowCount(); ++r)
            if (NormaliseFilterText(table.Cell(r, column)).contains(needle)) rows << r;
    if (rows.isEmpty())
        for (int r = 0; r < table.RowCount(); ++r)
            rows << r;
    QList<TCandidateRow> out;
    for (int r : rows) {
        if (out.size() >= 30) break;
        QString row = QString::number(r + 1);
        if (!table.IsCheckBoxTable())
            row += QStringLiteral("x") + QString::number(table.FirstDataColumn() + 1) + QStringLiteral("..") +
                   QString::number(table.ColumnCount() - 1);
        out << TCandidateRow{row, RowText(table, r)};
    }
    return out;
}

TSourceKind KindOf(const ExchangeDocument& doc) {
    return FindNodeAtPath(
               doc.DocumentElement(), {},
               SplitPath(QStringLiteral("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation")))
               ? TSourceKind::Valuation
               : TSourceKind::LandManagement;
}

void Override(QString& field, const QMap<QString, QString>& general, const char* option) {
    const auto it = general.constFind(QString::fromUtf8(option));
    if (it != general.constEnd()) field = it.value();
}

} // namespace

QString ZoneIdFromReferenceDatabase(const TGeneralData& d) {
    TFormMain* data = DataModule();
    if (!data || !data->ADOConnectionRef.IsOpen()) return QString();
    return TerritoryIdFromAddress(
        data->ADOQueryRef, {d.RegionName, d.DistrictName, d.CouncilName, d.SettlementName, d.LocationKind});
}

TBatchValuation::TBatchValuation(const TNgoCommandLine& options) : options_(options) {
    session_.Initialize();
    baseYear_ = ReadBaseYear(session_.Files.Path(kNgoFile));
    kmcAlways_ = options_.KmcAlways.value_or(ReadKmcAlways());
    // The main window's options, read once for the run.
    const int precision = ReadCoordPrecision().toInt();
    precision_ = precision >= 2 && precision <= 4 ? precision : 4;
    geometryOptions_ = {ReadBlockOption(IniKeys::kBlockAddFptp), ReadBlockOption(IniKeys::kBlockAddMxmy)};
}

QString TBatchValuation::OutputPathFor(const QString& file) const {
    const QString beside = ValuationFileNameFor(file);
    if (options_.OutDir.isEmpty()) return beside;
    return QDir(options_.OutDir).filePath(QFileInfo(beside).fileName());
}

TPlotOutcome TBatchValuation::ValueFile(const QString& file) {
    TPlotOutcome out;
    out.File = file;
    ExchangeDocument doc;
    if (!doc.LoadFromFile(file)) {
        out.Status = NgoFileError;
        out.Error = kMsgLoadFile + LastErrorText;
        return out;
    }
    TPlotImport import;
    const TSourceKind kind = KindOf(doc);
    const QString failure = ImportPlot(doc, kind, session_.Files.Path(kPopulFile), &import);
    doc.Clear();
    if (!failure.isEmpty() || !import.HasCoordinates) {
        out.Status = NgoFileError;
        out.Error = failure.isEmpty() ? kImportNoCoordinates : failure;
        return out;
    }

    TGeneralDataInput input = import.Input;
    const QMap<QString, QString>& g = options_.GeneralData;
    Override(input.Population, g, "population");
    Override(input.Year, g, "year");
    Override(input.Location, g, "location");
    Override(input.Region, g, "region");
    Override(input.District, g, "district");
    Override(input.Council, g, "council");
    Override(input.Settlement, g, "settlement");
    Override(input.Centre, g, "centre");
    Override(input.Category, g, "category");
    Override(input.Purpose, g, "purpose");
    Override(input.AgriLandType, g, "land-type");
    Override(input.WaterObjectType, g, "water-type");
    Override(input.ForestType, g, "forest-type");

    // Apply, as "2) Застосувати і розрахувати" does, without its stores: a batch leaves the population
    // list, the address history and the "KmcAlways" setting as they are.
    TGeneralData data;
    const QString invalid = ValidateGeneralData(input, &data, baseYear_);
    if (!invalid.isEmpty()) {
        out.Status = NgoNeedsChoice;
        out.Error = OneLine(invalid);
        return out;
    }
    session_.SourceFileName = file;
    session_.Summary = TSummary();
    session_.Boxes = TValuationBoxes();
    session_.KmcAlways = kmcAlways_;
    session_.Data = data;
    session_.IndexationList = BuiltInIndexationList();
    LoadIndexationList(session_.IndexationFile(), &session_.IndexationList);
    session_.ChooseCoefficients();
    session_.ComputeKni();
    session_.Summary.FileTerrID = (TerritorialZoneId ? TerritorialZoneId : ZoneIdFromReferenceDatabase)(data);
    if (!ApplyChoices(out)) return out;
    Report(out);
    if (out.Status != NgoValued || !options_.Write) return out;
    WriteValuation(out, import);
    return out;
}

bool TBatchValuation::ApplyChoices(TPlotOutcome& out) {
    auto refuse = [&out](const QString& text) {
        out.Status = NgoNeedsChoice;
        out.Error = text;
        return false;
    };
    for (const auto& [name, value] : options_.Rows) {
        const TCoefficientSlot* slot = SlotOf(name);
        TCoefficientTable* table = slot ? TableOf(session_, *slot) : nullptr;
        if (!table) return refuse(QStringLiteral("--row: %1 не обирається з таблиці.").arg(name));
        if (table->IsCheckBoxTable()) {
            const int row = value.toInt() - 1;
            if (row < 0 || row >= table->RowCount())
                return refuse(QStringLiteral("--row %1=%2: у таблиці %3 рядків.")
                                  .arg(name, value)
                                  .arg(table->RowCount()));
            table->ClearChecks();
            table->SetChecked(row, true);
            session_.OnRowCheckChanged(*table, row);
        } else {
            const QStringList parts = value.toLower().split(QLatin1Char('x'));
            const int row = parts.value(0).toInt() - 1, column = parts.value(1).toInt();
            if (row < 0 || row >= table->RowCount() || column < table->FirstDataColumn() + 1 ||
                column >= table->ColumnCount())
                return refuse(QStringLiteral("--row %1=%2: у таблиці %3 рядків і стовпці від 1 до %4.")
                                  .arg(name, value)
                                  .arg(table->RowCount())
                                  .arg(table->ColumnCount() - 1));
            session_.OnCellClicked(*table, row, column);
        }
    }
    for (const auto& [name, value] : options_.Sets) {
        const TCoefficientSlot* slot = SlotOf(name);
        if (!slot) continue;
        TCoefficientBox& box = session_.Boxes.*slot->Box;
        box.Value = value;
        box.Row.clear();
    }
    return true;
}

void TBatchValuation::Report(TPlotOutcome& out) {
    const TValuationBoxes& b = session_.Boxes;
    for (const TCoefficientSlot& slot : kSlots) {
        const TCoefficientBox& box = b.*slot.Box;
        TCoefficientOutcome c;
        c.Name = QString::fromUtf8(slot.Name);
        c.Value = box.Value;
        c.Row = box.Row;
        c.Chosen = IsValueChosen(box.Value);
        if (!c.Chosen) {
            if (TCoefficientTable* table = TableOf(session_, slot))
                c.Candidates = Candidates(*table, (session_.Choices.*slot.Choice).FilterText);
            out.Missing << c.Name;
        }
        out.Coefficients << c;
    }
    out.Calculation = session_.CalculationText();
    out.Amount = ValuationAmount(CurrentFactors(session_.Data, b, session_.Tables.Psr));
    out.AmountText = FormatAmount(out.Amount);
    if (!out.Missing.isEmpty()) {
        out.Status = NgoNeedsChoice;
        out.Error = QStringLiteral("Не визначено: ") + out.Missing.join(QStringLiteral(", "));
    }
}

bool TBatchValuation::WriteValuation(TPlotOutcome& out, const TPlotImport& import) {
    TSummary& s = session_.Summary;
    session_.FillSummary();
    s.FileCadnum = import.Cadnum;
    s.FileTerrCode = import.TerrCode;
    if (!options_.ZoneId.isEmpty()) s.FileTerrID = options_.ZoneId;
    if (import.ApprovalFound) {
        s.ApproveBy = import.ApproveBy;
        s.ApproveDt = import.ApproveDt;
        s.ApproveNo = import.ApproveNo;
    }
    s.BlockCreateApprove = !options_.NoApproval;
    s.BlockCreateTerrZona = !options_.NoZone;
    s.OrganFromDB = !options_.Organisation.isEmpty();
    s.Organisation = options_.Organisation;
    {
        TSilentMessagesScope silent;
        LastErrorText.clear();
        if (!CheckCreateXml(s)) {
            out.Status = NgoNeedsChoice;
            out.Error = OneLine(LastErrorText);
            if (const TSummaryField* f = FirstMissingSummaryField(s, 98)) out.Missing << f->Hint;
            return false;
        }
    }
    const TValuationHandOver handOver = HandOverFromSummary(
        s, session_.Tables.Psr, session_.Boxes.Psr.Row, session_.Agro, import.Kind == TSourceKind::Valuation);

    auto fail = [&out](const QString& text) {
        out.Status = NgoFileError;
        out.Error = text;
        return false;
    };
    TCollectingSink sink(&out.Log);
    TOpenExchangeFile file;
    const QString workingCopy = NewWorkingCopyPath(out.File);
    if (workingCopy.isEmpty()) return fail(LastErrorText);
    TMap map;
    bool ok = false;
    try {
        PrepareMapForFile(map, out.File, precision_);
        TCreateHooks hooks;
        hooks.LogLine = [&out](const QString& line) { out.Log << line; };
        hooks.BuildMapObjects = [&map, &out](ExchangeDocument& document) {
            return BuildMapObjectsFromExchangeFile(map, document.Dom(),
                                                   [&out](const QString& line) { out.Log << line; })
                .CoordinatesLoaded;
        };
        hooks.FindOrganisation = FindOrganisation;
        ok = CreateValuationFile(file, out.File, workingCopy, handOver, hooks);
        if (ok) {
            file.SaveAsFile = OutputPathFor(out.File);
            TSaveHooks saveHooks;
            saveHooks.LogLine = hooks.LogLine;
            const TSaveResult saved =
                SaveValuationFileAs(file, GeometryFromMap(map), geometryOptions_, saveHooks);
            ok = saved.Written && saved.Error.isEmpty();
            if (ok)
                out.Written = file.SaveAsFile;
            else
                out.Error = saved.Error;
        }
    } catch (const std::exception& e) {
        out.Log << QString::fromUtf8(e.what());
        ok = false;
    }
    file.EmptyDocuments();
    file.CloseWorkingFolder();
    DeleteFolderTree(QFileInfo(workingCopy).path());
    if (!ok) return fail(out.Error.isEmpty() ? out.Log.join(QStringLiteral("; ")) : out.Error);
    return true;
}

QString PlotOutcomeText(const TPlotOutcome& o) {
    QString text = QStringLiteral("== ") + o.File + QLatin1Char('\n');
    if (!o.Calculation.isEmpty()) text += QString(o.Calculation).remove(QLatin1Char('\r'));
    for (const TCoefficientOutcome& c : o.Coefficients) {
        if (c.Chosen) continue;
        text += QStringLiteral("Не визначено %1 (%2)")
                    .arg(c.Name, c.Value.isEmpty() ? QStringLiteral("порожньо") : c.Value);
        if (c.Candidates.isEmpty()) {
            text += QLatin1Char('\n');
            continue;
        }
        text += QStringLiteral(", можливі рядки (--row %1=РЯДОК):\n").arg(c.Name);
        for (const TCandidateRow& r : c.Candidates)
            text += QStringLiteral("  %1: %2\n").arg(r.Row, r.Text);
    }
    if (!o.Error.isEmpty() && o.Missing.isEmpty())
        text += o.Error + QLatin1Char('\n');
    else if (!o.Error.isEmpty() && !o.Error.startsWith(QStringLiteral("Не визначено: ")))
        text += o.Error + QLatin1Char('\n');
    if (!o.Written.isEmpty()) text += QStringLiteral("Записано: ") + o.Written + QLatin1Char('\n');
    return text;
}

QByteArray PlotOutcomeJson(const TPlotOutcome& o) {
    QJsonObject coefficients;
    for (const TCoefficientOutcome& c : o.Coefficients) {
        QJsonObject entry{{"value", c.Value}, {"row", c.Row}, {"chosen", c.Chosen}};
        if (!c.Candidates.isEmpty()) {
            QJsonArray candidates;
            for (const TCandidateRow& r : c.Candidates)
                candidates.append(QJsonObject{{"row", r.Row}, {"text", r.Text}});
            entry.insert("candidates", candidates);
        }
        coefficients.insert(c.Name, entry);
    }
    QJsonObject root{{"file", o.File},
                     {"status", o.Status},
                     {"coefficients", coefficients},
                     {"missing", QJsonArray::fromStringList(o.Missing)}};
    if (!o.Coefficients.isEmpty()) {
        root.insert("amount", o.Amount);
        root.insert("amountText", o.AmountText);
    }
    if (!o.Error.isEmpty()) root.insert("error", o.Error);
    if (!o.Written.isEmpty()) root.insert("written", o.Written);
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

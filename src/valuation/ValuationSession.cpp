#include "valuation/ValuationSession.h"

#include "app/Settings.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "valuation/Calculation.h"

namespace {

void Put(TCoefficientBox& box, const TChoice& choice) {
    box.Value = choice.Value;
    box.Row = choice.Row;
}

} // namespace

TValuationSession::TValuationSession()
    : PsrPrev(QStringLiteral("NextGridPSRPrev"), TTableKind::CheckBox, PsrCaptions()),
      Agro(QStringLiteral("NextGridAgro"), TTableKind::Cell, AgroCaptions()),
      AgroPrev(QStringLiteral("NextGridAgroPrev"), TTableKind::Cell, AgroCaptions()) {
    Agro.SetEditable(true);
}

void TValuationSession::Initialize() {
    if (Initialized) return;
    LoadNgoTables(Tables, Files.Path(kNgoFile));
    History.Load(Files.Path(kAddrFile));
    KmcAlways = ReadKmcAlways();
    Initialized = true;
}

bool TValuationSession::Apply(const TGeneralDataInput& input, TApplyButton button) {
    Q_UNUSED(button);
    TGeneralData data;
    const QString failure = ValidateGeneralData(input, &data, ReadBaseYear(Files.Path(kNgoFile)));
    if (!failure.isEmpty()) {
        ShowWarning(failure);
        return false;
    }
    Data = data;
    // Remembered input; a file that cannot be written is left as it is and not reported.
    PopulationStore(Files.Path(kPopulFile), Data.CouncilName, Data.PopulationCount, Data.CentreName);
    History.Store(Files.Path(kAddrFile), {{QStringLiteral("NxItemKoatuu"), input.Koatuu},
                                          {QStringLiteral("NxItemAddrObl"), input.Region},
                                          {QStringLiteral("NxItemAddrRaion"), input.District},
                                          {QStringLiteral("NxItemAddrRada"), input.Council},
                                          {QStringLiteral("NxItemAddrNP"), input.Settlement},
                                          {QStringLiteral("NxItemCenterTG"), input.Centre},
                                          {QStringLiteral("NxItemPopul"), input.Population}});
    WriteKmcAlways(KmcAlways);
    LoadIndexationList(IndexationFile(), &IndexationList);
    ChooseCoefficients();
    ComputeKni();
    if (TerritorialZoneId) Summary.FileTerrID = TerritorialZoneId(Data);
    return true;
}

void TValuationSession::ChooseCoefficients() {
    TChoiceOptions options;
    options.KmcAlways = KmcAlways;
    options.KlsDefault = ReadKlsDefault(Files.Path(kNgoFile));
    options.PreviousDistrictNumber = Boxes.DistrictNumber.Prev;
    options.PreviousDistrictVisible = Boxes.DistrictNumber.PrevVisible;
    Choices = ChooseAllCoefficients(Tables, Data, options);
    MarkChoices(Tables, Choices);

    Put(Boxes.Nrd, Choices.Nrd);
    Boxes.NrdAppendix = Choices.Nrd.Appendix;
    Put(Boxes.Km1, Choices.Km1);
    Put(Boxes.Km2, Choices.Km2);
    Put(Boxes.Km3, Choices.Km3);
    Put(Boxes.Kcp, Choices.Kcp);
    Put(Boxes.Kmc1, Choices.Kmc1);
    Put(Boxes.KmcI, Choices.KmcI);
    Put(Boxes.KmcH, Choices.KmcH);
    Put(Boxes.KmcN, Choices.KmcN);
    Put(Boxes.Kls, Choices.Kls);
    Put(Boxes.Psr, Choices.Psr);
    Boxes.PsrNumber = Choices.Psr.Number;
    Put(Boxes.Klk, Choices.Klk);
    Boxes.Km4.Value = Choices.Km4.Value;
    Boxes.DistrictNumber.Value = Choices.DistrictNumber.Value;

    Agro.Clear();
    Agro.AppendRow(Choices.AgroRow);
}

void TValuationSession::ComputeKni() {
    const TKni kni = ::ComputeKni(IndexationList, ReadBaseYear(Files.Path(kNgoFile)), Data.YearOfValuation);
    Boxes.KniValue = kni.Value;
    Boxes.KniFormula = kni.Factors;
}

QString TValuationSession::CalculationText() const {
    if (!Initialized) return {};
    return BuildCalculationText(Data, Boxes, Tables.Psr, PsrPrev, Mode);
}

void TValuationSession::FillSummary() {
    if (!Initialized) return;
    ::FillSummary(Summary, Data, Boxes, Agro);
}

TGeneralDataInput TValuationSession::PrefillFromPlot(const QMap<QString, QString>& rows) {
    const auto row = [&rows](const char* name) { return rows.value(QString::fromLatin1(name)); };
    SourceFileName = row("NxItemFile");
    Summary.FileCadnum = row("NxItemCadnum");
    TGeneralDataInput in;
    in.Area = row("NxItemSQ");
    in.Koatuu = row("NxItemKoatuu");
    in.Region = row("NxItemAddrObl");
    in.District = row("NxItemAddrRaion");
    in.Council = row("NxItemAddrRada");
    in.Settlement = row("NxItemAddrNP");
    in.Location = row("NxItemVMezhah");
    in.Category = row("NxItemCategory");
    in.Purpose = row("NxItemCileve");
    in.Centre = row("NxItemCenterTG");
    in.Population = row("NxItemPopul");
    in.Year = row("NxItemOcYear");
    in.AgriLandType = row("NxItemVydSilhoz");
    in.WaterObjectType = row("NxItemVydVodnogo");
    in.ForestType = row("NxItemVydLisnogo");

    const struct {
        const char* row;
        TCoefficientBox* box;
    } previous[] = {{"NxItemOcNdr", &Boxes.Nrd},   {"NxItemOcKm1", &Boxes.Km1},
                    {"NxItemOcKm2", &Boxes.Km2},   {"NxItemOcKm3", &Boxes.Km3},
                    {"NxItemOcKls", &Boxes.Kls},   {"NxItemOcKmc1", &Boxes.Kmc1},
                    {"NxItemOcKmcI", &Boxes.KmcI}, {"NxItemOcKmcH", &Boxes.KmcH},
                    {"NxItemOcKmcN", &Boxes.KmcN}, {"NxItemOcRaNo", &Boxes.DistrictNumber},
                    {"NxItemOcKm4", &Boxes.Km4},   {"NxItemOcKlk", &Boxes.Klk}};
    for (const auto& p : previous) {
        p.box->Prev = StoredCoefficientValue(row(p.row)).trimmed();
        p.box->PrevVisible = true;
    }
    PsrPrev.Clear();
    const QString psrRow = StoredCoefficientRow(row("NxItemOcPsrNo")).trimmed();
    const int r = IsIntegerText(psrRow) ? static_cast<int>(TextToIntOrZero(psrRow)) - 1 : -1;
    if (r >= 0 && r < Tables.Psr.RowCount()) {
        PsrPrev.AppendRow(Tables.Psr.RowCells(r));
        PsrPrev.SetChecked(0, true);
    }
    return in;
}

TCoefficientBox* TValuationSession::BoxOf(const TCoefficientTable& t) {
    if (&t == &Tables.Nrd || &t == &Tables.Nrd2) return &Boxes.Nrd;
    if (&t == &Tables.Km1) return &Boxes.Km1;
    if (&t == &Tables.Km2) return &Boxes.Km2;
    if (&t == &Tables.Km3) return &Boxes.Km3;
    if (&t == &Tables.Kcp) return &Boxes.Kcp;
    if (&t == &Tables.Kmc1) return &Boxes.Kmc1;
    if (&t == &Tables.KmcI) return &Boxes.KmcI;
    if (&t == &Tables.KmcH) return &Boxes.KmcH;
    if (&t == &Tables.KmcN) return &Boxes.KmcN;
    if (&t == &Tables.Kls) return &Boxes.Kls;
    if (&t == &Tables.Psr) return &Boxes.Psr;
    if (&t == &Tables.Klk) return &Boxes.Klk;
    return nullptr;
}

void TValuationSession::OnRowCheckChanged(TCoefficientTable& table, int row) {
    TCoefficientBox* box = BoxOf(table);
    if (!box) return;
    const auto choice = RowCheckChanged(table, row);
    if (!choice) return;
    box->Value = choice->Value;
    box->Row = choice->Row;
    if (box == &Boxes.Nrd) {
        Boxes.NrdAppendix = choice->Appendix;
    }
    if (box == &Boxes.Psr) {
        Boxes.PsrNumber = choice->Number;
        UpdateAgroFromPsr(Agro, Tables.Psr, table.IsChecked(row) ? row : -1);
    }
}

void TValuationSession::OnCellClicked(TCoefficientTable& table, int row, int column) {
    TCoefficientBox* box = BoxOf(table);
    if (!box) return;
    const auto choice = CellClicked(table, row, column);
    if (!choice) return;
    box->Value = choice->Value;
    box->Row = choice->Row;
}

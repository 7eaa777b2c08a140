#include "valuation/CoefficientRules.h"

#include "common/NumberFormat.h"
#include "common/TextHelpers.h"

namespace {

using namespace NgoColumns;

bool In(const QString& code, std::initializer_list<const char*> codes) {
    for (const char* c : codes)
        if (code == QLatin1String(c)) return true;
    return false;
}

QString Removed(QString text, std::initializer_list<const char*> parts) {
    for (const char* p : parts)
        text.remove(QString::fromUtf8(p));
    return text;
}

TChoice NotApplicable(const QString& filterText) {
    TChoice c;
    c.Value = kNotApplicable;
    c.Row = QStringLiteral("0");
    c.FilterText = filterText;
    c.Applicable = false;
    return c;
}

// The result of a search over a check-box table whose value column is valueColumn.
TChoice RowChoice(const TCoefficientTable& table, const TSearchResult& found, int valueColumn,
                  const QString& filterText) {
    TChoice c;
    c.FilterText = filterText;
    if (found.Several) {
        c.Value = kSeveral;
    } else if (found.Row >= 0) {
        c.TableRow = found.Row;
        c.Value = table.Cell(found.Row, valueColumn);
        c.Row = QString::number(found.Row + 1);
    }
    return c;
}

// Км1 and Км2 without a matching row (and Км3 always): "1,0" with the first row checked.
TChoice DefaultFirstRow(const TCoefficientTable& table, const QString& filterText) {
    TChoice c;
    c.Value = kNotApplicable;
    c.FilterText = filterText;
    if (table.RowCount() > 0) {
        c.TableRow = 0;
        c.Row = QStringLiteral("1");
    }
    return c;
}

bool SplitBounds(const QString& text, double* lower, double* upper) {
    const int dash = text.indexOf(QLatin1Char('-'));
    if (dash < 0) return false;
    const QString ws = QStringLiteral(" \t\r\n");
    bool okLow = false, okUp = false;
    const double lo = ParseNumber(TrimChars(text.left(dash), ws), &okLow);
    const double up = ParseNumber(TrimChars(text.mid(dash + 1), ws), &okUp);
    if (!okLow || !okUp) return false;
    *lower = lo * 1000;
    *upper = up * 1000;
    return true;
}

} // namespace

bool IsValueChosen(const QString& value) {
    return !value.isEmpty() && value != kSeveral;
}

TSearchResult SearchTable(const TCoefficientTable& table, int column, const QString& text, TMatchMode mode) {
    TSearchResult result;
    if (text.isEmpty()) return result; // an empty text would match every row
    for (int r = 0; r < table.RowCount(); ++r) {
        if (!table.SearchCell(r, column).contains(text)) continue;
        if (mode == TMatchMode::OneOrMany && result.Row >= 0) {
            result.Row = -1;
            result.Several = true;
            return result;
        }
        result.Row = r;
        if (mode == TMatchMode::First) return result;
    }
    return result;
}

QString Km1SearchText(const QString& councilName) {
    QString s = councilName.toLower();
    s.remove(QStringLiteral("на території "));
    s.replace(QStringLiteral("ого "), QStringLiteral(" "));
    s.replace(QStringLiteral("ої "), QStringLiteral(" "));
    const int space = s.indexOf(QLatin1Char(' '));
    return space < 0 ? s : s.left(space);
}

QString Km2SearchText(const QString& settlementName) {
    QString s = Removed(settlementName.toLower(), {"(", ")"});
    const int comma = s.indexOf(QLatin1Char(','));
    if (comma >= 0) s = s.left(comma);
    return Removed(s, {"с.", "м.", "с-ще"}).trimmed();
}

QString Kmc1SearchText(const QString& regionName) {
    return Removed(regionName.toLower(), {"область", "обл."}).trimmed();
}

QString KmcISearchText(const QString& regionName) {
    return Removed(regionName.toLower(), {"область", "обл.", "м."}).trimmed();
}

QString KmcHSearchText(const QString& regionName) {
    return Removed(regionName.toLower(), {"а область", "а обл.", "м."}).trimmed();
}

QString KlsSearchText(const QString& districtName) {
    return Removed(districtName.toLower(), {"район"}).trimmed();
}

QString PsrSearchText(const QString& districtName) {
    return Removed(Removed(districtName.toLower(), {"район"}), {"ий "}).trimmed();
}

QString KlkSearchText(const QString& regionName) {
    return KmcISearchText(regionName);
}

bool Km123Apply(const QString& category) {
    return !In(category, {"100", "300", "400", "500", "600", "700", "800"});
}

bool Kmc1Applies(const QString& category, const QString& location, bool kmcAlways) {
    if (kmcAlways) return true;
    return In(category, {"200", "300", "500", "900"}) ||
           (category == QLatin1String("400") && location == kInsideSettlement);
}

bool KmcIApplies(const QString& category, const QString& location, bool kmcAlways) {
    return kmcAlways || (category == QLatin1String("900") && location == kOutsideSettlement);
}

bool KmcHApplies(const QString& category, const QString& location, bool kmcAlways) {
    return kmcAlways || (category == QLatin1String("400") && location == kOutsideSettlement);
}

bool KmcNApplies(const QString& category, bool kmcAlways) {
    return kmcAlways || category == QLatin1String("600");
}

bool NrdFromAppendix2(const QString& category, const QString& location) {
    if (In(category, {"100", "300", "600", "700", "800"})) return true;
    return category == QLatin1String("400") && location == kOutsideSettlement;
}

bool Nrd2PanelVisible(const QString& category) {
    return In(category, {"100", "300", "400", "600", "700", "800"});
}

bool ParseBandText(const QString& text, double* lower, double* upper) {
    QString s = text.toLower().trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    s.replace(QStringLiteral(" до "), QStringLiteral("-"));
    s = Removed(s, {"від", "тис. осіб"});
    s.replace(QStringLiteral("менше "), QStringLiteral("0-"));
    if (s.contains(QStringLiteral("більше "))) {
        s.remove(QStringLiteral("більше "));
        s += QStringLiteral("-99999999");
    }
    return SplitBounds(s, lower, upper);
}

bool ParseBandCaption(const QString& caption, double* lower, double* upper) {
    QString s = caption.toLower().trimmed();
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    s.replace(QStringLiteral("до"), QStringLiteral("-"));
    s = Removed(s, {"від", "тис. осіб"});
    s.replace(QStringLiteral("менше"), QStringLiteral("0-"));
    if (s.contains(QStringLiteral("більше"))) {
        s.remove(QStringLiteral("більше"));
        s += QStringLiteral("-99999999");
    }
    return SplitBounds(s, lower, upper);
}

TChoice ChooseNrd(const TNgoTables& tables, const TGeneralData& data) {
    TChoice c;
    if (NrdFromAppendix2(data.CategoryCode, data.LocationKind)) {
        c.Appendix = kAppendix2;
        const TSearchResult found =
            SearchTable(tables.Nrd2, kNrd2Category, data.CategoryCode, TMatchMode::Last);
        if (found.Row < 0) return c;
        c.TableRow = found.Row;
        c.Row = QString::number(found.Row + 1);
        QString cell = tables.Nrd2.Cell(found.Row, kNrd2Value).trimmed();
        cell.replace(QLatin1Char(','), QLatin1Char('.'));
        bool ok = false;
        const double value = ParseNumber(cell, &ok);
        // A norm that does not parse stays empty, so that the page shows it as missing instead of a 0.
        if (ok) c.Value = FormatGeneral(value);
        return c;
    }
    c.Appendix = kAppendix1;
    for (int r = 0; r < tables.Nrd.RowCount(); ++r) {
        double lower = 0, upper = 0;
        if (!ParseBandText(tables.Nrd.Cell(r, kNrdBand), &lower, &upper)) continue;
        const double population = static_cast<double>(data.PopulationCount);
        if (lower <= population && population <= upper) c.TableRow = r; // the later band wins
    }
    if (c.TableRow >= 0) {
        c.Value = tables.Nrd.Cell(c.TableRow, kNrdValue);
        c.Row = QString::number(c.TableRow + 1);
    }
    return c;
}

TChoice ChooseKm1(const TCoefficientTable& km1, const TGeneralData& data) {
    const QString text = Km1SearchText(data.CouncilName);
    if (!Km123Apply(data.CategoryCode)) return NotApplicable(text);
    const TSearchResult found = SearchTable(km1, kKm1Communities, text, TMatchMode::OneOrMany);
    if (!found.Several && found.Row < 0) return DefaultFirstRow(km1, text);
    return RowChoice(km1, found, kKm1Value, text);
}

TChoice ChooseKm2(const TCoefficientTable& km2, const TGeneralData& data) {
    const QString text = Km2SearchText(data.SettlementName);
    if (!Km123Apply(data.CategoryCode)) return NotApplicable(text);
    const TSearchResult found = SearchTable(km2, kKm2Name, text, TMatchMode::OneOrMany);
    if (!found.Several && found.Row < 0) return DefaultFirstRow(km2, text);
    return RowChoice(km2, found, kKm2Value, text);
}

TChoice ChooseKm3(const TCoefficientTable& km3, const TGeneralData& data) {
    if (!Km123Apply(data.CategoryCode)) return NotApplicable(QString());
    return DefaultFirstRow(km3, QString());
}

TChoice ChooseKcp(const TCoefficientTable& kcp, const TGeneralData& data) {
    const QString text = data.PurposeCode;
    if (data.CategoryCode.isEmpty()) return NotApplicable(text);
    return RowChoice(kcp, SearchTable(kcp, kKcpCode, text.toLower(), TMatchMode::Last), kKcpValue, text);
}

TChoice ChooseKmc1(const TCoefficientTable& kmc1, const TGeneralData& data, bool kmcAlways) {
    TChoice c;
    c.FilterText = Kmc1SearchText(data.RegionName);
    if (!Kmc1Applies(data.CategoryCode, data.LocationKind, kmcAlways)) return NotApplicable(c.FilterText);
    const TSearchResult unit = SearchTable(kmc1, kKmc1Name, c.FilterText, TMatchMode::First);
    if (unit.Row < 0) return c;
    int column = -1;
    const double population = static_cast<double>(data.PopulationCount);
    for (int col = kKmc1FirstBand; col < kmc1.ColumnCount(); ++col) {
        double lower = 0, upper = 0;
        if (!ParseBandCaption(kmc1.Caption(col), &lower, &upper)) continue;
        if (lower <= population && population <= upper) column = col; // the higher band wins
    }
    if (column < 0) return c;
    c.TableRow = unit.Row;
    c.TableColumn = column;
    c.Value = kmc1.Cell(unit.Row, column);
    c.Row = QString::number(unit.Row + 1) + QLatin1Char('x') + QString::number(column);
    return c;
}

TChoice ChooseKmcI(const TCoefficientTable& kmcI, const TGeneralData& data, bool kmcAlways) {
    const QString text = KmcISearchText(data.RegionName);
    if (!KmcIApplies(data.CategoryCode, data.LocationKind, kmcAlways)) return NotApplicable(text);
    return RowChoice(kmcI, SearchTable(kmcI, kUnitName, text, TMatchMode::OneOrMany), kUnitValue, text);
}

TChoice ChooseKmcH(const TCoefficientTable& kmcH, const TGeneralData& data, bool kmcAlways) {
    const QString text = KmcHSearchText(data.RegionName);
    if (!KmcHApplies(data.CategoryCode, data.LocationKind, kmcAlways)) return NotApplicable(text);
    return RowChoice(kmcH, SearchTable(kmcH, kUnitName, text, TMatchMode::OneOrMany), kUnitValue, text);
}

TChoice ChooseKmcN(const TCoefficientTable& kmcN, const TGeneralData& data, bool kmcAlways) {
    const QString text = KmcHSearchText(data.RegionName);
    if (!KmcNApplies(data.CategoryCode, kmcAlways)) return NotApplicable(text);
    return RowChoice(kmcN, SearchTable(kmcN, kUnitName, text, TMatchMode::OneOrMany), kUnitValue, text);
}

TChoice ChooseKls(const TCoefficientTable& kls, const TGeneralData& data,
                  const std::optional<QString>& klsDefault) {
    const QString filter = KlsSearchText(data.DistrictName);
    if (data.CategoryCode.isEmpty()) return NotApplicable(filter);
    const QString text = klsDefault ? klsDefault->toLower() : filter;
    return RowChoice(kls, SearchTable(kls, kUnitName, text, TMatchMode::OneOrMany), kUnitValue, filter);
}

TChoice ChoosePsr(const TCoefficientTable& psr, const TGeneralData& data) {
    const QString text = PsrSearchText(data.DistrictName);
    const TSearchResult found = SearchTable(psr, kPsrName, text, TMatchMode::OneOrMany);
    TChoice c = RowChoice(psr, found, kPsrName, text);
    if (c.TableRow >= 0) c.Number = psr.Cell(c.TableRow, kPsrNumber);
    return c;
}

TChoice ChooseKlk(const TCoefficientTable& klk, const TGeneralData& data) {
    TChoice c;
    c.FilterText = KlkSearchText(data.RegionName);
    const TSearchResult found = SearchTable(klk, kKlkName, c.FilterText, TMatchMode::OneOrMany);
    if (found.Several) {
        c.Value = kSeveral;
    } else if (found.Row >= 0) {
        const int column = data.ForestType == kExploitationForests ? kKlkExploitation : kKlkProtective;
        c.TableRow = found.Row;
        c.TableColumn = column;
        c.Value = klk.Cell(found.Row, column);
        c.Row = QString::number(found.Row + 1) + QLatin1Char('x') + QString::number(column);
    }
    return c;
}

TChoice ChooseKm4() {
    TChoice c;
    c.Value = kNotApplicable;
    return c;
}

TChoice ChooseDistrictNumber(const QString& previousNumber, bool previousVisible) {
    TChoice c;
    c.Value = previousVisible && !previousNumber.isEmpty() ? previousNumber : QStringLiteral("1");
    return c;
}

QStringList AgroRowFor(const QString& areaText, const TCoefficientTable& psr, int psrRow) {
    QStringList row{QStringLiteral("1"), QStringLiteral("-"), areaText};
    for (int i = 0; i < 4; ++i)
        row << (psrRow >= 0 && psrRow < psr.RowCount() ? psr.Cell(psrRow, kPsrBpsgrFirst + i)
                                                       : QStringLiteral("0"));
    return row;
}

TAutoChoices ChooseAllCoefficients(const TNgoTables& tables, const TGeneralData& data,
                                   const TChoiceOptions& options) {
    TAutoChoices c;
    c.Nrd = ChooseNrd(tables, data);
    c.Km1 = ChooseKm1(tables.Km1, data);
    c.Km2 = ChooseKm2(tables.Km2, data);
    c.Km3 = ChooseKm3(tables.Km3, data);
    c.Kcp = ChooseKcp(tables.Kcp, data);
    c.Kmc1 = ChooseKmc1(tables.Kmc1, data, options.KmcAlways);
    c.KmcI = ChooseKmcI(tables.KmcI, data, options.KmcAlways);
    c.KmcH = ChooseKmcH(tables.KmcH, data, options.KmcAlways);
    c.KmcN = ChooseKmcN(tables.KmcN, data, options.KmcAlways);
    c.Kls = ChooseKls(tables.Kls, data, options.KlsDefault);
    c.Psr = ChoosePsr(tables.Psr, data);
    c.Klk = ChooseKlk(tables.Klk, data);
    c.Km4 = ChooseKm4();
    c.DistrictNumber = ChooseDistrictNumber(options.PreviousDistrictNumber, options.PreviousDistrictVisible);
    c.AgroRow = AgroRowFor(data.AreaText, tables.Psr, c.Psr.TableRow);
    return c;
}

void MarkChoice(TCoefficientTable& table, const TChoice& choice) {
    table.ClearChecks();
    table.SelectCell(0, 0);
    table.ShowAllRows();
    if (!choice.Applicable) {
        table.HideAllRows();
        return;
    }
    if (choice.TableRow < 0 || choice.TableRow >= table.RowCount()) return;
    if (table.IsCheckBoxTable()) {
        table.SetChecked(choice.TableRow, true);
        table.SelectCell(choice.TableRow, 0);
    } else {
        table.SelectCell(choice.TableRow, choice.TableColumn);
    }
}

void MarkNrdChoice(TNgoTables& tables, const TChoice& choice) {
    TChoice none;
    const bool second = choice.Appendix == kAppendix2;
    MarkChoice(second ? tables.Nrd : tables.Nrd2, none);
    MarkChoice(second ? tables.Nrd2 : tables.Nrd, choice);
}

void MarkChoices(TNgoTables& tables, const TAutoChoices& c) {
    MarkNrdChoice(tables, c.Nrd);
    MarkChoice(tables.Km1, c.Km1);
    MarkChoice(tables.Km2, c.Km2);
    MarkChoice(tables.Km3, c.Km3);
    MarkChoice(tables.Kcp, c.Kcp);
    MarkChoice(tables.Kmc1, c.Kmc1);
    MarkChoice(tables.KmcI, c.KmcI);
    MarkChoice(tables.KmcH, c.KmcH);
    MarkChoice(tables.KmcN, c.KmcN);
    MarkChoice(tables.Kls, c.Kls);
    MarkChoice(tables.Psr, c.Psr);
    MarkChoice(tables.Klk, c.Klk);
}

int ValueColumn(const TCoefficientTable& table) {
    const QString name = table.objectName();
    if (name == QLatin1String("NextGridKm1") || name == QLatin1String("NextGridKcp") ||
        name == QLatin1String("NextGridPSR"))
        return 3;
    return 2;
}

std::optional<THandChoice> RowCheckChanged(TCoefficientTable& table, int row) {
    if (!table.IsCheckBoxTable() || row < 0 || row >= table.RowCount()) return std::nullopt;
    THandChoice c;
    const QString name = table.objectName();
    const bool nrd = name == QLatin1String("NextGridNrd") || name == QLatin1String("NextGridNrd2");
    // The clicked row becomes the table's current row, so that the grid highlights the checked row and
    // nothing once it is unchecked.
    table.SelectCell(row, 0);
    if (!table.IsChecked(row)) return c; // everything cleared
    for (int r = 0; r < table.RowCount(); ++r)
        if (r != row) table.SetChecked(r, false);
    c.Value = table.Cell(row, ValueColumn(table));
    c.Row = QString::number(row + 1);
    if (nrd) c.Appendix = name == QLatin1String("NextGridNrd2") ? kAppendix2 : kAppendix1;
    if (name == QLatin1String("NextGridPSR")) c.Number = table.Cell(row, kPsrNumber);
    return c;
}

std::optional<THandChoice> CellClicked(TCoefficientTable& table, int row, int column) {
    if (table.IsCheckBoxTable() || column <= 0 || column >= table.ColumnCount() || row < 0 ||
        row >= table.RowCount())
        return std::nullopt;
    table.SelectCell(row, column);
    THandChoice c;
    c.Value = table.Cell(row, column);
    c.Row = QString::number(row + 1) + QLatin1Char('x') + QString::number(column);
    return c;
}

void UpdateAgroFromPsr(TCoefficientTable& agro, const TCoefficientTable& psr, int psrRow) {
    if (agro.RowCount() != 1) return;
    for (int i = 0; i < 4; ++i)
        agro.SetCell(0, 3 + i, psrRow >= 0 ? psr.Cell(psrRow, kPsrBpsgrFirst + i) : QString());
}

QString AgroCodeFromChoice(const QString& text) {
    const int dash = text.indexOf(QLatin1Char('-'));
    if (dash > 0 && dash < text.size() - 1) return text.left(dash);
    return text;
}

int FilterColumn(const TCoefficientTable& table) {
    const QString name = table.objectName();
    if (name == QLatin1String("NextGridKm1")) return 2;
    if (name == QLatin1String("NextGridKmc1") || name == QLatin1String("NextGridKlk")) return 0;
    if (name == QLatin1String("NextGridPSR")) return 3;
    if (name == QLatin1String("NextGridKm2") || name == QLatin1String("NextGridKcp") ||
        name == QLatin1String("NextGridKmcI") || name == QLatin1String("NextGridKmcH") ||
        name == QLatin1String("NextGridKmcN") || name == QLatin1String("NextGridKls"))
        return 1;
    return -1;
}

QString NormaliseFilterText(const QString& text) {
    return NormaliseApostrophes(text.toLower().trimmed());
}

bool ApplyFilter(TCoefficientTable& table, const QString& text) {
    const int column = FilterColumn(table);
    const QString needle = NormaliseFilterText(text);
    if (column < 0 || needle.size() < 3) return false;
    for (int r = 0; r < table.RowCount(); ++r)
        table.SetRowHidden(r, !table.Cell(r, column).toLower().contains(needle));
    return true;
}

void ReleaseFilter(TCoefficientTable& table) {
    table.ShowAllRows();
}

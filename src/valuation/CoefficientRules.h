#pragma once
// The automatic choice of every coefficient from the general data, and the hand choices on the tables
// (checking a row, clicking a cell, filtering). Every choice is plain data: the value, the row (or
// row "x" column) and, for Нрд, the appendix, plus the text the page's filter box shows; MarkChoice puts the
// check marks, the selected cell and the hidden rows onto the table model.
#include "valuation/GeneralData.h"
#include "valuation/NgoTables.h"

#include <QString>
#include <QStringList>

#include <optional>

inline const QString kSeveral = QStringLiteral("декілька");  // more than one row matched
inline const QString kNotApplicable = QStringLiteral("1,0"); // value of a coefficient that does not apply
inline const QString kAppendix1 = QStringLiteral("дод.1");
inline const QString kAppendix2 = QStringLiteral("дод.2");

struct TChoice {
    QString Value;      // the value box
    QString Row;        // the row box: "3", "0" (does not apply), "" (nothing chosen), "2x5" (cell tables)
    QString Appendix;   // Нрд only: "дод.1" or "дод.2"
    QString Number;     // natural-agricultural district only: its number (EPSRValue2)
    QString FilterText; // what the page's filter box receives
    bool Applicable = true; // false: every row hidden, the show-all button (and Кмц warning) visible
    int TableRow = -1;      // 0-based row checked (check-box tables) or selected (cell tables); -1 none
    int TableColumn = -1;   // cell tables: the selected column
};

// A value box counts as chosen when it is neither empty nor "декілька" (the page caption is not red).
bool IsValueChosen(const QString& value);
// The page "Оц.р-ни" is complete (not red) when Клк, Км4 and the district number are all chosen.
inline bool OcRaPageComplete(const QString& klk, const QString& km4, const QString& districtNumber) {
    return IsValueChosen(klk) && IsValueChosen(km4) && IsValueChosen(districtNumber);
}

// --- Searching
enum class TMatchMode {
    OneOrMany, // the one matching row; a second match stops the search with "декілька"
    Last,      // the last matching row
    First      // the first matching row
};
struct TSearchResult {
    int Row = -1;
    bool Several = false;
};
// A row matches when its cell, lower-cased and trimmed, contains the text. An empty text matches nothing.
TSearchResult SearchTable(const TCoefficientTable& table, int column, const QString& text, TMatchMode mode);

// Search texts built from the general data.
QString Km1SearchText(const QString& councilName);
QString Km2SearchText(const QString& settlementName);
QString Kmc1SearchText(const QString& regionName);
QString KmcISearchText(const QString& regionName);
QString KmcHSearchText(const QString& regionName); // also Кмц(іст)
QString KlsSearchText(const QString& districtName);
QString PsrSearchText(const QString& districtName);
QString KlkSearchText(const QString& regionName);

// --- Applicability by category (and location)
bool Km123Apply(const QString& category); // not 100, 300, 400, 500, 600, 700, 800
bool Kmc1Applies(const QString& category, const QString& location, bool kmcAlways);
bool KmcIApplies(const QString& category, const QString& location, bool kmcAlways);
bool KmcHApplies(const QString& category, const QString& location, bool kmcAlways);
bool KmcNApplies(const QString& category, bool kmcAlways);
// Нрд from appendix 2 (per hectare) rather than appendix 1 (per square metre).
bool NrdFromAppendix2(const QString& category, const QString& location);
// The appendix-2 panel of the page "Нрд" is shown for 100, 300, 400, 600, 700, 800.
bool Nrd2PanelVisible(const QString& category);

// --- Population bands, in inhabitants
// An appendix-1 band text ("від 0,5 до 1 тис. осіб", "менше 0,2 тис. осіб", "більше 1500 тис. осіб").
bool ParseBandText(const QString& text, double* lower, double* upper);
// A column caption of NextGridKmc1 (three lines, "до" without spaces around it is also understood).
bool ParseBandCaption(const QString& caption, double* lower, double* upper);

// --- Automatic choices (Apply)
TChoice ChooseNrd(const TNgoTables& tables, const TGeneralData& data);
TChoice ChooseKm1(const TCoefficientTable& km1, const TGeneralData& data);
TChoice ChooseKm2(const TCoefficientTable& km2, const TGeneralData& data);
TChoice ChooseKm3(const TCoefficientTable& km3, const TGeneralData& data);
TChoice ChooseKcp(const TCoefficientTable& kcp, const TGeneralData& data);
TChoice ChooseKmc1(const TCoefficientTable& kmc1, const TGeneralData& data, bool kmcAlways);
TChoice ChooseKmcI(const TCoefficientTable& kmcI, const TGeneralData& data, bool kmcAlways);
TChoice ChooseKmcH(const TCoefficientTable& kmcH, const TGeneralData& data, bool kmcAlways);
TChoice ChooseKmcN(const TCoefficientTable& kmcN, const TGeneralData& data, bool kmcAlways);
// klsDefault: the saved "Зберегти вибір" text when the setting exists (an empty saved text finds nothing).
TChoice ChooseKls(const TCoefficientTable& kls, const TGeneralData& data,
                  const std::optional<QString>& klsDefault);
TChoice ChoosePsr(const TCoefficientTable& psr, const TGeneralData& data);
TChoice ChooseKlk(const TCoefficientTable& klk, const TGeneralData& data);
TChoice ChooseKm4();
// "1", or the previous district number when its box is visible and not empty.
TChoice ChooseDistrictNumber(const QString& previousNumber, bool previousVisible);
// The single agro-group row: "1", "-", the area, and the district's four Бпсгр values (or "0").
QStringList AgroRowFor(const QString& areaText, const TCoefficientTable& psr, int psrRow);

struct TChoiceOptions {
    bool KmcAlways = true;
    std::optional<QString> KlsDefault;
    QString PreviousDistrictNumber;
    bool PreviousDistrictVisible = false;
};

struct TAutoChoices {
    TChoice Nrd, Km1, Km2, Km3, Kcp, Kmc1, KmcI, KmcH, KmcN, Kls; // in the order of the pages
    TChoice Psr, Klk, Km4, DistrictNumber;
    QStringList AgroRow;
};
TAutoChoices ChooseAllCoefficients(const TNgoTables& tables, const TGeneralData& data,
                                   const TChoiceOptions& options);

// Resets the table (no check marks, cell 0/0 selected, every row visible) and shows the choice on it.
void MarkChoice(TCoefficientTable& table, const TChoice& choice);
// Both Нрд tables: the choice is marked on the table of its appendix.
void MarkNrdChoice(TNgoTables& tables, const TChoice& choice);
void MarkChoices(TNgoTables& tables, const TAutoChoices& choices);

// --- Hand choices
struct THandChoice {
    QString Value, Row, Appendix, Number; // Appendix for the Нрд tables, Number for NextGridPSR
};
// The column whose text becomes the value when a row is checked (3 for Км1, Кцп, ПСГ р-н; else 2).
int ValueColumn(const TCoefficientTable& table);
// The check box of the row has just changed: checked - every other row is unchecked and the row's value is
// taken; unchecked - everything is cleared. nullopt for a row that does not exist.
std::optional<THandChoice> RowCheckChanged(TCoefficientTable& table, int row);
// A click on a cell of a cell table: the cell's text and row "x" column; nullopt for column 0 or outside.
std::optional<THandChoice> CellClicked(TCoefficientTable& table, int row, int column);

// The agro-group grid after a district row was checked (psrRow) or unchecked (-1): with exactly one agro
// row, its columns 3 to 6 get the district's Бпсгр values or become empty.
void UpdateAgroFromPsr(TCoefficientTable& agro, const TCoefficientTable& psr, int psrRow);
// A chosen agro-group entry "49-Черноземы ..." keeps only "49"; "-" stays "-".
QString AgroCodeFromChoice(const QString& text);

// --- Filters
// The filtered column of a table's page; -1 when the page has no filter.
int FilterColumn(const TCoefficientTable& table);
// Lower-cased, trimmed, ` and ' replaced by ’.
QString NormaliseFilterText(const QString& text);
// Pressed: with 3 or more characters only the rows whose filter column contains the text stay visible and
// true is returned; a shorter text changes nothing and gives false.
bool ApplyFilter(TCoefficientTable& table, const QString& text);
// Released (and "Показати всі значення"): every row visible again.
void ReleaseFilter(TCoefficientTable& table);

#pragma once
// The valuation wizard without its windows: the loaded tables, the applied general data, every page's
// result boxes, the indexation list, the agro-group grid and the summary. TFormNGOMain owns one session and
// binds its widgets to it; the command-line valuation and the tests drive it directly.
#include "valuation/CoefficientRules.h"
#include "valuation/CoefficientTable.h"
#include "valuation/GeneralData.h"
#include "valuation/Indexation.h"
#include "valuation/NgoTables.h"
#include "valuation/RefFiles.h"
#include "valuation/ReferenceStores.h"
#include "valuation/Summary.h"
#include "valuation/ValuationBoxes.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// Which of the three apply buttons ran Apply.
enum class TApplyButton {
    Apply,   // BApplyZagalni, mode ""
    Compare, // BCompareZagalni, mode "compare"
    Again    // BAgainZagalni, mode "again"
};

inline const QString kModeCompare = QStringLiteral("compare");
inline const QString kModeAgain = QStringLiteral("again");

class TValuationSession {
public:
    TValuationSession();
    TValuationSession(const TValuationSession&) = delete;
    TValuationSession& operator=(const TValuationSession&) = delete;

    // --- State
    QString Mode; // "", "compare", "again"
    bool Initialized = false;
    QString SourceFileName;
    TRefFiles Files;
    TNgoTables Tables;
    TCoefficientTable PsrPrev;  // NextGridPSRPrev
    TCoefficientTable Agro;     // NextGridAgro
    TCoefficientTable AgroPrev; // NextGridAgroPrev
    TAddressHistory History;
    bool KmcAlways = true;                                // CheckBoxKmcAlways
    QStringList IndexationList = BuiltInIndexationList(); // ListYearsKni
    TGeneralData Data;                                    // the applied general data
    TValuationBoxes Boxes;
    TAutoChoices Choices; // the last automatic choices (filter texts, applicability for the pages)
    TSummary Summary;
    // The territorial zone ID (KATOTTG code) of the address; set by the wizard, empty result = unknown.
    std::function<QString(const TGeneralData&)> TerritorialZoneId;

    // --- Operations
    // Loads the tables and the address history, reads "KmcAlways"; once per session.
    void Initialize();
    // "2) Застосувати і розрахувати" (any of the three buttons): validates (a warning and false at the
    // first failure, nothing changes), stores population and address history, saves "KmcAlways", loads
    // the indexation list, chooses every coefficient and Кні, and asks for the territorial zone ID.
    bool Apply(const TGeneralDataInput& input, TApplyButton button);
    // The page "Карта" is shown after an apply with this button.
    static bool MapPageVisibleAfter(TApplyButton button) { return button == TApplyButton::Apply; }

    // Step 6 of Apply on the applied data: every automatic choice into the boxes and onto the tables.
    void ChooseCoefficients();
    // Кні from the list as it is now and the base year in NGO.dat ("Перерах. Кні").
    void ComputeKni();
    // MemoCalculation ("Оновити розрахунок", page shown); empty before initialisation.
    QString CalculationText() const;
    // The page "Завершення" shown.
    void FillSummary();
    // The indexation list's file for the applied category.
    QString IndexationFile() const { return Files.Path(IndexationFileName(Data.CategoryCode)); }
    // "Зберегти" on the page "Кні+Оцінка".
    bool SaveIndexation() const { return SaveIndexationList(IndexationFile(), IndexationList); }
    // "Зберегти вибір" on the page "Клс".
    bool SaveKls() const { return SaveKlsDefault(Files.Path(kNgoFile), Tables.Kls); }
    // The council chosen in "Рада/ОТГ": the remembered population and centre ("-" and " " when unknown).
    TPopulationEntry LookupPopulation(const QString& councilName) const {
        return PopulationLookup(Files.Path(kPopulFile), councilName);
    }

    // Re-valuation ("again"): takes the source file, the cadastral number and every stored coefficient of
    // the plot window's rows (row name -> text) as previous values, copies the stored district row into
    // PsrPrev, and returns the general-data texts to show (the caller makes the address rows read-only).
    TGeneralDataInput PrefillFromPlot(const QMap<QString, QString>& rows);

    // --- Hand choices on the pages (results go into the boxes)
    // After the check box of a row of a check-box table changed.
    void OnRowCheckChanged(TCoefficientTable& table, int row);
    // After a click on a cell of NextGridKmc1 or NextGridKlk.
    void OnCellClicked(TCoefficientTable& table, int row, int column);

private:
    TCoefficientBox* BoxOf(const TCoefficientTable& table);
};

#pragma once
// The page "Завершення": the values the exchange-file writer puts into the valuation block, normalised
// from the coefficient pages, and the checks of the output buttons.
#include "valuation/CoefficientTable.h"
#include "valuation/GeneralData.h"
#include "valuation/ValuationBoxes.h"

#include <QList>
#include <QString>

struct TSummary {
    QString FileSq, FileCadnum; // "Метрична інформація"
    bool OrganFromDB = false;   // RBOrganFromDB checked
    QString Organisation;       // EDefLicenziat selection
    QString FileObl, FileRaion, FileRada, FileTerrCode = QStringLiteral("021"), FileTerrID, FileKoatuu;
    QString FileYear, FilePopul, FileNrd, FileKm1, FileKm2, FileKm3; // "Коеф-ти"
    QString FileKmc1, FileKmcI, FileKmcH, FileKmcN, FileKls;
    QString FileRaNo, FileRaKm4, FileRaKlk;  // "Оціночний район"
    QString FilePsgNo, FilePsgName;          // "ПСГ район"
    QString FileAgroCod;                     // "Агро група"
    bool BlockCreateApprove = true;          // CBBlockCreateApprove
    QString ApproveBy, ApproveDt, ApproveNo; // "dd.mm.yyyy" date
    bool BlockCreateTerrZona = true;         // CBBlockCreateTerrZona
};

// One summary edit: its object name, its hint (named by the messages) and its Tag (99 required for every
// output, 98 for "Створити XML" and the database but not for "Оновити XML (адреса+коеф.)").
struct TSummaryField {
    QString ObjectName;
    QString Hint;
    int Tag;
    QString TSummary::*Member;
};
// The required edits in the order in which they stand on the page.
const QList<TSummaryField>& SummaryFields();

// A coefficient for the summary: "," read as ".", a number >= 0 written with the pattern ("0.0######",
// "0.#######" for Нрд); anything else (empty, "декілька", negative) gives an empty text.
QString NormaliseSummaryNumber(const QString& text, const QString& pattern = QStringLiteral("0.0######"));

// Rebuilds the summary edits from the general data and the pages; the typed fields (cadastral number,
// zone code and ID, approval, organisation) are left as they are.
void FillSummary(TSummary& summary, const TGeneralData& data, const TValuationBoxes& boxes,
                 const TCoefficientTable& agro);

// The first required edit that is empty (minTag 98: every required edit; 99: Tag 99 only); nullptr if none.
const TSummaryField* FirstMissingSummaryField(const TSummary& summary, int minTag);

// "Створити XML": warns and returns false at the first failure; *focus gets the object name of the edit to
// focus when given.
bool CheckCreateXml(const TSummary& summary, QString* focus = nullptr);
// "Оновити XML (адреса+коеф.)": only the Tag 99 edits.
bool CheckUpdateXml(const TSummary& summary, QString* focus = nullptr);

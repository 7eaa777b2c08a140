#pragma once
// What the valuation wizard hands to the writer of a new valuation file when "Створити XML" is confirmed:
// the summary values of the page "Завершення" (already normalised, "." as decimal separator), the chosen
// natural-agricultural district row, the agro-group rows, the organisation choice, the approval fields and
// the two check boxes. Plain data; the wizard (or the command-line valuation) fills it, the writer only
// reads it.
#include <QList>
#include <QString>
#include <QStringList>

struct TValuationHandOver {
    // "Адреса ділянки"
    QString EFileTerrCode; // TerritorialZoneCode ("021" by default)
    QString EFileTerrID;   // TerritorialZoneID
    QString EFileObl;      // DescriptionOfTerritory\Region\Name
    QString EFileKoatuu;   // DescriptionOfTerritory\Region\KOATUU
    QString EFileRaion;    // DescriptionOfTerritory\District
    QString EFileRada;     // DescriptionOfTerritory\Rada
    // "Метрична інформація"
    QString EFileSq;     // area in hectares
    QString EFileCadnum; // not written; kept for the plot database
    // "Коеф-ти"
    QString EFileYear;
    QString EFilePopul;
    QString EFileNrd;
    QString EFileKm1, EFileKm2, EFileKm3;
    QString EFileKmc1, EFileKmcI, EFileKmcH, EFileKmcN;
    QString EFileKls;
    // "Оціночний район"
    QString EFileRaNo;
    QString EFileRaKm4;
    QString EFileRaKlk;
    // "Додаткові": approval block
    QString EFileApproveBy;
    QString EFileApproveDt; // "dd.mm.yyyy" as typed (may be empty)
    QString EFileApproveNo;
    bool CBBlockCreateApprove = true;
    bool CBBlockCreateTerrZona = true;

    // The natural-agricultural district: EPSRNdx is the 1-based row of NextGridPSR as the wizard shows it;
    // PsrRow holds that row's cells by column (column 0 the check box, 2 the number, 3 the name, 4-8 Кпсгр,
    // 9-12 Бпсгр). PsrRow stays empty when no row is chosen or EPSRNdx names no row.
    QString EPSRNdx;
    QStringList PsrRow;
    // NextGridAgro, every row by column (0 district, 1 code, 2 area, 3-6 Багр).
    QList<QStringList> AgroRows;

    // "Організація-виконавець": from the source file (default) or from the reference table ліцензіати.
    bool RBOrganFromDB = false;
    QString EDefLicenziat; // the selected organisation name

    // Which kind of file the plot was imported from.
    bool CBSrcZemXML = true;  // a land-management file
    bool CBSrcNGOXML = false; // an earlier valuation file
};

// The row of a table (rows by column) that a 1-based row text names; empty when the text is not a whole
// number or names no row.
QStringList RowByNumberText(const QList<QStringList>& rows, const QString& numberText);

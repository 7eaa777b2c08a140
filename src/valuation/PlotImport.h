#pragma once
// The import of a plot from an exchange file without windows: the general data, the end-page fields and the
// source-kind flags, read from a land-management file (the parcel block) or from an earlier valuation file
// (the valuation block). The wizard binds the result to its rows; the command-line valuation uses it as it
// is.
#include "valuation/GeneralData.h"

#include <QString>

#include <pugixml.hpp>

class ExchangeDocument;

enum class TSourceKind { LandManagement, Valuation };

struct TPlotImport {
    TSourceKind Kind = TSourceKind::LandManagement;
    // Only the rows the import fills are set; Centre stays empty for a valuation file (not touched).
    TGeneralDataInput Input;
    bool CentreTouched = false;
    // End page.
    QString TerrCode = QStringLiteral("021");
    QString TerrID; // emptied
    QString Cadnum; // land-management file only
    bool ApprovalFound = false;
    QString ApproveBy, ApproveDt /* dd.mm.yyyy */, ApproveNo;
    // The point and line tables are not empty.
    bool HasCoordinates = false;
};

// The import's texts.
inline const QString kImportNoRoot =
    QStringLiteral("Зчитування файлу: Відсутній блок Початку DocumentElement");
inline const QString kImportNoExecutor =
    QStringLiteral("Зчитування файлу: Відсутній блок Виконавця AdditionalPart/InfoLandWork/Executor");
inline const QString kImportNoMetric =
    QStringLiteral("Зчитування файлу: Відсутній блок Метричних InfoPart/MetricInfo");
inline const QString kImportNoParcel = QStringLiteral("Зчитування файлу: Відсутній блок Ділянки ParcelInfo");
inline const QString kImportNoValuation =
    QStringLiteral("Зчитування файлу: Відсутній блок НГО NormativValuation");
inline const QString kImportNoCoordinates = QStringLiteral("Зчитування файлу: Неможливо зчитати координати");
inline const QString kOutsideSettlementsPhrase = QStringLiteral("(за межами населених пунктів)");

// Council and settlement rows from a settlement text (the phrase "(за межами населених пунктів)" removed
// first): split at the first "(" (kept in front of the settlement) or else at the first ","; without either
// the council is the whole text and the settlement " ".
void SplitSettlementText(const QString& text, QString* council, QString* settlement);
// The area as "0.0000"; empty when the text is not a number with "." as separator.
QString ImportedAreaText(const QString& text);

// Reads the plot from the parsed document. populFile: POPUL.dat, looked up by the council for a
// land-management file. Returns the message of the first failed block check ("" on success).
QString ImportPlot(const ExchangeDocument& document, TSourceKind kind, const QString& populFile,
                   TPlotImport* out);

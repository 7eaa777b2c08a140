#pragma once
// The wizard's import of a plot: the rows of the general data and the end-page fields that a loaded
// exchange file gives (read by ImportPlot, valuation/PlotImport.h), adjusted to the wizard's mode, and in the
// mode "compare" the earlier valuation's values. Nothing here touches a widget or shows a message: a
// failure is returned as the message text.
#include "valuation/PlotImport.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <pugixml.hpp>

class ExchangeDocument;

// The earlier valuation's values (mode "compare").
struct TPreviousValues {
    QString Nrd, Km1, Km2, Km3, Kmc1, KmcI, KmcH, KmcN, Kls;
    // Of every valuation district, joined by ",".
    QString DistrictNumber, Km4, Klk;
    // Rows of NextGridPSRPrev (each shown checked): column 0 empty (the check box), 1 to 12 as NextGridPSR.
    QList<QStringList> PsrRows;
    // Rows of NextGridAgroPrev: column 0 the district's count from 1, then code, area and four scores.
    QList<QStringList> AgroRows;
    QString TerritorialZoneId;
    QString TerritorialZoneCode;
};

struct TImportResult {
    bool Ok = false;
    QString Message; // the failure's message; empty on success
    // General-data rows (NxItem...) and the texts they receive, in the order they are set. Rows the import
    // does not touch are not listed (they keep what the engineer typed).
    QList<QPair<QString, QString>> Rows;
    // End-page fields (EFileCadnum, EFileTerrID, EFileTerrCode, EFileApproveBy, ...) and their texts.
    QList<QPair<QString, QString>> Fields;
    bool HasPrevious = false;
    TPreviousValues Previous;

    QString Row(const QString& name) const;   // the text given to a row, "" when not listed
    QString Field(const QString& name) const; // the same for end-page fields
    bool HasRow(const QString& name) const;
};

struct TImportOptions {
    TSourceKind Kind = TSourceKind::LandManagement;
    QString Mode;      // "", "compare" (previous values and their year, no approval fields)
    QString PopulPath; // POPUL.dat for the council lookup of a land-management file
};

// "Помилка завантаження файлу: " and the reason, or "" when the file was loaded into the document.
QString LoadSourceDocument(ExchangeDocument& document, const QString& path);

// The block checks and the general data of the loaded document.
TImportResult ImportGeneralData(const ExchangeDocument& document, const TImportOptions& options);

// The plot node: the parcel block or the valuation block (null when missing).
pugi::xml_node PlotNode(const pugi::xml_node& documentElement, TSourceKind kind);

// The earlier valuation's coefficients, districts and territorial zone of a valuation file.
TPreviousValues ReadPreviousValues(const pugi::xml_node& documentElement);

#pragma once
// The valuation of plots without a screen (zemlyar-ngo): each exchange file is imported as the wizard's
// import does, the general data are applied (with the command line's overrides), every automatic choice is
// made, the command line's row and value choices are put on top, and the calculation text is built; with
// --write the valuation file is created and saved exactly as "Створити XML" and "Зберегти як" do.
#include "exchange/GeometryWriter.h"
#include "valuation/NgoCommandLine.h"
#include "valuation/PlotImport.h"
#include "valuation/ValuationSession.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

// Exit status of a plot and of the whole run (the highest of the plots).
enum TNgoStatus : int { NgoValued = 0, NgoNeedsChoice = 1, NgoFileError = 2 };

struct TCandidateRow {
    QString Row;  // as --row takes it ("3", "2x5")
    QString Text; // what the row says
};

struct TCoefficientOutcome {
    QString Name;  // Nrd, Km1, ... as the command line names them
    QString Value; // the value box
    QString Row;   // the row box
    bool Chosen = true;
    QList<TCandidateRow> Candidates; // when not chosen: the rows it could be
};

struct TPlotOutcome {
    QString File;
    int Status = NgoValued;
    QString Error;       // why the file could not be read or written, or which data are missing
    QString Calculation; // MemoCalculation, lines ended by CR LF
    double Amount = 0;
    QString AmountText; // "### ### ### ##0.00"
    QList<TCoefficientOutcome> Coefficients;
    QStringList Missing; // names of the coefficients (and summary fields) still to choose
    QString Written;     // path of the valuation file written
    QStringList Log;     // the action-log lines of creating and saving
};

// The valuation run: one session (tables loaded once) for every plot.
class TBatchValuation {
public:
    explicit TBatchValuation(const TNgoCommandLine& options);

    // The territorial zone ID of an address (empty result: none found); empty hook:
    // ZoneIdFromReferenceDatabase.
    std::function<QString(const TGeneralData&)> TerritorialZoneId;
    // The organisation look-up of --organisation; empty: the program's reference database.
    std::function<bool(const QString&, QMap<QString, QString>*)> FindOrganisation;

    TPlotOutcome ValueFile(const QString& file);
    // Where --write puts the valuation file of a source.
    QString OutputPathFor(const QString& file) const;

private:
    bool ApplyChoices(TPlotOutcome& out);
    void Report(TPlotOutcome& out);
    bool WriteValuation(TPlotOutcome& out, const TPlotImport& import);

    TNgoCommandLine options_;
    TValuationSession session_;
    int baseYear_ = 2020;
    bool kmcAlways_ = true;
    int precision_ = 4;
    TGeometryOptions geometryOptions_;
};

// The territorial zone ID from the codifier of the open reference database (DataModule()); "" when there is
// no open reference database or the address is not found.
QString ZoneIdFromReferenceDatabase(const TGeneralData& data);

// The plot as text: the calculation, the missing coefficients with their candidate rows, the file written.
QString PlotOutcomeText(const TPlotOutcome& outcome);
// One line of JSON (without the line break).
QByteArray PlotOutcomeJson(const TPlotOutcome& outcome);

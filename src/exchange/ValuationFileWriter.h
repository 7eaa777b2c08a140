#pragma once
// Creating a valuation file from the template, a source exchange file and the wizard's hand-over record
// (CreateValuationFile), and saving the open file with its geometry regenerated from the map objects
// ("Зберегти як", SaveValuationFileAs; the unattended SaveWorkingCopy).
//
// Both work on the main window's open file (TOpenExchangeFile) and talk to the windows only through hooks:
// the action log, the map objects, the navigator, the organisation look-up and the save dialog. Every
// message text is in exchange/WriterTexts.h.
#include "exchange/GeometryWriter.h"
#include "exchange/OpenExchangeFile.h"
#include "exchange/ValuationHandOver.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

// A row of the reference table ліцензіати, column name -> text as stored.
using TOrganisationRow = QMap<QString, QString>;

struct TCreateHooks {
    std::function<void(const QString&)> LogLine;
    // Builds the map objects from the new document and tells whether the coordinates could be read; false
    // or an std::exception (logged as "Помилка парсингу файлу: " + its text) keeps the file, which then
    // counts as loaded without coordinates.
    std::function<bool(ExchangeDocument&)> BuildMapObjects;
    std::function<void(ExchangeDocument&)> RebuildNavigator;
    // "SELECT * FROM ліцензіати WHERE назва='...'" requiring a row: false with the reason in LastErrorText.
    // Empty: the reference database of the program (exchange/OrganisationLookup.h).
    std::function<bool(const QString& name, TOrganisationRow* row)> FindOrganisation;
};

// Builds the valuation file for the plot of sourceFile and writes it to workingCopy (whose folder must
// exist). On success file.WorkingCopy = workingCopy, CoordinatesLoaded tells whether the map objects could
// be built, and the map and navigator show the new file. On failure (template or source unreadable,
// organisation not found, working copy not written) the reason is logged, false is returned and neither
// file.WorkingCopy nor the map nor the navigator are touched, so the previous document stays open.
bool CreateValuationFile(TOpenExchangeFile& file, const QString& sourceFile, const QString& workingCopy,
                         const TValuationHandOver& handOver, const TCreateHooks& hooks);

struct TSaveHooks {
    // The action log; notes go there unless SilentMessages is on.
    std::function<void(const QString&)> LogLine;
    // The save dialog preset to file.SaveAsFile; returns the chosen path, empty when cancelled. Only asked
    // when SilentMessages is off; empty hook: file.SaveAsFile is taken as it is.
    std::function<QString(const QString& proposed)> ChooseTarget;
};

struct TSaveResult {
    bool Written = false; // the target file was written
    QStringList Notes;    // notes of objects saved without a contour, and of refusals
    QString Error;        // the reason when nothing was written (or the re-formatting failed)
};

// "Зберегти як": regenerates PointInfo, Polyline and every contour of the working copy from the geometry
// and writes the result. With SilentMessages off: to the chosen file, re-formatted (UTF-8, one element per
// line, two spaces per level), "Закінчено." at the end, the working copy unchanged. With SilentMessages on:
// back to the working copy, and LastErrorText is left empty when the file was written (the notes are in the
// result), so that the caller only reports real failures. Every file is written through a temporary file
// and a rename.
TSaveResult SaveValuationFileAs(TOpenExchangeFile& file, const TValuationGeometry& geometry,
                                const TGeometryOptions& options, const TSaveHooks& hooks);
// The unattended save after an edit on the map: SaveValuationFileAs with SilentMessages on.
TSaveResult SaveWorkingCopy(TOpenExchangeFile& file, const TValuationGeometry& geometry,
                            const TGeometryOptions& options, const TSaveHooks& hooks = {});

// Regenerates the geometry block of a loaded document (save steps 5 to 11). False, with the note in
// *refusal, when a required block is missing; the notes of objects without a contour go to *notes.
bool RegenerateGeometry(pugi::xml_node root, const TValuationGeometry& geometry,
                        const TGeometryOptions& options, QStringList* notes, QString* refusal);

// The document as UTF-8 with a declaration, one element per line and two spaces per level.
QByteArray FormatUtf8TwoSpaces(const pugi::xml_document& document);
// The name a valuation file is proposed under: folder of the source + name without extension + " нго.xml".
QString ValuationFileNameFor(const QString& sourceFile);

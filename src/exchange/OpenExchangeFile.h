#pragma once
// The open exchange file of the main window: its documents, its working copy and the opening of a
// valuation file. The working copy lives in a folder of its own under TempDir; that folder is the
// document's state between operations and is deleted when another file is opened or created, when the
// program ends, and when an opening fails.
#include "exchange/ExchangeDocument.h"

#include <QString>

#include <functional>

struct TOpenExchangeFile {
    QString OpenedFile;  // chosen in the open dialog or dropped onto the window
    QString SaveAsFile;  // offered by "Зберегти як"
    QString NamesFile;   // element descriptions for the block editor
    QString WorkingCopy; // TempDir/<10 digits>/<name>.xml; empty when nothing is open
    bool CoordinatesLoaded = false;

    ExchangeDocument XMLDocument_XML;   // the working copy, loaded only while an operation needs it
    ExchangeDocument XMLDocument_TEMPL; // the template; during creation the file being built
    ExchangeDocument XMLDocument_XSD;   // unused; emptied with the others
    ExchangeDocument XMLDocument1;      // the final re-formatting pass of a save

    ExchangeDocument& Document() { return XMLDocument_XML; }
    // Folder of the working copy, empty when there is none.
    QString WorkingFolder() const;
    // Empties the XML, XSD and template documents.
    void EmptyDocuments();
    // Deletes the working folder (when it lies under TempDir) and clears WorkingCopy.
    void CloseWorkingFolder();
};

// ProgramDir + "/IN4XMLSchema.xml" and ProgramDir + "/IN4XMLSchema.names".
QString TemplateFile();
QString NamesFilePath();

// Creates a fresh folder TempDir/<RandomDigits(10)> and returns the working-copy path in it:
// the file's name without extension, lower-cased, + ".xml". Empty (reason in LastErrorText) on failure.
QString NewWorkingCopyPath(const QString& fileForName);

// What the open and create commands do before loading: clear NamesFile, WorkingCopy and CoordinatesLoaded,
// empty the XML, XSD and template documents, delete the old working folder, then make a fresh one and set
// WorkingCopy (named after nameSource) and NamesFile. Returns the new WorkingCopy; empty on failure.
// When a later step refuses the file, CloseWorkingFolder() removes the new folder again.
QString PrepareWorkingCopy(TOpenExchangeFile& file, const QString& nameSource);

// The textual check done before opening: some line of the file contains "<NormativValuation>".
bool HasNormativValuationTag(const QString& path);

// What opening needs from the windows; any hook may be empty. BuildMapObjects returns whether the
// coordinates could be read (false: the file opens without them); an std::exception it throws counts the
// same and is logged as "Помилка парсингу файлу: " + its text.
struct TOpenHooks {
    std::function<void(const QString&)> LogLine;
    std::function<bool(ExchangeDocument&)> BuildMapObjects;
    std::function<void(ExchangeDocument&)> RebuildNavigator;
};

// Loads the template (and the template catalogue on first use), copies the chosen file to workingCopy,
// parses it, builds the map objects and the navigator, and empties the document again. Failures are logged
// through hooks.LogLine with their texts and leave no working folder behind. On success file.WorkingCopy is
// workingCopy and CoordinatesLoaded tells whether the geometry could be read.
bool OpenValuationFile(TOpenExchangeFile& file, const QString& chosenFile, const QString& workingCopy,
                       const TOpenHooks& hooks);

#pragma once
// The structure check of the open file: runs the tester beside the program on the working copy (or on a
// copy of the editor's unsaved document), reads its log and builds the action log's lines; and the jump
// from a finding to the editor. The windows only show what these return.
#include <QString>
#include <QStringList>

#include <functional>

enum class TCheckOutcome {
    Checked,  // the tester ran and wrote its log; Findings holds its lines
    NoFile,   // no working copy on disk ("Файл ще не завантажений.")
    NoTester, // the tester is missing from the program folder
    NotRun,   // the tester could not start, crashed, hung, wrote no log or could not check the file
};

struct TStructureCheck {
    TCheckOutcome Outcome = TCheckOutcome::NotRun;
    QString Message;      // the message box text for NoFile / NoTester, the reason for NotRun
    QStringList Findings; // the log's lines
    QStringList ActionLog; // what the action log shows: "Знайдено помилок: N" and the findings, or the reason
};

struct TStructureCheckRequest {
    QString WorkingCopy;
    QString ProgramDir; // empty: GlobalVar().Settings.ProgramDir
    // Set while the block editor holds unsaved changes: saves the editor's document to the given path.
    std::function<bool(const QString& path)> SaveEditorCopy;
    int TimeoutMs = 5 * 60 * 1000;
};

// ProgramDir + "/testerxml" and the tester's arguments (pass phrase, checked file).
QString TesterProgram(const QString& programDir);
QStringList TesterArguments(const QString& checkedFile);

TStructureCheck RunStructureCheck(const TStructureCheckRequest& request);

// Where a finding points: a line number or an element path (Location) and, for "Стр№" lines, the element
// named in the message.
struct TFindingTarget {
    QString Location;
    QString ElementName;
};
TFindingTarget ParseFinding(const QString& line);

// The jump from the action log: nothing for row 0 (the count) or no row (< 0); warns first when the file's
// structure was changed since the check; then calls showInEditor(location, element name).
bool GotoFinding(
    int row, const QString& line, bool structureChanged,
    const std::function<void(const QString& location, const QString& elementName)>& showInEditor);

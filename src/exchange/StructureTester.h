#pragma once
// The structure tester run by tools/testerxml: XSD validation of an exchange file with libxml2 against the
// structure schema shipped beside the program, findings translated into Ukrainian.
//
// Log: "<checked file>.log" in windows-1251, one finding per line:
//   "Стр№ <line>: Елемент '<name>' <message>"   schema findings and parser errors;
//   "0: Перевірку не виконано: <reason>"        when the file could not be checked.
// An incomplete element ("має неповне утримання. Перелік можливих елементів: …") is reported on the line
// after its start tag, which the program's jump to the editor takes back by one.
// Exit status: 0 valid, 1 findings, 2 not checked.
#include <QString>
#include <QStringList>

extern const QString kTesterPassPhrase;    // the first argument the program passes
extern const QString kStructureSchemaName; // "IN4XMLSchema.xsd"

enum TTesterStatus { TesterValid = 0, TesterFindings = 1, TesterNotChecked = 2 };

struct TTesterResult {
    int Status = TesterNotChecked;
    QStringList Lines; // the log's lines
};

// Validates the file against the schema.
TTesterResult ValidateStructure(const QString& xmlPath, const QString& schemaPath);

// One schema finding as a log line. element: the element's name; message: libxml2's text after
// "Element '…': "; line: the line libxml2 gives for the element.
QString SchemaFindingLine(int line, const QString& element, const QString& message);

// The whole tool: arguments after the program name (pass phrase, file path); the schema is looked up in
// programDir. Writes the log (except when no file path was given) and returns the exit status.
int RunStructureTester(const QStringList& arguments, const QString& programDir);

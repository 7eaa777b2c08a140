#pragma once
// The reference database: its tables and the build of the shipped one from the text sources in
// resources/refdb/ (the KATOTTG codifier as ";"-separated UTF-8 with a header line, and one
// "<table>.tsv" per code/title list with a "code<TAB>title" header line).
#include "data/PlotSchema.h"

#include <QList>
#include <QString>
#include <QStringList>

class TDataQuery;

extern const QString kCodifierTable;      // "кодифікатор"
extern const QString kCodifierSourceFile; // "кодифікатор.csv"

// id, code, title: the shape of every code/title list.
const QList<TColumnSpec>& CodeListColumns();
// id, code1 .. code5, cat, title.
const QList<TColumnSpec>& CodifierColumns();
// id and the 28 columns of the organisations that execute land-management work.
const QList<TColumnSpec>& LicenseeColumns();
// id, code, title, title2, title3 (table ради).
const QList<TColumnSpec>& CouncilColumns();

struct TCodifierRow {
    QString Code[5];
    QString Cat;
    QString Title;
};

// Straight, modifier-letter and reversed apostrophes and the grave accent become "’".
QString UnifyApostrophes(const QString& text);

// The codifier source: rows in file order, apostrophes normalised, fields trimmed. False with *error when
// the file cannot be read or a line has not seven fields.
bool ReadCodifierSource(const QString& path, QList<TCodifierRow>* rows, QString* error);
// A code/title list: lines after the header, split at the first tab.
bool ReadCodeListSource(const QString& path, QList<QPair<QString, QString>>* rows, QString* error);

// Creates every table and index in the query's connection and fills them from the sources folder (all in
// one transaction). The tables must not exist yet.
bool BuildReferenceDatabase(TDataQuery& query, const QString& sourcesDir, QString* error);
// Builds an SQLite file: into a temporary file beside it, renamed over the old file only when complete.
bool BuildReferenceDatabaseFile(const QString& sourcesDir, const QString& outFile, QString* error);

#pragma once
// Connection strings and the files that keep them. A connection string has the ADO-like form
// "Provider=QSQLITE;Data Source=data.db" or "Provider=QPSQL;Host=...;Port=...;Database=...;User ID=...;
// Password=...". The files hold the text scrambled character by character with a fixed 160-value key.
#include <QByteArray>
#include <QMap>
#include <QString>

#include <initializer_list>

extern const QString kConnectionFileMain; // "connection_db.string"
extern const QString kConnectionFileRef;  // "connection_ref.string"
// Used when the file is missing or empty: the embedded files beside the program.
extern const QString kDefaultConnectionMain; // "Provider=QSQLITE;Data Source=data.db"
extern const QString kDefaultConnectionRef;  // "Provider=QSQLITE;Data Source=ref.db"

// windows-1251 bytes of the text plus (scramble) or minus (unscramble) key[i mod 160], modulo 256.
QByteArray ScrambleConnectionString(const QString& text);
QString UnscrambleConnectionString(const QByteArray& bytes);

// A file name without a folder is taken from ProgramDir. A missing or unreadable file reads as "".
QString ReadConnectionFile(const QString& file);
bool WriteConnectionFile(const QString& file, const QString& connectionString, QString* error = nullptr);

// "Key=Value" pairs separated by ";"; keys are trimmed and compared without regard to case, values are
// trimmed and may be enclosed in double or single quotation marks (then they may hold ";").
class TConnectionParams {
public:
    explicit TConnectionParams(const QString& connectionString);
    // The value of the first key present among the names, or "".
    QString Value(std::initializer_list<const char*> names) const;
    QString Provider() const { return Value({"Provider"}); }

private:
    QMap<QString, QString> values_; // lower-case key -> value
};

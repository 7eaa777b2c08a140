#pragma once
// One-key access to ini files in the program's code page (windows-1251). Writing keeps every other line of
// the file byte for byte and in order, and goes through a temporary file and a rename.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

// A file name without a folder is taken from ProgramDir.
QString IniResolvePath(const QString& file);

QString IniReadString(const QString& file, const QString& section, const QString& key, const QString& def);
bool IniWriteString(const QString& file, const QString& section, const QString& key, const QString& value);
bool IniEraseSection(const QString& file, const QString& section);
// Keys and values of a section in file order (empty when the file or section is missing).
QList<QPair<QString, QString>> IniReadSection(const QString& file, const QString& section);
QStringList IniReadSections(const QString& file);

// An ini text held in memory; the free functions above are built on it. Section and key names compare
// case-insensitively, values are trimmed of surrounding spaces.
class TIniDocument {
public:
    void SetBytes(const QByteArray& bytes);
    QByteArray Bytes() const;
    bool Load(const QString& path); // false when the file exists but cannot be read; missing file = empty
    bool Save(const QString& path) const;

    bool HasKey(const QString& section, const QString& key) const;
    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    void EraseSection(const QString& section);
    QList<QPair<QString, QString>> Section(const QString& section) const;
    QStringList Sections() const;

private:
    struct Line {
        QByteArray raw; // without the line break
        QByteArray eol; // "\r\n", "\n" or "" for a last line without a break
    };
    int FindSection(const QString& section) const; // index of the header line or -1
    int SectionEnd(int header) const;              // index after the section's last line
    int FindKey(int header, const QString& key) const;
    static bool IsHeader(const QByteArray& raw, QString* name);
    static bool SplitKey(const QByteArray& raw, QString* key, QString* value);

    QList<Line> lines_;
};

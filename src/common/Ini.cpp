#include "common/Ini.h"

#include "app/GlobalVar.h"
#include "common/CodePage.h"
#include "common/Files.h"

#include <QFile>
#include <QFileInfo>

QString IniResolvePath(const QString& file) {
    if (file.contains('/') || file.contains('\\')) return file;
    const QString dir = GlobalVar().Settings.ProgramDir;
    return dir.isEmpty() ? file : dir + '/' + file;
}

void TIniDocument::SetBytes(const QByteArray& bytes) {
    lines_.clear();
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype nl = bytes.indexOf('\n', start);
        Line l;
        if (nl < 0) {
            l.raw = bytes.mid(start);
            start = bytes.size();
        } else {
            qsizetype end = nl;
            if (end > start && bytes[end - 1] == '\r') {
                --end;
                l.eol = "\r\n";
            } else {
                l.eol = "\n";
            }
            l.raw = bytes.mid(start, end - start);
            start = nl + 1;
        }
        lines_.append(l);
    }
}

QByteArray TIniDocument::Bytes() const {
    QByteArray out;
    for (const auto& l : lines_)
        out += l.raw + l.eol;
    return out;
}

bool TIniDocument::Load(const QString& path) {
    lines_.clear();
    QFile f(path);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) return false;
    SetBytes(f.readAll());
    return true;
}

bool TIniDocument::Save(const QString& path) const {
    return WriteFileAtomic(path, Bytes());
}

bool TIniDocument::IsHeader(const QByteArray& raw, QString* name) {
    const QByteArray t = raw.trimmed();
    if (!t.startsWith('[')) return false;
    const qsizetype close = t.indexOf(']');
    if (close < 0) return false;
    if (name) *name = FromCp1251(t.mid(1, close - 1)).trimmed();
    return true;
}

bool TIniDocument::SplitKey(const QByteArray& raw, QString* key, QString* value) {
    const qsizetype eq = raw.indexOf('=');
    if (eq < 0) return false;
    const QByteArray t = raw.trimmed();
    if (t.startsWith(';')) return false;
    if (key) *key = FromCp1251(raw.left(eq)).trimmed();
    if (value) *value = FromCp1251(raw.mid(eq + 1)).trimmed();
    return true;
}

int TIniDocument::FindSection(const QString& section) const {
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (IsHeader(lines_[i].raw, &name) && name.compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int TIniDocument::SectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !IsHeader(lines_[i].raw, nullptr))
        ++i;
    return i;
}

int TIniDocument::FindKey(int header, const QString& key) const {
    const int end = SectionEnd(header);
    QString k;
    for (int i = header + 1; i < end; ++i)
        if (SplitKey(lines_[i].raw, &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

bool TIniDocument::HasKey(const QString& section, const QString& key) const {
    const int h = FindSection(section);
    return h >= 0 && FindKey(h, key) >= 0;
}

QString TIniDocument::ReadString(const QString& section, const QString& key, const QString& def) const {
    const int h = FindSection(section);
    if (h < 0) return def;
    const int k = FindKey(h, key);
    if (k < 0) return def;
    QString value;
    SplitKey(lines_[k].raw, nullptr, &value);
    return value;
}

void TIniDocument::WriteString(const QString& section, const QString& key, const QString& value) {
    const QByteArray line = ToCp1251(key) + '=' + ToCp1251(value);
    int h = FindSection(section);
    if (h < 0) {
        if (!lines_.isEmpty() && lines_.last().eol.isEmpty()) lines_.last().eol = "\r\n";
        lines_.append({'[' + ToCp1251(section) + ']', "\r\n"});
        lines_.append({line, "\r\n"});
        return;
    }
    const int k = FindKey(h, key);
    if (k >= 0) {
        lines_[k].raw = line;
        return;
    }
    // After the section's last non-empty line.
    int pos = SectionEnd(h);
    while (pos - 1 > h && lines_[pos - 1].raw.trimmed().isEmpty())
        --pos;
    if (lines_[pos - 1].eol.isEmpty()) lines_[pos - 1].eol = "\r\n";
    lines_.insert(pos, {line, "\r\n"});
}

void TIniDocument::EraseSection(const QString& section) {
    int h;
    while ((h = FindSection(section)) >= 0) {
        const int end = SectionEnd(h);
        lines_.remove(h, end - h);
    }
}

QList<QPair<QString, QString>> TIniDocument::Section(const QString& section) const {
    QList<QPair<QString, QString>> out;
    const int h = FindSection(section);
    if (h < 0) return out;
    const int end = SectionEnd(h);
    QString k, v;
    for (int i = h + 1; i < end; ++i)
        if (SplitKey(lines_[i].raw, &k, &v)) out.append({k, v});
    return out;
}

QStringList TIniDocument::Sections() const {
    QStringList out;
    QString name;
    for (const auto& l : lines_)
        if (IsHeader(l.raw, &name)) out << name;
    return out;
}

QString IniReadString(const QString& file, const QString& section, const QString& key, const QString& def) {
    TIniDocument doc;
    if (!doc.Load(IniResolvePath(file))) return def;
    return doc.ReadString(section, key, def);
}

bool IniWriteString(const QString& file, const QString& section, const QString& key, const QString& value) {
    const QString path = IniResolvePath(file);
    TIniDocument doc;
    if (!doc.Load(path)) return false; // never overwrite a file we could not read
    doc.WriteString(section, key, value);
    return doc.Save(path);
}

bool IniEraseSection(const QString& file, const QString& section) {
    const QString path = IniResolvePath(file);
    TIniDocument doc;
    if (!doc.Load(path)) return false;
    if (!QFileInfo::exists(path)) return true;
    doc.EraseSection(section);
    return doc.Save(path);
}

QList<QPair<QString, QString>> IniReadSection(const QString& file, const QString& section) {
    TIniDocument doc;
    if (!doc.Load(IniResolvePath(file))) return {};
    return doc.Section(section);
}

QStringList IniReadSections(const QString& file) {
    TIniDocument doc;
    if (!doc.Load(IniResolvePath(file))) return {};
    return doc.Sections();
}

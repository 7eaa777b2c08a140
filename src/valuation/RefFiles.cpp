#include "valuation/RefFiles.h"

#include "app/GlobalVar.h"
#include "common/CodePage.h"
#include "common/Files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString TRefFiles::Path(const QString& name) const {
    const QString folder = Folder.isEmpty() ? GlobalVar().Settings.ProgramDir : Folder;
    if (folder.isEmpty()) return name;
    return QDir(folder).filePath(name);
}

QStringList SplitRefLines(const QString& text) {
    QStringList lines;
    int start = 0;
    const int n = text.size();
    for (int i = 0; i <= n; ++i) {
        if (i == n || text[i] == QLatin1Char('\r') || text[i] == QLatin1Char('\n')) {
            if (i > start) lines << text.mid(start, i - start);
            if (i < n && text[i] == QLatin1Char('\r') && i + 1 < n && text[i + 1] == QLatin1Char('\n')) ++i;
            start = i + 1;
        }
    }
    return lines;
}

TRefLines ReadRefLines(const QString& path) {
    TRefLines result;
    const QFileInfo info(path);
    if (!info.exists()) return result;
    QFile file(path);
    if (info.isDir() || !file.open(QIODevice::ReadOnly)) {
        result.Status = TReadStatus::Unreadable;
        return result;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.Status = TReadStatus::Unreadable;
        return result;
    }
    result.Status = TReadStatus::Ok;
    result.Lines = SplitRefLines(FromCp1251(bytes));
    return result;
}

bool WriteRefLines(const QString& path, const QStringList& lines, QString* error) {
    QByteArray bytes;
    for (const QString& line : lines) {
        bytes += ToCp1251(line);
        bytes += "\r\n";
    }
    return WriteFileAtomic(path, bytes, error);
}

#include "common/Files.h"

#include "common/CodePage.h"
#include "common/Messages.h"

#include <QCursor>
#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QSaveFile>
#include <QStringDecoder>
#include <QUrl>

bool FileExistsQuiet(const QString& path) {
    if (path.isEmpty()) return false;
    const QFileInfo fi(path);
    return fi.exists() && fi.isFile();
}

QString StripTrailingBackslashes(const QString& path) {
    QString p = path;
    while (p.size() > 1 && (p.endsWith('/') || p.endsWith('\\')))
        p.chop(1);
    if (p == QLatin1String("\\")) p.clear();
    return p;
}

QString FileNameOnly(const QString& path, bool keepCase) {
    QString name = QDir::fromNativeSeparators(path).section('/', -1);
    const qsizetype dot = name.lastIndexOf('.');
    if (dot > 0) name = name.left(dot);
    return keepCase ? name : name.toLower();
}

QString FileExtLower(const QString& path) {
    const QString name = QDir::fromNativeSeparators(path).section('/', -1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

QString WithoutExtension(const QString& path) {
    const qsizetype dot = path.lastIndexOf('.');
    return dot < 0 ? path : path.left(dot);
}

QStringList ListFiles(const QString& folder, const QString& masks, bool fullPaths) {
    QDir dir(folder);
    if (folder.isEmpty() || !dir.exists()) return {};
    const QStringList names =
        dir.entryList(masks.split(';', Qt::SkipEmptyParts), QDir::Files | QDir::Hidden, QDir::Name);
    QStringList out;
    for (const QString& n : names)
        out << (fullPaths ? dir.absoluteFilePath(n) : n);
    out.sort();
    return out;
}

bool DeleteFolderTree(const QString& folder) {
    if (folder.isEmpty()) return true;
    QDir dir(folder);
    if (!dir.exists()) return true;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString p = it.next();
        QFile::setPermissions(p, QFile::permissions(p) | QFileDevice::WriteOwner | QFileDevice::ReadOwner |
                                     QFileDevice::ExeOwner);
    }
    return dir.removeRecursively();
}

QByteArray ReadFileBytes(const QString& path, bool* ok) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (ok) *ok = false;
        return {};
    }
    if (ok) *ok = true;
    return f.readAll();
}

QString ReadTextFile(const QString& path) {
    bool ok = false;
    const QByteArray bytes = ReadFileBytes(path, &ok);
    if (!ok) return {};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(bytes);
    if (!utf8.hasError()) {
        if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
        return text;
    }
    return FromCp1251(bytes);
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    if (f.write(bytes) != bytes.size()) {
        if (error) *error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

QString ShellErrorText(int code) {
    switch (code) {
    case 0:
        return QStringLiteral("The operating system is out of memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied access to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred.");
    case 27:
        return QStringLiteral("The filename association is incomplete or invalid.");
    case 28:
        return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral("The DDE transaction could not be completed because other DDE transactions "
                              "were being processed.");
    case 31:
        return QStringLiteral("There is no application associated with the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return {};
    }
}

int OpenWithShell(const QString& path) {
    int code = 33;
    const QFileInfo fi(path);
    if (!fi.exists()) {
        code = QFileInfo::exists(fi.absolutePath()) ? 2 : 3;
    } else {
        const bool haveGui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
        if (haveGui) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        const bool ok = QDesktopServices::openUrl(QUrl::fromLocalFile(fi.absoluteFilePath()));
        if (haveGui) QGuiApplication::restoreOverrideCursor();
        if (!ok) code = 31;
    }
    if (code <= 32) {
        const QString reason = ShellErrorText(code);
        if (!reason.isEmpty()) ShowError(QStringLiteral("Запуск"), path + '\r' + reason);
    }
    return code;
}

bool RunProgram(const QString& executable, const QStringList& arguments, bool minimised, bool wait,
                int* exitCode) {
    Q_UNUSED(minimised); // window state of another program cannot be chosen on this platform
    if (executable.isEmpty()) return false;
    if (!wait) return QProcess::startDetached(executable, arguments);
    QProcess p;
    p.setProgram(executable);
    p.setArguments(arguments);
    p.start();
    if (!p.waitForStarted()) return false;
    p.waitForFinished(-1);
    if (exitCode) *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return true;
}

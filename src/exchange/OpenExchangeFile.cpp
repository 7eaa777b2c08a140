#include "exchange/OpenExchangeFile.h"

#include "app/GlobalVar.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "exchange/NodeLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace {

const QString kLoadFailed = QStringLiteral("Помилка завантаження файлу: ");
const QString kLibraryFailed = QStringLiteral("Помилка завантаження бібліотек XSD схеми: ");
const QString kCopyFailed = QStringLiteral("Не вдалось скопіювати файл ");
const QString kGeometryFailed = QStringLiteral("Помилка парсингу файлу: ");

// Only folders directly under TempDir are working folders; nothing else is ever deleted.
bool IsWorkingFolder(const QString& folder) {
    const QString temp = GlobalVar().Settings.TempDir;
    if (folder.isEmpty() || temp.isEmpty()) return false;
    return QDir::cleanPath(QFileInfo(folder).absolutePath()) ==
           QDir::cleanPath(QFileInfo(temp).absoluteFilePath());
}

void Log(const TOpenHooks& hooks, const QString& text) {
    if (hooks.LogLine) hooks.LogLine(text);
}

} // namespace

QString TOpenExchangeFile::WorkingFolder() const {
    return WorkingCopy.isEmpty() ? QString() : QFileInfo(WorkingCopy).absolutePath();
}

void TOpenExchangeFile::EmptyDocuments() {
    XMLDocument_XML.Clear();
    XMLDocument_XSD.Clear();
    XMLDocument_TEMPL.Clear();
}

void TOpenExchangeFile::CloseWorkingFolder() {
    const QString folder = WorkingFolder();
    if (IsWorkingFolder(folder)) DeleteFolderTree(folder);
    WorkingCopy.clear();
}

QString TemplateFile() {
    return GlobalVar().Settings.ProgramDir + QStringLiteral("/IN4XMLSchema.xml");
}

QString NamesFilePath() {
    return GlobalVar().Settings.ProgramDir + QStringLiteral("/IN4XMLSchema.names");
}

QString NewWorkingCopyPath(const QString& fileForName) {
    const QString folder = GlobalVar().Settings.TempDir + '/' + RandomDigits(10);
    if (!QDir().mkpath(folder)) {
        LastErrorText = QStringLiteral("Не вдалося створити робочу папку \"%1\".").arg(folder);
        return QString();
    }
    return folder + '/' + FileNameOnly(fileForName) + QStringLiteral(".xml");
}

QString PrepareWorkingCopy(TOpenExchangeFile& file, const QString& nameSource) {
    file.NamesFile.clear();
    file.CoordinatesLoaded = false;
    file.EmptyDocuments();
    file.CloseWorkingFolder();
    const QString path = NewWorkingCopyPath(nameSource);
    if (path.isEmpty()) return QString();
    file.WorkingCopy = path;
    file.NamesFile = NamesFilePath();
    return path;
}

bool HasNormativValuationTag(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    while (!file.atEnd()) {
        if (file.readLine().contains("<NormativValuation>")) return true;
    }
    return false;
}

bool OpenValuationFile(TOpenExchangeFile& file, const QString& chosenFile, const QString& workingCopy,
                       const TOpenHooks& hooks) {
    const QString folder = QFileInfo(workingCopy).absolutePath();
    auto fail = [&](const QString& line) {
        Log(hooks, line);
        file.XMLDocument_XML.Clear();
        if (IsWorkingFolder(folder)) DeleteFolderTree(folder);
        if (file.WorkingCopy == workingCopy) file.WorkingCopy.clear();
        file.CoordinatesLoaded = false;
        return false;
    };

    // 1-2: the template and, once per run, its catalogue.
    file.XMLDocument_TEMPL.Clear();
    if (!file.XMLDocument_TEMPL.LoadFromFile(TemplateFile())) return fail(kLoadFailed + LastErrorText);
    if (NodeLibrary().IsEmpty() && !BuildNodeLibrary(NodeLibrary(), file.XMLDocument_TEMPL))
        return fail(kLibraryFailed + LastErrorText);

    // 3: byte-for-byte copy into the working folder.
    QDir().mkpath(folder);
    if (QFileInfo::exists(workingCopy)) QFile::remove(workingCopy);
    QFile::copy(chosenFile, workingCopy);
    if (!QFileInfo(workingCopy).isFile()) return fail(kLoadFailed + kCopyFailed + '"' + chosenFile + '"');

    // 4: parse the working copy.
    file.XMLDocument_XML.Clear();
    if (!file.XMLDocument_XML.LoadFromFile(workingCopy)) return fail(kLoadFailed + LastErrorText);
    file.WorkingCopy = workingCopy;

    // 5: geometry; a failure here still leaves the file open, without coordinates.
    file.CoordinatesLoaded = false;
    try {
        file.CoordinatesLoaded = hooks.BuildMapObjects ? hooks.BuildMapObjects(file.XMLDocument_XML) : true;
    } catch (const std::exception& e) {
        Log(hooks, kGeometryFailed + QString::fromUtf8(e.what()));
    } catch (...) {
        Log(hooks, kGeometryFailed + QStringLiteral("невідома помилка"));
    }

    // 6: navigator, then the working copy on disk is the state again.
    if (hooks.RebuildNavigator) hooks.RebuildNavigator(file.XMLDocument_XML);
    file.XMLDocument_XML.Clear();
    return true;
}

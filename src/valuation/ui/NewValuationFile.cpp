#include "valuation/ui/NewValuationFile.h"

#include "common/Files.h"
#include "common/Messages.h"
#include "exchange/ValuationFileWriter.h"
#include "shell/ShellPorts.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormXMLMain.h"
#include "valuation/ui/TFormNGOMain.h"

#include <QApplication>
#include <QFileInfo>

bool CreateValuationFromWizard(TFormXMLMain& main, TFormNGOMain& wizard) {
    const QString source = wizard.Session.SourceFileName;
    const TValuationHandOver handOver = wizard.HandOver();
    TOpenExchangeFile& file = main.File;
    TXmlEditorPort* editor = main.EditorPort();
    TMapViewPort* map = main.MapViewPort();

    // Everything of the previous file goes.
    file.OpenedFile.clear();
    file.SaveAsFile = ValuationFileNameFor(source);
    file.NamesFile.clear();
    file.CoordinatesLoaded = false;
    main.SetFileCaption(QStringLiteral("  Новий файл (не збережений)"));
    if (editor) {
        editor->SetSaveEnabled(false);
        editor->CloseEditor();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;
    main.ClearNavigator();
    if (map) {
        map->CloseMap();
        map->ClearLayers();
    }
    wizard.XMLDocument_XML.Clear();
    wizard.MapNgo.RemoveAllLayers();
    file.EmptyDocuments();
    file.CloseWorkingFolder();

    const QString workingCopy = NewWorkingCopyPath(file.SaveAsFile);
    file.NamesFile = NamesFilePath();
    if (workingCopy.isEmpty()) {
        if (main.LogWindow()) main.LogWindow()->Clear();
        main.ShowActionLog();
        main.LogLine(QStringLiteral("Помилка завантаження файлу: ") + LastErrorText);
        return false;
    }
    const QString folder = QFileInfo(workingCopy).absolutePath();
    if (map && !map->PrepareMapForFile(source)) {
        DeleteFolderTree(folder);
        file.WorkingCopy.clear();
        return false;
    }
    file.CoordinatesLoaded = true;
    if (main.LogWindow()) main.LogWindow()->Clear();
    main.ShowActionLog();
    if (editor) editor->SetStructureChanged(false);

    TCreateHooks hooks;
    hooks.LogLine = [&main](const QString& text) { main.LogLine(text); };
    if (map) hooks.BuildMapObjects = [map](ExchangeDocument& doc) { return map->BuildMapObjects(doc); };
    hooks.RebuildNavigator = [&main](ExchangeDocument& doc) { main.RebuildNavigator(doc); };
    if (!CreateValuationFile(file, source, workingCopy, handOver, hooks)) {
        // Nothing half-made stays behind: the fresh folder goes with the failed copy.
        DeleteFolderTree(folder);
        file.WorkingCopy.clear();
        main.ClearNavigator();
        return false;
    }
    ShowInfo(
        QStringLiteral("Завершено.\rФайл завантажений у головне вікно.\rЗберегти файл кнопкою \"Зберегти "
                       "як\""));
    return true;
}

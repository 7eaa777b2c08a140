#include "map/ui/MapSaveCommands.h"

#include "common/Messages.h"
#include "exchange/GeometryFromMap.h"
#include "exchange/ValuationFileWriter.h"
#include "exchange/WriterTexts.h"
#include "map/ui/TFormMapView.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormXMLMain.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>

namespace {

QString AskSaveTarget(QWidget* parent, const QString& proposed) {
    QFileDialog dlg(parent, kSaveDialogTitle);
    dlg.setObjectName(QStringLiteral("SaveDialogXML"));
    dlg.setNameFilter(QStringLiteral("XML файли (*.xml)"));
    dlg.setDefaultSuffix(kSaveDialogExtension.mid(1));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setOption(QFileDialog::DontConfirmOverwrite, false);
    if (!proposed.isEmpty()) {
        const QFileInfo info(proposed);
        if (info.absoluteDir().exists()) dlg.setDirectory(info.absolutePath());
        dlg.selectFile(info.fileName());
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
    return dlg.selectedFiles().first();
}

TGeometryOptions OptionsOf(const TFormXMLMain& main) {
    TGeometryOptions options;
    options.AddFpTp = main.BlockAddFptp();
    options.AddMxMy = main.BlockAddMxmy();
    return options;
}

} // namespace

bool SaveAsCommand(TFormXMLMain& main, TFormMapView& view,
                   const std::function<QString(const QString&)>& chooseTarget) {
    TSaveHooks hooks;
    hooks.LogLine = [&main](const QString& line) { main.LogLine(line); };
    hooks.ChooseTarget = [&](const QString& proposed) {
        const QString chosen = chooseTarget ? chooseTarget(proposed) : AskSaveTarget(&main, proposed);
        if (chosen.isEmpty()) return chosen;
        // The chosen name goes to the clipboard and the file line; the log starts afresh for the notes.
        QApplication::clipboard()->setText(chosen);
        main.SetFileCaption(QStringLiteral("  ") + chosen);
        if (main.LogWindow()) main.LogWindow()->Clear();
        main.ShowActionLog();
        return chosen;
    };
    const TSaveResult result =
        SaveValuationFileAs(main.File, GeometryFromMap(view.Map()), OptionsOf(main), hooks);
    return result.Written;
}

void SaveWorkingCopyFromMap(TFormXMLMain& main, TFormMapView& view) {
    const TSaveResult result = SaveWorkingCopy(main.File, GeometryFromMap(view.Map()), OptionsOf(main));
    if (!result.Written && LastErrorText.isEmpty())
        LastErrorText = result.Error.isEmpty() ? kMsgSaveWorkingCopy : result.Error;
}

void RegisterSaveCommands(TFormXMLMain& main, TFormMapView& view) {
    main.SetCommandHandler(QStringLiteral("ACT_SAVE_XML_NGO"), [&main, &view] {
        if (main.HasWorkingCopy()) SaveAsCommand(main, view);
    });
    main.SetWorkingCopySaver([&main, &view] { SaveWorkingCopyFromMap(main, view); });
}

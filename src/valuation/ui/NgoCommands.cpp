#include "valuation/ui/NgoCommands.h"

#include "app/ui/AppWindows.h"
#include "common/Messages.h"
#include "shell/ShellPorts.h"
#include "shell/TFormXMLMain.h"
#include "valuation/ui/NewValuationFile.h"
#include "valuation/ui/TFormNGOMain.h"
#include "valuation/ui/TFormSelectKatottg.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QPushButton>

#include <memory>

namespace {

TFormNGOMain*& SharedWizardSlot() {
    static TFormNGOMain* wizard = nullptr;
    return wizard;
}

std::function<void(TFormNGOMain&)>& NewValuationHandler() {
    static std::function<void(TFormNGOMain&)> handler;
    return handler;
}

TUpdateFromWizard& UpdateHandlerSlot() {
    static TUpdateFromWizard handler;
    return handler;
}

TReferenceTableEditor& ReferenceEditorSlot() {
    static TReferenceTableEditor editor;
    return editor;
}

} // namespace

void SetUpdateFromWizardHandler(TUpdateFromWizard handler) {
    UpdateHandlerSlot() = std::move(handler);
}

const TUpdateFromWizard& UpdateFromWizardHandler() {
    return UpdateHandlerSlot();
}

void SetReferenceTableEditor(TReferenceTableEditor editor) {
    ReferenceEditorSlot() = std::move(editor);
}

const TReferenceTableEditor& ReferenceTableEditor() {
    return ReferenceEditorSlot();
}

TFormNGOMain* SharedNgoWizard() {
    TFormNGOMain*& w = SharedWizardSlot();
    if (!w) w = new TFormNGOMain(AppWindows().FormXMLMain);
    w->InitializeWizard();
    return w;
}

void ReleaseSharedNgoWizard() {
    delete SharedWizardSlot();
    SharedWizardSlot() = nullptr;
}

void SetNewValuationHandler(std::function<void(TFormNGOMain&)> handler) {
    NewValuationHandler() = std::move(handler);
}

int NewValuationCommand(TFormNGOMain* prepared) {
    TFormNGOMain* wizard = prepared;
    int result = TFormNGOMain::kResultYes;
    if (!wizard) {
        wizard = SharedNgoWizard();
        result = wizard->exec();
    }
    if (result != TFormNGOMain::kResultYes) return result;
    if (NewValuationHandler()) NewValuationHandler()(*wizard);
    return result;
}

void CompareValuationCommand(TFormXMLMain& main) {
    if (!main.HasWorkingCopy()) return;
    if (main.EditorPort() && main.EditorPort()->IsEditorVisible()) {
        ShowWarning(QStringLiteral("Треба закрити вікно редактора XML."));
        return;
    }
    auto wizard = std::make_unique<TFormNGOMain>(&main);
    // A file that cannot be imported has been reported; there is nothing to check.
    if (!wizard->PrepareCompare(main.File.WorkingCopy)) return;
    wizard->exec();
}

void KatottgCommand() {
    TFormSelectKatottg* picker = AppWindows().FormSelectKatottg;
    if (!picker || picker->exec() != QDialog::Accepted) return;
    QApplication::clipboard()->setText(picker->ChosenId());
    ShowInfo(QStringLiteral("У буфер обміну скопійовано значення TerritorialZoneID=") + picker->ChosenId());
}

void RegisterNgoCommands(TFormXMLMain& main) {
    SetNewValuationHandler([&main](TFormNGOMain& wizard) { CreateValuationFromWizard(main, wizard); });
    main.SetCommandHandler(QStringLiteral("ACT_NEW_NGO"), [] { NewValuationCommand(); });
    main.SetCommandHandler(QStringLiteral("ACT_TEST_NGO"), [&main] { CompareValuationCommand(main); });
    main.SetCommandHandler(QStringLiteral("ACT_KATOTTG"), [] { KatottgCommand(); });
}

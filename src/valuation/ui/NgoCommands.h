#pragma once
// The main window's commands that open the valuation wizard and its pickers.
#include <QString>

#include <functional>

class TFormNGOMain;
class TFormXMLMain;

// The wizard of new valuations: created and initialised on first use, then kept for the whole run.
TFormNGOMain* SharedNgoWizard();
// Destroys the shared wizard (end of the program).
void ReleaseSharedNgoWizard();

// What follows a "Yes" of a new-valuation wizard: writing the valuation file from the wizard's values. The
// writer of valuation files registers it.
void SetNewValuationHandler(std::function<void(TFormNGOMain&)> handler);

// "Оновити XML (адреса+коеф.)" of a "compare" wizard: rewrites the address and coefficient elements of the
// main window's file from the wizard and tells whether it succeeded (it shows its own failures). The
// updater of the open file registers it; without it the wizard says that the update is not available.
using TUpdateFromWizard = std::function<bool(TFormNGOMain&)>;
void SetUpdateFromWizardHandler(TUpdateFromWizard handler);
const TUpdateFromWizard& UpdateFromWizardHandler();

// The reference-table editor as the wizard's "..." beside the organisation list opens it: (table, key
// column, result column, current value) -> the result column of the chosen row, empty when cancelled. The
// editor registers it.
using TReferenceTableEditor = std::function<QString(const QString& table, const QString& keyColumn,
                                                    const QString& resultColumn, const QString& current)>;
void SetReferenceTableEditor(TReferenceTableEditor editor);
const TReferenceTableEditor& ReferenceTableEditor();

// ACT_NEW_NGO: the shared wizard, shown modally (or the wizard passed in, already prepared); a "Yes"
// continues with the registered handler. Returns the modal result.
int NewValuationCommand(TFormNGOMain* prepared = nullptr);
// ACT_TEST_NGO: a fresh wizard in the mode "compare" over the main window's working copy, for one showing.
void CompareValuationCommand(TFormXMLMain& main);
// ACT_KATOTTG: the codifier picker; the chosen ID goes to the clipboard.
void KatottgCommand();

// Makes the commands live in the main window, and registers the writer of new valuation files
// (CreateValuationFromWizard, valuation/ui/NewValuationFile.h) as the new-valuation handler.
void RegisterNgoCommands(TFormXMLMain& main);

#pragma once
// The main window's commands that open the valuation wizard and its pickers.
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

// ACT_NEW_NGO: the shared wizard, shown modally (or the wizard passed in, already prepared); a "Yes"
// continues with the registered handler. Returns the modal result.
int NewValuationCommand(TFormNGOMain* prepared = nullptr);
// ACT_TEST_NGO: a fresh wizard in the mode "compare" over the main window's working copy, for one showing.
void CompareValuationCommand(TFormXMLMain& main);
// ACT_KATOTTG: the codifier picker; the chosen ID goes to the clipboard.
void KatottgCommand();

// Makes the commands live in the main window.
void RegisterNgoCommands(TFormXMLMain& main);

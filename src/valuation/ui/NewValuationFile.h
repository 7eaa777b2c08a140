#pragma once
// What the main window does after a new-valuation wizard closed with "Yes": the previous file is closed,
// the valuation file is built from the template, the wizard's source file and its hand-over record into a
// fresh working copy, and that copy becomes the main window's open file (navigator and map objects).
class TFormNGOMain;
class TFormXMLMain;

// True when the working copy was written; failures are in the action log and leave no working copy.
bool CreateValuationFromWizard(TFormXMLMain& main, TFormNGOMain& wizard);

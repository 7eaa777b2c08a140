#pragma once
// "Зберегти як" of the main window and the unattended save of the working copy after an edit on the map:
// both regenerate the file's points, lines and contours from the map view's objects through the writer.
#include <QString>

#include <functional>

class TFormMapView;
class TFormXMLMain;

// ACT_SAVE_XML_NGO. chooseTarget replaces the save dialog (tests); it gets the proposed path and returns the
// chosen one, empty to cancel. True when the file was written.
bool SaveAsCommand(TFormXMLMain& main, TFormMapView& view,
                   const std::function<QString(const QString&)>& chooseTarget = {});
// The saver behind TFormXMLMain::SaveWorkingCopy: the working copy from the map objects, with no dialog and
// no notes; a failure leaves the reason in LastErrorText.
void SaveWorkingCopyFromMap(TFormXMLMain& main, TFormMapView& view);
// Makes "Зберегти як" live and registers the working-copy saver.
void RegisterSaveCommands(TFormXMLMain& main, TFormMapView& view);

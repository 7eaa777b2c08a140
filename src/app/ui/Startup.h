#pragma once
#include <QString>

class QApplication;

// Process-wide settings before any window exists: "." as the decimal separator for the C library and Qt.
void SetProcessDecimalSeparator();

// The start-up sequence after the application object exists: folders, splash, long-lived windows, references.
// Returns false when the program must end (the reason was shown).
bool RunStartup(QApplication& app, const QString& executablePath);
// Closing: deletes the windows in reverse order.
void ShutdownWindows();

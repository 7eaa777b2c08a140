#pragma once
// The main window's pictures, drawn in code so that they look the same on every desktop.
#include <QIcon>

enum class TShellIcon {
    None,
    App,
    NewValuation,
    Open,
    Save,
    Valuation,
    Check,
    OpenView,
    Database,
    Exit,
    Codifier,
    Guid,
    Precision,
    Organisations,
    Help,
    Update,
};

QIcon ShellIcon(TShellIcon which);

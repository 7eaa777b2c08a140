#pragma once
// Keys of the settings file (GlobalVar().Settings.IniFile) and their reading rules.
#include <QString>

namespace IniKeys {
inline const QString kInterface = QStringLiteral("INTERFACE");
inline const QString kBlockAddFptp = QStringLiteral("ACT_BLOCK_ADD_FPTP");
inline const QString kBlockAddMxmy = QStringLiteral("ACT_BLOCK_ADD_MXMY");
inline const QString kCoordTo = QStringLiteral("ACT_COORD_TO");
inline const QString kKmcAlways = QStringLiteral("KmcAlways");
inline const QString kDlgs = QStringLiteral("Dlgs");
inline const QString kXmlStyle = QStringLiteral("XML_STYLE");
inline const QString kRecentFiles = QStringLiteral("RecentFiles");
inline const QString kMapNgoAutoFiles = QStringLiteral("MapNgoAutoFiles");
} // namespace IniKeys

// A block option counts as on only when its value is a whole number equal to 1.
bool ReadBlockOption(const QString& key);
bool WriteBlockOption(const QString& key, bool on);

// "2", "3" or "4"; default "4". Any other stored value is returned as it is (callers then check nothing).
QString ReadCoordPrecision();
bool WriteCoordPrecision(const QString& value);

// "1" checks the box, "0" clears it; without the key (or any other value) the box stays checked.
bool ReadKmcAlways();
bool WriteKmcAlways(bool on);

// Initial folder of a file dialog with the given tag ("Dlgs", "Initial" + tag); empty when none.
QString ReadDialogFolder(int tag);
bool WriteDialogFolder(int tag, const QString& folder);

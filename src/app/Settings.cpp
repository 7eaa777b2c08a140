#include "app/Settings.h"

#include "app/GlobalVar.h"
#include "common/Ini.h"
#include "common/TextHelpers.h"

namespace {
QString Ini() {
    return GlobalVar().Settings.IniFile;
}
} // namespace

bool ReadBlockOption(const QString& key) {
    const QString v = IniReadString(Ini(), IniKeys::kInterface, key, QStringLiteral("0"));
    return IsIntegerText(v) && TextToIntOrZero(v) == 1;
}

bool WriteBlockOption(const QString& key, bool on) {
    return IniWriteString(Ini(), IniKeys::kInterface, key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString ReadCoordPrecision() {
    return IniReadString(Ini(), IniKeys::kInterface, IniKeys::kCoordTo, QStringLiteral("4"));
}

bool WriteCoordPrecision(const QString& value) {
    return IniWriteString(Ini(), IniKeys::kInterface, IniKeys::kCoordTo, value);
}

bool ReadKmcAlways() {
    return IniReadString(Ini(), IniKeys::kInterface, IniKeys::kKmcAlways, QStringLiteral("1")) !=
           QLatin1String("0");
}

bool WriteKmcAlways(bool on) {
    return IniWriteString(Ini(), IniKeys::kInterface, IniKeys::kKmcAlways,
                          on ? QStringLiteral("1") : QStringLiteral("0"));
}

QString ReadDialogFolder(int tag) {
    return IniReadString(Ini(), IniKeys::kDlgs, QStringLiteral("Initial") + QString::number(tag), QString());
}

bool WriteDialogFolder(int tag, const QString& folder) {
    return IniWriteString(Ini(), IniKeys::kDlgs, QStringLiteral("Initial") + QString::number(tag), folder);
}

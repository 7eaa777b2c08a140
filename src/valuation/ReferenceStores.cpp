#include "valuation/ReferenceStores.h"

#include "common/Messages.h"
#include "valuation/RefFiles.h"

namespace {

// The lines of a file that is about to be rewritten; false when it exists but cannot be read.
bool ReadForUpdate(const QString& path, QStringList* lines) {
    const TRefLines read = ReadRefLines(path);
    if (read.Status == TReadStatus::Unreadable) {
        LastErrorText = QStringLiteral("Файл ") + path + QStringLiteral(" неможливо прочитати");
        return false;
    }
    *lines = read.Lines;
    return true;
}

bool Rewrite(const QString& path, const QStringList& lines) {
    QString error;
    if (WriteRefLines(path, lines, &error)) return true;
    LastErrorText = QStringLiteral("Неможливо записати файл ") + path +
                    (error.isEmpty() ? QString() : QStringLiteral(": ") + error);
    return false;
}

} // namespace

TPopulationEntry PopulationLookup(const QString& path, const QString& councilName) {
    TPopulationEntry entry;
    for (const QString& line : ReadRefLines(path).Lines) {
        const QStringList f = line.split(QLatin1Char('\t'));
        if (f.value(0) != councilName) continue;
        if (!f.value(1).isEmpty()) entry.Population = f.value(1);
        if (!f.value(2).isEmpty()) entry.Centre = f.value(2);
        break;
    }
    return entry;
}

bool PopulationStore(const QString& path, const QString& councilName, qint64 population,
                     const QString& centreName) {
    QStringList lines;
    if (!ReadForUpdate(path, &lines)) return false;
    const QString line =
        councilName + QLatin1Char('\t') + QString::number(population) + QLatin1Char('\t') + centreName;
    bool replaced = false;
    for (QString& existing : lines) {
        if (existing.section(QLatin1Char('\t'), 0, 0) == councilName) {
            existing = line;
            replaced = true;
            break;
        }
    }
    if (!replaced) lines << line;
    return Rewrite(path, lines);
}

const QStringList& TAddressHistory::RowNames() {
    static const QStringList names{QStringLiteral("NxItemKoatuu"),    QStringLiteral("NxItemAddrObl"),
                                   QStringLiteral("NxItemAddrRaion"), QStringLiteral("NxItemAddrRada"),
                                   QStringLiteral("NxItemAddrNP"),    QStringLiteral("NxItemCenterTG"),
                                   QStringLiteral("NxItemPopul")};
    return names;
}

void TAddressHistory::Add(const QString& rowName, const QString& value) {
    if (value.isEmpty() || !RowNames().contains(rowName)) return;
    QStringList& list = lists_[rowName];
    if (!list.contains(value)) list << value;
}

void TAddressHistory::Load(const QString& path) {
    for (const QString& line : ReadRefLines(path).Lines) {
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0 || eq == line.size() - 1) continue;
        Add(line.left(eq), line.mid(eq + 1));
    }
}

bool TAddressHistory::Store(const QString& path, const QMap<QString, QString>& currentValues) {
    for (const QString& name : RowNames()) {
        // A row that only holds the blank of a fresh inspector has nothing to remember.
        const QString value = currentValues.value(name);
        if (!value.trimmed().isEmpty()) Add(name, value);
    }
    QStringList lines;
    if (!ReadForUpdate(path, &lines)) return false;
    for (const QString& name : RowNames())
        for (const QString& entry : lists_.value(name)) {
            const QString line = name + QLatin1Char('=') + entry;
            if (!lines.contains(line)) lines << line;
        }
    return Rewrite(path, lines);
}

QStringList BuiltInIndexationList() {
    QStringList list{QStringLiteral("2020=1.0"),   QStringLiteral("2021=1.1"),  QStringLiteral("2022=1.15"),
                     QStringLiteral("2023=1.051"), QStringLiteral("2024=1.12"), QStringLiteral("2025=1.08")};
    for (int y = 2026; y <= 2035; ++y)
        list << QString::number(y) + QLatin1Char('=');
    return list;
}

QString IndexationFileName(const QString& categoryCode) {
    return categoryCode == QLatin1String("100") ? kYearsShFile : kYearsFile;
}

bool LoadIndexationList(const QString& path, QStringList* list) {
    const TRefLines read = ReadRefLines(path);
    if (read.Status != TReadStatus::Ok) return false;
    *list = read.Lines;
    return true;
}

bool SaveIndexationList(const QString& path, const QStringList& list) {
    QString error;
    // The list on the page did not come from a file that exists but cannot be read: keep that file.
    if (ReadRefLines(path).Status == TReadStatus::Unreadable)
        error = QStringLiteral("файл неможливо прочитати, його вміст збережено без змін");
    if (!error.isEmpty() || !WriteRefLines(path, list, &error)) {
        LastErrorText = error;
        ShowError(CommandFailureText(QStringLiteral("Список не збережено: неможливо записати файл ") + path,
                                     error.isEmpty() ? QStringLiteral("запис не вдався") : error));
        return false;
    }
    ShowInfo(QStringLiteral("Список збережено."));
    return true;
}

#include "valuation/NgoCommandLine.h"

#include "common/TextHelpers.h"
#include "valuation/GeneralData.h"

#include <QRegularExpression>

const QStringList& NgoCoefficientNames() {
    static const QStringList names{"Nrd",  "Km1",  "Km2",  "Km3", "Km4", "Kcp", "Kmc1",
                                   "KmcI", "KmcH", "KmcN", "Kls", "Klk", "PSR", "District"};
    return names;
}

const QStringList& NgoGeneralDataOptions() {
    static const QStringList names{"population", "year",       "location",   "region",   "district",
                                   "council",    "settlement", "centre",     "category", "purpose",
                                   "land-type",  "water-type", "forest-type"};
    return names;
}

namespace {

const QStringList kFlags{"write", "no-zone", "no-approval", "json", "help"};
const QStringList kValued{"kmc-always", "row", "set", "out-dir", "organisation", "zone-id"};

QString CanonicalCoefficient(const QString& name) {
    for (const QString& n : NgoCoefficientNames())
        if (n.compare(name, Qt::CaseInsensitive) == 0) return n;
    return QString();
}

bool IsPositiveInteger(const QString& text) {
    static const QRegularExpression re(QStringLiteral("^[1-9][0-9]{0,8}$"));
    return re.match(text).hasMatch();
}

QString CheckChoice(const QString& option, const QString& text, QPair<QString, QString>* out) {
    const int eq = text.indexOf(QLatin1Char('='));
    if (eq <= 0) return QStringLiteral("--%1: очікується НАЗВА=ЗНАЧЕННЯ, отримано \"%2\".").arg(option, text);
    const QString name = CanonicalCoefficient(text.left(eq).trimmed());
    const QString value = text.mid(eq + 1).trimmed();
    if (name.isEmpty())
        return QStringLiteral("--%1: невідомий коефіцієнт \"%2\" (можливі: %3).")
            .arg(option, text.left(eq).trimmed(), NgoCoefficientNames().join(QStringLiteral(", ")));
    if (value.isEmpty()) return QStringLiteral("--%1: для %2 не вказано значення.").arg(option, name);
    if (option == QLatin1String("row")) {
        if (name == QLatin1String("Km4") || name == QLatin1String("District"))
            return QStringLiteral("--row: %1 не обирається з таблиці; вкажіть --set %1=ЗНАЧЕННЯ.").arg(name);
        const bool cells = name == QLatin1String("Kmc1") || name == QLatin1String("Klk");
        if (cells) {
            const QStringList parts = value.toLower().split(QLatin1Char('x'));
            if (parts.size() != 2 || !IsPositiveInteger(parts[0]) || !IsPositiveInteger(parts[1]))
                return QStringLiteral(
                           "--row: для %1 вкажіть рядок і стовпець як РЯДОКxСТОВПЕЦЬ, отримано \"%2\".")
                    .arg(name, value);
        } else if (!IsPositiveInteger(value)) {
            return QStringLiteral("--row: номер рядка для %1 має бути цілим числом від 1, отримано \"%2\".")
                .arg(name, value);
        }
    } else {
        if (name == QLatin1String("PSR"))
            return QStringLiteral(
                "--set: природно-сільськогосподарський район обирається рядком: --row PSR=РЯДОК.");
        if (name != QLatin1String("District") &&
            !IsNumberText(QString(value).replace(QLatin1Char(','), QLatin1Char('.'))))
            return QStringLiteral("--set: значення %1 має бути числом, отримано \"%2\".").arg(name, value);
    }
    *out = {name, value};
    return QString();
}

} // namespace

QString ParseNgoCommandLine(const QStringList& arguments, TNgoCommandLine* out) {
    TNgoCommandLine r;
    bool optionsEnded = false;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString arg = arguments.at(i);
        if (optionsEnded || !arg.startsWith(QLatin1String("--")) || arg == QLatin1String("-")) {
            r.Files << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            optionsEnded = true;
            continue;
        }
        QString name = arg.mid(2), value;
        bool hasValue = false;
        const int eq = name.indexOf(QLatin1Char('='));
        if (eq >= 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
            hasValue = true;
        }
        const bool general = NgoGeneralDataOptions().contains(name);
        if (kFlags.contains(name)) {
            if (hasValue) return QStringLiteral("Параметр --%1 не приймає значення.").arg(name);
            if (name == QLatin1String("write")) r.Write = true;
            if (name == QLatin1String("no-zone")) r.NoZone = true;
            if (name == QLatin1String("no-approval")) r.NoApproval = true;
            if (name == QLatin1String("json")) r.Json = true;
            if (name == QLatin1String("help")) r.Help = true;
            continue;
        }
        if (!general && !kValued.contains(name))
            return QStringLiteral("Невідомий параметр \"%1\". Довідка: zemlyar-ngo --help").arg(arg);
        if (!hasValue) {
            if (i + 1 >= arguments.size())
                return QStringLiteral("Параметр --%1 потребує значення.").arg(name);
            value = arguments.at(++i);
        }
        if (general) {
            if (name == QLatin1String("location") && value != kInsideSettlement &&
                value != kOutsideSettlement)
                return QStringLiteral("--location: вкажіть \"%1\" або \"%2\".")
                    .arg(kInsideSettlement, kOutsideSettlement);
            r.GeneralData.insert(name, value);
        } else if (name == QLatin1String("kmc-always")) {
            if (value != QLatin1String("on") && value != QLatin1String("off"))
                return QStringLiteral("--kmc-always: вкажіть on або off.");
            r.KmcAlways = value == QLatin1String("on");
        } else if (name == QLatin1String("row") || name == QLatin1String("set")) {
            QPair<QString, QString> choice;
            const QString error = CheckChoice(name, value, &choice);
            if (!error.isEmpty()) return error;
            (name == QLatin1String("row") ? r.Rows : r.Sets) << choice;
        } else if (name == QLatin1String("out-dir")) {
            if (value.isEmpty()) return QStringLiteral("--out-dir: не вказано папку.");
            r.OutDir = value;
            r.Write = true;
        } else if (name == QLatin1String("zone-id")) {
            if (value.trimmed().size() != 6) return QStringLiteral("--zone-id: ID повинен мати 6 цифр");
            r.ZoneId = value.trimmed();
        } else if (name == QLatin1String("organisation")) {
            if (value.trimmed().isEmpty())
                return QStringLiteral("--organisation: не вказано назву організації.");
            r.Organisation = value;
        }
    }
    if (!r.Help && r.Files.isEmpty())
        return QStringLiteral("Не вказано жодного файлу. Довідка: zemlyar-ngo --help");
    *out = r;
    return QString();
}

QString NgoHelpText() {
    return QStringLiteral(
        "Використання: zemlyar-ngo [параметри] ФАЙЛ...\n"
        "\n"
        "Нормативна грошова оцінка земельних ділянок без вікон. Кожен ФАЙЛ (XML обмінний файл\n"
        "землевпорядної документації або файл з попередньою НГО) імпортується так само, як у майстрі\n"
        "НГО: застосовуються загальні дані, автоматично обираються всі коефіцієнти, друкується\n"
        "розрахунок і перелік коефіцієнтів, що залишились не визначеними або \"декілька\", з рядками\n"
        "таблиць, які можуть підійти. Довідники, бази даних і шаблон беруться з папки програми.\n"
        "\n"
        "Загальні дані (якщо у файлі їх немає або їх треба замінити):\n"
        "  --population N          кількість населення\n"
        "  --year РРРР             рік оцінки\n"
        "  --location ТЕКСТ        \"В межах\" або \"За межами\" населеного пункту\n"
        "  --region ТЕКСТ          область\n"
        "  --district ТЕКСТ        район\n"
        "  --council ТЕКСТ         рада, ОТГ\n"
        "  --settlement ТЕКСТ      населений пункт, вулиця\n"
        "  --centre ТЕКСТ          центр/найбільший/поточний населений пункт\n"
        "  --category КОД          категорія земель (100 ... 900)\n"
        "  --purpose КОД           цільове призначення (наприклад 02.01)\n"
        "  --land-type ТЕКСТ       вид с/г угідь (наприклад \"рілля, перелоги\")\n"
        "  --water-type ТЕКСТ      вид водного об'єкта\n"
        "  --forest-type ТЕКСТ     вид лісового об'єкта\n"
        "  --kmc-always on|off     застосовувати Кмц завжди (типово on)\n"
        "\n"
        "Вибір коефіцієнтів (НАЗВА: Nrd, Km1, Km2, Km3, Km4, Kcp, Kmc1, KmcI, KmcH, KmcN, Kls,\n"
        "Klk, PSR, District):\n"
        "  --row НАЗВА=РЯДОК       рядок таблиці (від 1); для Kmc1 і Klk РЯДОКxСТОВПЕЦЬ\n"
        "  --set НАЗВА=ЗНАЧЕННЯ    значення, введене вручну (District: номер оціночного району)\n"
        "\n"
        "Результат:\n"
        "  --write                 записати файл НГО поруч з вихідним під назвою \"<назва> нго.xml\"\n"
        "  --out-dir ПАПКА         записати файл НГО у вказану папку (означає --write)\n"
        "  --organisation НАЗВА    організація-виконавець з бази (таблиця ліцензіати), а не з файлу\n"
        "  --zone-id ID            ID територіальної зони (КАТОТТГ, 6 знаків) замість знайденого за адресою\n"
        "  --no-zone               не створювати контур територіальної зони\n"
        "  --no-approval           не додавати блок затвердження документації\n"
        "  --json                  по одному рядку JSON на ділянку: файл, коефіцієнти зі значенням\n"
        "                          і рядком, сума оцінки, чого бракує\n"
        "  --help                  ця довідка\n"
        "\n"
        "Код завершення: 0 - усі ділянки оцінені (і записані з --write); 1 - для якоїсь ділянки\n"
        "треба обрати коефіцієнт або вказати дані; 2 - файл не вдалося прочитати або записати.\n");
}

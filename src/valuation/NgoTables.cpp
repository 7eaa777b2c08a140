#include "valuation/NgoTables.h"

#include "common/Ini.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "valuation/RefFiles.h"

#include <QFileInfo>

namespace {

const QString kUnitCaption = QStringLiteral("Найменування адміністративно- територіальної одиниці");
const QString kKmcCaption =
    QStringLiteral("Коефіцієнт, який враховує особливості використання земельної ділянки в межах категорії "
                   "земель за основним цільовим призначенням (Кмц)");

QStringList LandTypeCaptions(const QString& head, bool withNonAgri) {
    QStringList c{head + QStringLiteral("\nрілля, \nперелоги"), head + QStringLiteral("\nбагат. \nнасад."),
                  head + QStringLiteral("\nсіножаті"), head + QStringLiteral("\nпасо-\nвища")};
    if (withNonAgri) c << head + QStringLiteral("\nнесіл/г\nугіддя");
    return c;
}

struct TKindPrefix {
    const char* prefix;
    TCoefficientTable TNgoTables::*table;
};

} // namespace

QStringList Kmc1BandCaptions() {
    QStringList c{QStringLiteral("менше \n0,2 \nтис. осіб")};
    const QStringList bounds{QStringLiteral("0,2"),  QStringLiteral("0,5"), QStringLiteral("1"),
                             QStringLiteral("5"),    QStringLiteral("20"),  QStringLiteral("50"),
                             QStringLiteral("100"),  QStringLiteral("250"), QStringLiteral("500"),
                             QStringLiteral("1000"), QStringLiteral("1500")};
    for (int i = 0; i + 1 < bounds.size(); ++i)
        c << QStringLiteral("від ") + bounds[i] + QStringLiteral(" \nдо ") + bounds[i + 1] +
                 QStringLiteral(" \nтис. осіб");
    c << QStringLiteral("більше \n1500 \nтис. осіб");
    return c;
}

QStringList PsrCaptions() {
    QStringList c{QStringLiteral("Область"), QStringLiteral("№ району"),
                  QStringLiteral("Найменування та шифр природно-сільськогосподарського району")};
    c << LandTypeCaptions(QStringLiteral("Кпсгр"), true) << LandTypeCaptions(QStringLiteral("Бпсгр"), false);
    return c;
}

QStringList AgroCaptions() {
    QStringList c{QStringLiteral("№ п/п\nПСГ\nрайону"), QStringLiteral("Шифр агровиробничої\nгрупи ґрунтів"),
                  QStringLiteral("Площа, га")};
    c << LandTypeCaptions(QStringLiteral("Бал\nбонітету"), false);
    return c;
}

TNgoTables::TNgoTables()
    : Nrd(QStringLiteral("NextGridNrd"), TTableKind::CheckBox,
          {QStringLiteral("Чисельність населення у населеному пункті, що є адміністративним центром "
                          "територіальної громади, або населеному пункті з найбільшою чисельністю \n"
                          "населення тер.громади"),
           QStringLiteral("Норматив капіталізованого рентного доходу, гривень за кв. метр")}),
      Nrd2(QStringLiteral("NextGridNrd2"), TTableKind::CheckBox,
           {QStringLiteral("Категорія земель"),
            QStringLiteral("Норматив капіталізованого рентного доходу, гривень за гектар")}),
      Km1(QStringLiteral("NextGridKm1"), TTableKind::CheckBox,
          {QStringLiteral("Місто, що формує зону впливу"),
           QStringLiteral("Об'єднані територіальні громади, що входять до зони впливу"),
           QStringLiteral("Коефіцієнт, який характери-\nзує розташування території територіальної громади в "
                          "межах зони впливу великих міст (Км1)")}),
      Km2(QStringLiteral("NextGridKm2"), TTableKind::CheckBox,
          {QStringLiteral("Населені пункти, що мають курортно-рекреаційне значення"),
           QStringLiteral(
               "Коефіцієнт, який враховує курортно-рекреаційне значення населених пунктів (Км2)")}),
      Km3(QStringLiteral("NextGridKm3"), TTableKind::CheckBox,
          {QStringLiteral("Найменування зони радіоактивного забруднення"),
           QStringLiteral("Коефіцієнт, який враховує розташування населеного пункту в межах зон радіаційного "
                          "забруднення (Км3)")}),
      Kcp(QStringLiteral("NextGridKcp"), TTableKind::CheckBox,
          {QStringLiteral("Код згідно з КВЦПЗ"), QStringLiteral("Цільове призначення земельної ділянки"),
           QStringLiteral("Коефіцієнт, який враховує цільове призначення земельної ділянки (Кцп)")}),
      Psr(QStringLiteral("NextGridPSR"), TTableKind::CheckBox, PsrCaptions()),
      Kmc1(QStringLiteral("NextGridKmc1"), TTableKind::Cell, QStringList{kUnitCaption} + Kmc1BandCaptions()),
      KmcI(QStringLiteral("NextGridKmcI"), TTableKind::CheckBox, {kUnitCaption, kKmcCaption}),
      KmcH(QStringLiteral("NextGridKmcH"), TTableKind::CheckBox, {kUnitCaption, kKmcCaption}),
      KmcN(QStringLiteral("NextGridKmcN"), TTableKind::CheckBox, {kUnitCaption, kKmcCaption}),
      Kls(QStringLiteral("NextGridKls"), TTableKind::CheckBox,
          {QStringLiteral("Природно-сільськогосподарська зона (область)"),
           QStringLiteral("Коефіцієнт, який враховує фактичну лісистість території (Клс)")}),
      Klk(QStringLiteral("NextGridKlk"), TTableKind::Cell,
          {kUnitCaption,
           QStringLiteral("Клк,\nліси природоохоронного, наукового, історико- культурного призначення; "
                          "рекреаційно- оздоровчі ліси; захисні ліси"),
           QStringLiteral("Клк,\nексплуатаційні ліси")}) {}

QList<TCoefficientTable*> TNgoTables::All() {
    return {&Nrd, &Nrd2, &Km1, &Km2, &Km3, &Kcp, &Psr, &Kmc1, &KmcI, &KmcH, &KmcN, &Kls, &Klk};
}

TCoefficientTable* TNgoTables::ByName(const QString& objectName) {
    for (TCoefficientTable* t : All())
        if (t->objectName() == objectName) return t;
    return nullptr;
}

void TNgoTables::Clear() {
    for (TCoefficientTable* t : All())
        t->Clear();
    Purposes.clear();
}

void ParseNgoTables(TNgoTables& tables, const QStringList& lines) {
    // Longer prefixes first is not needed: "dod1=" never starts "dod10=", "dod12=" never "dod12i=".
    static const TKindPrefix kinds[] = {
        {"dod1=", &TNgoTables::Nrd},   {"dod2-", &TNgoTables::Nrd2},   {"dod3=", &TNgoTables::Km1},
        {"dod4=", &TNgoTables::Km2},   {"dod5=", &TNgoTables::Km3},    {"dod8=", &TNgoTables::Kcp},
        {"dod9=", &TNgoTables::Psr},   {"dod10=", &TNgoTables::Kmc1},  {"dod11=", &TNgoTables::KmcI},
        {"dod12=", &TNgoTables::KmcH}, {"dod12i=", &TNgoTables::KmcN}, {"dod14=", &TNgoTables::Kls},
        {"dod13=", &TNgoTables::Klk},
    };
    for (const QString& line : lines) {
        for (const TKindPrefix& kind : kinds) {
            const QString prefix = QString::fromLatin1(kind.prefix);
            if (!line.startsWith(prefix)) continue;
            QString rest = ReplaceAll(line, prefix, QString());
            if (prefix == QLatin1String("dod2-")) rest.replace(QLatin1Char('='), QLatin1Char('.'));
            const QStringList fields = rest.split(QLatin1Char('\t'));
            (tables.*kind.table).AppendFields(fields);
            if (kind.table == &TNgoTables::Kcp)
                tables.Purposes << fields.value(0) + QLatin1Char('-') + fields.value(1);
            break;
        }
    }
}

bool LoadNgoTables(TNgoTables& tables, const QString& path) {
    tables.Clear();
    const TRefLines read = ReadRefLines(path);
    ParseNgoTables(tables, read.Lines);
    return read.Status != TReadStatus::Unreadable;
}

int ReadBaseYear(const QString& ngoPath) {
    const QString text =
        IniReadString(ngoPath, QStringLiteral("YEAR"), QStringLiteral("on"), QString()).trimmed();
    if (!IsIntegerText(text)) return 2020;
    return static_cast<int>(TextToIntOrZero(text));
}

std::optional<QString> ReadKlsDefault(const QString& ngoPath) {
    TIniDocument doc;
    if (!doc.Load(ngoPath)) return std::nullopt;
    const QString section = QStringLiteral("NGO DEFAUL");
    const QString key = QStringLiteral("Kls");
    if (!doc.HasKey(section, key)) return std::nullopt;
    return doc.ReadString(section, key, QString());
}

bool SaveKlsDefault(const QString& ngoPath, const TCoefficientTable& kls) {
    const int row = kls.LastCheckedRow();
    const QString text = row >= 0 ? kls.Cell(row, NgoColumns::kUnitName) : QString();
    if (!IniWriteString(ngoPath, QStringLiteral("NGO DEFAUL"), QStringLiteral("Kls"), text)) {
        ShowError(CommandFailureText(QStringLiteral("Не вдалося зберегти вибір у файл ") + ngoPath,
                                     LastErrorText.isEmpty() ? QStringLiteral("файл недоступний для запису")
                                                             : LastErrorText));
        return false;
    }
    ShowInfo(QStringLiteral("Збережено \"") + text + QLatin1Char('"'));
    return true;
}

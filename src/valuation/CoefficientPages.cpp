#include "valuation/CoefficientPages.h"

#include <QHash>

namespace {

struct TMemo {
    QString Key, First, Second;
};

// The two lines of each table's memo: the methodology's appendix and what the table holds.
const QList<TMemo>& Memos() {
    static const QList<TMemo> memos = {
        {QStringLiteral("Nrd"), QStringLiteral("Додаток 1 до Методики НОРМАТИВИ "),
         QStringLiteral(
             "капіталізованого рентного доходу для земель житлової та громадської забудови, земель "
             "рекреаційного призначення, земель оздоровчого призначення (в межах населених пунктів), земель "
             "промисловості, транспорту, електронних комунікацій, енергетики, оборони та іншого призначення "
             "(Нрд), а також для земельних ділянок, які не віднесені до категорії земель за основним "
             "цільовим призначенням на 1 січня 2020 року")},
        {QStringLiteral("Nrd2"), QStringLiteral("Додаток 2 до Методики НОРМАТИВИ "),
         QStringLiteral(
             "капіталізованого рентного доходу для земель сільськогосподарського призначення, земель "
             "природно-заповідного та іншого природоохо-ронного призначення, земель оздоровчого призначення "
             "(за межами населених пунктів), земель історико-культурного призначення, земель "
             "лісогосподарського призначення та земель водного фонду (Нрд) на 1 січня 2020 року")},
        {QStringLiteral("Km1"), QStringLiteral("Додаток 3 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує розташування території територіальної громади в межах зони впливу "
                        "великих міст (Км1)")},
        {QStringLiteral("Km2"), QStringLiteral("Додаток 4 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує курортно-рекреаційне значення населених пунктів (Км2)")},
        {QStringLiteral("Km3"), QStringLiteral("Додаток 5 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral(
             "який враховує розташування населеного пункту в межах зон радіаційного забруднення (Км3)")},
        {QStringLiteral("Kcp"), QStringLiteral("Додаток 8 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує цільове призначення земельної ділянки (Кцп)")},
        {QStringLiteral("Kmc1"), QStringLiteral("Додаток 10 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral(
             "який враховує особливості використання земельної ділянки в межах категорії земель за основним "
             "цільовим призначенням (Кмц), для земель житлової та громадської забудови, земель рекреаційного "
             "призначення, земель оздоровчого призначення (в межах населених пунктів), земель промисловості, "
             "транспорту, електронних комунікацій, енергетики, оборони та іншого призначення, а також для "
             "земельних ділянок, які не віднесені до категорії земель за основним цільовим призначенням")},
        {QStringLiteral("KmcI"), QStringLiteral("Додаток 11 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral(
             "який враховує особливості використання земельної ділянки в межах категорії земель за основним "
             "цільовим призначенням (Кмц), для земель промисловості, транспорту, електронних комунікацій, "
             "енергетики, оборони та іншого призначення (за межами населених пунктів)")},
        {QStringLiteral("KmcH"), QStringLiteral("Додаток 12 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує особливості використання земельної ділянки в межах категорії земель "
                        "за основним цільовим призначенням (Кмц), для земель оздоровчого призначення ")},
        {QStringLiteral("KmcN"), QStringLiteral("Додаток 12 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує особливості використання земельної ділянки в межах категорії земель "
                        "за основним цільовим призначенням (Кмц), земель історико- культурного призначення")},
        {QStringLiteral("Kls"), QStringLiteral("Додаток 14 до Методики КОЕФІЦІЄНТ,"),
         QStringLiteral("який враховує категорію лісів (Клк) для земель лісогосподарського призначення ")},
    };
    return memos;
}

QStringList MemoOf(const QString& key) {
    for (const TMemo& m : Memos())
        if (m.Key == key) return {m.First, m.Second};
    return {};
}

const QString kOneObjectLater = QStringLiteral(
    "Відкоригувати межі і створити інші об'єкти  можно буде після створення файлу у вікні Карти.");

// Soil groups whose names the list shows.
const QHash<QString, QString>& AgroGroupNames() {
    static const QHash<QString, QString> names = {
        {QStringLiteral("49"), QStringLiteral("Черноземы оподзоленные и реградированные слабосмытые")},
        {QStringLiteral("143.4"), QStringLiteral("Лугово-болотные солончаковатые неосушенные почвы")},
        {QStringLiteral("222"), QStringLiteral("Пассивные оползни")},
    };
    return names;
}

} // namespace

const QList<TPageLayout>& PageLayouts() {
    static const QList<TPageLayout> layouts = [] {
        QList<TPageLayout> l;
        auto grid = [](const QString& table, const QString& memo, int wide, int wideMinimum) {
            TPageGrid g;
            g.TableName = table;
            g.MemoLines = memo.isEmpty() ? QStringList() : MemoOf(memo);
            g.WideColumn = wide;
            g.WideMinimum = wideMinimum;
            return g;
        };
        // The long-text tables keep at least 420 pixels for their text column.
        constexpr int kLongText = 420;
        TPageLayout nrd{TNgoPage::Nrd,
                        QStringLiteral("Nrd"),
                        {grid(QStringLiteral("NextGridNrd"), QStringLiteral("Nrd"), 1, 0),
                         grid(QStringLiteral("NextGridNrd2"), QStringLiteral("Nrd2"), 1, 0)}};
        l << nrd;
        TPageLayout km1{TNgoPage::Km1,
                        QStringLiteral("Km1"),
                        {grid(QStringLiteral("NextGridKm1"), QStringLiteral("Km1"), 2, kLongText)},
                        kFilterByName,
                        true};
        l << km1;
        TPageLayout km2{TNgoPage::Km2,
                        QStringLiteral("Km2"),
                        {grid(QStringLiteral("NextGridKm2"), QStringLiteral("Km2"), 1, kLongText)},
                        kFilterByName,
                        true};
        l << km2;
        TPageLayout km3{TNgoPage::Km3,
                        QStringLiteral("Km3"),
                        {grid(QStringLiteral("NextGridKm3"), QStringLiteral("Km3"), 1, 0)},
                        QString(),
                        true};
        l << km3;
        TPageLayout kcp{TNgoPage::Kcp,
                        QStringLiteral("Kcp"),
                        {grid(QStringLiteral("NextGridKcp"), QStringLiteral("Kcp"), 2, kLongText)},
                        kFilterByCode};
        l << kcp;
        TPageLayout kmc1{TNgoPage::Kmc1,
                         QStringLiteral("Kmc1"),
                         {grid(QStringLiteral("NextGridKmc1"), QStringLiteral("Kmc1"), 0, 0)},
                         kFilterByName,
                         true,
                         true};
        l << kmc1;
        const QList<QPair<TNgoPage, QString>> kmc = {{TNgoPage::KmcI, QStringLiteral("KmcI")},
                                                     {TNgoPage::KmcH, QStringLiteral("KmcH")},
                                                     {TNgoPage::KmcN, QStringLiteral("KmcN")}};
        for (const auto& [page, stem] : kmc) {
            TPageLayout p{page,          stem, {grid(QStringLiteral("NextGrid") + stem, stem, 1, kLongText)},
                          kFilterByName, true, true};
            l << p;
        }
        TPageLayout kls{TNgoPage::Kls,
                        QStringLiteral("Kls"),
                        {grid(QStringLiteral("NextGridKls"), QStringLiteral("Kls"), 1, kLongText)},
                        kFilterByName};
        kls.SaveKls = true;
        l << kls;
        TPageLayout ocRa{TNgoPage::OcRa,
                         QStringLiteral("Klk"),
                         {grid(QStringLiteral("NextGridKlk"), QString(), 0, 0)},
                         kFilterByName};
        ocRa.Grids[0].MemoLines = {
            QStringLiteral("В даній версії формується один район, співпадаючий з межею ділянки."),
            kOneObjectLater};
        l << ocRa;
        TPageLayout psr{TNgoPage::Psr,
                        QStringLiteral("PSR"),
                        {grid(QStringLiteral("NextGridPSR"), QString(), 3, 0)},
                        kFilterByName};
        psr.Grids[0].MemoLines = {QStringLiteral("Додаток 9 до Методики КОЕФІЦІЄНТ,")};
        l << psr;
        TPageLayout agro{
            TNgoPage::Agro, QStringLiteral("Agro"), {grid(QStringLiteral("NextGridAgro"), QString(), -1, 0)}};
        agro.Grids[0].MemoLines = {
            QStringLiteral("В даній версії формується одна агрогрупа грунтів, співпадаюча з межею ділянки."),
            kOneObjectLater};
        l << agro;
        return l;
    }();
    return layouts;
}

const TPageLayout* PageLayoutOf(TNgoPage page) {
    for (const TPageLayout& l : PageLayouts())
        if (l.Page == page) return &l;
    return nullptr;
}

const TChoice* PageChoiceOf(const TAutoChoices& c, TNgoPage page) {
    switch (page) {
    case TNgoPage::Nrd:
        return &c.Nrd;
    case TNgoPage::Km1:
        return &c.Km1;
    case TNgoPage::Km2:
        return &c.Km2;
    case TNgoPage::Km3:
        return &c.Km3;
    case TNgoPage::Kcp:
        return &c.Kcp;
    case TNgoPage::Kmc1:
        return &c.Kmc1;
    case TNgoPage::KmcI:
        return &c.KmcI;
    case TNgoPage::KmcH:
        return &c.KmcH;
    case TNgoPage::KmcN:
        return &c.KmcN;
    case TNgoPage::Kls:
        return &c.Kls;
    case TNgoPage::OcRa:
        return &c.Klk;
    case TNgoPage::Psr:
        return &c.Psr;
    default:
        return nullptr;
    }
}

QStringList AgroGroupCodes() {
    // 218 stands before 217 in the list the engineers know.
    static const QStringList codes = {
        "49",    "50",    "58",  "59",   "60",    "61",    "62",  "65",   "65.1",  "65.2", "66",  "67",
        "70",    "82",    "83",  "83.1", "84",    "84.1",  "85",  "86",   "87",    "88",   "89",  "90",
        "91",    "92",    "93",  "94",   "95",    "95.1",  "96",  "96.1", "97",    "97.1", "98",  "98.1",
        "99",    "100",   "101", "102",  "103",   "103.1", "104", "121",  "122",   "123",  "124", "125",
        "126",   "127",   "133", "134",  "135",   "136",   "137", "138",  "139",   "140",  "142", "143",
        "143.1", "143.4", "159", "160",  "162",   "163",   "164", "175",  "175.1", "176",  "177", "208",
        "209",   "211",   "212", "215",  "215.1", "216",   "218", "217",  "219",   "220",  "221", "222"};
    return codes;
}

QStringList AgroGroupEntries() {
    QStringList entries{QStringLiteral("-")};
    for (const QString& code : AgroGroupCodes()) {
        const QString name = AgroGroupNames().value(code);
        entries << (name.isEmpty() ? code : code + QLatin1Char('-') + name);
    }
    return entries;
}

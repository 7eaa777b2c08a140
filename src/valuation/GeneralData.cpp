#include "valuation/GeneralData.h"

#include "common/NumberFormat.h"
#include "common/TextHelpers.h"

QStringList CategoryList() {
    return {
        QStringLiteral("100-землі сільськогосподарського призначення"),
        QStringLiteral("200-землі житлової та громадської забудови"),
        QStringLiteral("300-землі природно-заповідного та іншого природоохоронного призначення"),
        QStringLiteral("400-землі оздоровчого призначення"),
        QStringLiteral("500-землі рекреаційного призначення"),
        QStringLiteral("600-землі історико-культурного призначення"),
        QStringLiteral("700-землі лісового фонду"),
        QStringLiteral("800-землі водного фонду"),
        QStringLiteral("900-землі промисловості, транспорту, електронних комунікацій, енергетики, оборони "
                       "та іншого призначення")};
}

QStringList LocationList() {
    return {kInsideSettlement, kOutsideSettlement};
}

QStringList YearList() {
    QStringList years;
    for (int y = 2022; y <= 2035; ++y)
        years << QString::number(y);
    return years;
}

QStringList AgriLandTypeList() {
    return {QStringLiteral("рілля, перелоги"), QStringLiteral("багаторічні насадження"),
            QStringLiteral("сіножаті"), QStringLiteral("пасовища"),
            QStringLiteral("несільськогосподарські угіддя")};
}

QStringList WaterObjectTypeList() {
    return {kNationalWater, QStringLiteral("інше значення")};
}

QStringList ForestTypeList() {
    return {kExploitationForests, QStringLiteral("інші ліси")};
}

QString NormaliseApostrophes(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char('`'), QChar(0x2019));
    s.replace(QLatin1Char('\''), QChar(0x2019));
    return s;
}

QString CodeBeforeDash(const QString& text) {
    const int dash = text.indexOf(QLatin1Char('-'));
    return (dash < 0 ? text : text.left(dash)).trimmed();
}

QString NormaliseNumberText(const QString& text) {
    QString s = text;
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    s.remove(QLatin1Char(' '));
    return s;
}

TGeneralData ReadGeneralData(const TGeneralDataInput& in, int baseYear) {
    TGeneralData d;
    d.AreaText = NormaliseNumberText(in.Area).trimmed();
    d.CategoryCode = CodeBeforeDash(in.Category);
    d.PurposeCode = CodeBeforeDash(in.Purpose);
    d.RegionName = in.Region.trimmed();
    d.DistrictName = NormaliseApostrophes(in.District.trimmed());
    d.CouncilName = NormaliseApostrophes(in.Council.trimmed());
    d.SettlementName = NormaliseApostrophes(in.Settlement.trimmed());
    d.CentreName = NormaliseApostrophes(in.Centre.trimmed());
    d.KoatuuCode = in.Koatuu.trimmed();
    d.LocationKind = in.Location.trimmed();
    d.PopulationCount = TextToIntOrZero(NormaliseNumberText(in.Population).trimmed());
    d.YearOfValuation = static_cast<int>(TextToIntOrZero(in.Year.trimmed()));
    d.AgriLandType = in.AgriLandType.trimmed();
    d.WaterObjectType = in.WaterObjectType.trimmed();
    d.ForestType = in.ForestType.trimmed();
    d.BaseYear = baseYear;
    return d;
}

namespace {

QString Missing(const QString& parameter) {
    return QStringLiteral("Відсутній обов'язковий параметр \"") + parameter + QLatin1Char('"');
}

QString MissingOrWrong(const QString& parameter) {
    return Missing(parameter) + QStringLiteral(" або некоректний");
}

} // namespace

QString ValidateGeneralData(const TGeneralDataInput& input, TGeneralData* data, int baseYear) {
    const TGeneralData d = ReadGeneralData(input, baseYear);
    if (d.CategoryCode.isEmpty()) return Missing(QStringLiteral("Категорія земель"));
    if (d.PurposeCode.isEmpty()) return Missing(QStringLiteral("Цільове призначення"));
    if (d.RegionName.isEmpty()) return Missing(QStringLiteral("Область"));
    if (d.DistrictName.isEmpty()) return Missing(QStringLiteral("Район"));
    if (d.CouncilName.isEmpty()) return Missing(QStringLiteral("Рада"));
    if (d.KoatuuCode.isEmpty()) return Missing(QStringLiteral("КОАТУУ"));
    if (d.LocationKind.isEmpty()) return Missing(QStringLiteral("В межах"));
    // A negative area or population is refused like a zero one.
    bool areaOk = false;
    const double area = ParseNumber(d.AreaText, &areaOk);
    if (!areaOk || area <= 0) return MissingOrWrong(QStringLiteral("Площа"));
    const QString population = NormaliseNumberText(input.Population).trimmed();
    if (!IsIntegerText(population) || d.PopulationCount <= 0)
        return MissingOrWrong(QStringLiteral("Кількість нас."));
    const QString year = input.Year.trimmed();
    if (!IsIntegerText(year) || d.YearOfValuation == 0) return MissingOrWrong(QStringLiteral("Рік оцінки"));
    if (d.YearOfValuation < 2020 || d.YearOfValuation > 2040)
        return QStringLiteral("Невідповідний параметр \"Рік оцінки\"");
    if (d.CategoryCode == QLatin1String("100") && d.AgriLandType.isEmpty())
        return Missing(QStringLiteral("Вид угідь для с/г"));
    if (d.CategoryCode == QLatin1String("800") && d.WaterObjectType.isEmpty())
        return Missing(QStringLiteral("Вид водного об'єкту"));
    if (d.CategoryCode == QLatin1String("700") && d.ForestType.isEmpty())
        return Missing(QStringLiteral("Вид лісового об'єкту"));
    if (data) *data = d;
    return {};
}

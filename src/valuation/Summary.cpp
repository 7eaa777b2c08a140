#include "valuation/Summary.h"

#include "common/Messages.h"
#include "common/NumberFormat.h"

#include <QDate>

const QList<TSummaryField>& SummaryFields() {
    static const QList<TSummaryField> fields{
        {QStringLiteral("EFileSq"), QStringLiteral("Площа оціненої ділянки"), 99, &TSummary::FileSq},
        {QStringLiteral("EFileObl"), QStringLiteral("Область"), 99, &TSummary::FileObl},
        {QStringLiteral("EFileRaion"), QStringLiteral("Район"), 99, &TSummary::FileRaion},
        {QStringLiteral("EFileRada"), QStringLiteral("Рада, ОТГ"), 99, &TSummary::FileRada},
        {QStringLiteral("EFileTerrCode"), QStringLiteral("Код зони"), 99, &TSummary::FileTerrCode},
        {QStringLiteral("EFileTerrID"), QStringLiteral("ID зони"), 99, &TSummary::FileTerrID},
        {QStringLiteral("EFileKoatuu"), QStringLiteral("Коатуу"), 99, &TSummary::FileKoatuu},
        {QStringLiteral("EFileYear"), QStringLiteral("Рік оц."), 99, &TSummary::FileYear},
        {QStringLiteral("EFilePopul"), QStringLiteral("Кіл.нас."), 99, &TSummary::FilePopul},
        {QStringLiteral("EFileNrd"), QStringLiteral("Нрд"), 99, &TSummary::FileNrd},
        {QStringLiteral("EFileKm1"), QStringLiteral("Км1"), 99, &TSummary::FileKm1},
        {QStringLiteral("EFileKm2"), QStringLiteral("Км2"), 99, &TSummary::FileKm2},
        {QStringLiteral("EFileKm3"), QStringLiteral("Км3"), 99, &TSummary::FileKm3},
        {QStringLiteral("EFileKmc1"), QStringLiteral("Кмц1"), 99, &TSummary::FileKmc1},
        {QStringLiteral("EFileKmcI"), QStringLiteral("Кмц Пр."), 99, &TSummary::FileKmcI},
        {QStringLiteral("EFileKmcH"), QStringLiteral("Кмц Озд."), 99, &TSummary::FileKmcH},
        {QStringLiteral("EFileKmcN"), QStringLiteral("Кмц Іст."), 99, &TSummary::FileKmcN},
        {QStringLiteral("EFileKls"), QStringLiteral("Клс"), 99, &TSummary::FileKls},
        {QStringLiteral("EFileRaNo"), QStringLiteral("№ оц.района"), 98, &TSummary::FileRaNo},
        {QStringLiteral("EFileRaKm4"), QStringLiteral("Км4"), 98, &TSummary::FileRaKm4},
        {QStringLiteral("EFileRaKlk"), QStringLiteral("Клк"), 98, &TSummary::FileRaKlk},
        {QStringLiteral("EFilePsgNo"), QStringLiteral("№ ПСГ района"), 98, &TSummary::FilePsgNo},
        {QStringLiteral("EFilePsgName"), QStringLiteral("Назва ПСГ района"), 98, &TSummary::FilePsgName},
        {QStringLiteral("EFileAgroCod"), QStringLiteral("Код агрогрупи"), 98, &TSummary::FileAgroCod},
    };
    return fields;
}

QString NormaliseSummaryNumber(const QString& text, const QString& pattern) {
    QString s = text.trimmed();
    s.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = ParseNumber(s, &ok);
    if (!ok || v < 0) return {};
    return FormatFloatPattern(pattern, v);
}

void FillSummary(TSummary& s, const TGeneralData& d, const TValuationBoxes& b,
                 const TCoefficientTable& agro) {
    s.FileSq = NormaliseSummaryNumber(d.AreaText);
    s.FileObl = d.RegionName;
    s.FileRaion = d.DistrictName;
    s.FileRada = d.CouncilName;
    if (!d.SettlementName.isEmpty()) {
        if (!d.SettlementName.contains(QLatin1Char('('))) s.FileRada += QLatin1Char(',');
        s.FileRada += QLatin1Char(' ') + d.SettlementName;
    }
    s.FileKoatuu = d.KoatuuCode;
    s.FileYear = QString::number(d.YearOfValuation);
    s.FilePopul = QString::number(d.PopulationCount);
    s.FileNrd = NormaliseSummaryNumber(b.Nrd.Value, QStringLiteral("0.#######"));
    s.FileKm1 = NormaliseSummaryNumber(b.Km1.Value);
    s.FileKm2 = NormaliseSummaryNumber(b.Km2.Value);
    s.FileKm3 = NormaliseSummaryNumber(b.Km3.Value);
    s.FileKmc1 = NormaliseSummaryNumber(b.Kmc1.Value);
    s.FileKmcI = NormaliseSummaryNumber(b.KmcI.Value);
    s.FileKmcH = NormaliseSummaryNumber(b.KmcH.Value);
    s.FileKmcN = NormaliseSummaryNumber(b.KmcN.Value);
    s.FileKls = NormaliseSummaryNumber(b.Kls.Value);
    s.FileRaNo = b.DistrictNumber.Value;
    s.FileRaKm4 = NormaliseSummaryNumber(b.Km4.Value);
    s.FileRaKlk = NormaliseSummaryNumber(b.Klk.Value);
    const bool districtChosen = !b.Psr.Row.isEmpty();
    s.FilePsgNo = districtChosen ? b.PsrNumber : QString();
    s.FilePsgName = districtChosen ? b.Psr.Value : QString();
    s.FileAgroCod = agro.RowCount() > 0 ? agro.Cell(0, 1) : QString();
}

const TSummaryField* FirstMissingSummaryField(const TSummary& summary, int minTag) {
    for (const TSummaryField& f : SummaryFields())
        if (f.Tag >= minTag && (summary.*f.Member).isEmpty()) return &f;
    return nullptr;
}

bool CheckCreateXml(const TSummary& s, QString* focus) {
    if (const TSummaryField* f = FirstMissingSummaryField(s, 98)) {
        ShowWarning(QStringLiteral("Не визначені необхідні дані.\rПоле: ") + f->Hint);
        if (focus) *focus = f->ObjectName;
        return false;
    }
    if (s.OrganFromDB && s.Organisation.trimmed().isEmpty()) {
        ShowWarning(QStringLiteral("Не обрано організацію."));
        if (focus) *focus = QStringLiteral("EDefLicenziat");
        return false;
    }
    if (s.BlockCreateApprove && !s.ApproveDt.trimmed().isEmpty() &&
        !QDate::fromString(s.ApproveDt.trimmed(), QStringLiteral("dd.MM.yyyy")).isValid()) {
        ShowWarning(QStringLiteral("Вказана некоректна дата затв.док."));
        if (focus) *focus = QStringLiteral("EFileApproveDt");
        return false;
    }
    return true;
}

bool CheckUpdateXml(const TSummary& s, QString* focus) {
    if (const TSummaryField* f = FirstMissingSummaryField(s, 99)) {
        ShowWarning(QStringLiteral("Відсутні необхідні дані.\rПоле: ") + f->Hint);
        if (focus) *focus = f->ObjectName;
        return false;
    }
    return true;
}

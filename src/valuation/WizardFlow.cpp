#include "valuation/WizardFlow.h"

#include "valuation/CoefficientRules.h"

const QList<TNgoPageInfo>& NgoPages() {
    static const QList<TNgoPageInfo> pages = {
        {QStringLiteral("NxTabSheet01Start"), QStringLiteral("Старт")},
        {QStringLiteral("NxTabSheet02Nrd"), QStringLiteral("Нрд")},
        {QStringLiteral("NxTabSheet03Km1"), QStringLiteral("Км1")},
        {QStringLiteral("NxTabSheet04Km2"), QStringLiteral("Км2")},
        {QStringLiteral("NxTabSheet05Km3"), QStringLiteral("Км3")},
        {QStringLiteral("NxTabSheet07Kcp"), QStringLiteral("Кцп")},
        {QStringLiteral("NxTabSheet08Kmc1"), QStringLiteral("Кмц1")},
        {QStringLiteral("NxTabSheet09KmcI"), QStringLiteral("Кмц(пром)")},
        {QStringLiteral("NxTabSheet10KmcH"), QStringLiteral("Кмц(озд)")},
        {QStringLiteral("NxTabSheet11KmcN"), QStringLiteral("Кмц(іст)")},
        {QStringLiteral("NxTabSheet12Kls"), QStringLiteral("Клс")},
        {QStringLiteral("NxTabSheet13OcRa"), QStringLiteral("Оц.р-ни")},
        {QStringLiteral("NxTabSheet17PSR"), QStringLiteral("ПСГ р-н")},
        {QStringLiteral("NxTabSheet16Agro"), QStringLiteral("Агро гр.")},
        {QStringLiteral("NxTabSheet18Kni"), QStringLiteral("Кні+Оцінка")},
        {QStringLiteral("NxTabSheet19Map"), QStringLiteral("Карта")},
        {QStringLiteral("NxTabSheet20End"), QStringLiteral("Завершення")},
    };
    return pages;
}

const TNgoPageInfo& NgoPageInfo(TNgoPage page) {
    return NgoPages()[static_cast<int>(page)];
}

QStringList NgoFormulaLines() {
    return {
        QStringLiteral("Нормативна грошова оцінка земельної ділянки (після 2022р) (Цн) визначається за такою "
                       "формулою:"),
        QStringLiteral("Цн = Пд х Нрд х Км1 х Км2 х Км3 х Км4 х Кцп х Кмц х Кні, де "),
        QStringLiteral("Пд - площа земельної ділянки, квадратних метрів;"),
        QStringLiteral(
            "Нрд - норматив капіталізованого рентного доходу за одиницю площі згідно з додатком 1;"),
        QStringLiteral(
            "Км1 - коефіцієнт, який враховує розташування території територіальної громади в межах "
            "зони впливу великих міст;"),
        QStringLiteral("Км2 - коефіцієнт, який враховує курортно-рекреаційне значення населених пунктів;"),
        QStringLiteral("Км3 - коефіцієнт, який враховує розташування населеного пункту в межах зон "
                       "радіаційного забруднення;"),
        QStringLiteral("Км4 - коефіцієнт, який характеризує зональні фактори місця розташування земельної "
                       "ділянки;"),
        QStringLiteral("Кцп - коефіцієнт, який враховує цільове призначення земельної ділянки відповідно до "
                       "відомостей Державного земельного кадастру;"),
        QStringLiteral("Кмц - коефіцієнт, який враховує особливості використання земельної ділянки в межах "
                       "категорії земель за основним цільовим призначенням;"),
        QStringLiteral("Кні - добуток коефіцієнтів індексації нормативної грошової оцінки земель  за період "
                       "від затвердження нормативу капіталізованого рентного доходу до дати проведення "
                       "оцінки."),
    };
}

TApplyButton ApplyButtonOfMode(const QString& mode) {
    if (mode == kModeCompare) return TApplyButton::Compare;
    if (mode == kModeAgain) return TApplyButton::Again;
    return TApplyButton::Apply;
}

QString ApplyButtonName(TApplyButton button) {
    switch (button) {
    case TApplyButton::Compare:
        return QStringLiteral("BCompareZagalni");
    case TApplyButton::Again:
        return QStringLiteral("BAgainZagalni");
    case TApplyButton::Apply:
        break;
    }
    return QStringLiteral("BApplyZagalni");
}

QStringList PageValueBoxes(TNgoPage page) {
    switch (page) {
    case TNgoPage::Nrd:
        return {QStringLiteral("ENrdValue")};
    case TNgoPage::Km1:
        return {QStringLiteral("EKm1Value")};
    case TNgoPage::Km2:
        return {QStringLiteral("EKm2Value")};
    case TNgoPage::Km3:
        return {QStringLiteral("EKm3Value")};
    case TNgoPage::Kcp:
        return {QStringLiteral("EKcpValue")};
    case TNgoPage::Kmc1:
        return {QStringLiteral("EKmc1Value")};
    case TNgoPage::KmcI:
        return {QStringLiteral("EKmcIValue")};
    case TNgoPage::KmcH:
        return {QStringLiteral("EKmcHValue")};
    case TNgoPage::KmcN:
        return {QStringLiteral("EKmcNValue")};
    case TNgoPage::Kls:
        return {QStringLiteral("EKlsValue")};
    case TNgoPage::OcRa:
        return {QStringLiteral("EKlkValue"), QStringLiteral("EKm4Value"), QStringLiteral("EOcRaNoValue")};
    case TNgoPage::Psr:
        return {QStringLiteral("EPSRValue")};
    default:
        return {};
    }
}

bool PageCaptionRed(const QStringList& values) {
    for (const QString& v : values)
        if (!IsValueChosen(v)) return true;
    return false;
}

TWizardFlow::TWizardFlow() : visible_(kNgoPageCount, true) {}

void TWizardFlow::Initialize() {
    visible_.fill(false);
    visible_[static_cast<int>(TNgoPage::Start)] = true;
    applyEnabled_ = false;
}

void TWizardFlow::FileChosen() {
    Initialize();
}

void TWizardFlow::ImportSucceeded() {
    applyEnabled_ = true;
}

void TWizardFlow::Applied(TApplyButton button) {
    visible_.fill(true);
    visible_[static_cast<int>(TNgoPage::Map)] = TValuationSession::MapPageVisibleAfter(button);
}

TNgoPage TWizardFlow::NextVisiblePage(TNgoPage from) const {
    for (int i = static_cast<int>(from) + 1; i < kNgoPageCount; ++i)
        if (visible_[i]) return static_cast<TNgoPage>(i);
    return from;
}

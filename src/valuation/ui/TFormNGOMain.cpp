#include "valuation/ui/TFormNGOMain.h"

#include "app/Settings.h"
#include "app/ui/AppWindows.h"
#include "common/Messages.h"
#include "common/ui/PropertyInspector.h"
#include "data/SqlHelpers.h"
#include "data/StoredDefaults.h"
#include "data/TFormMain.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "valuation/TerritoryId.h"
#include "valuation/ui/TCoefPage.h"
#include "valuation/ui/TFormSelectKatottg.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace {

const QString kHintFromFile = QStringLiteral("З файлу");

// The result panel of a coefficient page: label, value box, row box and previous-value box.
struct TResultBox {
    QString Label;
    QString Value;
    QString Row;   // empty: none
    QString Prev;  // empty: none
    QString After; // text after the value box
};

QList<TResultBox> ResultBoxes(TNgoPage page) {
    switch (page) {
    case TNgoPage::Nrd:
        return {{QStringLiteral("Нрд="), QStringLiteral("ENrdValue"), QStringLiteral("ENrdNdx"),
                 QStringLiteral("ENrdValuePrev"), QStringLiteral("грн.")}};
    case TNgoPage::Km1:
        return {{QStringLiteral("Км1="),
                 QStringLiteral("EKm1Value"),
                 QStringLiteral("EKm1Ndx"),
                 QStringLiteral("EKm1ValuePrev"),
                 {}}};
    case TNgoPage::Km2:
        return {{QStringLiteral("Км2="),
                 QStringLiteral("EKm2Value"),
                 QStringLiteral("EKm2Ndx"),
                 QStringLiteral("EKm2ValuePrev"),
                 {}}};
    case TNgoPage::Km3:
        return {{QStringLiteral("Км3="),
                 QStringLiteral("EKm3Value"),
                 QStringLiteral("EKm3Ndx"),
                 QStringLiteral("EKm3ValuePrev"),
                 {}}};
    case TNgoPage::Kcp:
        return {{QStringLiteral("Кцп="),
                 QStringLiteral("EKcpValue"),
                 QStringLiteral("EKcpNdx"),
                 {},
                 QStringLiteral("(у файл не заноситься)")}};
    case TNgoPage::Kmc1:
        return {{QStringLiteral("Кмц="), QStringLiteral("EKmc1Value"), QStringLiteral("EKmc1Ndx"),
                 QStringLiteral("EKmc1ValuePrev"), QStringLiteral("Кmc1")}};
    case TNgoPage::KmcI:
        return {{QStringLiteral("Кмц="), QStringLiteral("EKmcIValue"), QStringLiteral("EKmcINdx"),
                 QStringLiteral("EKmcIValuePrev"), QStringLiteral("KmcIndustry")}};
    case TNgoPage::KmcH:
        return {{QStringLiteral("Кмц="), QStringLiteral("EKmcHValue"), QStringLiteral("EKmcHNdx"),
                 QStringLiteral("EKmcHValuePrev"), QStringLiteral("KmcHealth")}};
    case TNgoPage::KmcN:
        return {{QStringLiteral("Кмц="), QStringLiteral("EKmcNValue"), QStringLiteral("EKmcNNdx"),
                 QStringLiteral("EKmcNValuePrev"), QStringLiteral("KmcNatureRe")}};
    case TNgoPage::Kls:
        return {{QStringLiteral("Клс="),
                 QStringLiteral("EKlsValue"),
                 QStringLiteral("EKlsNdx"),
                 QStringLiteral("EKlsValuePrev"),
                 {}}};
    case TNgoPage::OcRa:
        return {
            {QStringLiteral("Клк="),
             QStringLiteral("EKlkValue"),
             QStringLiteral("EKlkNdx"),
             QStringLiteral("EKlkValuePrev"),
             {}},
            {QStringLiteral("Км4="), QStringLiteral("EKm4Value"), {}, QStringLiteral("EKm4ValuePrev"), {}},
            {QStringLiteral("№ оц.р.="),
             QStringLiteral("EOcRaNoValue"),
             {},
             QStringLiteral("EOcRaNoValuePrev"),
             {}}};
    case TNgoPage::Psr:
        return {
            {QStringLiteral("ПСГ район="), QStringLiteral("EPSRValue"), QStringLiteral("EPSRNdx"), {}, {}},
            {QStringLiteral("№="), QStringLiteral("EPSRValue2"), {}, {}, {}}};
    default:
        return {};
    }
}

} // namespace

TFormNGOMain::TFormNGOMain(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFormNGOMain"));
    setWindowTitle(QStringLiteral("НГО на ділянку"));
    setMinimumSize(600, 400);
    resize(970, 660);
    BuildPages();
    coefPages_ = BuildCoefPages(*this);
    connect(NextGridZagalni, &TPropertyInspector::ListClosed, this, [this](TInspectorRow* row) {
        if (row->objectName() == QLatin1String("NxItemAddrRada"))
            QTimer::singleShot(100, this, &TFormNGOMain::LookupCouncilPopulation);
    });
    connect(BOpenZemXML, &QPushButton::clicked, this,
            [this] { OpenSourceFile(TSourceKind::LandManagement); });
    connect(BOpenNGOXML, &QPushButton::clicked, this, [this] { OpenSourceFile(TSourceKind::Valuation); });
    for (QPushButton* b : {BApplyZagalni, BCompareZagalni, BAgainZagalni})
        connect(b, &QPushButton::clicked, this, &TFormNGOMain::ApplyGeneralData);
    Session.TerritorialZoneId = [](const TGeneralData& d) {
        TFormMain* data = DataModule();
        if (!data) return QString();
        return TerritoryIdFromAddress(data->ADOQueryRef2, {d.RegionName, d.DistrictName, d.CouncilName,
                                                           d.SettlementName, d.LocationKind});
    };
    connect(Button(QStringLiteral("BKatottgAuto")), &QPushButton::clicked, this, [this] {
        Edit(QStringLiteral("EFileTerrID"))->setText(Session.TerritorialZoneId(Session.Data));
    });
    connect(Button(QStringLiteral("BKatottgSelect")), &QPushButton::clicked, this, [this] {
        TFormSelectKatottg* picker = AppWindows().FormSelectKatottg;
        if (picker && picker->exec() == QDialog::Accepted)
            Edit(QStringLiteral("EFileTerrID"))->setText(picker->ChosenId());
    });
    flow_.Initialize();
    // Created with every page but "Старт" hidden; Apply waits for an import.
    ApplyFlowToPages();
    RefreshPageColours();
}

TFormNGOMain::~TFormNGOMain() = default;

void TFormNGOMain::SetMode(const QString& mode) {
    Session.Mode = mode;
    PlaceApplyButton();
}

void TFormNGOMain::InitializeWizard() {
    if (Session.Initialized) return;
    flow_.Initialize();
    ApplyFlowToPages();
    Session.Initialize();
    NextGridZagalni->Row(QStringLiteral("NxItemCileve"))->SetItems(Session.Tables.Purposes);
    if (Session.Mode != kModeCompare) FillOrganisationList();
    for (const QString& name : TAddressHistory::RowNames())
        if (TInspectorRow* row = NextGridZagalni->Row(name)) row->SetItems(Session.History.List(name));
    CheckBoxKmcAlways->setChecked(Session.KmcAlways);
}

void TFormNGOMain::FillOrganisationList() {
    TFormMain* data = DataModule();
    if (!data) return;
    TDataQuery& q = data->ADOQueryRefGets;
    QStringList names;
    if (RunSql(q, QStringLiteral("SELECT * FROM ліцензіати ORDER BY id"), true, false))
        for (bool row = !q.Eof(); row; row = q.Next())
            names << q.FieldText(QStringLiteral("назва"));
    q.Close();
    EDefLicenziat->clear();
    EDefLicenziat->addItems(names);
    EDefLicenziat->setCurrentIndex(-1);
    bool found = false;
    const QString executor = ReadStoredDefault(q, kDefaultExecutorCode, &found);
    if (found && names.contains(executor)) EDefLicenziat->setCurrentIndex(names.indexOf(executor));
}

bool TFormNGOMain::PrepareCompare(const QString& file) {
    SetMode(kModeCompare);
    InitializeWizard();
    Session.SourceFileName = file;
    BOpenZemXML->setVisible(false);
    BOpenNGOXML->setVisible(false);
    for (const char* panel : {"PanelMetric", "PanelOrgan", "PanelOcRa", "PanelAdditional"})
        if (auto* box = findChild<QGroupBox*>(QLatin1String(panel))) box->setVisible(false);
    Button(QStringLiteral("BCreateFile"))->setVisible(false);
    Button(QStringLiteral("BUpdateFile"))->setVisible(true);
    return ImportSource(TSourceKind::Valuation);
}

// ---- Building ---------------------------------------------------------------------------------------

void TFormNGOMain::BuildPages() {
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(4, 4, 4, 4);
    NxPageControl1 = new QTabWidget(this);
    NxPageControl1->setObjectName(QStringLiteral("NxPageControl1"));
    lay->addWidget(NxPageControl1);
    for (int i = 0; i < kNgoPageCount; ++i) {
        const TNgoPageInfo& info = NgoPages()[i];
        auto* page = new QWidget(NxPageControl1);
        page->setObjectName(info.Name);
        pages_.append(page);
        NxPageControl1->addTab(page, info.Caption);
    }
    BuildStartPage(Page(TNgoPage::Start));
    for (int i = 1; i < kNgoPageCount; ++i) {
        const auto page = static_cast<TNgoPage>(i);
        if (page == TNgoPage::End)
            BuildEndPage(Page(page));
        else if (page == TNgoPage::Kni)
            BuildKniPage(Page(page));
        else
            BuildResultPanel(page);
    }
    connect(NxPageControl1, &QTabWidget::currentChanged, this, [this](int) { RefreshPageColours(); });
}

QLineEdit* TFormNGOMain::AddEdit(QWidget* parent, const QString& name, bool readOnly) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setReadOnly(readOnly);
    edits_.insert(name, e);
    return e;
}

void TFormNGOMain::BuildStartPage(QWidget* page) {
    auto* lay = new QVBoxLayout(page);
    MemoFormula = new QPlainTextEdit(page);
    MemoFormula->setObjectName(QStringLiteral("MemoFormula"));
    MemoFormula->setReadOnly(true);
    MemoFormula->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MemoFormula->setPlainText(NgoFormulaLines().join(QLatin1Char('\n')));
    MemoFormula->setMaximumHeight(180);
    lay->addWidget(MemoFormula);

    auto* row = new QHBoxLayout();
    lay->addLayout(row, 1);
    NextGridZagalni = new TPropertyInspector(page);
    NextGridZagalni->setObjectName(QStringLiteral("NextGridZagalni"));
    NextGridZagalni->SetRowHeight(19);
    row->addWidget(NextGridZagalni, 1);
    BuildGeneralDataRows();
    // The heading spans both columns; every caption is shown in full (150 pixels at the least).
    NextGridZagalni->Row(QStringLiteral("NxItemZag"))->Item()->setFirstColumnSpanned(true);
    NextGridZagalni->SetNamesWidth(std::max(150, NextGridZagalni->CaptionsWidth()));

    auto* buttons = new QVBoxLayout();
    row->addLayout(buttons);
    auto button = [this, page, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(QLatin1String(name));
        b->setMinimumWidth(170);
        buttons->addWidget(b);
        buttons_.insert(b->objectName(), b);
        return b;
    };
    BOpenZemXML = button("BOpenZemXML", QStringLiteral("1) Відкрити XML земле- впорядний"));
    BOpenNGOXML = button("BOpenNGOXML", QStringLiteral("або Відкрити XML з НГО"));
    buttons->addSpacing(16);
    BApplyZagalni = button("BApplyZagalni", QStringLiteral("2) Застосувати і розрахувати"));
    BCompareZagalni = button("BCompareZagalni", QStringLiteral("2) Застосувати і розрахувати"));
    BAgainZagalni = button("BAgainZagalni", QStringLiteral("2) Застосувати і розрахувати"));
    auto* note = new QLabel(QStringLiteral("Після зміни відо- мостей, натисніть \"Застосувати\""), page);
    note->setWordWrap(true);
    note->setMaximumWidth(170);
    buttons->addWidget(note);
    CheckBoxKmcAlways = new QCheckBox(QStringLiteral("Всі кмц з табл."), page);
    CheckBoxKmcAlways->setObjectName(QStringLiteral("CheckBoxKmcAlways"));
    CheckBoxKmcAlways->setToolTip(QStringLiteral("Визначати всі кмц , незважаючі на категорію"));
    CheckBoxKmcAlways->setChecked(true);
    buttons->addWidget(CheckBoxKmcAlways);
    buttons->addStretch(1);
    PlaceApplyButton();
}

void TFormNGOMain::BuildGeneralDataRows() {
    TPropertyInspector* g = NextGridZagalni;
    const QString space = QStringLiteral(" ");
    // The heading groups the rows; it takes no value (a disabled item would disable the rows under it).
    g->AddRow(QStringLiteral("NxItemZag"), QStringLiteral("Загальні відомості для оцінки:"),
              TInspectorKind::Header);
    g->AddRow(QStringLiteral("NxItemSQ"), QStringLiteral("Площа, га"), TInspectorKind::Text, space);
    g->AddRow(QStringLiteral("NxItemKoatuu"), QStringLiteral("КОАТУУ"), TInspectorKind::Combo, space);
    g->AddRow(QStringLiteral("NxItemAddrObl"), QStringLiteral("Область"), TInspectorKind::Combo, space);
    g->AddRow(QStringLiteral("NxItemAddrRaion"), QStringLiteral("Район"), TInspectorKind::Combo, space);
    g->AddRow(QStringLiteral("NxItemAddrRada"), QStringLiteral("Рада/ОТГ"), TInspectorKind::Combo, space);
    g->AddRow(QStringLiteral("NxItemAddrNP"), QStringLiteral("Нп, Вул (при наявності)"),
              TInspectorKind::Combo, space);
    g->AddRow(QStringLiteral("NxItemVMezhah"), QStringLiteral("В межах/За межами"), TInspectorKind::Combo,
              space, {QStringLiteral("В межах"), QStringLiteral("За межами")});
    g->AddRow(QStringLiteral("NxItemCenterTG"), QStringLiteral("Центр/найб./поточ.НП"), TInspectorKind::Combo,
              space);
    g->AddRow(QStringLiteral("NxItemPopul"), QStringLiteral("Кількість населення"), TInspectorKind::Combo,
              space);
    g->AddRow(
        QStringLiteral("NxItemCategory"), QStringLiteral("Категорія земель"), TInspectorKind::Combo, space,
        {QStringLiteral("100-землі сільськогосподарського призначення"),
         QStringLiteral("200-землі житлової та громадської забудови"),
         QStringLiteral("300-землі природно-заповідного та іншого природоохоронного призначення"),
         QStringLiteral("400-землі оздоровчого призначення"),
         QStringLiteral("500-землі рекреаційного призначення"),
         QStringLiteral("600-землі історико-культурного призначення"),
         QStringLiteral("700-землі лісового фонду"), QStringLiteral("800-землі водного фонду"),
         QStringLiteral("900-землі промисловості, транспорту, електронних комунікацій, енергетики, оборони "
                        "та іншого призначення")});
    g->AddRow(QStringLiteral("NxItemCileve"), QStringLiteral("Цільове призначення"), TInspectorKind::Combo,
              space)
        ->SetDropDownCount(15);
    QStringList years;
    for (int y = 2022; y <= 2035; ++y)
        years << QString::number(y);
    g->AddRow(QStringLiteral("NxItemYear"), QStringLiteral("Рік оцінки"), TInspectorKind::Combo,
              QStringLiteral("2026"), years);
    g->AddRow(QStringLiteral("NxItemVydSilhoz"), QStringLiteral("Вид с/г угідь"), TInspectorKind::Combo,
              QStringLiteral("несільськогосподарські угіддя"),
              {QStringLiteral("рілля, перелоги"), QStringLiteral("багаторічні насадження"),
               QStringLiteral("сіножаті"), QStringLiteral("пасовища"),
               QStringLiteral("несільськогосподарські угіддя")});
    g->AddRow(QStringLiteral("NxItemVydVodnogo"), QStringLiteral("Вид водного об'єкта"),
              TInspectorKind::Combo, space,
              {QStringLiteral("загальнодержавного значення"), QStringLiteral("інше значення")});
    g->AddRow(QStringLiteral("NxItemVydLisnogo"), QStringLiteral("Вид лісового об'єкта"),
              TInspectorKind::Combo, space,
              {QStringLiteral("експлуатаційні ліси"), QStringLiteral("інші ліси")});
}

void TFormNGOMain::BuildResultPanel(TNgoPage page) {
    QWidget* p = Page(page);
    auto* lay = new QVBoxLayout(p);
    auto* body = new QWidget(p);
    body->setObjectName(NgoPageInfo(page).Name + QStringLiteral("Body"));
    lay->addWidget(body, 1);
    if (page == TNgoPage::Psr || page == TNgoPage::Agro) {
        auto* bodyLay = new QVBoxLayout(body);
        auto* prev = new QTableView(body);
        const bool psr = page == TNgoPage::Psr;
        prev->setObjectName(psr ? QStringLiteral("NextGridPSRPrev") : QStringLiteral("NextGridAgroPrev"));
        prev->setModel(psr ? &Session.PsrPrev : &Session.AgroPrev);
        prev->setEditTriggers(QAbstractItemView::NoEditTriggers);
        prev->setToolTip(QStringLiteral("Попередні значення"));
        prev->setMaximumHeight(120);
        prev->setVisible(false);
        bodyLay->addWidget(prev);
        (psr ? NextGridPSRPrev : NextGridAgroPrev) = prev;
    }
    auto* panel = new QHBoxLayout();
    lay->addLayout(panel);
    for (const TResultBox& box : ResultBoxes(page)) {
        panel->addWidget(new QLabel(box.Label, p));
        QLineEdit* value = AddEdit(p, box.Value, false);
        connect(value, &QLineEdit::textChanged, this, [this] { RefreshPageColours(); });
        connect(value, &QLineEdit::textEdited, this, [this, name = box.Value](const QString& text) {
            if (QString* target = SessionText(name)) *target = text;
        });
        panel->addWidget(value);
        if (!box.After.isEmpty()) panel->addWidget(new QLabel(box.After, p));
        if (!box.Row.isEmpty()) {
            QLineEdit* row = AddEdit(p, box.Row, true);
            row->setMaximumWidth(70);
            panel->addWidget(row);
        }
        if (!box.Prev.isEmpty()) {
            QLineEdit* prev = AddEdit(p, box.Prev, true);
            prev->setToolTip(kHintFromFile);
            prev->setVisible(false);
            panel->addWidget(prev);
        }
    }
    if (page == TNgoPage::Nrd) {
        QLineEdit* appendix = AddEdit(p, QStringLiteral("ENrdDodatok"), true);
        appendix->setMaximumWidth(70);
        panel->addWidget(appendix);
    }
    panel->addStretch(1);
    auto* next = new QPushButton(QStringLiteral("Далі"), p);
    next->setObjectName(QStringLiteral("BNext") +
                        NgoPageInfo(page).Name.mid(QStringLiteral("NxTabSheet").size()));
    buttons_.insert(next->objectName(), next);
    connect(next, &QPushButton::clicked, this, &TFormNGOMain::NextPage);
    panel->addWidget(next);
}

// ---- Pages ------------------------------------------------------------------------------------------

QWidget* TFormNGOMain::Page(TNgoPage page) const {
    return pages_.value(static_cast<int>(page));
}

bool TFormNGOMain::PageShown(TNgoPage page) const {
    return NxPageControl1->isTabVisible(static_cast<int>(page));
}

TCoefPage* TFormNGOMain::CoefPage(TNgoPage page) const {
    for (TCoefPage* coef : coefPages_)
        if (coef->Page() == page) return coef;
    return nullptr;
}

QColor TFormNGOMain::PageCaptionColor(TNgoPage page) const {
    return NxPageControl1->tabBar()->tabTextColor(static_cast<int>(page));
}

TNgoPage TFormNGOMain::CurrentPage() const {
    return static_cast<TNgoPage>(qMax(0, NxPageControl1->currentIndex()));
}

void TFormNGOMain::ShowPage(TNgoPage page) {
    NxPageControl1->setCurrentIndex(static_cast<int>(page));
}

void TFormNGOMain::NextPage() {
    const TNgoPage next = flow_.NextVisiblePage(CurrentPage());
    if (PageShown(next)) ShowPage(next);
}

void TFormNGOMain::ApplyFlowToPages() {
    for (int i = 0; i < kNgoPageCount; ++i)
        NxPageControl1->setTabVisible(i, flow_.PageVisible(static_cast<TNgoPage>(i)));
    if (!PageShown(CurrentPage())) ShowPage(TNgoPage::Start);
    BApplyZagalni->setEnabled(flow_.ApplyEnabled());
}

void TFormNGOMain::PlaceApplyButton() {
    const TApplyButton which = ApplyButtonOfMode(Session.Mode);
    BApplyZagalni->setVisible(which == TApplyButton::Apply);
    BCompareZagalni->setVisible(which == TApplyButton::Compare);
    BAgainZagalni->setVisible(which == TApplyButton::Again);
}

void TFormNGOMain::RefreshPageColours() {
    QTabBar* bar = NxPageControl1->tabBar();
    const QColor normal = palette().color(QPalette::WindowText);
    for (int i = 0; i < kNgoPageCount; ++i) {
        const QStringList boxes = PageValueBoxes(static_cast<TNgoPage>(i));
        if (boxes.isEmpty()) {
            bar->setTabTextColor(i, normal);
            continue;
        }
        QStringList values;
        for (const QString& name : boxes)
            values << (edits_.contains(name) ? edits_.value(name)->text() : QString());
        bar->setTabTextColor(i, PageCaptionRed(values) ? QColor(Qt::red) : normal);
    }
}

// ---- General data -----------------------------------------------------------------------------------

QString TFormNGOMain::RowValue(const QString& rowName) const {
    return NextGridZagalni->Value(rowName);
}

void TFormNGOMain::SetRowValue(const QString& rowName, const QString& value) {
    NextGridZagalni->SetValue(rowName, value);
}

void TFormNGOMain::CommitGeneralDataEdit() {
    // Leaving the row commits the text of an open editor.
    NextGridZagalni->setCurrentIndex(QModelIndex());
}

QLineEdit* TFormNGOMain::Edit(const QString& name) const {
    return edits_.value(name);
}

QPushButton* TFormNGOMain::Button(const QString& name) const {
    if (name == QLatin1String("BOpenZemXML")) return BOpenZemXML;
    return buttons_.value(name);
}

void TFormNGOMain::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, also when a window owns the wizard (a dialog would otherwise stand over it).
    if (!event->spontaneous()) {
        if (QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    }
}

// ---- Session binding --------------------------------------------------------------------------------

QString* TFormNGOMain::SessionText(const QString& name) {
    TValuationBoxes& b = Session.Boxes;
    static const QList<QPair<QString, TCoefficientBox TValuationBoxes::*>> coefficients = {
        {QStringLiteral("Nrd"), &TValuationBoxes::Nrd},
        {QStringLiteral("Km1"), &TValuationBoxes::Km1},
        {QStringLiteral("Km2"), &TValuationBoxes::Km2},
        {QStringLiteral("Km3"), &TValuationBoxes::Km3},
        {QStringLiteral("Kcp"), &TValuationBoxes::Kcp},
        {QStringLiteral("Kmc1"), &TValuationBoxes::Kmc1},
        {QStringLiteral("KmcI"), &TValuationBoxes::KmcI},
        {QStringLiteral("KmcH"), &TValuationBoxes::KmcH},
        {QStringLiteral("KmcN"), &TValuationBoxes::KmcN},
        {QStringLiteral("Kls"), &TValuationBoxes::Kls},
        {QStringLiteral("Klk"), &TValuationBoxes::Klk},
        {QStringLiteral("Km4"), &TValuationBoxes::Km4},
        {QStringLiteral("OcRaNo"), &TValuationBoxes::DistrictNumber},
        {QStringLiteral("PSR"), &TValuationBoxes::Psr},
    };
    for (const auto& [key, member] : coefficients) {
        const QString stem = QStringLiteral("E") + key;
        if (name == stem + QStringLiteral("Value")) return &(b.*member).Value;
        if (name == stem + QStringLiteral("Ndx")) return &(b.*member).Row;
        if (name == stem + QStringLiteral("ValuePrev")) return &(b.*member).Prev;
    }
    if (name == QLatin1String("ENrdDodatok")) return &b.NrdAppendix;
    if (name == QLatin1String("EPSRValue2")) return &b.PsrNumber;
    if (name == QLatin1String("EKniValue")) return &b.KniValue;
    if (name == QLatin1String("EKniFormula")) return &b.KniFormula;
    return nullptr;
}

bool TFormNGOMain::PreviousVisible(const QString& prevBoxName) const {
    const QString stem = prevBoxName.chopped(QStringLiteral("ValuePrev").size());
    const TValuationBoxes& b = Session.Boxes;
    const QList<QPair<QString, const TCoefficientBox*>> boxes = {
        {QStringLiteral("ENrd"), &b.Nrd},   {QStringLiteral("EKm1"), &b.Km1},
        {QStringLiteral("EKm2"), &b.Km2},   {QStringLiteral("EKm3"), &b.Km3},
        {QStringLiteral("EKmc1"), &b.Kmc1}, {QStringLiteral("EKmcI"), &b.KmcI},
        {QStringLiteral("EKmcH"), &b.KmcH}, {QStringLiteral("EKmcN"), &b.KmcN},
        {QStringLiteral("EKls"), &b.Kls},   {QStringLiteral("EKlk"), &b.Klk},
        {QStringLiteral("EKm4"), &b.Km4},   {QStringLiteral("EOcRaNo"), &b.DistrictNumber},
    };
    for (const auto& [key, box] : boxes)
        if (key == stem) return box->PrevVisible;
    return false;
}

void TFormNGOMain::ShowSessionBoxes() {
    for (auto it = edits_.cbegin(); it != edits_.cend(); ++it) {
        QString* text = SessionText(it.key());
        if (!text) continue;
        if (it.value()->text() != *text) it.value()->setText(*text);
        if (it.key().endsWith(QLatin1String("ValuePrev"))) it.value()->setVisible(PreviousVisible(it.key()));
    }
    RefreshPageColours();
}

void TFormNGOMain::HidePreviousValues() {
    TValuationBoxes& b = Session.Boxes;
    for (TCoefficientBox* box : {&b.Nrd, &b.Km1, &b.Km2, &b.Km3, &b.Kcp, &b.Kmc1, &b.KmcI, &b.KmcH, &b.KmcN,
                                 &b.Kls, &b.Klk, &b.Km4, &b.DistrictNumber, &b.Psr})
        box->PrevVisible = false;
    NextGridPSRPrev->setVisible(false);
    NextGridAgroPrev->setVisible(false);
    Edit(QStringLiteral("EFileTerrIDPrev"))->setVisible(false);
    Edit(QStringLiteral("EFileTerrCodePrev"))->setVisible(false);
    ShowSessionBoxes();
}

TGeneralDataInput TFormNGOMain::ReadGeneralDataInput() const {
    TGeneralDataInput in;
    in.Area = RowValue(QStringLiteral("NxItemSQ"));
    in.Koatuu = RowValue(QStringLiteral("NxItemKoatuu"));
    in.Region = RowValue(QStringLiteral("NxItemAddrObl"));
    in.District = RowValue(QStringLiteral("NxItemAddrRaion"));
    in.Council = RowValue(QStringLiteral("NxItemAddrRada"));
    in.Settlement = RowValue(QStringLiteral("NxItemAddrNP"));
    in.Location = RowValue(QStringLiteral("NxItemVMezhah"));
    in.Centre = RowValue(QStringLiteral("NxItemCenterTG"));
    in.Population = RowValue(QStringLiteral("NxItemPopul"));
    in.Category = RowValue(QStringLiteral("NxItemCategory"));
    in.Purpose = RowValue(QStringLiteral("NxItemCileve"));
    in.Year = RowValue(QStringLiteral("NxItemYear"));
    in.AgriLandType = RowValue(QStringLiteral("NxItemVydSilhoz"));
    in.WaterObjectType = RowValue(QStringLiteral("NxItemVydVodnogo"));
    in.ForestType = RowValue(QStringLiteral("NxItemVydLisnogo"));
    return in;
}

// ---- Import -----------------------------------------------------------------------------------------

void TFormNGOMain::OpenSourceFile(TSourceKind kind) {
    constexpr int kDialogTag = 3;
    QFileDialog dlg(this, QStringLiteral("Відкрити файл"), ReadDialogFolder(kDialogTag),
                    QStringLiteral("XML файли (*.xml)"));
    dlg.setObjectName(QStringLiteral("OpenDialogXML"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setDefaultSuffix(QStringLiteral("xml"));
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString file = dlg.selectedFiles().first();
    WriteDialogFolder(kDialogTag, QFileInfo(file).absolutePath());
    ImportChosenFile(kind, file);
}

bool TFormNGOMain::ImportChosenFile(TSourceKind kind, const QString& file) {
    Session.SourceFileName = file;
    // From here on nothing of an earlier plot may be applied or written until this file is imported.
    flow_.FileChosen();
    ApplyFlowToPages();
    return ImportSource(kind);
}

bool TFormNGOMain::SourceIsValuationFile() const {
    return CBSrcNGOXML->isChecked();
}

bool TFormNGOMain::ImportSource(TSourceKind kind) {
    HidePreviousValues();
    CBSrcZemXML->setChecked(kind == TSourceKind::LandManagement);
    CBSrcNGOXML->setChecked(kind == TSourceKind::Valuation);

    QApplication::setOverrideCursor(Qt::WaitCursor);
    struct TRestoreCursor {
        ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
    } restore;

    const QString loadFailure = LoadSourceDocument(XMLDocument_XML, Session.SourceFileName);
    if (!loadFailure.isEmpty()) {
        ShowError(loadFailure);
        return false;
    }
    TImportOptions options;
    options.Kind = kind;
    options.Mode = Session.Mode;
    options.PopulPath = Session.Files.Path(kPopulFile);
    const TImportResult result = ImportGeneralData(XMLDocument_XML, options);
    if (!result.Ok) {
        ShowError(result.Message);
        return false;
    }
    ShowImportResult(result);
    if (!Session.Mode.isEmpty()) return true;
    // A new valuation needs the plot's boundary before it can be applied.
    if (!BuildPlotOnMap(kind)) return false;
    flow_.ImportSucceeded();
    ApplyFlowToPages();
    return true;
}

void TFormNGOMain::ShowImportResult(const TImportResult& r) {
    for (const auto& [row, value] : r.Rows)
        SetRowValue(row, value);
    for (const auto& [field, value] : r.Fields)
        if (QLineEdit* e = Edit(field)) e->setText(value);
    TSummary& s = Session.Summary;
    s.FileCadnum = Edit(QStringLiteral("EFileCadnum"))->text();
    s.FileTerrID = Edit(QStringLiteral("EFileTerrID"))->text();
    s.FileTerrCode = Edit(QStringLiteral("EFileTerrCode"))->text();
    s.ApproveBy = Edit(QStringLiteral("EFileApproveBy"))->text();
    s.ApproveDt = Edit(QStringLiteral("EFileApproveDt"))->text();
    s.ApproveNo = Edit(QStringLiteral("EFileApproveNo"))->text();
    if (!r.HasPrevious) return;

    const TPreviousValues& p = r.Previous;
    TValuationBoxes& b = Session.Boxes;
    const QList<QPair<TCoefficientBox*, QString>> prev = {
        {&b.Nrd, p.Nrd},   {&b.Km1, p.Km1},
        {&b.Km2, p.Km2},   {&b.Km3, p.Km3},
        {&b.Kmc1, p.Kmc1}, {&b.KmcI, p.KmcI},
        {&b.KmcH, p.KmcH}, {&b.KmcN, p.KmcN},
        {&b.Kls, p.Kls},   {&b.DistrictNumber, p.DistrictNumber},
        {&b.Km4, p.Km4},   {&b.Klk, p.Klk}};
    for (const auto& [box, value] : prev) {
        box->Prev = value;
        box->PrevVisible = true;
    }
    Session.PsrPrev.Clear();
    for (const QStringList& cells : p.PsrRows) {
        Session.PsrPrev.AppendRow(cells);
        Session.PsrPrev.SetChecked(Session.PsrPrev.RowCount() - 1, true);
    }
    Session.AgroPrev.Clear();
    for (const QStringList& cells : p.AgroRows)
        Session.AgroPrev.AppendRow(cells);
    NextGridPSRPrev->setVisible(true);
    NextGridAgroPrev->setVisible(true);
    Edit(QStringLiteral("EFileTerrIDPrev"))->setText(p.TerritorialZoneId);
    Edit(QStringLiteral("EFileTerrCodePrev"))->setText(p.TerritorialZoneCode);
    Edit(QStringLiteral("EFileTerrIDPrev"))->setVisible(true);
    Edit(QStringLiteral("EFileTerrCodePrev"))->setVisible(true);
    ShowSessionBoxes();
}

// ---- Apply ------------------------------------------------------------------------------------------

bool TFormNGOMain::ApplyGeneralData() {
    CommitGeneralDataEdit();
    const TApplyButton button = ApplyButtonOfMode(Session.Mode);
    if (button == TApplyButton::Apply && !flow_.ApplyEnabled()) return false;
    Session.KmcAlways = CheckBoxKmcAlways->isChecked();
    if (!Session.Apply(ReadGeneralDataInput(), button)) return false;
    flow_.Applied(button);
    ApplyFlowToPages();
    ShowSessionBoxes();
    for (TCoefPage* coef : coefPages_)
        coef->ShowChoice();
    Edit(QStringLiteral("EFileTerrID"))->setText(Session.Summary.FileTerrID);
    ShowPage(TNgoPage::Nrd);
    return true;
}

void TFormNGOMain::LookupCouncilPopulation() {
    const TPopulationEntry found = Session.LookupPopulation(RowValue(QStringLiteral("NxItemAddrRada")));
    if (found.Population != QLatin1String("-") && found.Population != QLatin1String(" "))
        SetRowValue(QStringLiteral("NxItemPopul"), found.Population);
    if (found.Centre != QLatin1String("-") && found.Centre != QLatin1String(" "))
        SetRowValue(QStringLiteral("NxItemCenterTG"), found.Centre);
}

// ---- Map page ---------------------------------------------------------------------------------------

const QString TFormNGOMain::kPlotLayer = QStringLiteral("ДІЛЯНКА");

bool TFormNGOMain::PrepareMapPage() {
    MapNgo.AutoRedraw = false;
    MapNgo.RemoveAllLayers();
    MapNgo.NumericCoordSys = CoordSysForFile(Session.SourceFileName, 2);
    MapNgo.DisplayCoordSys = MapNgo.NumericCoordSys;
    TMapLayerInfo info;
    info.Name = kPlotLayer;
    info.CoordSys = MapNgo.NumericCoordSys;
    info.Fields = {TMapField{QStringLiteral("uid"), TFieldType::String, 32}};
    MapNgo.AddLayer(info);
    MapNgo.AutoRedraw = true;
    return MapNgo.FindLayer(kPlotLayer) != nullptr;
}

bool TFormNGOMain::BuildPlotOnMap(TSourceKind kind) {
    const pugi::xml_node root = XMLDocument_XML.DocumentElement();
    const pugi::xml_node plot = PlotNode(root, kind);
    try {
        if (!PrepareMapPage()) return false;
    } catch (const std::exception& e) {
        ShowError(QStringLiteral("Підготовка карти: Неможливо створити тимчасове середовище.") +
                  QString::fromUtf8(e.what()));
        return false;
    }
    TMapLayer* layer = MapNgo.FindLayer(kPlotLayer);
    TPlotContourTexts texts;
    texts.NoCoordinates = QStringLiteral("Зчитування файлу: Неможливо зчитати координати");
    texts.NoLines = QStringLiteral("Зчитування файлу: Неможливо створити межі (Блок Ділянкa)");
    texts.Outer = QStringLiteral("Зчитування файлу: Неможливо створити межі (Блок Ділянкa) ");
    texts.Inner = QStringLiteral("Зчитування файлу: Неможливо створити межі внутр. (Блок Ділянкa)");
    const pugi::xml_node externals = kind == TSourceKind::LandManagement
                                         ? plot.child("ParcelMetricInfo").child("Externals")
                                         : plot.child("Externals");
    const TPlotContourResult built = BuildPlotContour(*layer, MapNgo, root, externals, texts);
    if (!built.Failure.isEmpty()) {
        ShowError(built.Failure);
        return false;
    }
    if (!built.Built) {
        ShowError(QStringLiteral("Зчитування файлу: Не вдалося створити ділянку по кооодинатах"));
        return false;
    }
    MapNgo.SetBounds(layer->Bounds());
    return true;
}

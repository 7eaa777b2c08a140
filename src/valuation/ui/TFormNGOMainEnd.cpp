// The page "Завершення" of the valuation wizard: the summary of the values to be written, the organisation,
// the approval block and the output buttons "Створити XML" and "Оновити XML (адреса+коеф.)".
#include "valuation/ui/TFormNGOMain.h"

#include "common/Messages.h"
#include "valuation/HandOver.h"
#include "valuation/ui/NgoCommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kHintFromFile = QStringLiteral("З файлу");

// A summary edit of the end page: object name, caption, element label, Tag (99, 98 or 0) and hint.
struct TSummaryEdit {
    QString Name;
    QString Caption;
    QString Element;
    int Tag;
    QString Hint;
    bool Editable;
};

struct TSummaryPanel {
    QString Caption;
    QList<TSummaryEdit> Edits;
};

QList<TSummaryPanel> SummaryPanels() {
    return {
        {QStringLiteral("Адреса ділянки"),
         {{QStringLiteral("EFileObl"), QStringLiteral("Область"),
           QStringLiteral("DescriptionOfTerritory/Region/Name"), 99, QStringLiteral("Область"), false},
          {QStringLiteral("EFileRaion"), QStringLiteral("Район"),
           QStringLiteral("DescriptionOfTerritory/District"), 99, QStringLiteral("Район"), false},
          {QStringLiteral("EFileRada"), QStringLiteral("Рада, ОТГ"),
           QStringLiteral("DescriptionOfTerritory/Rada"), 99, QStringLiteral("Рада, ОТГ"), false},
          {QStringLiteral("EFileTerrCode"), QStringLiteral("Код зони"), QStringLiteral("TerritorialZoneCode"),
           99, QStringLiteral("Код зони"), true},
          {QStringLiteral("EFileTerrID"), QStringLiteral("ID зони"), QStringLiteral("TerritorialZoneID"), 99,
           QStringLiteral("ID зони"), true},
          {QStringLiteral("EFileKoatuu"), QStringLiteral("Коатуу"),
           QStringLiteral("DescriptionOfTerritory/Region/KOATUU"), 99, QStringLiteral("Коатуу"), false}}},
        {QStringLiteral("Коеф-ти"),
         {{QStringLiteral("EFileYear"), QStringLiteral("Рік оц."), QStringLiteral("ValuationYear"), 99,
           QStringLiteral("Рік оц."), false},
          {QStringLiteral("EFilePopul"), QStringLiteral("Кіл.нас."), QStringLiteral("Population"), 99,
           QStringLiteral("Кіл.нас."), false},
          {QStringLiteral("EFileNrd"), QStringLiteral("Нрд"), QStringLiteral("Nrd"), 99,
           QStringLiteral("Нрд"), false},
          {QStringLiteral("EFileKm1"), QStringLiteral("Км1"), QStringLiteral("Km1"), 99,
           QStringLiteral("Км1"), false},
          {QStringLiteral("EFileKm2"), QStringLiteral("Км2"), QStringLiteral("Km2"), 99,
           QStringLiteral("Км2"), false},
          {QStringLiteral("EFileKm3"), QStringLiteral("Км3"), QStringLiteral("Km3"), 99,
           QStringLiteral("Км3"), false},
          {QStringLiteral("EFileKmc1"), QStringLiteral("Кмц1"), QStringLiteral("Kmc1"), 99,
           QStringLiteral("Кмц1"), false},
          {QStringLiteral("EFileKmcI"), QStringLiteral("Кмц Пр."), QStringLiteral("KmcIndustry"), 99,
           QStringLiteral("Кмц Пр."), false},
          {QStringLiteral("EFileKmcH"), QStringLiteral("Кмц Озд."), QStringLiteral("KmcHealth"), 99,
           QStringLiteral("Кмц Озд."), false},
          {QStringLiteral("EFileKmcN"), QStringLiteral("Кмц Іст."), QStringLiteral("KmcNatureReserve"), 99,
           QStringLiteral("Кмц Іст."), false},
          {QStringLiteral("EFileKls"), QStringLiteral("Клс"), QStringLiteral("Kls"), 99,
           QStringLiteral("Клс"), false}}},
        {QStringLiteral("Оціночний район"),
         {{QStringLiteral("EFileRaNo"), QStringLiteral("№"), QStringLiteral("DistrictNumber"), 98,
           QStringLiteral("№ оц.района"), false},
          {QStringLiteral("EFileRaKm4"), QStringLiteral("Км4"), QStringLiteral("Km4"), 98,
           QStringLiteral("Км4"), false},
          {QStringLiteral("EFileRaKlk"), QStringLiteral("Клк"), QStringLiteral("Klk"), 98,
           QStringLiteral("Клк"), false}}},
        {QStringLiteral("ПСГ район"),
         {{QStringLiteral("EFilePsgNo"), QStringLiteral("№"), QStringLiteral("AgrDistrictNumber"), 98,
           QStringLiteral("№ ПСГ района"), false},
          {QStringLiteral("EFilePsgName"), QStringLiteral("Назва"), QStringLiteral("AgrDistrictName"), 98,
           QStringLiteral("Назва ПСГ района"), false}}},
        {QStringLiteral("Агро група"),
         {{QStringLiteral("EFileAgroCod"), QStringLiteral("Код"), QStringLiteral("CodeAgroGroup"), 98,
           QStringLiteral("Код агрогрупи"), false}}},
    };
}

} // namespace

void TFormNGOMain::BuildEndPage(QWidget* page) {
    // Three columns: where the plot is and who made the work; the coefficients; the districts and the
    // additional blocks. Each panel keeps its natural height.
    auto* lay = new QVBoxLayout(page);
    auto* columnsRow = new QHBoxLayout();
    lay->addLayout(columnsRow, 1);
    QList<QVBoxLayout*> columns;
    for (int stretch : {5, 3, 3}) {
        auto* column = new QVBoxLayout();
        columns << column;
        columnsRow->addLayout(column, stretch);
    }
    QHash<QString, QGroupBox*> panels;
    auto place = [&panels](QGroupBox* box) { panels.insert(box->objectName(), box); };
    // The element names beside the edits are a reference, in a smaller type.
    QFont elementFont = page->font();
    elementFont.setPointSizeF(elementFont.pointSizeF() * 0.85);

    auto* metric = new QGroupBox(QStringLiteral("Метрична інформація"), page);
    metric->setObjectName(QStringLiteral("PanelMetric"));
    {
        auto* f = new QFormLayout(metric);
        auto* rb = new QRadioButton(QStringLiteral("З файлу"), metric);
        rb->setObjectName(QStringLiteral("RBMetricFromXML"));
        rb->setChecked(true);
        f->addRow(rb);
        QLineEdit* sq = AddEdit(metric, QStringLiteral("EFileSq"), true);
        sq->setProperty("Tag", 99);
        sq->setToolTip(QStringLiteral("Площа оціненої ділянки"));
        auto* sqRow = new QHBoxLayout();
        sqRow->addWidget(sq);
        sqRow->addWidget(new QLabel(QStringLiteral("га"), metric));
        f->addRow(QStringLiteral("Площа оціненої ділянки"), sqRow);
        QLineEdit* cad = AddEdit(metric, QStringLiteral("EFileCadnum"), false);
        cad->setToolTip(QStringLiteral("Кадномер"));
        f->addRow(QStringLiteral("Кадномер"), cad);
    }
    place(metric);

    auto* organ = new QGroupBox(QStringLiteral("Організація-виконавець"), page);
    organ->setObjectName(QStringLiteral("PanelOrgan"));
    {
        auto* f = new QVBoxLayout(organ);
        auto* fromXml = new QRadioButton(QStringLiteral("З файлу"), organ);
        fromXml->setObjectName(QStringLiteral("RBOrganFromXML"));
        fromXml->setChecked(true);
        auto* fromDb = new QRadioButton(QStringLiteral("З бази"), organ);
        fromDb->setObjectName(QStringLiteral("RBOrganFromDB"));
        f->addWidget(fromXml);
        f->addWidget(fromDb);
        auto* listRow = new QHBoxLayout();
        EDefLicenziat = new QComboBox(organ);
        EDefLicenziat->setObjectName(QStringLiteral("EDefLicenziat"));
        listRow->addWidget(EDefLicenziat, 1);
        auto* dots = new QPushButton(QStringLiteral("..."), organ);
        dots->setObjectName(QStringLiteral("BLicenziatEdit"));
        dots->setMaximumWidth(30);
        dots->setToolTip(QStringLiteral("Довідник ліцензіатів"));
        buttons_.insert(dots->objectName(), dots);
        connect(dots, &QPushButton::clicked, this, &TFormNGOMain::EditOrganisations);
        listRow->addWidget(dots);
        f->addLayout(listRow);
    }
    place(organ);

    for (const TSummaryPanel& panel : SummaryPanels()) {
        auto* box = new QGroupBox(panel.Caption, page);
        auto* f = new QGridLayout(box);
        // The long element paths of the address stand under their edits, the short ones beside them.
        const bool address = panel.Caption == QStringLiteral("Адреса ділянки");
        int r = 0;
        for (const TSummaryEdit& s : panel.Edits) {
            QLineEdit* e = AddEdit(box, s.Name, !s.Editable);
            e->setProperty("Tag", s.Tag);
            e->setToolTip(s.Hint);
            e->setMinimumWidth(address ? 160 : s.Name == QLatin1String("EFilePsgName") ? 130 : 64);
            f->addWidget(new QLabel(s.Caption, box), r, 0);
            f->addWidget(e, r, 1);
            auto* element = new QLabel(QStringLiteral("(") + s.Element + QStringLiteral(")"), box);
            element->setFont(elementFont);
            if (s.Name == QLatin1String("EFileTerrCode") || s.Name == QLatin1String("EFileTerrID")) {
                QLineEdit* prev = AddEdit(box, s.Name + QStringLiteral("Prev"), true);
                prev->setToolTip(kHintFromFile);
                prev->setVisible(false);
                prev->setMaximumWidth(110);
                f->addWidget(prev, r, 3);
            }
            if (address) {
                f->addWidget(element, ++r, 1, 1, 3);
            } else {
                f->addWidget(element, r, 2);
            }
            ++r;
        }
        if (address) {
            f->setVerticalSpacing(2);
            box->setObjectName(QStringLiteral("PanelAddress"));
            auto* autoId = new QPushButton(QStringLiteral("Визначити КАТОТТГ по адресі"), box);
            autoId->setObjectName(QStringLiteral("BKatottgAuto"));
            auto* pick = new QPushButton(QStringLiteral("Знайти КАТОТТГ вручну"), box);
            pick->setObjectName(QStringLiteral("BKatottgSelect"));
            buttons_.insert(autoId->objectName(), autoId);
            buttons_.insert(pick->objectName(), pick);
            f->addWidget(autoId, r++, 0, 1, 2);
            f->addWidget(pick, r, 0, 1, 2);
        } else if (panel.Caption == QStringLiteral("Коеф-ти")) {
            box->setObjectName(QStringLiteral("PanelCoef"));
        } else if (panel.Caption == QStringLiteral("Оціночний район")) {
            box->setObjectName(QStringLiteral("PanelOcRa"));
        } else if (panel.Caption == QStringLiteral("ПСГ район")) {
            box->setObjectName(QStringLiteral("PanelPsg"));
        } else {
            box->setObjectName(QStringLiteral("PanelAgro"));
        }
        f->setColumnStretch(1, 1);
        place(box);
    }

    auto* extra = new QGroupBox(QStringLiteral("Додаткові"), page);
    extra->setObjectName(QStringLiteral("PanelAdditional"));
    {
        auto* f = new QGridLayout(extra);
        auto* approve = new QCheckBox(QStringLiteral("Додати блок Затвердження док-ції"), extra);
        approve->setObjectName(QStringLiteral("CBBlockCreateApprove"));
        approve->setChecked(true);
        f->addWidget(approve, 0, 0, 1, 2);
        const QList<QPair<QString, QString>> approval = {
            {QStringLiteral("EFileApproveBy"), QStringLiteral("Ким")},
            {QStringLiteral("EFileApproveDt"), QStringLiteral("Дата")},
            {QStringLiteral("EFileApproveNo"), QStringLiteral("№")}};
        int r = 1;
        for (const auto& [name, caption] : approval) {
            f->addWidget(new QLabel(caption, extra), r, 0);
            QLineEdit* e = AddEdit(extra, name, false);
            e->setToolTip(caption);
            f->addWidget(e, r++, 1);
        }
        auto* zone = new QCheckBox(QStringLiteral("Створити контур територіальної зони"), extra);
        zone->setObjectName(QStringLiteral("CBBlockCreateTerrZona"));
        zone->setChecked(true);
        f->addWidget(zone, r++, 0, 1, 2);
        // Which kind of file was imported; read by the writer.
        CBSrcZemXML = new QCheckBox(QStringLiteral("CBSrcZemXML"), extra);
        CBSrcZemXML->setObjectName(QStringLiteral("CBSrcZemXML"));
        CBSrcZemXML->setVisible(false);
        CBSrcZemXML->setChecked(true);
        CBSrcNGOXML = new QCheckBox(QStringLiteral("CBSrcNGOXML"), extra);
        CBSrcNGOXML->setObjectName(QStringLiteral("CBSrcNGOXML"));
        CBSrcNGOXML->setVisible(false);
        f->addWidget(CBSrcZemXML, r, 0);
        f->addWidget(CBSrcNGOXML, r, 1);
    }
    place(extra);

    auto* out = new QHBoxLayout();
    auto outButton = [this, page, out](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, page);
        b->setObjectName(QLatin1String(name));
        buttons_.insert(b->objectName(), b);
        out->addWidget(b);
        return b;
    };
    outButton("BCreateFile", QStringLiteral("Створити XML"));
    outButton("BUpdateFile", QStringLiteral("Оновити XML (адреса+коеф.)"))->setVisible(false);
    outButton("BCreateDoc", QStringLiteral("Зберегти діл. і підготувати ТД"));
    out->addStretch(1);
    const QList<QStringList> order = {{"PanelMetric", "PanelOrgan", "PanelAddress"},
                                      {"PanelCoef", "PanelAgro"},
                                      {"PanelOcRa", "PanelPsg", "PanelAdditional"}};
    for (int c = 0; c < order.size(); ++c) {
        for (const QString& name : order[c])
            columns[c]->addWidget(panels.value(name));
        columns[c]->addStretch(1);
    }
    lay->addLayout(out);
    connect(Button(QStringLiteral("BCreateFile")), &QPushButton::clicked, this,
            &TFormNGOMain::CreateFileCommand);
    connect(Button(QStringLiteral("BUpdateFile")), &QPushButton::clicked, this,
            &TFormNGOMain::UpdateFileCommand);

    // The summary is rebuilt every time the page is shown.
    connect(NxPageControl1, &QTabWidget::currentChanged, this, [this, page](int index) {
        if (NxPageControl1->widget(index) == page) ShowSummary();
    });
}

void TFormNGOMain::ReadSummaryEdits() {
    TSummary& s = Session.Summary;
    s.FileCadnum = Edit(QStringLiteral("EFileCadnum"))->text();
    s.FileTerrCode = Edit(QStringLiteral("EFileTerrCode"))->text().trimmed();
    s.FileTerrID = Edit(QStringLiteral("EFileTerrID"))->text().trimmed();
    s.ApproveBy = Edit(QStringLiteral("EFileApproveBy"))->text();
    s.ApproveDt = Edit(QStringLiteral("EFileApproveDt"))->text();
    s.ApproveNo = Edit(QStringLiteral("EFileApproveNo"))->text();
    s.BlockCreateApprove = findChild<QCheckBox*>(QStringLiteral("CBBlockCreateApprove"))->isChecked();
    s.BlockCreateTerrZona = findChild<QCheckBox*>(QStringLiteral("CBBlockCreateTerrZona"))->isChecked();
    s.OrganFromDB = findChild<QRadioButton*>(QStringLiteral("RBOrganFromDB"))->isChecked();
    s.Organisation = EDefLicenziat->currentIndex() >= 0 ? EDefLicenziat->currentText() : QString();
}

void TFormNGOMain::ShowSummaryEdits() {
    const TSummary& s = Session.Summary;
    for (const TSummaryField& f : SummaryFields())
        if (QLineEdit* e = Edit(f.ObjectName)) e->setText(s.*f.Member);
    Edit(QStringLiteral("EFileCadnum"))->setText(s.FileCadnum);
}

void TFormNGOMain::ShowSummary() {
    if (!Session.Initialized) return;
    ReadSummaryEdits();
    Session.FillSummary();
    ShowSummaryEdits();
}

bool TFormNGOMain::CreateFileCommand() {
    ShowSummary();
    QString focus;
    if (!CheckCreateXml(Session.Summary, &focus)) {
        if (focus == QLatin1String("EDefLicenziat"))
            EDefLicenziat->setFocus();
        else if (QLineEdit* e = Edit(focus))
            e->setFocus();
        return false;
    }
    // The writer reads the source file again; the wizard's copy is not needed any more.
    XMLDocument_XML.Clear();
    done(kResultYes);
    return true;
}

bool TFormNGOMain::UpdateFileCommand() {
    ShowSummary();
    QString focus;
    if (!CheckUpdateXml(Session.Summary, &focus)) {
        if (QLineEdit* e = Edit(focus)) e->setFocus();
        return false;
    }
    const auto& update = UpdateFromWizardHandler();
    if (!update) {
        ShowWarning(QStringLiteral("Оновлення відкритого файлу з майстра оцінки ще не доступне в цій версії "
                                   "програми. Файл не змінено."));
        return false;
    }
    bool done = false;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        struct TRestoreCursor {
            ~TRestoreCursor() { QApplication::restoreOverrideCursor(); }
        } restore;
        done = update(*this);
    }
    if (done) ShowInfo(QStringLiteral("Завершено оновлення коефіцієнтів."));
    return done;
}

void TFormNGOMain::EditOrganisations() {
    const TReferenceTableEditor& editor = ReferenceTableEditor();
    QString chosen;
    if (editor) {
        const QString current = EDefLicenziat->currentIndex() >= 0 ? EDefLicenziat->currentText() : QString();
        chosen = editor(QStringLiteral("ліцензіати"), QStringLiteral("id"), QStringLiteral("назва"), current);
    } else {
        ShowWarning(QStringLiteral("Довідник ліцензіатів ще не доступний у цій версії програми. Список "
                                   "організацій оновлено з бази."));
    }
    const QString kept = EDefLicenziat->currentIndex() >= 0 ? EDefLicenziat->currentText() : QString();
    FillOrganisationList();
    const QString wanted = chosen.isEmpty() ? kept : chosen;
    const int index = EDefLicenziat->findText(wanted);
    if (!wanted.isEmpty() && index >= 0) EDefLicenziat->setCurrentIndex(index);
}

TValuationHandOver TFormNGOMain::HandOver() const {
    return HandOverFromSummary(Session.Summary, Session.Tables.Psr, Session.Boxes.Psr.Row, Session.Agro,
                               SourceIsValuationFile());
}

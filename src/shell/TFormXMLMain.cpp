#include "shell/TFormXMLMain.h"

#include "app/GlobalVar.h"
#include "app/Settings.h"
#include "common/Files.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "exchange/StructureCheck.h"
#include "shell/ShellIcons.h"
#include "shell/ShellPorts.h"
#include "shell/TFormFileEdit.h"
#include "shell/TFormLogDlg.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString kNotLoaded = QStringLiteral("Файл ще не завантажений.");

// Menu items mirror their action: caption, icon, check mark and enabled state follow it.
QAction* AddMenuItem(QMenu* menu, QAction* act, const QKeySequence& key = QKeySequence()) {
    auto* item = new QAction(act->text(), menu);
    QString name = act->objectName();
    name.replace(0, 4, QStringLiteral("MENU_"));
    item->setObjectName(name);
    item->setIcon(act->icon());
    item->setCheckable(act->isCheckable());
    item->setChecked(act->isChecked());
    item->setEnabled(act->isEnabled());
    item->setStatusTip(act->statusTip());
    item->setToolTip(act->toolTip());
    if (!key.isEmpty()) item->setShortcut(key);
    QObject::connect(act, &QAction::changed, item, [act, item] {
        item->setText(act->text());
        item->setChecked(act->isChecked());
        item->setEnabled(act->isEnabled());
    });
    QObject::connect(item, &QAction::triggered, act, [act, item] {
        act->trigger();
        item->setChecked(act->isChecked());
    });
    menu->addAction(item);
    return item;
}

} // namespace

TFormXMLMain::TFormXMLMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TFormXMLMain"));
    setWindowTitle(GlobalVar().AppName);
    setAcceptDrops(true);
    setWindowIcon(ShellIcon(TShellIcon::App));
    BuildActions();
    BuildMenus();
    BuildToolBar();
    BuildPanels();
    ReadOptions();
}

TFormXMLMain::~TFormXMLMain() = default;

QAction* TFormXMLMain::MakeAction(const QString& name, const QString& caption, const QString& hint) {
    auto* a = new QAction(caption, this);
    a->setObjectName(name);
    if (!hint.isEmpty()) {
        a->setToolTip(hint);
        a->setStatusTip(hint);
    }
    actions_.insert(name, a);
    addAction(a);
    return a;
}

void TFormXMLMain::BuildActions() {
    auto add = [&](const char* name, const QString& caption, const QString& hint, TShellIcon icon) {
        QAction* a = MakeAction(QString::fromLatin1(name), caption, hint);
        if (icon != TShellIcon::None) a->setIcon(ShellIcon(icon));
        return a;
    };
    QAction* a = add("ACT_NEW_NGO", QStringLiteral("НГО на ділянку з XML"),
                     QStringLiteral("Створити НГО на ділянку (на основі XML)"), TShellIcon::NewValuation);
    a->setIconText(QStringLiteral("НГО на діл. з XML"));
    add("ACT_OPEN_FILE_NGO", QStringLiteral("Відкрити XML з НГО"),
        QStringLiteral("Відкрити XML з НГО (дані+карта)"), TShellIcon::Open);
    add("ACT_SAVE_XML_NGO", QStringLiteral("Зберегти як"), QStringLiteral("Зберегти XML (з НГО) як"),
        TShellIcon::Save);
    add("ACT_TEST_NGO", QStringLiteral("Зробити оцінку"),
        QStringLiteral("Перевірити оцінку у відкритому XML"), TShellIcon::Valuation);
    a = add("ACT_CHECK", QStringLiteral("Перевірити на структуру"),
            QStringLiteral("Перевірити XML структуру"), TShellIcon::Check);
    a->setIconText(QStringLiteral("Перевірити"));
    add("ACT_OPEN_FILE_SIMPLE", QStringLiteral("Відкрити ще XML"),
        QStringLiteral("Відкрити XML (перегляд, без карти, без редагування)"), TShellIcon::OpenView);
    a = add("ACT_DILDB", QStringLiteral("База ділянок і ТД"), QString(), TShellIcon::Database);
    a->setIconText(QStringLiteral("База діл.+ТД"));
    add("ACT_EXIT", QStringLiteral("Вихід з програми"), QString(), TShellIcon::Exit);
    add("ACT_KATOTTG", QStringLiteral("КАТОТТГ"), QStringLiteral("Довідник КАТОТТГ"), TShellIcon::Codifier);
    add("ACT_CREATE_GUID", QStringLiteral("Згенерувати GUID"), QString(), TShellIcon::Guid);
    a = add("ACT_BLOCK_ADD_FPTP", QStringLiteral("Додавати блоки FP і TP (блок Line)"), QString(),
            TShellIcon::None);
    a->setCheckable(true);
    a = add("ACT_BLOCK_ADD_MXMY", QStringLiteral("Додавати блоки MX і MY (блок Point)"), QString(),
            TShellIcon::None);
    a->setCheckable(true);
    add("ACT_COORD_LIMIT", QStringLiteral("Точність коор-т"), QString(), TShellIcon::Precision);
    add("ACT_ORGAN", QStringLiteral("Ліцензіати"), QStringLiteral("Довідник виконавців"),
        TShellIcon::Organisations);
    add("ACT_HELP", QStringLiteral("Допомога"), QStringLiteral("Допомога"), TShellIcon::Help);
    add("ACT_UPDATE", QStringLiteral("Оновити програму"), QString(), TShellIcon::Update);
    add("ACT_ABOUT", QStringLiteral("Про програму"), QString(), TShellIcon::None);

    popupCoord_ = new QMenu(this);
    popupCoord_->setObjectName(QStringLiteral("PopupMenuCoord"));
    const QList<QPair<QString, QString>> coord = {
        {QStringLiteral("2"), QStringLiteral("2 знака (вся Україна)")},
        {QStringLiteral("3"), QStringLiteral("3 знака (радуіс 500 км від центра ділянки)")},
        {QStringLiteral("4"), QStringLiteral("4 знака (радуіс 50 км від центра ділянки)")},
    };
    for (const auto& [digit, caption] : coord) {
        QAction* item = MakeAction(QStringLiteral("ACT_COORD_TO") + digit, caption, QString());
        item->setCheckable(true);
        popupCoord_->addAction(item);
        connect(item, &QAction::triggered, this, [this, d = digit] { ChooseCoordPrecision(d); });
    }
    Action(QStringLiteral("ACT_COORD_LIMIT"))->setMenu(popupCoord_);

    connect(Action(QStringLiteral("ACT_BLOCK_ADD_FPTP")), &QAction::toggled, this,
            [](bool on) { WriteBlockOption(IniKeys::kBlockAddFptp, on); });
    connect(Action(QStringLiteral("ACT_BLOCK_ADD_MXMY")), &QAction::toggled, this,
            [](bool on) { WriteBlockOption(IniKeys::kBlockAddMxmy, on); });
    connect(Action(QStringLiteral("ACT_EXIT")), &QAction::triggered, this, &QWidget::close);
    const QList<QPair<const char*, void (TFormXMLMain::*)()>> own = {
        {"ACT_CREATE_GUID", &TFormXMLMain::CreateGuidCommand},
        {"ACT_HELP", &TFormXMLMain::HelpCommand},
        {"ACT_ABOUT", &TFormXMLMain::AboutCommand},
        {"ACT_OPEN_FILE_NGO", &TFormXMLMain::OpenFileCommand},
        {"ACT_CHECK", &TFormXMLMain::CheckCommand},
    };
    for (const auto& [name, command] : own) {
        QAction* act = Action(QString::fromLatin1(name));
        connect(act, &QAction::triggered, this,
                [this, act, command = command] { RunCommand(act, [&] { (this->*command)(); }); });
    }

    // Commands whose windows come from other modules stay disabled until those register a handler.
    for (const char* name : {"ACT_NEW_NGO", "ACT_SAVE_XML_NGO", "ACT_TEST_NGO", "ACT_OPEN_FILE_SIMPLE",
                             "ACT_DILDB", "ACT_KATOTTG", "ACT_ORGAN", "ACT_UPDATE"}) {
        const QString n = QString::fromLatin1(name);
        QAction* act = Action(n);
        act->setEnabled(false);
        connect(act, &QAction::triggered, this, [this, act, n] {
            if (const auto h = handlers_.value(n)) RunCommand(act, h);
        });
    }
}

void TFormXMLMain::RunCommand(QAction* action, const std::function<void()>& command) {
    // A failure escaping a command is shown and leaves the window usable.
    try {
        command();
    } catch (const std::exception& e) {
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
        ShowError(CommandFailureText(action->text(), QString::fromUtf8(e.what())));
    }
}

void TFormXMLMain::SetCommandHandler(const QString& actionName, std::function<void()> handler) {
    QAction* act = Action(actionName);
    if (!act) return;
    handlers_.insert(actionName, handler);
    act->setEnabled(bool(handler));
}

void TFormXMLMain::BuildMenus() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));
    auto act = [this](const char* n) { return Action(QString::fromLatin1(n)); };

    QMenu* file = bar->addMenu(QStringLiteral("Файл"));
    file->setObjectName(QStringLiteral("MENU_FILE"));
    AddMenuItem(file, act("ACT_NEW_NGO"));
    AddMenuItem(file, act("ACT_OPEN_FILE_NGO"), QKeySequence(Qt::CTRL | Qt::Key_O));
    AddMenuItem(file, act("ACT_SAVE_XML_NGO"), QKeySequence(Qt::CTRL | Qt::Key_S));
    file->addSeparator();
    AddMenuItem(file, act("ACT_TEST_NGO"));
    AddMenuItem(file, act("ACT_CHECK"));
    AddMenuItem(file, act("ACT_OPEN_FILE_SIMPLE"));
    AddMenuItem(file, act("ACT_DILDB"));
    file->addSeparator();
    AddMenuItem(file, act("ACT_EXIT"));

    QMenu* refs = bar->addMenu(QStringLiteral("Довідники"));
    refs->setObjectName(QStringLiteral("MENU_REFS"));
    AddMenuItem(refs, act("ACT_KATOTTG"));
    AddMenuItem(refs, act("ACT_CREATE_GUID"));

    QMenu* opts = bar->addMenu(QStringLiteral("Налаштування"));
    opts->setObjectName(QStringLiteral("MENU_OPTIONS"));
    AddMenuItem(opts, act("ACT_BLOCK_ADD_FPTP"));
    AddMenuItem(opts, act("ACT_BLOCK_ADD_MXMY"));
    opts->addSeparator();
    AddMenuItem(opts, act("ACT_ORGAN"));

    QMenu* help = bar->addMenu(QStringLiteral("Допомога"));
    help->setObjectName(QStringLiteral("MENU_HELPS"));
    AddMenuItem(help, act("ACT_HELP"));
    help->addSeparator();
    AddMenuItem(help, act("ACT_UPDATE"));
    help->addSeparator();
    AddMenuItem(help, act("ACT_ABOUT"));
}

void TFormXMLMain::BuildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("ToolBar1"));
    toolBar_->setObjectName(QStringLiteral("ToolBar1"));
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(22, 22));
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    auto put = [this](const char* n) {
        QAction* a = Action(QString::fromLatin1(n));
        toolBar_->addAction(a);
        if (QWidget* w = toolBar_->widgetForAction(a)) {
            QString name = a->objectName();
            name.replace(0, 4, QStringLiteral("TOOL_"));
            w->setObjectName(name);
            w->setMinimumHeight(38);
        }
    };
    put("ACT_NEW_NGO");
    put("ACT_OPEN_FILE_NGO");
    put("ACT_SAVE_XML_NGO");
    put("ACT_TEST_NGO");
    put("ACT_DILDB");
    toolBar_->addSeparator();
    put("ACT_OPEN_FILE_SIMPLE");
    put("ACT_KATOTTG");
    toolBar_->addSeparator();
    put("ACT_CHECK");
    put("ACT_COORD_LIMIT");
    if (auto* b =
            qobject_cast<QToolButton*>(toolBar_->widgetForAction(Action(QStringLiteral("ACT_COORD_LIMIT")))))
        b->setPopupMode(QToolButton::InstantPopup);
}

void TFormXMLMain::BuildPanels() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("PanelMain"));
    auto* lay = new QVBoxLayout(central);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);

    auto* warn = new QFrame(central);
    warn->setObjectName(QStringLiteral("PanelWarn"));
    warn->setStyleSheet(QStringLiteral("#PanelWarn{background:#fdf6d8;border-bottom:1px solid #d9c98a;}"));
    auto* warnLay = new QHBoxLayout(warn);
    warnLay->setContentsMargins(6, 4, 6, 4);
    auto* label1 =
        new QLabel(QStringLiteral("Дана програма виконує НГО на земельні ділянки після 2022р. по постанові № "
                                  "1147 (зі змінами №676 від 27.05.2026р.)"),
                   warn);
    label1->setObjectName(QStringLiteral("Label1"));
    QFont uf = label1->font();
    uf.setUnderline(true);
    label1->setFont(uf);
    label1->setAlignment(Qt::AlignCenter);
    label1->setWordWrap(true);
    warnLay->addWidget(label1);
    lay->addWidget(warn);

    auto* fileName = new QFrame(central);
    fileName->setObjectName(QStringLiteral("PanelNavFileName"));
    fileName->setStyleSheet(
        QStringLiteral("#PanelNavFileName{background:#eef2f7;border-bottom:1px solid #c5cfdb;}"));
    auto* fnLay = new QHBoxLayout(fileName);
    fnLay->setContentsMargins(4, 3, 4, 3);
    fileCaption_ = new QLabel(QStringLiteral(" Файл:"), fileName);
    fileCaption_->setObjectName(QStringLiteral("LabelNavFileName"));
    fileCaption_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fnLay->addWidget(fileCaption_);
    lay->addWidget(fileName);

    auto* body = new QHBoxLayout();
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(0);
    navPanel_ = new QFrame(central);
    navPanel_->setObjectName(QStringLiteral("PanelNavigatorMain"));
    navPanel_->setFixedWidth(227);
    navPanel_->setStyleSheet(QStringLiteral("#PanelNavigatorMain{border-right:1px solid #c5cfdb;}"));
    auto* navLay = new QVBoxLayout(navPanel_);
    navLay->setContentsMargins(0, 0, 0, 0);
    navLay->setSpacing(0);
    auto* navHead = new QLabel(QStringLiteral(" Навігатор:"), navPanel_);
    navHead->setObjectName(QStringLiteral("LabelNavigator"));
    navHead->setStyleSheet(QStringLiteral("background:#dde5ef;padding:3px 2px;font-weight:bold;"));
    navLay->addWidget(navHead);
    nav_ = new QTreeWidget(navPanel_);
    nav_->setObjectName(QStringLiteral("ListViewNav"));
    nav_->setColumnCount(3);
    nav_->setHeaderHidden(true);
    nav_->setRootIsDecorated(false);
    nav_->setUniformRowHeights(true);
    nav_->setSelectionMode(QAbstractItemView::SingleSelection);
    nav_->setSelectionBehavior(QAbstractItemView::SelectRows);
    nav_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    nav_->setExpandsOnDoubleClick(false);
    nav_->setFrameShape(QFrame::NoFrame);
    nav_->setStyleSheet(QStringLiteral("#ListViewNav::item{padding:2px 1px;}"));
    nav_->hideColumn(1);
    nav_->hideColumn(2);
    nav_->header()->setStretchLastSection(false);
    nav_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    // The selection stays visible when the list loses the focus.
    QPalette pal = nav_->palette();
    pal.setColor(QPalette::Inactive, QPalette::Highlight, pal.color(QPalette::Active, QPalette::Highlight));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 pal.color(QPalette::Active, QPalette::HighlightedText));
    nav_->setPalette(pal);
    connect(nav_, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem*, int) { NavigatorDoubleClick(); });
    navLay->addWidget(nav_);
    body->addWidget(navPanel_);

    auto* work = new QFrame(central);
    work->setObjectName(QStringLiteral("PanelWork"));
    work->setStyleSheet(QStringLiteral("#PanelWork{background:#f7f9fb;}"));
    body->addWidget(work, 1);
    lay->addLayout(body, 1);
    setCentralWidget(central);

    QStatusBar* sb = statusBar();
    sb->setObjectName(QStringLiteral("StatusBar1"));
}

void TFormXMLMain::ReadOptions() {
    const QSignalBlocker b1(Action(QStringLiteral("ACT_BLOCK_ADD_FPTP")));
    const QSignalBlocker b2(Action(QStringLiteral("ACT_BLOCK_ADD_MXMY")));
    Action(QStringLiteral("ACT_BLOCK_ADD_FPTP"))->setChecked(ReadBlockOption(IniKeys::kBlockAddFptp));
    Action(QStringLiteral("ACT_BLOCK_ADD_MXMY"))->setChecked(ReadBlockOption(IniKeys::kBlockAddMxmy));
    const QString digit = ReadCoordPrecision();
    for (const QString d : {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
        Action(QStringLiteral("ACT_COORD_TO") + d)->setChecked(d == digit);
    if (digit == QLatin1String("2") || digit == QLatin1String("3") || digit == QLatin1String("4"))
        UpdateCoordCaption(digit);
}

void TFormXMLMain::UpdateCoordCaption(const QString& digit) {
    Action(QStringLiteral("ACT_COORD_LIMIT"))
        ->setText(QStringLiteral("Точність коор-т (") + digit + QStringLiteral(")"));
}

void TFormXMLMain::ChooseCoordPrecision(const QString& digit) {
    for (const QString d : {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
        Action(QStringLiteral("ACT_COORD_TO") + d)->setChecked(d == digit);
    UpdateCoordCaption(digit);
    ShowInfo(QStringLiteral("Відкрийте файл заново, щоб отримати вказану точність координат."));
    WriteCoordPrecision(digit);
}

bool TFormXMLMain::BlockAddFptp() const {
    return Action(QStringLiteral("ACT_BLOCK_ADD_FPTP"))->isChecked();
}
bool TFormXMLMain::BlockAddMxmy() const {
    return Action(QStringLiteral("ACT_BLOCK_ADD_MXMY"))->isChecked();
}

QString TFormXMLMain::CoordPrecision() const {
    for (const QString d : {QStringLiteral("2"), QStringLiteral("3"), QStringLiteral("4")})
        if (Action(QStringLiteral("ACT_COORD_TO") + d)->isChecked()) return d;
    return QString();
}

void TFormXMLMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (!captionSet_) {
        captionSet_ = true;
        setWindowTitle(GlobalVar().AppName + QStringLiteral(" v") + GlobalVar().AppVersion);
    }
}

void TFormXMLMain::SetFileCaption(const QString& text) {
    fileCaption_->setText(text);
}
QString TFormXMLMain::FileCaption() const {
    return fileCaption_->text();
}

bool TFormXMLMain::HasWorkingCopy(bool quiet) const {
    if (!File.WorkingCopy.isEmpty() && QFileInfo(File.WorkingCopy).isFile()) return true;
    if (!quiet) ShowInfo(kNotLoaded);
    return false;
}

QString TFormXMLMain::WorkingFolder() const {
    return File.WorkingFolder();
}

// ---- Action log -------------------------------------------------------------------------------------

void TFormXMLMain::SetLogWindow(TFormLogDlg* log) {
    log_ = log;
    if (log_) log_->SetFindingHandler([this](const QString& line, int row) { GotoFindingLine(line, row); });
}

void TFormXMLMain::LogLine(const QString& text) {
    if (text.isEmpty() || !log_) return;
    log_->AddLine(text);
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFormXMLMain::ShowActionLog() {
    if (!log_) return;
    const QRect main = frameGeometry();
    const int statusHeight = statusBar()->isVisible() ? statusBar()->height() : 0;
    const QRect logFrame = log_->frameGeometry();
    const int left = main.left() + navPanel_->width();
    const int top = main.bottom() - statusHeight - logFrame.height() + 1;
    log_->move(left, top);
    log_->show();
    log_->raise();
}

// ---- Navigator --------------------------------------------------------------------------------------

void TFormXMLMain::ClearNavigator() {
    // The selection survives emptying: the next rebuild of a file with the same structure selects it again.
    if (const int row = SelectedNavigatorRow(); row >= 0) rememberedRow_ = row;
    nav_->clear();
    lines_.clear();
}

int TFormXMLMain::SelectedNavigatorRow() const {
    const QList<QTreeWidgetItem*> sel = nav_->selectedItems();
    return sel.isEmpty() ? -1 : nav_->indexOfTopLevelItem(sel.first());
}

void TFormXMLMain::SelectNavigatorRow(int row) {
    QTreeWidgetItem* item = nav_->topLevelItem(row);
    if (!item) return;
    nav_->setCurrentItem(item);
    item->setSelected(true);
    nav_->scrollToItem(item);
}

void TFormXMLMain::RebuildNavigator(const ExchangeDocument& document) {
    if (!document.IsActive()) return;
    RebuildNavigator(BuildNavigatorLines(document));
}

void TFormXMLMain::RebuildNavigator(const TNavigatorLines& lines) {
    ClearNavigator();
    const int selected = rememberedRow_;
    lines_ = lines.Lines;
    CurrentRegionName = lines.RegionName;
    for (const TNavigatorLine& l : lines_) {
        auto* item = new QTreeWidgetItem(nav_, {l.Caption, l.Tag, l.District});
        item->setData(0, Qt::UserRole, l.Kind);
    }
    if (selected >= 0 && selected < nav_->topLevelItemCount()) SelectNavigatorRow(selected);
    emit NavigatorRebuilt();
}

void TFormXMLMain::SelectNavigatorObject(const QString& layer, int number, int district) {
    if (syncingSelection_) return;
    const int row = NavigatorLineForMapObject(lines_, layer, number, district);
    if (row < 0) return;
    SelectNavigatorRow(row);
    nav_->setFocus();
}

bool TFormXMLMain::OpenEditorAt(const QStringList& path) {
    if (!editor_) {
        // Without the editor the section's navigator line is the best place to show.
        const int row = NavigatorLineForElementPath(lines_, path);
        if (row >= 0) SelectNavigatorRow(row);
        return row >= 0;
    }
    if (!editor_->IsEditorVisible() && !editor_->LoadEditorDocument(File.NamesFile, File.WorkingCopy))
        return false;
    editor_->ShowEditor();
    if (!path.isEmpty()) editor_->SelectElementPath(path);
    return true;
}

void TFormXMLMain::NavigatorDoubleClick() {
    const int row = SelectedNavigatorRow();
    if (row < 0 || row >= lines_.size() || !HasWorkingCopy(true)) return;
    const TNavigatorTarget t = NavigatorTargetOf(lines_[row]);
    if (t.ShowMap) {
        if (map_) map_->ShowMap();
        return;
    }
    if (t.ViewFile) {
        ShowFileViewer(File.WorkingCopy, this);
        return;
    }
    if (editor_) {
        if (!OpenEditorAt(t.EditorPath)) return;
    }
    if (map_ && map_->IsMapVisible() && !t.MapLayer.isEmpty() && t.Number > 0) {
        syncingSelection_ = true;
        map_->SelectMapObject(t.MapLayer, t.Number, t.District);
        syncingSelection_ = false;
    }
}

bool TFormXMLMain::ShowInEditor(const QString& location, const QString& elementName) {
    Q_UNUSED(elementName);
    if (!HasWorkingCopy(true)) return false;
    const QString loc = location.trimmed();
    if (IsIntegerText(loc)) {
        if (!editor_) {
            // Without the editor: the navigator line of the section the line belongs to.
            ExchangeDocument& doc = File.Document();
            if (!doc.LoadFromFile(File.WorkingCopy)) return false;
            const QStringList path = ElementPathAtLine(doc, int(TextToIntOrZero(loc)));
            doc.Clear();
            return !path.isEmpty() && OpenEditorAt(path);
        }
        if (!editor_->IsEditorVisible() && !editor_->LoadEditorDocument(File.NamesFile, File.WorkingCopy))
            return false;
        editor_->ShowEditor();
        return editor_->SelectLine(int(TextToIntOrZero(loc)));
    }
    return OpenEditorAt(loc.split(QLatin1Char('\\'), Qt::SkipEmptyParts));
}

// ---- Small commands ---------------------------------------------------------------------------------

void TFormXMLMain::CreateGuidCommand() {
    QApplication::clipboard()->setText(NewGuidText());
    ShowInfo(QStringLiteral("GUID в буфері обміну."));
}

void TFormXMLMain::HelpCommand() {
    OpenWithShell(GlobalVar().Settings.ProgramDir + QStringLiteral("/zemlyar, керівництво.pdf"));
}

void TFormXMLMain::AboutCommand() {
    QDialog dlg(this);
    dlg.setObjectName(QStringLiteral("TFormAbout"));
    dlg.setWindowTitle(QStringLiteral("Про програму"));
    auto* lay = new QVBoxLayout(&dlg);
    auto* icon = new QLabel(&dlg);
    icon->setPixmap(ShellIcon(TShellIcon::App).pixmap(48, 48));
    icon->setAlignment(Qt::AlignCenter);
    auto* name = new QLabel(windowTitle(), &dlg);
    name->setObjectName(QStringLiteral("LabelCaption"));
    QFont f = name->font();
    f.setBold(true);
    f.setPointSizeF(f.pointSizeF() * 1.3);
    name->setFont(f);
    name->setAlignment(Qt::AlignCenter);
    auto* buttons = new QDialogButtonBox(&dlg);
    buttons->addButton(ButtonText(TMsgButton::Ok), QDialogButtonBox::AcceptRole);
    connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    lay->addWidget(icon);
    lay->addWidget(name);
    lay->addWidget(buttons);
    dlg.setMinimumWidth(300);
    dlg.exec();
}

QString TFormXMLMain::OpenDroppedFiles(const QStringList& paths) {
    for (const QString& p : paths) {
        if (FileExtLower(p) != QLatin1String(".xml")) continue;
        File.OpenedFile = p;
        OpenChosenFile();
        return p;
    }
    return QString();
}

void TFormXMLMain::dragEnterEvent(QDragEnterEvent* e) {
    if (e->mimeData()->hasUrls()) e->acceptProposedAction();
}

void TFormXMLMain::dropEvent(QDropEvent* e) {
    QStringList paths;
    for (const QUrl& u : e->mimeData()->urls())
        if (u.isLocalFile()) paths << u.toLocalFile();
    e->acceptProposedAction();
    OpenDroppedFiles(paths);
}

void TFormXMLMain::closeEvent(QCloseEvent* e) {
    if (map_) map_->ClearLayers();
    if (log_) log_->hide();
    File.EmptyDocuments();
    File.CloseWorkingFolder();
    QMainWindow::closeEvent(e);
}

// ---- Opening, checking, saving ----------------------------------------------------------------------

void TFormXMLMain::OpenFileCommand() {
    constexpr int kDialogTag = 1;
    QFileDialog dlg(this, QStringLiteral("Відкрити файл"));
    dlg.setObjectName(QStringLiteral("OpenDialogXML"));
    dlg.setNameFilter(QStringLiteral("XML файли (*.xml)"));
    dlg.setDefaultSuffix(QStringLiteral("xml"));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const QFileInfo preset(File.OpenedFile);
    QString folder = File.OpenedFile.isEmpty() ? QString() : preset.absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = ReadDialogFolder(kDialogTag);
    if (!folder.isEmpty()) dlg.setDirectory(folder);
    if (!File.OpenedFile.isEmpty()) dlg.selectFile(preset.fileName());
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return;
    const QString chosen = dlg.selectedFiles().first();
    WriteDialogFolder(kDialogTag, QFileInfo(chosen).absolutePath());
    File.OpenedFile = chosen;
    OpenChosenFile();
}

bool TFormXMLMain::OpenChosenFile() {
    if (!HasNormativValuationTag(File.OpenedFile)) {
        ShowWarning(QStringLiteral("У файлі відсутній блок NormativValuation"));
        File.OpenedFile.clear();
        return false;
    }

    // Everything of the previous file goes.
    File.SaveAsFile = File.OpenedFile;
    File.NamesFile.clear();
    File.CoordinatesLoaded = false;
    SetFileCaption(QStringLiteral("  ") + File.OpenedFile);
    if (editor_) {
        editor_->SetSaveEnabled(false);
        editor_->CloseEditor();
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ClearNavigator();
    if (map_) {
        map_->CloseMap();
        map_->ClearLayers();
    }
    File.EmptyDocuments();
    File.CloseWorkingFolder();

    bool opened = false;
    const QString workingCopy = NewWorkingCopyPath(File.OpenedFile);
    File.NamesFile = NamesFilePath();
    if (workingCopy.isEmpty()) {
        if (log_) log_->Clear();
        ShowActionLog();
        LogLine(QStringLiteral("Помилка завантаження файлу: ") + LastErrorText);
    } else if (map_ && !map_->PrepareMapForFile(File.OpenedFile)) {
        // The map refused the file: its fresh folder is not kept.
        DeleteFolderTree(QFileInfo(workingCopy).absolutePath());
    } else {
        if (log_) log_->Clear();
        ShowActionLog();
        if (editor_) editor_->SetStructureChanged(false);
        TOpenHooks hooks;
        hooks.LogLine = [this](const QString& text) { LogLine(text); };
        if (map_)
            hooks.BuildMapObjects = [this](ExchangeDocument& doc) { return map_->BuildMapObjects(doc); };
        hooks.RebuildNavigator = [this](ExchangeDocument& doc) { RebuildNavigator(doc); };
        opened = OpenValuationFile(File, File.OpenedFile, workingCopy, hooks);
        if (!opened) {
            File.WorkingCopy.clear();
            ClearNavigator();
        }
    }
    QApplication::restoreOverrideCursor();
    File.Document().Clear();
    CheckCommand();
    return opened;
}

void TFormXMLMain::CheckCommand() {
    TStructureCheckRequest request;
    request.WorkingCopy = File.WorkingCopy;
    if (editor_ && editor_->IsEditorVisible() && editor_->SaveEnabled())
        request.SaveEditorCopy = [this](const QString& path) { return editor_->SaveEditorDocumentAs(path); };
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const TStructureCheck check = RunStructureCheck(request);
    QApplication::restoreOverrideCursor();
    if (check.Outcome == TCheckOutcome::NoFile || check.Outcome == TCheckOutcome::NoTester) {
        ShowInfo(check.Message);
        return;
    }
    if (log_) log_->SetLines(check.ActionLog);
    ShowActionLog();
    if (editor_) editor_->SetStructureChanged(false);
}

void TFormXMLMain::GotoFindingLine(const QString& line, int row) {
    const bool changed = editor_ && editor_->StructureChanged();
    GotoFinding(row, line, changed,
                [this](const QString& location, const QString& element) { ShowInEditor(location, element); });
}

bool TFormXMLMain::SaveWorkingCopy() {
    LastErrorText.clear();
    {
        const TSilentMessagesScope silent;
        if (saver_)
            saver_();
        else
            LastErrorText = QStringLiteral("Збереження робочої копії недоступне.");
    }
    if (LastErrorText.isEmpty()) return true;
    ShowError(QStringLiteral("Отримана помилка тимчасового збереження:\r") + LastErrorText);
    return false;
}

bool TFormXMLMain::ReloadAfterMapEdit() {
    ExchangeDocument& doc = File.Document();
    const QString saveError = QStringLiteral("Отримана помилка тимчасового збереження:\r");
    if (!HasWorkingCopy(true)) {
        ShowError(saveError + QStringLiteral("Файл ще не завантажений."));
        return false;
    }
    // An emptied or unparsed document would wipe the working copy: it is never written.
    if (!doc.IsActive() || !doc.DocumentElement()) {
        ShowError(saveError + QStringLiteral("документ не завантажений, робоча копія залишилась без змін."));
        return false;
    }
    if (!doc.SaveToFile(File.WorkingCopy, doc.SourceEncoding())) {
        ShowError(saveError + LastErrorText);
        doc.Clear();
        return false;
    }
    RebuildNavigator(doc);
    bool ok = true;
    if (map_) {
        map_->RefreshMap();
        const QString readError = QStringLiteral("Отримана помилка тимчасового зчитування:\r");
        try {
            LastErrorText.clear();
            if (!map_->BuildMapObjects(doc)) {
                ShowError(readError + LastErrorText);
                ok = false;
            }
        } catch (const std::exception& e) {
            ShowError(readError + QString::fromUtf8(e.what()));
            ok = false;
        }
    }
    doc.Clear();
    return ok;
}

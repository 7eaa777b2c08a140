#include "map/ui/TFormMapView.h"

#include "app/GlobalVar.h"
#include "app/Settings.h"
#include "common/Ini.h"
#include "common/Messages.h"
#include "common/NumberFormat.h"
#include "common/TextHelpers.h"
#include "exchange/ExchangeDocument.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "map/ViewTransform.h"
#include "map/ui/TMapCanvas.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>
#include <utility>

namespace {

constexpr int kToolRuler = 52;
constexpr int kToolShiftImage = 3;
constexpr int kCursorCross = 36;

const QString kLayerCheckResults = QStringLiteral("Р-ти перевірки");
const QString kErrorOutOfBounds =
    QStringLiteral("Координата не вписується в діапазон допустимих координат вказаної точності.");

QString Fmt4(double v) {
    return FormatFloatPattern(QStringLiteral("0.####"), v);
}

// Coordinates typed into the grid: at most 15 characters, a "," taken for ".".
class TCoordDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& o,
                          const QModelIndex& i) const override {
        QWidget* w = QStyledItemDelegate::createEditor(parent, o, i);
        if (auto* e = qobject_cast<QLineEdit*>(w)) e->setMaxLength(15);
        return w;
    }
};

bool ParseCoord(QString text, double* v) {
    text = text.trimmed().replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    *v = ParseNumber(text, &ok);
    return ok;
}

QStringList WorkingLayers() {
    QStringList names = ThematicLayerNames();
    names << kLayerInfoNumbering << kLayerInfoDistances << kLayerInfoNodes << kLayerCheckResults
          << kLayerTemporary << kLayerCosmetic;
    return names;
}

} // namespace

TFormMapView::TFormMapView(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TFormMapView"));
    setWindowTitle(QStringLiteral("Перегляд меж"));
    resize(1100, 750);
    iniFile_ = GlobalVar().Settings.IniFile;

    Map1 = new TMapCanvas(this);
    TMap& map = Map1->Map();
    map.CreateCustomTool(ToolDrawPoint, ToolKindPoint, kCursorCross);
    map.CreateCustomTool(ToolDrawPolyline, ToolKindPoint, kCursorCross);
    map.CreateCustomTool(ToolDrawRegion, ToolKindPoint, kCursorCross);
    map.CreateCustomTool(kToolRuler, ToolKindPolyline, kCursorCross);
    map.CreateCustomTool(kToolShiftImage, ToolKindPolyline, kCursorCross);
    map.CurrentTool = ToolSelect;
    // The map view keeps coordinates as they are given.
    CoordRounding().PointCoordRoundToUse = false;
    CoordRounding().PointCoordRoundTo = 4;

    PrecisionClass = [] {
        const QString digit = IniReadString(GlobalVar().Settings.IniFile, QStringLiteral("INTERFACE"),
                                            IniKeys::kCoordTo, QStringLiteral("4"));
        const int c = digit.toInt();
        return c >= 2 && c <= 4 ? c : 4;
    };

    BuildActions();
    BuildToolBar();
    BuildPanels();

    connect(Map1, &TMapCanvas::OnSelectionChanged, this, &TFormMapView::SelectionChanged);
    connect(Map1, &TMapCanvas::OnToolUsed, this,
            [this](int tool, double x1, double y1, double x2, double y2, double, bool, bool) {
                ToolUsed(tool, x1, y1, x2, y2);
            });
    connect(Map1, &TMapCanvas::OnPolyToolUsed, this, &TFormMapView::PolyToolUsed);
    connect(Map1, &TMapCanvas::OnMouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers, double x, double y) { MouseDown(b, x, y); });
    connect(Map1, &TMapCanvas::OnMouseMove, this,
            [this](Qt::MouseButtons, Qt::KeyboardModifiers, double x, double y) { MouseMove(x, y); });
    connect(Map1, &TMapCanvas::OnKeyDown, this, [this](int key, Qt::KeyboardModifiers) { KeyDown(key); });
    connect(Map1, &TMapCanvas::OnDblClick, this, [this](double, double) {
        if (drawing_ && (currentTool_ == ToolDrawPolyline || currentTool_ == ToolDrawRegion)) FinishDrawing();
    });
    connect(&Map1->Tools(), &TMapToolController::NodeDragged, this, &TFormMapView::NodeDragged);
    connect(&Map1->Tools(), &TMapToolController::NodeAddRequested, this, &TFormMapView::NodeAddRequested);
    connect(&map, &TMap::LayersChanged, this, &TFormMapView::RefreshLayerList);
    Map1->SetOverlayPainter([this](QPainter& p) { PaintOverlay(p); });
    // The label layers follow the objects; their nodes are not dragged themselves.
    Map1->Tools().NodeLayersSkipped = {kLayerInfoNumbering, kLayerInfoDistances, kLayerInfoNodes,
                                       kLayerCosmetic};

    TimerSelectLayer = new QTimer(this);
    TimerSelectLayer->setObjectName(QStringLiteral("TimerSelectLayer"));
    TimerSelectLayer->setSingleShot(true);
    TimerSelectLayer->setInterval(100);
    connect(TimerSelectLayer, &QTimer::timeout, this,
            [this] { actions_.value(QStringLiteral("POPUP_SELECTDRILL"))->trigger(); });

    recent_.Load(iniFile_);
    RebuildRecentMenu();
    SetTool(ToolSelect);
}

TFormMapView::~TFormMapView() = default;

TMap& TFormMapView::Map() {
    return Map1->Map();
}

// ---- building the window

QAction* TFormMapView::MakeAction(const QString& name, const QString& text, bool checkable) {
    auto* a = new QAction(text, this);
    a->setObjectName(name);
    a->setToolTip(text);
    a->setStatusTip(text);
    a->setCheckable(checkable);
    actions_.insert(name, a);
    return a;
}

void TFormMapView::BuildActions() {
    toolGroup_ = new QActionGroup(this);
    toolGroup_->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    auto tool = [this](const QString& name, const QString& text, int number) {
        QAction* a = MakeAction(name, text, true);
        toolGroup_->addAction(a);
        connect(a, &QAction::triggered, this, [this, number] { SetTool(number); });
        return a;
    };
    tool(QStringLiteral("CmdSelect"), QStringLiteral("Визначити об`єкт"), ToolSelect);
    tool(QStringLiteral("CmdRecenter"), QStringLiteral("Пересування"), ToolPan);
    tool(QStringLiteral("CmdZoomin"), QStringLiteral("Збільшити масштаб"), ToolZoomIn);
    tool(QStringLiteral("cmdZoomout"), QStringLiteral("Зменьшити масштаб"), ToolZoomOut);
    tool(QStringLiteral("cmdRuler"), QStringLiteral("Лінійка"), kToolRuler);
    tool(QStringLiteral("cmdBuildPoint"), QStringLiteral("Намалювати точку (F3 - прив'язка до вузла)"),
         ToolDrawPoint);
    tool(QStringLiteral("cmdBuildLine"),
         QStringLiteral("Намалювати лінію (F3 - прив'язка до вузла, Enter - завершення)"), ToolDrawPolyline);
    tool(QStringLiteral("cmdBuildRegion"),
         QStringLiteral("Намалювати багатокутник (F3 - прив'язка до вузла, Enter - завершення)"),
         ToolDrawRegion);

    zoomMenu_ = new QMenu(this);
    const std::pair<int, int> scales[] = {{500, 5}, {1000, 10}, {2000, 20}, {5000, 50}, {10000, 100}};
    for (auto [scale, factor] : scales) {
        QAction* a =
            MakeAction(QStringLiteral("POPUP_ZOOMTO_%1").arg(scale), QStringLiteral("1:%1").arg(scale));
        zoomMenu_->addAction(a);
        connect(a, &QAction::triggered, this, [this, f = factor] { SetStandardScale(f); });
    }
    QAction* zoomMenu = MakeAction(QStringLiteral("cmdZoomMenu"), QStringLiteral("Стандартний масштаб"));
    zoomMenu->setMenu(zoomMenu_);

    connect(MakeAction(QStringLiteral("cmdRebuild"), QStringLiteral("Поновити надписи згідно масштабу")),
            &QAction::triggered, this, [this] { BuildLabelLayers(true); });

    openMenu_ = new QMenu(this);
    QAction* openMenu = MakeAction(QStringLiteral("cmdOpenMenu"), QStringLiteral("Відкрити додаткову карту"));
    openMenu->setMenu(openMenu_);
    connect(openMenu, &QAction::triggered, this, &TFormMapView::OpenTableDialog);
    connect(MakeAction(QStringLiteral("cmdOpenTab"), QStringLiteral("Відкрити додаткову карту")),
            &QAction::triggered, this, &TFormMapView::OpenTableDialog);

    auto* googleMenu = new QMenu(this);
    QAction* google =
        MakeAction(QStringLiteral("cmdGoogleOpen"), QStringLiteral("Відкрити карту Google (в межах вікна)"));
    google->setMenu(googleMenu);
    googleMenu->addSection(QStringLiteral("Завантажити знімок:"));
    for (const char* s : {"на 1:100", "на 1:500", "на 1:1000", "на 1:2000", "на 1:5000", "на 1:10000"})
        connect(googleMenu->addAction(QString::fromUtf8(s)), &QAction::triggered, this,
                &TFormMapView::ImageryCommand);
    googleMenu->addSeparator();
    for (const char* s : {"Супутник", "Гібрид"}) {
        QAction* a = googleMenu->addAction(QString::fromUtf8(s));
        a->setCheckable(true);
    }
    googleMenu->addSection(QStringLiteral("Дії зі знімком:"));
    for (const char* s : {"Зберегти як", "Змістити знімок"})
        connect(googleMenu->addAction(QString::fromUtf8(s)), &QAction::triggered, this,
                &TFormMapView::ImageryCommand);
    googleMenu->addSeparator();
    connect(googleMenu->addAction(QStringLiteral("Параметри СК-WGS84")), &QAction::triggered, this,
            [this] { RunHandler(QStringLiteral("Параметри СК-WGS84")); });
    connect(googleMenu->addAction(QStringLiteral("Інформація про модуль")), &QAction::triggered, this,
            &TFormMapView::ImageryCommand);
    connect(google, &QAction::triggered, this, &TFormMapView::ImageryCommand);

    QAction* editNodes =
        MakeAction(QStringLiteral("cmdEditNodes"), QStringLiteral("Режим редагування вузлів"), true);
    connect(editNodes, &QAction::toggled, this, &TFormMapView::SetNodeEditing);
    QAction* addNode =
        MakeAction(QStringLiteral("cmdAddNode"),
                   QStringLiteral("Режим додавання вузлів (для кожного об`єкту окремо)"), true);
    connect(addNode, &QAction::toggled, this, [this] {
        if (nodeEditing_) SetNodeEditing(true);
    });
    connect(MakeAction(QStringLiteral("cmdDelNode"),
                       QStringLiteral("Видалити вузол (по всіх хто має таку координату)")),
            &QAction::triggered, this, &TFormMapView::DeleteSelectedNode);

    for (auto [name, text] :
         {std::pair{"cmdObjNew", "Додати блок в XML (та на карту)"},
          std::pair{"cmdObjDel", "Видалити блок з об'єктом в XML та на карті"},
          std::pair{"cmdObjCopyTo", "Копіювати виділений об'єкт у інший (замінити виділеним)"},
          std::pair{"cmdObjGeo", "Геометрія об`єкту"}, std::pair{"cmdLayerInfo", "Налаштування шару"}}) {
        const QString n = QString::fromUtf8(name);
        connect(MakeAction(n, QString::fromUtf8(text)), &QAction::triggered, this,
                [this, n] { RunHandler(n); });
    }
    actions_.value(QStringLiteral("cmdObjGeo"))->setShortcut(Qt::Key_F7);

    auto* coordMenu = new QMenu(this);
    QAction* getCoord =
        MakeAction(QStringLiteral("cmdGetCoord"), QStringLiteral("Побудувати межу ( як тимчасовий об'єкт)"));
    getCoord->setMenu(coordMenu);
    for (const char* s :
         {"Побудувати по координатам", "Імпорт з текстового файлу", "Імпорт з JSON", "Імпорт діл. з IN4"}) {
        const QString n = QString::fromUtf8(s);
        connect(coordMenu->addAction(n), &QAction::triggered, this, [this, n] { RunHandler(n); });
    }

    QAction* snap = MakeAction(QStringLiteral("ACT_SNAP_TO_NODE"), QStringLiteral("F3"));
    snap->setShortcut(Qt::Key_F3);
    snap->setShortcutContext(Qt::WindowShortcut);
    addAction(snap);
    connect(snap, &QAction::triggered, this, &TFormMapView::SnapToNode);
    QAction* drill = MakeAction(QStringLiteral("POPUP_SELECTDRILL"), QStringLiteral("Tab"));
    connect(drill, &QAction::triggered, this, [this] { RunHandler(QStringLiteral("POPUP_SELECTDRILL")); });
    addAction(actions_.value(QStringLiteral("cmdObjGeo")));

    connect(MakeAction(QStringLiteral("cmdLayerFull"), QStringLiteral("Показати шар повністю")),
            &QAction::triggered, this, [this] {
                if (TMapLayer* l = CurrentListLayer()) ZoomToLayer(l->Name);
            });
    connect(MakeAction(QStringLiteral("cmdLayerOnly"), QStringLiteral("Показати саме цей шар")),
            &QAction::triggered, this, &TFormMapView::LayerOnly);
    connect(MakeAction(QStringLiteral("cmdLayerNodes"), QStringLiteral("Показати/Приховати вузли об`єктів")),
            &QAction::triggered, this, &TFormMapView::LayerNodes);
    connect(MakeAction(QStringLiteral("cmdLayerClose"), QStringLiteral("Видалити шар")), &QAction::triggered,
            this, &TFormMapView::LayerClose);
    connect(MakeAction(QStringLiteral("cmdLayerClear"), QStringLiteral("Очистити шар")), &QAction::triggered,
            this, &TFormMapView::LayerClear);
}

void TFormMapView::BuildToolBar() {
    ToolBarCMD = addToolBar(QStringLiteral("ToolBarCMD"));
    ToolBarCMD->setObjectName(QStringLiteral("ToolBarCMD"));
    ToolBarCMD->setMovable(false);
    ToolBarCMD->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto add = [this](const char* name) {
        QAction* a = actions_.value(QString::fromUtf8(name));
        ToolBarCMD->addAction(a);
        if (a->menu())
            if (auto* b = qobject_cast<QToolButton*>(ToolBarCMD->widgetForAction(a)))
                b->setPopupMode(a->objectName() == QLatin1String("cmdOpenMenu") ? QToolButton::MenuButtonPopup
                                                                                : QToolButton::InstantPopup);
    };
    for (const char* n : {"CmdSelect", "CmdRecenter", "CmdZoomin", "cmdZoomout", "cmdZoomMenu", "cmdRuler",
                          "cmdRebuild", "cmdOpenMenu", "cmdGoogleOpen"})
        add(n);
    ToolBarCMD->addSeparator();
    ToolBarCMD->addWidget(new QLabel(QStringLiteral("  Вузли: ")));
    for (const char* n : {"cmdEditNodes", "cmdAddNode", "cmdDelNode"})
        add(n);
    ToolBarCMD->addSeparator();
    ToolBarCMD->addWidget(new QLabel(QStringLiteral("  Блок: ")));
    for (const char* n : {"cmdObjNew", "cmdObjDel", "cmdObjCopyTo"})
        add(n);
    ToolBarCMD->addSeparator();
    ToolBarCMD->addWidget(new QLabel(QStringLiteral("  Межа: ")));
    for (const char* n : {"cmdGetCoord", "cmdBuildPoint", "cmdBuildLine", "cmdBuildRegion"})
        add(n);
    // Short captions on the buttons; the full texts are their hints.
    const QHash<QString, QString> shortText{{QStringLiteral("CmdSelect"), QStringLiteral("Вибір")},
                                            {QStringLiteral("CmdRecenter"), QStringLiteral("Рука")},
                                            {QStringLiteral("CmdZoomin"), QStringLiteral("+")},
                                            {QStringLiteral("cmdZoomout"), QStringLiteral("−")},
                                            {QStringLiteral("cmdZoomMenu"), QStringLiteral("1:M")},
                                            {QStringLiteral("cmdRuler"), QStringLiteral("Лінійка")},
                                            {QStringLiteral("cmdRebuild"), QStringLiteral("Надписи")},
                                            {QStringLiteral("cmdOpenMenu"), QStringLiteral("Карта")},
                                            {QStringLiteral("cmdGoogleOpen"), QStringLiteral("Знімок")},
                                            {QStringLiteral("cmdEditNodes"), QStringLiteral("Ред.")},
                                            {QStringLiteral("cmdAddNode"), QStringLiteral("Дод.")},
                                            {QStringLiteral("cmdDelNode"), QStringLiteral("Вид.")},
                                            {QStringLiteral("cmdObjNew"), QStringLiteral("Дод.")},
                                            {QStringLiteral("cmdObjDel"), QStringLiteral("Вид.")},
                                            {QStringLiteral("cmdObjCopyTo"), QStringLiteral("Копія")},
                                            {QStringLiteral("cmdGetCoord"), QStringLiteral("Коорд.")},
                                            {QStringLiteral("cmdBuildPoint"), QStringLiteral("Точка")},
                                            {QStringLiteral("cmdBuildLine"), QStringLiteral("Лінія")},
                                            {QStringLiteral("cmdBuildRegion"), QStringLiteral("Полігон")}};
    // A button shows its action's icon text and keeps it when the action changes (pressed or not).
    for (auto it = shortText.begin(); it != shortText.end(); ++it)
        if (QAction* a = actions_.value(it.key())) {
            const QString hint = a->text();
            a->setIconText(it.value());
            a->setToolTip(hint);
        }
}

void TFormMapView::BuildPanels() {
    PanelTable = new QFrame(this);
    PanelTable->setObjectName(QStringLiteral("PanelTable"));
    auto* left = new QVBoxLayout(PanelTable);
    left->setContentsMargins(2, 2, 2, 2);
    auto* layersCaption = new QLabel(QStringLiteral(" Шари:"), PanelTable);
    left->addWidget(layersCaption);
    ListMapLayers = new QListWidget(PanelTable);
    ListMapLayers->setObjectName(QStringLiteral("ListMapLayers"));
    ListMapLayers->setContextMenuPolicy(Qt::CustomContextMenu);
    left->addWidget(ListMapLayers, 2);
    connect(ListMapLayers, &QListWidget::itemChanged, this, &TFormMapView::LayerItemChanged);
    layerMenu_ = new QMenu(this);
    for (const char* n :
         {"cmdLayerFull", "cmdLayerOnly", "cmdLayerNodes", "cmdLayerClose", "cmdLayerClear", "cmdLayerInfo"})
        layerMenu_->addAction(actions_.value(QString::fromUtf8(n)));
    connect(ListMapLayers, &QListWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { layerMenu_->popup(ListMapLayers->viewport()->mapToGlobal(pos)); });

    PageControl = new QTabWidget(PanelTable);
    PageControl->setObjectName(QStringLiteral("PageControl1"));
    GridCords = new QTableWidget(0, 6, PageControl);
    GridCords->setObjectName(QStringLiteral("GridCords"));
    GridCords->setHorizontalHeaderLabels({QStringLiteral("№"), QStringLiteral("Таблиця"), QStringLiteral("X"),
                                          QStringLiteral("Y"), QString(), QString()});
    GridCords->setColumnHidden(4, true);
    GridCords->setColumnHidden(5, true);
    GridCords->verticalHeader()->hide();
    GridCords->setItemDelegate(new TCoordDelegate(GridCords));
    GridCords->horizontalHeader()->setStretchLastSection(false);
    GridCords->setWordWrap(false);
    GridCords->verticalHeader()->setDefaultSectionSize(GridCords->fontMetrics().height() + 6);
    GridCords->setColumnWidth(0, 36);
    GridCords->setColumnWidth(1, 110);
    GridCords->setColumnWidth(2, 92);
    GridCords->setColumnWidth(3, 92);
    // The layer name takes what the coordinates leave.
    GridCords->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    connect(GridCords, &QTableWidget::cellChanged, this, &TFormMapView::GridCordsChanged);
    GridFields = new QTableWidget(0, 3, PageControl);
    GridFields->setObjectName(QStringLiteral("GridFields"));
    GridFields->setHorizontalHeaderLabels(
        {QStringLiteral("№"), QStringLiteral("Поле"), QStringLiteral("Значення")});
    GridFields->verticalHeader()->hide();
    GridFields->setWordWrap(false);
    GridFields->verticalHeader()->setDefaultSectionSize(GridFields->fontMetrics().height() + 6);
    GridFields->setEditTriggers(QAbstractItemView::NoEditTriggers);
    GridFields->horizontalHeader()->setStretchLastSection(true);
    GridFields->setColumnWidth(0, 40);
    PageControl->addTab(GridCords, QStringLiteral("Координати"));
    PageControl->addTab(GridFields, QStringLiteral("Семантика"));
    left->addWidget(PageControl, 3);

    auto* right = new QWidget(this);
    auto* rl = new QVBoxLayout(right);
    rl->setContentsMargins(0, 0, 0, 0);
    rl->setSpacing(0);
    LabelMapStatus = new QLabel(right);
    LabelMapStatus->setObjectName(QStringLiteral("LabelMapStatus"));
    rl->addWidget(LabelMapStatus);
    ErrorPanel = new QFrame(right);
    ErrorPanel->setObjectName(QStringLiteral("ErrorPanel"));
    ErrorPanel->setStyleSheet(
        QStringLiteral("#ErrorPanel { background: #ffe0e0; border: 1px solid #c00000; }"));
    auto* el = new QHBoxLayout(ErrorPanel);
    ErrorPanelMsg = new QLabel(
        QStringLiteral("Координата не вписується в діапазон допустимих координат вказаної точності"),
        ErrorPanel);
    ErrorPanelMsg->setObjectName(QStringLiteral("ErrorPanelMsg"));
    ErrorPanelMsg->setWordWrap(true);
    BErrorPanelClose = new QPushButton(QStringLiteral("Закрити вікно"), ErrorPanel);
    BErrorPanelClose->setObjectName(QStringLiteral("BErrorPanelClose"));
    connect(BErrorPanelClose, &QPushButton::clicked, ErrorPanel, &QWidget::hide);
    el->addWidget(ErrorPanelMsg, 1);
    el->addWidget(BErrorPanelClose);
    ErrorPanel->hide();
    rl->addWidget(ErrorPanel);
    rl->addWidget(Map1, 1);

    auto* split = new QSplitter(Qt::Horizontal, this);
    split->addWidget(PanelTable);
    split->addWidget(right);
    split->setStretchFactor(1, 1);
    split->setSizes({350, 750});
    setCentralWidget(split);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    setStatusBar(StatusBar1);

    mapMenu_ = new QMenu(this);
    mapMenu_->addAction(actions_.value(QStringLiteral("cmdObjGeo")));
    mapMenu_->addAction(actions_.value(QStringLiteral("POPUP_SELECTDRILL")));
    Map1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(Map1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { mapMenu_->popup(Map1->mapToGlobal(pos)); });
}

// ---- operations

bool TFormMapView::IsMapVisible() const {
    return isVisible();
}

void TFormMapView::ShowMap() {
    show();
    raise();
    activateWindow();
}

void TFormMapView::CloseMap() {
    close();
}

TMapLayer* TFormMapView::FindLayer(const QString& name) const {
    return Map1->Map().FindLayer(name);
}

bool TFormMapView::PrepareMapForFile(const QString& file) {
    try {
        const bool ok = PrecisionClass ? ::PrepareMapForFile(Map(), file, PrecisionClass())
                                       : ::PrepareMapForFile(Map(), file);
        // The layers node editing was switched on for are gone, and so is the picked node.
        if (nodeEditing_) SetNodeEditing(false);
        SetTool(ToolSelect);
        LabelMapStatus->clear();
        GridCords->setRowCount(0);
        GridFields->setRowCount(0);
        selected_ = {};
        selectedOrdinal_ = -1;
        if (TMapLayer* l = FindLayer(kLayerInfoNumbering)) l->Editable = true;
        if (TMapLayer* l = FindLayer(kLayerInfoDistances)) l->Editable = true;
        RefreshLayerList();
        Map1->Refresh();
        return ok;
    } catch (const TMapError& e) {
        LastErrorText = e.Text();
        throw;
    }
}

void TFormMapView::ClearStandardLayers() {
    for (const QString& name : ClearableLayerNames()) {
        try {
            if (TMapLayer* l = FindLayer(name)) l->DeleteAllFeatures();
        } catch (const TMapError& e) {
            ShowError(CommandFailureText(
                QStringLiteral("Операція: Очищення шару \"") + name + QStringLiteral("\""), e.Text()));
        }
    }
    Map1->Refresh();
}

bool TFormMapView::BuildMapObjects(ExchangeDocument& document) {
    ClearStandardLayers();
    const TMapObjectsResult r = BuildMapObjectsFromExchangeFile(Map(), document, [this](const QString& line) {
        if (LogLine) LogLine(line);
    });
    if (isVisible()) {
        ZoomToLayer(kLayerOcDilanka);
        BuildLabelLayers(true);
    }
    RefreshMap();
    return r.CoordinatesLoaded;
}

void TFormMapView::RefreshMap() {
    RefreshLayerList();
    Map1->Refresh();
}

void TFormMapView::SelectMapObject(const QString& layerName, int number, int district) {
    TMapLayer* layer = FindLayer(layerName);
    if (!layer) return;
    const QString parent = layerName == kLayerAgroGroup ? QString::number(district) : QString();
    const TFeatureKey key = FindMapObject(*layer, number, parent);
    if (key == kNoFeature) return;
    syncing_ = true;
    {
        TSelectionUpdate batch(Map());
        Map().ClearSelection();
        layer->SelectionReplace({key});
    }
    syncing_ = false;
    // Bring the object into view when it lies outside.
    const TMapRect b = layer->Feature(key).Bounds();
    if (!TViewTransform::FromMap(Map()).VisibleRect().Contains(b))
        ZoomToRect(Map(), b.Inflated(b.Width() * 0.2 + 1));
}

void TFormMapView::SetCommandHandler(const QString& name, std::function<void()> handler) {
    handlers_.insert(name, std::move(handler));
}

void TFormMapView::RunHandler(const QString& name) {
    if (auto h = handlers_.value(name)) h();
}

// ---- tools

void TFormMapView::SetTool(int tool) {
    if (drawing_) CancelDrawing();
    currentTool_ = tool;
    Map().CurrentTool = tool;
    Map1->Tools().Reset();
    rulerDistance_ = 0;
    const QHash<int, QString> buttons{{ToolSelect, QStringLiteral("CmdSelect")},
                                      {ToolPan, QStringLiteral("CmdRecenter")},
                                      {ToolZoomIn, QStringLiteral("CmdZoomin")},
                                      {ToolZoomOut, QStringLiteral("cmdZoomout")},
                                      {kToolRuler, QStringLiteral("cmdRuler")},
                                      {ToolDrawPoint, QStringLiteral("cmdBuildPoint")},
                                      {ToolDrawPolyline, QStringLiteral("cmdBuildLine")},
                                      {ToolDrawRegion, QStringLiteral("cmdBuildRegion")}};
    if (QAction* a = actions_.value(buttons.value(tool))) a->setChecked(true);
    if (IsDrawingTool(tool)) {
        if (TMapLayer* l = FindLayer(kLayerTemporary)) l->Editable = true;
    }
}

void TFormMapView::SetStandardScale(int factor) {
    ::SetStandardScale(Map(), factor, Map1->ScreenWidthCm());
}

void TFormMapView::ZoomToLayer(const QString& name) {
    TMapLayer* l = FindLayer(name);
    if (!l || l->FeatureCount() == 0) return;
    const TMapRect b = l->Bounds();
    ZoomToRect(Map(), b.Inflated(std::max(b.Width(), b.Height()) * 0.08 + 0.5));
}

void TFormMapView::MouseDown(Qt::MouseButton button, double x, double y) {
    lastMouse_ = TMapPoint(RoundTo4(x), RoundTo4(y));
    if (button == Qt::LeftButton)
        StatusBar1->showMessage(QStringLiteral(" Координата  Х: ") + FormatDecimals(lastMouse_.x, 4) +
                                QStringLiteral("  Y: ") + FormatDecimals(lastMouse_.y, 4));
}

void TFormMapView::MouseMove(double x, double y) {
    lastMouse_ = TMapPoint(RoundTo4(x), RoundTo4(y));
    if (drawing_) Map1->update();
}

void TFormMapView::ToolUsed(int tool, double x1, double y1, double, double) {
    if (!IsDrawingTool(tool) || tool == kToolRuler) return;
    AddDrawingPoint(TMapPoint(RoundTo4(x1), RoundTo4(y1)));
}

void TFormMapView::AddDrawingPoint(const TMapPoint& p) {
    if (!Map().InsideNumericBounds(p)) {
        ErrorPanelMsg->setText(kErrorOutOfBounds);
        ErrorPanel->show();
        StatusBar1->showMessage(kErrorOutOfBounds);
        return;
    }
    drawPoints_.push_back(p);
    if (!drawing_) {
        drawing_ = true;
        if (TMapLayer* cosmetic = FindLayer(kLayerCosmetic)) {
            TMapStyle marker = DefaultMapStyle();
            marker.SymbolType = SymbolVector;
            marker.SymbolCharacter = 49;
            marker.SymbolVectorColor = MapRgb(255, 0, 0);
            marker.SymbolVectorSize = 10;
            try {
                cosmetic->AddFeature(TMapFeature::MakePoint(p, marker));
            } catch (const TMapError&) {
            }
        }
        Map1->Refresh();
    }
    if (currentTool_ == ToolDrawPoint) FinishDrawing();
    Map1->update();
}

void TFormMapView::FinishDrawing() {
    TMapPoints points = drawPoints_;
    const int tool = currentTool_;
    drawPoints_.clear();
    drawing_ = false;
    ClearCosmetic();
    TMapLayer* target = FindLayer(kLayerTemporary);
    if (target && !points.empty()) {
        try {
            if (auto f = BuildFeatureFromPoints(tool, points, target->Style)) target->AddFeature(*f);
        } catch (const TMapError& e) {
            ShowError(QStringLiteral("MapX \"Створення об'єкта\"") + QStringLiteral("\r") + e.Text());
        }
    }
    Map1->Refresh();
}

void TFormMapView::CancelDrawing() {
    drawPoints_.clear();
    drawing_ = false;
    ClearCosmetic();
    Map1->Refresh();
}

void TFormMapView::ClearCosmetic() {
    if (TMapLayer* cosmetic = FindLayer(kLayerCosmetic)) cosmetic->DeleteAllFeatures();
}

void TFormMapView::KeyDown(int key) {
    // Tab on the map: the choice among the objects under the cursor, once the key is handled.
    if (key == Qt::Key_Tab) {
        TimerSelectLayer->start();
        return;
    }
    if (!drawing_) return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        FinishDrawing();
    else if (key == Qt::Key_Escape)
        CancelDrawing();
}

void TFormMapView::PolyToolUsed(int tool, int flags, const TMapPoints& points) {
    if (tool != kToolRuler) return;
    double total = 0;
    for (size_t i = 1; i < points.size(); ++i)
        total += MapDistance(Map(), points[i - 1].x, points[i - 1].y, points[i].x, points[i].y);
    rulerDistance_ = total;
    if (points.size() >= 2 || flags == PolyToolEnd)
        LabelMapStatus->setText(QStringLiteral("Відстань: ") +
                                FormatDecimals(total, LabelLayerSettings().DistanceDecimals) +
                                QStringLiteral(" м"));
}

void TFormMapView::PaintOverlay(QPainter& p) {
    const TViewTransform view = TViewTransform::FromMap(Map());
    if (!drawPoints_.empty()) {
        QPolygonF line;
        for (const TMapPoint& pt : drawPoints_)
            line << view.ToScreen(pt);
        line << view.ToScreen(lastMouse_);
        if (currentTool_ == ToolDrawRegion && drawPoints_.size() >= 2)
            line << view.ToScreen(drawPoints_.front());
        p.setPen(QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(line);
        p.setPen(QPen(QColor(200, 0, 0), 1));
        p.setBrush(Qt::white);
        for (const TMapPoint& pt : drawPoints_)
            p.drawEllipse(view.ToScreen(pt), 3, 3);
    }
}

// ---- snapping

void TFormMapView::SnapToNode() {
    TMap& map = Map();
    const double r = SnapRadius(map, Map1->ScreenWidthCm());
    const TMapPoint centre = lastMouse_;
    TMapLayer* cosmetic = FindLayer(kLayerCosmetic);
    TFeatureKey circleKey = kNoFeature;
    if (cosmetic) {
        TMapPoints ring;
        for (int i = 0; i <= 36; ++i)
            ring.emplace_back(centre.x + r * std::cos(i * M_PI / 18), centre.y + r * std::sin(i * M_PI / 18));
        TMapStyle s = DefaultMapStyle();
        s.RegionPattern = FillNone;
        s.RegionBorderStyle = LineSolid;
        s.RegionBorderColor = MapRgb(255, 0, 0);
        try {
            circleKey = cosmetic->AddFeature(TMapFeature::MakeRegion(ring, s));
        } catch (const TMapError&) {
        }
        Map1->Refresh();
        Map1->repaint();
        QEventLoop wait;
        QTimer::singleShot(100, &wait, &QEventLoop::quit);
        wait.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const TMapFeatureRef skip =
        cosmetic && circleKey != kNoFeature ? TMapFeatureRef{cosmetic, circleKey} : TMapFeatureRef{};
    const TSnapResult found = FindSnapNode(map, centre, r, skip);
    if (cosmetic && circleKey != kNoFeature && cosmetic->HasFeature(circleKey))
        cosmetic->DeleteFeature(circleKey);
    Map1->Refresh();
    if (!found.FeatureFound) {
        ShowWarning(QStringLiteral("Об'єкт для прив'язки не знайдений."));
        return;
    }
    if (!found.NodeFound) {
        ShowWarning(QStringLiteral("Вузол для прив'язки не знайдений."));
        return;
    }
    lastMouse_ = found.Node;
    if (IsDrawingTool(currentTool_) && currentTool_ != kToolRuler) {
        AddDrawingPoint(found.Node);
        return;
    }
    // As if the left button were pressed at the node.
    const QPointF at = Map1->MapToScreen(found.Node);
    MouseDown(Qt::LeftButton, found.Node.x, found.Node.y);
    Map1->Tools().MousePress(at, Qt::LeftButton, Qt::NoModifier);
    Map1->Tools().MouseRelease(at, Qt::LeftButton, Qt::NoModifier);
}

// ---- selection and the grids

void TFormMapView::SelectionChanged() {
    GridCords->setRowCount(0);
    GridFields->setRowCount(0);
    selectedOrdinal_ = -1;
    selected_ = {};
    selectedLayer_.clear();
    std::vector<TMapFeatureRef> picked;
    TMap& map = Map();
    for (int i = 0; i < map.LayerCount(); ++i) {
        TMapLayer* l = map.LayerAt(i);
        if (l->Kind != TLayerKind::Normal || !l->Visible || !l->Selectable) continue;
        for (TFeatureKey k : l->Selection())
            if (l->Feature(k).IsPlain()) picked.push_back({l, k});
    }
    if (picked.size() != 1) return;
    selected_ = picked.front();
    TMapLayer* layer = selected_.Layer;
    selectedLayer_ = layer->Name;
    selectedParent_ = layer->Dataset().Text(selected_.Key, QStringLiteral("parent"));
    if (selectedParent_.isEmpty()) selectedParent_ = QStringLiteral("1");
    const bool thematic = ThematicLayerNames().contains(layer->Name, Qt::CaseInsensitive);
    if (thematic) {
        int ordinal = 0;
        for (TFeatureKey k : layer->FeatureKeys()) {
            QString parent = layer->Dataset().Text(k, QStringLiteral("parent"));
            if (parent.isEmpty()) parent = QStringLiteral("1");
            if (parent == selectedParent_) ++ordinal;
            if (k == selected_.Key) break;
        }
        selectedOrdinal_ = ordinal;
    }
    FillGrids();
    if (nodeEditing_ || syncing_ || !thematic) return;
    if (layer->Name == kLayerTerrZone || layer->Name == kLayerOcDilanka) selectedOrdinal_ = 1;
    if (NavigatorLink) NavigatorLink(layer->Name, selectedOrdinal_, selectedParent_.toInt());
}

void TFormMapView::FillGrids() {
    fillingGrid_ = true;
    GridCords->setRowCount(0);
    GridFields->setRowCount(0);
    if (!selected_.IsValid()) {
        fillingGrid_ = false;
        return;
    }
    const TMapFeature& f = *selected_.Feature();
    auto cell = [](const QString& text, bool editable) {
        auto* item = new QTableWidgetItem(text);
        if (!editable) item->setFlags(item->flags() & ~Qt::ItemIsEditable);
        return item;
    };
    for (int p = 0; p < f.PartCount(); ++p) {
        const TMapPoints& part = f.Parts[static_cast<size_t>(p)];
        size_t count = part.size();
        if (f.Type == TFeatureType::Region && count > 1 && part.front() == part.back()) --count;
        for (size_t n = 0; n < count; ++n) {
            const int row = GridCords->rowCount();
            GridCords->insertRow(row);
            const QString number =
                p == 0 ? QString::number(n + 1) : QStringLiteral("%1-%2").arg(p + 1).arg(n + 1);
            GridCords->setItem(row, 0, cell(number, false));
            GridCords->setItem(row, 1, cell(selected_.Layer->Name, false));
            GridCords->setItem(row, 2, cell(Fmt4(part[n].x), true));
            GridCords->setItem(row, 3, cell(Fmt4(part[n].y), true));
            GridCords->setItem(row, 4, cell(QString::number(p), false));
            GridCords->setItem(row, 5, cell(QString::number(n), false));
        }
    }
    const TMapDataset& ds = selected_.Layer->Dataset();
    for (int i = 0; i < ds.FieldCount(); ++i) {
        GridFields->insertRow(i);
        GridFields->setItem(i, 0, cell(QString::number(i + 1), false));
        GridFields->setItem(i, 1, cell(ds.Fields()[static_cast<size_t>(i)].Name, false));
        GridFields->setItem(i, 2,
                            cell(ds.Text(selected_.Key, ds.Fields()[static_cast<size_t>(i)].Name), false));
    }
    fillingGrid_ = false;
}

void TFormMapView::GridCordsChanged(int row, int column) {
    if (fillingGrid_ || (column != 2 && column != 3) || !selected_.IsValid()) return;
    auto text = [this, row](int c) {
        return GridCords->item(row, c) ? GridCords->item(row, c)->text() : QString();
    };
    double x = 0, y = 0;
    if (!ParseCoord(text(2), &x) || !ParseCoord(text(3), &y)) {
        // Not a coordinate: the node stays and the grid shows it again.
        QTimer::singleShot(0, this, [this] { FillGrids(); });
        return;
    }
    // The old position is the node itself: the cells only show it rounded.
    const int part = text(4).toInt(), node = text(5).toInt();
    const TMapFeature& f = *selected_.Feature();
    if (part < 0 || part >= f.PartCount() || node < 0 ||
        node >= static_cast<int>(f.Parts[static_cast<size_t>(part)].size()))
        return;
    const TMapPoint old = f.Parts[static_cast<size_t>(part)][static_cast<size_t>(node)];
    const TMapPoint moved(x, y);
    if (RoundTo4(moved.x) == RoundTo4(old.x) && RoundTo4(moved.y) == RoundTo4(old.y)) return;
    QStringList layers = ThematicLayerNames();
    if (!layers.contains(selected_.Layer->Name, Qt::CaseInsensitive)) layers << selected_.Layer->Name;
    const TNodeEditResult r = MoveSharedNode(Map(), layers, old, moved);
    if (!r.Ok)
        ShowError(QStringLiteral("На шарі \"") + r.FailedLayer +
                  QStringLiteral("\" помилка редагування об`єкту."));
    AfterGeometryEdit();
}

void TFormMapView::AfterGeometryEdit() {
    BuildLabelLayers(true);
    QTimer::singleShot(0, this, [this] { FillGrids(); });
    Map1->Refresh();
}

// ---- node editing

void TFormMapView::SetNodeEditing(bool on) {
    nodeEditing_ = on;
    if (QAction* a = actions_.value(QStringLiteral("cmdEditNodes")); a && a->isChecked() != on) {
        QSignalBlocker b(a);
        a->setChecked(on);
    }
    TMap& map = Map();
    const QStringList keepEditable{kLayerInfoDistances, kLayerInfoNumbering, kLayerCheckResults};
    for (int i = 0; i < map.LayerCount(); ++i) {
        TMapLayer* l = map.LayerAt(i);
        if (!l->IsMemoryTable()) continue;
        if (on) {
            if (l->Visible && l->Selectable) l->Editable = true;
        } else if (!keepEditable.contains(l->Name, Qt::CaseInsensitive)) {
            l->Editable = false;
        }
    }
    const bool adding = actions_.value(QStringLiteral("cmdAddNode"))->isChecked();
    map.FeatureEditMode = on ? (adding ? EditModeAddNodes : EditModeNodes) : EditModeObjects;
    map.SnapToNodeSupport = on;
    if (!on) Map1->Tools().ClearSelectedNode();
    Map1->update();
}

void TFormMapView::NodeDragged(const TNodeHit& node, const TMapPoint& moved) {
    if (!node.Feature.IsValid()) return;
    const TMapPoint to(RoundTo4(moved.x), RoundTo4(moved.y));
    QStringList layers = ThematicLayerNames();
    const bool thematic = layers.contains(node.Feature.Layer->Name, Qt::CaseInsensitive);
    if (!thematic) {
        // A node of an auxiliary object moves alone.
        TMapFeature f = *node.Feature.Feature();
        f.Parts.at(static_cast<size_t>(node.Part)).at(static_cast<size_t>(node.Node)) = to;
        TMapPoints& part = f.Parts[static_cast<size_t>(node.Part)];
        if (f.Type == TFeatureType::Region && node.Node == 0 && part.size() > 1 && part.back() == node.Point)
            part.back() = to;
        try {
            node.Feature.Layer->UpdateFeature(node.Feature.Key, f);
        } catch (const TMapError&) {
            ShowError(QStringLiteral("На шарі \"") + node.Feature.Layer->Name +
                      QStringLiteral("\" помилка редагування об`єкту."));
        }
    } else {
        const TNodeEditResult r = MoveSharedNode(Map(), layers, node.Point, to);
        if (!r.Ok)
            ShowError(QStringLiteral("На шарі \"") + r.FailedLayer +
                      QStringLiteral("\" помилка редагування об`єкту."));
    }
    // The node stays picked where it now is.
    TNodeHit picked = node;
    picked.Point = to;
    Map1->Tools().SetSelectedNode(picked);
    AfterGeometryEdit();
}

void TFormMapView::NodeAddRequested(const TNodeHit& side, const TMapPoint& at) {
    try {
        InsertNodeAfter(side, TMapPoint(RoundTo4(at.x), RoundTo4(at.y)));
    } catch (const TMapError&) {
        ShowError(QStringLiteral("На шарі \"") + side.Feature.Layer->Name +
                  QStringLiteral("\" помилка редагування об`єкту."));
    }
    AfterGeometryEdit();
}

void TFormMapView::DeleteSelectedNode() {
    if (!nodeEditing_) return;
    const auto& node = Map1->Tools().SelectedNode();
    if (!node) {
        ShowWarning(QStringLiteral("Програма не визначила виділений вузол. Повторіть ще раз."));
        return;
    }
    // A node of a thematic object goes from every thematic object that has it; a node of an
    // auxiliary object (a temporary or an extra map object) only from its own layer.
    const bool own = node->Feature.IsValid() &&
                     !ThematicLayerNames().contains(node->Feature.Layer->Name, Qt::CaseInsensitive);
    const QStringList layers = own ? QStringList{node->Feature.Layer->Name} : ThematicLayerNames();
    const TNodeEditResult r = DeleteSharedNode(Map(), layers, node->Point);
    if (!r.Ok) {
        ShowError(QStringLiteral("На шарі \"") + r.FailedLayer +
                  QStringLiteral("\" помилка видалення вузлів (2-3 повинно залишиться)."));
        return;
    }
    if (r.Changed == 0) {
        ShowWarning(QStringLiteral("Програма не визначила виділений вузол. Повторіть ще раз."));
        Map1->Tools().ClearSelectedNode();
        return;
    }
    Map1->Tools().ClearSelectedNode();
    AfterGeometryEdit();
}

// ---- label layers

void TFormMapView::BuildLabelLayers(bool rebuild, const QString& failurePrefix) {
    TMap& map = Map();
    TMapLayer* plotLayer = FindLayer(kLayerOcDilanka);
    const TMapFeature* plot =
        plotLayer && plotLayer->FeatureCount() > 0 ? plotLayer->FindFeature(plotLayer->KeyAt(0)) : nullptr;
    const double mm = MapUnitsPerScreenMm(map, Map1->ScreenWidthCm());
    const TLabelLayerSettings& settings = LabelLayerSettings();
    struct Builder {
        QString layer, operation;
        std::function<void(TMapLayer&)> build;
    };
    const std::vector<Builder> builders{
        {kLayerInfoNumbering, QStringLiteral("Операція: Нумерація"),
         [&](TMapLayer& l) { BuildNumberingLabels(l, *plot, mm * settings.OffsetFactor, settings); }},
        {kLayerInfoDistances, QStringLiteral("Операція: Створення промірів"),
         [&](TMapLayer& l) {
             BuildDistanceLabels(map, l, *plot, mm * settings.OffsetFactor * 0.6, settings);
         }},
        {kLayerInfoNodes, QStringLiteral("Операція: Створення вузлів"),
         [&](TMapLayer& l) { BuildNodeMarkers(l, *plot, XmlStyles().StyleNode); }},
    };
    for (const Builder& b : builders) {
        TMapLayer* layer = FindLayer(b.layer);
        if (!layer) continue;
        try {
            if (rebuild) layer->DeleteAllFeatures();
            if (!plot || plot->Type != TFeatureType::Region || layer->FeatureCount() > 0 || !layer->Visible)
                continue;
            try {
                b.build(*layer);
            } catch (const TMapError& e) {
                throw TMapError(CommandFailureText(b.operation, e.Text()));
            }
        } catch (const TMapError& e) {
            ShowError(
                (failurePrefix.isEmpty() ? QStringLiteral("Налагоджування вигляду мапи: ") : failurePrefix) +
                e.Text());
            break;
        }
    }
    Map1->Refresh();
}

// ---- layer list

void TFormMapView::RefreshLayerList() {
    fillingList_ = true;
    const QString current = ListMapLayers->currentItem() ? ListMapLayers->currentItem()->text() : QString();
    ListMapLayers->clear();
    TMap& map = Map();
    for (int i = 0; i < map.LayerCount(); ++i) {
        TMapLayer* l = map.LayerAt(i);
        auto* item = new QListWidgetItem(l->Name, ListMapLayers);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(l->Visible ? Qt::Checked : Qt::Unchecked);
        if (l->Name == current) ListMapLayers->setCurrentItem(item);
    }
    fillingList_ = false;
}

TMapLayer* TFormMapView::CurrentListLayer() const {
    QListWidgetItem* item = ListMapLayers->currentItem();
    return item ? FindLayer(item->text()) : nullptr;
}

void TFormMapView::LayerItemChanged(QListWidgetItem* item) {
    if (fillingList_ || !item) return;
    TMapLayer* l = FindLayer(item->text());
    if (!l) return;
    const bool visible = item->checkState() == Qt::Checked;
    if (l->Visible == visible) return;
    l->Visible = visible;
    const bool labelLayer =
        l->Name == kLayerInfoNumbering || l->Name == kLayerInfoDistances || l->Name == kLayerInfoNodes;
    if (visible && labelLayer && l->FeatureCount() == 0)
        BuildLabelLayers(false, QStringLiteral("Відображення шару: "));
    Map1->Refresh();
}

void TFormMapView::LayerOnly() {
    TMapLayer* only = CurrentListLayer();
    if (!only) return;
    TMap& map = Map();
    for (int i = 0; i < map.LayerCount(); ++i)
        map.LayerAt(i)->Visible = map.LayerAt(i) == only;
    RefreshLayerList();
    Map1->Refresh();
}

void TFormMapView::LayerNodes() {
    if (TMapLayer* l = CurrentListLayer()) {
        l->ShowNodes = !l->ShowNodes;
        Map1->Refresh();
    }
}

void TFormMapView::LayerClose() {
    TMapLayer* l = CurrentListLayer();
    if (!l) return;
    if (WorkingLayers().contains(l->Name, Qt::CaseInsensitive)) {
        ShowWarning(QStringLiteral("Не можливо видалити робочий шар."));
        return;
    }
    if (const auto& node = Map1->Tools().SelectedNode(); node && node->Feature.Layer == l)
        Map1->Tools().ClearSelectedNode();
    Map().RemoveLayer(l);
    RefreshLayerList();
    Map1->Refresh();
}

void TFormMapView::LayerClear() {
    TMapLayer* l = CurrentListLayer();
    if (!l) return;
    if (l->Name != kLayerTemporary) {
        ShowWarning(QStringLiteral("Очистити можно тільки тимчасовий шар."));
        return;
    }
    l->DeleteAllFeatures();
    Map1->Refresh();
}

// ---- map tables

int TFormMapView::OpenTableFiles(const QStringList& paths) {
    int opened = 0;
    for (const QString& path : paths) {
        TMapLayer* layer = OpenMapTable(Map(), path, true);
        if (!layer) {
            ShowError(QStringLiteral("Відкривання карти \"") + QFileInfo(path).fileName() +
                      QStringLiteral("\"\rПомилка: ") + LastErrorText);
            break;
        }
        ++opened;
        recent_.Add(path);
    }
    if (opened > 0) {
        recent_.Save(iniFile_);
        RebuildRecentMenu();
    }
    RefreshLayerList();
    Map1->Refresh();
    return opened;
}

void TFormMapView::OpenTableDialog() {
    const QString key = QStringLiteral("Initial5");
    const QString folder = IniReadString(iniFile_, QStringLiteral("Dlgs"), key, QString());
    const QStringList files = QFileDialog::getOpenFileNames(
        this, QStringLiteral("Відкрити карту"), folder,
        QStringLiteral(
            "Mapinfo table (*.tab);;ESRI shp (точніть до 2х знаків) (*.shp);;GeoJSON (*.geojson *.json)"));
    if (files.isEmpty()) return;
    IniWriteString(iniFile_, QStringLiteral("Dlgs"), key, QFileInfo(files.first()).absolutePath());
    OpenTableFiles(files);
}

void TFormMapView::RebuildRecentMenu() {
    openMenu_->clear();
    openMenu_->addAction(actions_.value(QStringLiteral("cmdOpenTab")));
    openMenu_->addSeparator();
    for (int i = 0; i < recent_.Paths().size(); ++i) {
        const QString path = recent_.Paths()[i];
        QAction* a = openMenu_->addAction(ShortenMiddle(path, 50));
        a->setToolTip(path);
        a->setStatusTip(path);
        if (!QFileInfo::exists(path)) a->setIcon(style()->standardIcon(QStyle::SP_MessageBoxWarning));
        connect(a, &QAction::triggered, this, [this, i] { OpenRecent(i); });
    }
}

void TFormMapView::OpenRecent(int index) {
    if (index < 0 || index >= recent_.Paths().size()) return;
    const QString path = recent_.Paths()[index];
    if (OpenMapTable(Map(), path, true)) {
        RefreshLayerList();
        Map1->Refresh();
        return;
    }
    const TMsgButton answer = AskConfirm(QStringLiteral("Відкривання карти \"") + QFileInfo(path).fileName() +
                                         QStringLiteral("\"\rПомилка: ") + LastErrorText +
                                         QStringLiteral("\r") + QStringLiteral("\rВидалити файл зі списку?"));
    if (answer == TMsgButton::Yes) {
        recent_.Remove(index);
        recent_.Save(iniFile_);
        RebuildRecentMenu();
    }
}

void TFormMapView::ImageryCommand() {
    const QString browser = GlobalVar().Settings.ProgramDir + QStringLiteral("/dcef3/libcef.dll");
    if (!QFileInfo::exists(browser)) {
        ShowWarning(QStringLiteral("Модуль знімків не встановлений: відсутній файл ") + browser);
        return;
    }
    ShowWarning(QStringLiteral(
        "Модуль знімків не встановлений: програма bwrgooglesearch.exe не працює в цій системі."));
}

// ---- window

void TFormMapView::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (e->spontaneous() || Map().LayerCount() == 0) return;
    ClearCosmetic();
    ZoomToLayer(kLayerOcDilanka);
    BuildLabelLayers(false);
    RefreshLayerList();
}

void TFormMapView::changeEvent(QEvent* e) {
    QMainWindow::changeEvent(e);
    if (e->type() != QEvent::WindowStateChange) return;
    const auto* change = static_cast<QWindowStateChangeEvent*>(e);
    const bool wasMinimized = change->oldState().testFlag(Qt::WindowMinimized);
    if (isMinimized() && !wasMinimized) {
        // The whole program goes to the task bar with the map.
        minimizedWithMap_.clear();
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != this && qobject_cast<QMainWindow*>(w) && w->isVisible() && !w->isMinimized()) {
                minimizedWithMap_ << w;
                w->showMinimized();
            }
    } else if (!isMinimized() && wasMinimized) {
        const auto windows = std::exchange(minimizedWithMap_, {});
        for (const QPointer<QWidget>& w : windows)
            if (w && w->isMinimized()) w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
    }
}

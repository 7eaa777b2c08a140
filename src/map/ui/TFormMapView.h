#pragma once

#include "map/MapControl.h"
#include "map/MapEditing.h"
#include "map/MapTables.h"
#include "shell/ShellPorts.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <optional>

class QAction;
class QActionGroup;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QTimer;
class QToolBar;
class TMapCanvas;

// The map view ("Перегляд меж"): the boundaries of the open exchange file on a map, with
// the layer list, the nodes and attributes of the selected object, node editing across the
// thematic layers, snapping, drawing of temporary objects, the ruler, the label layers,
// standard scales and extra map tables. Created once at start-up.
class TFormMapView : public QMainWindow, public TMapViewPort {
    Q_OBJECT
public:
    explicit TFormMapView(QWidget* parent = nullptr);
    ~TFormMapView() override;

    TMapCanvas* Canvas() const { return Map1; }
    TMap& Map();

    // ---- operations for the main window and other windows
    bool IsMapVisible() const override;
    void ShowMap() override;
    void CloseMap() override;
    // Removes every layer and creates the standard layers for the file at the precision
    // class of PrecisionClass (the settings' choice when it is empty).
    bool PrepareMapForFile(const QString& file) override;
    // Empties the eight standard layers the geometry of a file is built into.
    void ClearStandardLayers();
    void ClearLayers() override { ClearStandardLayers(); }
    void RefreshMap() override;
    // Selects the object of the layer (number counted from 1; agro groups within their
    // district) without telling the main window back.
    void SelectMapObject(const QString& layer, int number, int district) override;
    // The geometry of the document into the standard layers (emptied first); false when the
    // coordinates could not be read. Log lines go to LogLine.
    bool BuildMapObjects(ExchangeDocument& document) override;
    std::function<void(const QString&)> LogLine;
    TMapLayer* FindLayer(const QString& name) const;
    // Builds the label layers (numbering, distances, nodes) that are empty and visible;
    // with rebuild they are emptied first. A failure is shown after failurePrefix (empty: the
    // prefix of the map's set-up) and stops the remaining builders.
    void BuildLabelLayers(bool rebuild, const QString& failurePrefix = {});
    // Opens map tables as visible layers and adds them to the recent list; the first
    // failure is shown and stops. Returns the number opened.
    int OpenTableFiles(const QStringList& paths);
    // The precision class (2, 3 or 4) for PrepareMapForFile; empty: the settings' choice.
    std::function<int()> PrecisionClass;
    // Told when the selection picks one object of a thematic layer: layer, ordinal, parent.
    std::function<void(const QString&, int, int)> NavigatorLink;
    // Commands whose dialogs live elsewhere (cmdObjNew, cmdObjDel, cmdObjCopyTo, cmdObjGeo,
    // cmdLayerInfo, the coordinate imports).
    void SetCommandHandler(const QString& actionName, std::function<void()> handler);
    QAction* Action(const QString& name) const { return actions_.value(name); }

    // ---- state, for the other windows and tests
    const TMapPoints& DrawingPoints() const { return drawPoints_; }
    TMapPoint LastMousePoint() const { return lastMouse_; }
    TMapFeatureRef SelectedFeature() const { return selected_; }
    QString SelectedLayerName() const { return selectedLayer_; }
    int SelectedOrdinal() const { return selectedOrdinal_; }
    bool NodeEditing() const { return nodeEditing_; }
    double RulerDistance() const { return rulerDistance_; }
    TRecentMaps& RecentMaps() { return recent_; }

    // ---- commands (also reachable through their actions)
    void SetTool(int tool);
    void SetNodeEditing(bool on);
    void DeleteSelectedNode();
    void SnapToNode();
    void SetStandardScale(int factor);
    void ZoomToLayer(const QString& name);

    // Components by their names.
    TMapCanvas* Map1 = nullptr;
    QToolBar* ToolBarCMD = nullptr;
    QFrame* PanelTable = nullptr;
    QListWidget* ListMapLayers = nullptr;
    QTabWidget* PageControl = nullptr;
    QTableWidget* GridCords = nullptr;
    QTableWidget* GridFields = nullptr;
    QLabel* LabelMapStatus = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QFrame* ErrorPanel = nullptr;
    QLabel* ErrorPanelMsg = nullptr;
    QPushButton* BErrorPanelClose = nullptr;
    QTimer* TimerSelectLayer = nullptr;

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    QAction* MakeAction(const QString& name, const QString& text, bool checkable = false);
    void BuildActions();
    void BuildToolBar();
    void BuildPanels();
    void RefreshLayerList();
    void SelectionChanged();
    void FillGrids();
    void GridCordsChanged(int row, int column);
    void ToolUsed(int tool, double x1, double y1, double x2, double y2);
    void PolyToolUsed(int tool, int flags, const TMapPoints& points);
    void MouseDown(Qt::MouseButton button, double x, double y);
    void MouseMove(double x, double y);
    void KeyDown(int key);
    void AddDrawingPoint(const TMapPoint& p);
    void FinishDrawing();
    void CancelDrawing();
    void NodeDragged(const TNodeHit& node, const TMapPoint& to);
    void NodeAddRequested(const TNodeHit& side, const TMapPoint& at);
    void AfterGeometryEdit();
    void LayerItemChanged(QListWidgetItem* item);
    TMapLayer* CurrentListLayer() const;
    void LayerOnly();
    void LayerNodes();
    void LayerClose();
    void LayerClear();
    void OpenTableDialog();
    void RebuildRecentMenu();
    void OpenRecent(int index);
    void ImageryCommand();
    void RunHandler(const QString& name);
    void PaintOverlay(class QPainter& p);
    void ClearCosmetic();

    QHash<QString, QAction*> actions_;
    QHash<QString, std::function<void()>> handlers_;
    QActionGroup* toolGroup_ = nullptr;
    QMenu* openMenu_ = nullptr;
    QMenu* zoomMenu_ = nullptr;
    QMenu* layerMenu_ = nullptr;
    QMenu* mapMenu_ = nullptr;
    QString iniFile_;

    int currentTool_ = ToolSelect;
    TMapPoints drawPoints_;
    bool drawing_ = false;
    TMapPoint lastMouse_;
    TMapFeatureRef selected_;
    QString selectedLayer_;
    QString selectedParent_;
    int selectedOrdinal_ = -1;
    bool nodeEditing_ = false;
    bool syncing_ = false;
    bool fillingGrid_ = false;
    bool fillingList_ = false;
    double rulerDistance_ = 0;
    TRecentMaps recent_;
    std::optional<TMapPoint> snapCircleCentre_;
    double snapCircleRadius_ = 0;
    // The program's windows minimised with the map, restored with it.
    QList<QPointer<QWidget>> minimizedWithMap_;
};

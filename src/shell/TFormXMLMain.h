#pragma once
// The main window: the one open exchange file (its working copy), every top-level command as one action
// shown in the toolbar and the main menu, the navigator over the sections of the open file and the action
// log. Other windows reach it through the published operations below.
#include "exchange/NavigatorLines.h"
#include "exchange/OpenExchangeFile.h"

#include <QHash>
#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class QStatusBar;
class QFrame;
class TFormLogDlg;
class TXmlEditorPort;
class TMapViewPort;

class TFormXMLMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFormXMLMain(QWidget* parent = nullptr);
    ~TFormXMLMain() override;

    // ---- Published operations -------------------------------------------------------------------------
    // Appends a non-empty line to the action log, selects it and repaints the log at once.
    void LogLine(const QString& text);
    // Fills the navigator from the document when it is active; the selected line index is kept when it
    // still exists.
    void RebuildNavigator(const ExchangeDocument& document);
    void RebuildNavigator(const TNavigatorLines& lines);
    // The map view's selection: selects the navigator line of the map object.
    void SelectNavigatorObject(const QString& layer, int number, int district);
    // Shows the XML block editor (loading the working copy first when it is not visible); a whole number
    // goes to that line, any other text is an element path ("\" between names) to select.
    bool ShowInEditor(const QString& location, const QString& elementName = QString());
    // Moves the action log beside the navigator, at the bottom of the window, and shows it.
    void ShowActionLog();
    // Unattended save of the working copy from the map objects; false (and a message) on any problem.
    bool SaveWorkingCopy();
    // Writes the edited document (File.Document(), loaded by the caller) to the working copy, rebuilds the
    // navigator and the map objects; an empty or unparsed document is never written.
    bool ReloadAfterMapEdit();
    // The unattended save the map view's deletions call (the writer of valuation files registers it).
    void SetWorkingCopySaver(std::function<void()> saver) { saver_ = std::move(saver); }

    // ---- Per-file state ---------------------------------------------------------------------------------
    TOpenExchangeFile File;
    QString CurrentRegionName;
    // True when a working copy exists on disk; otherwise shows "Файл ще не завантажений." unless quiet.
    bool HasWorkingCopy(bool quiet = false) const;
    // The folder of the working copy (empty without one).
    QString WorkingFolder() const;

    // ---- Commands ---------------------------------------------------------------------------------------
    // ACT_OPEN_FILE_NGO: the open dialog, then OpenChosenFile.
    void OpenFileCommand();
    // Opens File.OpenedFile as a valuation file (the dialog's and a drop's common path) and checks it.
    // True when the file was opened.
    bool OpenChosenFile();
    // ACT_CHECK: the structure check of the working copy; the findings go to the action log.
    void CheckCommand();
    // The action log's jump from a finding (row 0 is the count).
    void GotoFindingLine(const QString& line, int row);
    // Dropped files: the first ".xml" (any letter case) is opened without the dialog; the rest are ignored.
    // Returns the file taken, or an empty text.
    QString OpenDroppedFiles(const QStringList& paths);
    void CreateGuidCommand();
    void HelpCommand();
    void AboutCommand();
    // Precision item choice: digit "2", "3" or "4".
    void ChooseCoordPrecision(const QString& digit);

    // Commands whose windows other modules build: a handler makes the action live.
    void SetCommandHandler(const QString& actionName, std::function<void()> handler);
    void SetEditorPort(TXmlEditorPort* port) { editor_ = port; }
    void SetMapViewPort(TMapViewPort* port) { map_ = port; }
    TXmlEditorPort* EditorPort() const { return editor_; }
    TMapViewPort* MapViewPort() const { return map_; }
    void SetLogWindow(TFormLogDlg* log);
    TFormLogDlg* LogWindow() const { return log_; }

    // ---- Options ----------------------------------------------------------------------------------------
    bool BlockAddFptp() const;
    bool BlockAddMxmy() const;
    // "2", "3", "4" or empty when no precision item is checked.
    QString CoordPrecision() const;

    // ---- Navigator --------------------------------------------------------------------------------------
    QTreeWidget* Navigator() const { return nav_; }
    const QList<TNavigatorLine>& NavigatorLines() const { return lines_; }
    void ClearNavigator();
    int SelectedNavigatorRow() const;
    void SelectNavigatorRow(int row);
    // What a double-click on the selected line does.
    void NavigatorDoubleClick();

    QAction* Action(const QString& name) const { return actions_.value(name); }
    void SetFileCaption(const QString& text);
    QString FileCaption() const;

signals:
    void NavigatorRebuilt();

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void dragEnterEvent(QDragEnterEvent* e) override;
    void dropEvent(QDropEvent* e) override;

private:
    QAction* MakeAction(const QString& name, const QString& caption, const QString& hint);
    void BuildActions();
    void BuildMenus();
    void BuildToolBar();
    void BuildPanels();
    void ReadOptions();
    void UpdateCoordCaption(const QString& digit);
    bool OpenEditorAt(const QStringList& path);
    void RunCommand(QAction* action, const std::function<void()>& command);

    QHash<QString, QAction*> actions_;
    QHash<QString, std::function<void()>> handlers_;
    QActionGroup* coordGroup_ = nullptr;
    QMenu* popupCoord_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QLabel* fileCaption_ = nullptr;
    QTreeWidget* nav_ = nullptr;
    QFrame* navPanel_ = nullptr;
    QList<TNavigatorLine> lines_;
    int rememberedRow_ = -1;
    std::function<void()> saver_;
    TFormLogDlg* log_ = nullptr;
    TXmlEditorPort* editor_ = nullptr;
    TMapViewPort* map_ = nullptr;
    bool captionSet_ = false;
    bool syncingSelection_ = false;
};

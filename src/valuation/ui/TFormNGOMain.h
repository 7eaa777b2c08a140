#pragma once
// The valuation wizard: seventeen pages over one plot. "Старт" holds the general data and the open and
// apply buttons; the coefficient pages show the automatic choices; "Завершення" collects the values that
// are written. The widgets only bind the GUI-free valuation core (valuation/*.h) and show its results.
#include "exchange/ExchangeDocument.h"
#include "exchange/ValuationHandOver.h"
#include "map/MapControl.h"
#include "valuation/ImportFromExchange.h"
#include "valuation/ValuationSession.h"
#include "valuation/WizardFlow.h"

#include <QDialog>
#include <QHash>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QTableWidget;
class QWidget;
class TCoefPage;
class TInspectorRow;
class TPropertyInspector;

class TFormNGOMain : public QDialog {
    Q_OBJECT
public:
    // The modal result that asks the caller to write the valuation exchange file.
    static constexpr int kResultYes = 6;

    explicit TFormNGOMain(QWidget* parent = nullptr);
    ~TFormNGOMain() override;

    // ---- State ----------------------------------------------------------------------------------------
    // The valuation itself: tables, applied general data, result boxes, summary (Mode, Initialized and
    // SourceFileName live there). The widgets are copied to and from it.
    TValuationSession Session;
    // The loaded source file while the wizard works.
    ExchangeDocument XMLDocument_XML;
    // The model of the page "Карта": the plot layer "ДІЛЯНКА" with the imported plot.
    TMap MapNgo;
    static const QString kPlotLayer; // "ДІЛЯНКА"
    QString Mode() const { return Session.Mode; }
    bool Initialized() const { return Session.Initialized; }
    // Set by the callers right after creation, before InitializeWizard.
    void SetMode(const QString& mode);
    const TWizardFlow& Flow() const { return flow_; }

    // Loads the reference tables, the organisation list, the address history and the Кмц option; no effect
    // after the first call.
    void InitializeWizard();

    // The check of a loaded valuation file (mode "compare"): initialised, the file imported as a valuation
    // file, the open buttons and the writing parts of the end page hidden, "Оновити XML (адреса+коеф.)"
    // shown. False when the import failed (its message has been shown).
    bool PrepareCompare(const QString& file);

    // ---- Import -------------------------------------------------------------------------------------
    // "1) Відкрити XML земле- впорядний" / "або Відкрити XML з НГО": the open dialog, then the import.
    void OpenSourceFile(TSourceKind kind);
    // Mode "": the file chosen in the dialog becomes the source and is imported.
    bool ImportChosenFile(TSourceKind kind, const QString& file);
    // Imports SourceFileName (modes "compare" and "again" set it before); false after a failure message.
    bool ImportSource(TSourceKind kind);
    // The source of the last successful import is of that kind (the hidden flags of the end page).
    bool SourceIsValuationFile() const;

    // ---- Apply --------------------------------------------------------------------------------------
    // Any of the three apply buttons: validate, choose every coefficient, show the pages, go to "Нрд".
    bool ApplyGeneralData();
    // The council chosen in "Рада/ОТГ": population and centre from POPUL.dat (after 100 ms).
    void LookupCouncilPopulation();

    // ---- Pages ----------------------------------------------------------------------------------------
    QTabWidget* PageControl() const { return NxPageControl1; }
    QWidget* Page(TNgoPage page) const;
    bool PageShown(TNgoPage page) const;
    // The caption colour of the page's tab (window text or red).
    QColor PageCaptionColor(TNgoPage page) const;
    TNgoPage CurrentPage() const;
    void ShowPage(TNgoPage page);
    // "Далі": the next visible page.
    void NextPage();
    // Recolours every tab caption from its value boxes.
    void RefreshPageColours();
    // The tables, filter and buttons of a coefficient or district page (valuation/ui/TCoefPage.h);
    // nullptr for the pages without tables.
    TCoefPage* CoefPage(TNgoPage page) const;

    // ---- General data ---------------------------------------------------------------------------------
    TPropertyInspector* GeneralData() const { return NextGridZagalni; }
    QString RowValue(const QString& rowName) const;
    void SetRowValue(const QString& rowName, const QString& value);
    // Commits a value being typed in the general data.
    void CommitGeneralDataEdit();

    // ---- Widgets found by name ------------------------------------------------------------------------
    QLineEdit* Edit(const QString& name) const;
    QPushButton* Button(const QString& name) const;
    QCheckBox* KmcAlwaysBox() const { return CheckBoxKmcAlways; }

    // Copies the session's result boxes into the value, row and previous-value boxes of the pages.
    void ShowSessionBoxes();

    // ---- "Кні+Оцінка" (TFormNGOMainKni.cpp) ----------------------------------------------------------
    // ListYearsKni from the session's indexation list (the page shown).
    void ShowIndexationList();
    // The list as edited, "year=value" lines; rows with neither year nor value are left out.
    QStringList IndexationListShown() const;
    // "Зберегти": the list as edited into the indexation file of the applied category.
    bool SaveIndexationList();
    // "Перерах. Кні": Кні from the list as edited and the base year of NGO.dat.
    void RecomputeKni();
    // "Оновити розрахунок" (and the page shown): the calculation text into MemoCalculation.
    void RefreshCalculation();
    QPlainTextEdit* CalculationMemo() const { return MemoCalculation; }
    QTableWidget* IndexationListWidget() const { return ListYearsKni; }

    // ---- "Завершення" (TFormNGOMainEnd.cpp) ----------------------------------------------------------
    // The page shown: the typed fields into the session, the summary rebuilt and copied into the edits.
    void ShowSummary();
    // The fields the engineer types or chooses on the page (cadastral number, zone code and ID, approval,
    // organisation, check boxes) into Session.Summary.
    void ReadSummaryEdits();
    // "Створити XML": checks the summary (a warning and false at the first failure, the wizard stays
    // open), then closes with kResultYes.
    bool CreateFileCommand();
    // "Оновити XML (адреса+коеф.)": checks the Tag 99 edits, then the registered updater rewrites the
    // main window's file; the wizard stays open.
    bool UpdateFileCommand();
    // "..." beside the organisation list: the reference-table editor, then the list refilled.
    void EditOrganisations();
    // What "Створити XML" hands to the writer of the valuation file.
    TValuationHandOver HandOver() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages();
    void BuildStartPage(QWidget* page);
    void BuildGeneralDataRows();
    void BuildResultPanel(TNgoPage page);
    void BuildKniPage(QWidget* page);
    void BuildEndPage(QWidget* page);
    void ShowSummaryEdits();
    QLineEdit* AddEdit(QWidget* parent, const QString& name, bool readOnly);
    void ApplyFlowToPages();
    void PlaceApplyButton();
    TGeneralDataInput ReadGeneralDataInput() const;
    void FillOrganisationList();
    void ShowImportResult(const TImportResult& result);
    // Mode "": the plot's contour on the map page's model; false after its failure message.
    bool BuildPlotOnMap(TSourceKind kind);
    bool PrepareMapPage();
    void HidePreviousValues();
    // The session string a value box edits (nullptr for boxes that are only shown).
    QString* SessionText(const QString& boxName);
    bool PreviousVisible(const QString& prevBoxName) const;

    TWizardFlow flow_;
    QTabWidget* NxPageControl1 = nullptr;
    QList<QWidget*> pages_;
    QPlainTextEdit* MemoFormula = nullptr;
    TPropertyInspector* NextGridZagalni = nullptr;
    QPushButton* BOpenZemXML = nullptr;
    QPushButton* BOpenNGOXML = nullptr;
    QPushButton* BApplyZagalni = nullptr;
    QPushButton* BCompareZagalni = nullptr;
    QPushButton* BAgainZagalni = nullptr;
    QCheckBox* CheckBoxKmcAlways = nullptr;
    QCheckBox* CBSrcZemXML = nullptr;
    QCheckBox* CBSrcNGOXML = nullptr;
    QComboBox* EDefLicenziat = nullptr;
    QTableView* NextGridPSRPrev = nullptr;
    QTableView* NextGridAgroPrev = nullptr;
    QList<TCoefPage*> coefPages_;
    QTableWidget* ListYearsKni = nullptr;
    QPlainTextEdit* MemoCalculation = nullptr;
    bool fillingYears_ = false;
    QHash<QString, QLineEdit*> edits_;
    QHash<QString, QPushButton*> buttons_;
};

#pragma once
// The valuation wizard: seventeen pages over one plot. "Старт" holds the general data and the open and
// apply buttons; the coefficient pages show the automatic choices; "Завершення" collects the values that
// are written. The widgets only bind the GUI-free valuation core (valuation/*.h) and show its results.
#include "valuation/WizardFlow.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QWidget;
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
    bool Initialized = false;
    QString SourceFileName;
    QString Mode() const { return flow_.Mode(); }
    // Set by the callers right after creation, before InitializeWizard.
    void SetMode(const QString& mode);
    const TWizardFlow& Flow() const { return flow_; }

    // Loads the reference tables, the organisation list, the address history and the Кмц option; no effect
    // after the first call.
    void InitializeWizard();

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

    // ---- General data ---------------------------------------------------------------------------------
    TPropertyInspector* GeneralData() const { return NextGridZagalni; }
    QString RowValue(const QString& rowName) const;
    void SetRowValue(const QString& rowName, const QString& value);
    // Commits a value being typed in the general data.
    void CommitGeneralDataEdit();

    // ---- Widgets found by name ------------------------------------------------------------------------
    QLineEdit* Edit(const QString& name) const;
    QPushButton* Button(const QString& name) const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildPages();
    void BuildStartPage(QWidget* page);
    void BuildGeneralDataRows();
    void BuildResultPanel(TNgoPage page);
    void BuildEndPage(QWidget* page);
    QLineEdit* AddEdit(QWidget* parent, const QString& name, bool readOnly);
    void ApplyFlowToPages();
    void PlaceApplyButton();

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
    QHash<QString, QLineEdit*> edits_;
    QHash<QString, QPushButton*> buttons_;
};

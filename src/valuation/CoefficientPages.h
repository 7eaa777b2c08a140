#pragma once
// What the coefficient and district pages of the wizard show above their result panels: the memo lines,
// the grids (each bound to the session table of its name), the filter panel and the page's own buttons.
// The widgets (valuation/ui/TCoefPage.h) are built from these descriptions; nothing here draws.
#include "valuation/CoefficientRules.h"
#include "valuation/WizardFlow.h"

#include <QList>
#include <QString>
#include <QStringList>

inline const QString kShowAllCaption = QStringLiteral("Показати всі значення  (інші категорії)");
inline const QString kNotApplicableWarning = QStringLiteral("Не застосовується згідно категорії");
inline const QString kFilterCaption = QStringLiteral("Фільтр");
inline const QString kFilterByName = QStringLiteral("Введіть назву");
inline const QString kFilterByCode = QStringLiteral("Введіть код");
inline const QString kSaveKlsCaption = QStringLiteral("Зберегти вибір");
inline const QString kSaveKlsHint = QStringLiteral("Зберегти значення як за замовчування");

struct TPageGrid {
    QString TableName;     // object name of the grid and of its table (NextGridNrd, ..., NextGridAgro)
    QStringList MemoLines; // the read-only memo above the grid; empty: none
    int WideColumn = -1;   // the text column that takes the width the other columns leave
    int WideMinimum = 0;   // its least width in pixels
};

struct TPageLayout {
    TNgoPage Page = TNgoPage::Start;
    QString Stem;           // part of the names of the page's own widgets: EFilterKm1, BFilterKm1, ...
    QList<TPageGrid> Grids; // "Нрд" has two, the second in the appendix-2 panel PanelNrd2
    QString FilterLabel;    // "Введіть назву" / "Введіть код"; empty: no filter panel
    bool ShowAll = false;   // "Показати всі значення  (інші категорії)"
    bool NotApplicableLabel = false; // "Не застосовується згідно категорії" (the Кмц pages)
    bool SaveKls = false; // "Зберегти вибір"
};

// Every page with tables: the ten coefficient pages and "Оц.р-ни", "ПСГ р-н", "Агро гр.", in tab order.
const QList<TPageLayout>& PageLayouts();
// nullptr for the pages without tables ("Старт", "Кні+Оцінка", "Карта", "Завершення").
const TPageLayout* PageLayoutOf(TNgoPage page);
// The automatic choice the page shows after Apply; nullptr for "Агро гр." and pages without tables.
const TChoice* PageChoiceOf(const TAutoChoices& choices, TNgoPage page);

// The agro-production groups of soils of the agro-group grid's code column: the 84 codes in list order.
QStringList AgroGroupCodes();
// The column's drop-down list: "-", then every group as code, "-", name where the name is known, and as
// the code alone otherwise (85 entries).
QStringList AgroGroupEntries();

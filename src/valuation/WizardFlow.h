#pragma once
// The flow of the valuation wizard without its widgets: the seventeen pages in order, which of them are
// shown in each state and mode, whether Apply may run, and which value boxes decide that a page's caption
// is drawn red.
#include "valuation/ValuationSession.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

enum class TNgoPage {
    Start,
    Nrd,
    Km1,
    Km2,
    Km3,
    Kcp,
    Kmc1,
    KmcI,
    KmcH,
    KmcN,
    Kls,
    OcRa,
    Psr,
    Agro,
    Kni,
    Map,
    End,
};
constexpr int kNgoPageCount = 17;

struct TNgoPageInfo {
    QString Name;    // object name of the page (NxTabSheet01Start ...)
    QString Caption; // tab caption
};
// In the order of the tabs.
const QList<TNgoPageInfo>& NgoPages();
const TNgoPageInfo& NgoPageInfo(TNgoPage page);

// The eleven lines of the formula memo on "Старт".
QStringList NgoFormulaLines();

// Which of the three apply buttons stands on "Старт" in the mode ("", kModeCompare, kModeAgain).
TApplyButton ApplyButtonOfMode(const QString& mode);
// Object name of the button: BApplyZagalni, BCompareZagalni, BAgainZagalni.
QString ApplyButtonName(TApplyButton button);

// The value boxes whose texts colour the page's caption (object names); empty for pages that are never red.
QStringList PageValueBoxes(TNgoPage page);
// Red while any of the page's value texts is empty or "декілька".
bool PageCaptionRed(const QStringList& values);

class TWizardFlow {
public:
    TWizardFlow();

    // Initialisation: only "Старт" shown, BApplyZagalni disabled.
    void Initialize();
    // A source file was chosen in the open dialog (mode ""). Until its import succeeds nothing of an earlier
    // plot may be applied or written: Apply is disabled and every page after "Старт" is hidden.
    // (The other modes have no open dialog.)
    void FileChosen();
    // The import ended with the plot's contour built: Apply is enabled.
    void ImportSucceeded();
    // A successful Apply: every page of the mode is shown (without "Карта" in the modes "compare" and
    // "again").
    void Applied(TApplyButton button);

    bool ApplyEnabled() const { return applyEnabled_; }
    bool PageVisible(TNgoPage page) const { return visible_[static_cast<int>(page)]; }
    QVector<bool> Visibility() const { return visible_; }
    // The next visible page after the given one ("Далі"), or the page itself when none follows.
    TNgoPage NextVisiblePage(TNgoPage from) const;

private:
    bool applyEnabled_ = false;
    QVector<bool> visible_;
};

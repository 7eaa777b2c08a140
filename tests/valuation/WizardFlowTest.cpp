#include "valuation/WizardFlow.h"

#include <gtest/gtest.h>

namespace {

QList<TNgoPage> Shown(const TWizardFlow& flow) {
    QList<TNgoPage> shown;
    for (int i = 0; i < kNgoPageCount; ++i)
        if (flow.PageVisible(static_cast<TNgoPage>(i))) shown << static_cast<TNgoPage>(i);
    return shown;
}

TEST(WizardFlow, StartsWithOnlyTheStartPageAndApplyDisabled) {
    TWizardFlow flow;
    flow.Initialize();
    EXPECT_EQ(Shown(flow), QList<TNgoPage>{TNgoPage::Start});
    EXPECT_FALSE(flow.ApplyEnabled());
    flow.ImportSucceeded();
    EXPECT_TRUE(flow.ApplyEnabled());
    EXPECT_EQ(Shown(flow).size(), 1);
}

TEST(WizardFlow, ApplyShowsThePagesOfTheMode) {
    struct Case {
        QString mode;
        QString button;
        bool mapShown;
    };
    for (const Case& c : {Case{"", "BApplyZagalni", true}, Case{kModeCompare, "BCompareZagalni", false},
                          Case{kModeAgain, "BAgainZagalni", false}}) {
        SCOPED_TRACE(c.mode.toStdString());
        TWizardFlow flow;
        flow.Initialize();
        flow.Applied(ApplyButtonOfMode(c.mode));
        EXPECT_EQ(ApplyButtonName(ApplyButtonOfMode(c.mode)), c.button);
        EXPECT_EQ(flow.PageVisible(TNgoPage::Map), c.mapShown);
        EXPECT_EQ(Shown(flow).size(), c.mapShown ? kNgoPageCount : kNgoPageCount - 1);
        // "Далі" on "Кні+Оцінка" goes to "Карта" or, when it is hidden, straight to "Завершення".
        EXPECT_EQ(flow.NextVisiblePage(TNgoPage::Kni), c.mapShown ? TNgoPage::Map : TNgoPage::End);
        EXPECT_EQ(flow.NextVisiblePage(TNgoPage::End), TNgoPage::End);
    }
}

// A second file chosen after a valued plot must not leave the first plot's results reachable.
TEST(WizardFlow, ChoosingAnotherFileHidesTheResultsUntilItsImportSucceeds) {
    TWizardFlow flow;
    flow.Initialize();
    flow.ImportSucceeded();
    flow.Applied(TApplyButton::Apply);
    flow.FileChosen();
    EXPECT_FALSE(flow.ApplyEnabled());
    EXPECT_EQ(Shown(flow), QList<TNgoPage>{TNgoPage::Start});
    EXPECT_EQ(flow.NextVisiblePage(TNgoPage::Start), TNgoPage::Start);
    flow.ImportSucceeded();
    EXPECT_TRUE(flow.ApplyEnabled());
}

TEST(WizardFlow, PageCaptionIsRedWhileAValueIsMissingOrSeveral) {
    struct Case {
        QStringList values;
        bool red;
    };
    for (const Case& c : {Case{{"1,0"}, false}, Case{{""}, true}, Case{{"декілька"}, true},
                          Case{{"Декілька"}, false}, Case{{"1.5", "1,0", "1"}, false},
                          Case{{"1.5", "", "1"}, true}, Case{{"1.5", "1,0", "декілька"}, true}}) {
        SCOPED_TRACE(c.values.join('|').toStdString());
        EXPECT_EQ(PageCaptionRed(c.values), c.red);
    }
    EXPECT_EQ(PageValueBoxes(TNgoPage::OcRa), (QStringList{"EKlkValue", "EKm4Value", "EOcRaNoValue"}));
    EXPECT_TRUE(PageValueBoxes(TNgoPage::Start).isEmpty());
    EXPECT_TRUE(PageValueBoxes(TNgoPage::End).isEmpty());
}

} // namespace

#include "common/WaitJob.h"

#include <gtest/gtest.h>

namespace {

TEST(WaitGauge, CounterAndStepWrapAround) {
    TWaitGauge g;
    EXPECT_EQ(g.CounterText(), "0 з 100");
    g.Set(10, 3);
    EXPECT_EQ(g.CounterText(), "3 з 10");
    g.Set(10, 10);
    g.Step();
    EXPECT_EQ(g.Position, 0);
    g.Step();
    EXPECT_EQ(g.Position, 1);
}

TEST(WaitResultBox, ErrorWinsOverWarningWhichWinsOverInformation) {
    TMessages m;
    EXPECT_EQ(WaitResultBox(m, "Word", QString()).kind, TWaitResultBox::None);
    EXPECT_EQ(WaitResultBox(m, "Word", "Готово.").kind, TWaitResultBox::Info);
    m.WarningText = "Увага";
    EXPECT_EQ(WaitResultBox(m, "Word", "Готово.").kind, TWaitResultBox::Warning);
    m.ErrorTitle = "Файл не знайдено.";
    const TWaitResultBox box = WaitResultBox(m, "Word", "Готово.");
    EXPECT_EQ(box.kind, TWaitResultBox::Error);
    EXPECT_EQ(box.caption, "Word");
    EXPECT_EQ(box.text, "Файл не знайдено.\r"); // title, line break and no details
}

} // namespace

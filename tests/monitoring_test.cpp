// Following the clipboard with the slot timers and the all-slots box.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/sim/sim.h"
#include "slots/grid.h"
#include "test_support.h"

namespace {

using forms::Ctl;
using slots::ControlName;
using slots::SlotId;

class Monitoring : public test::StartedApp {
protected:
    forms::Control Of(const char* word, SlotId id) const { return Ctl(main, ControlName(word, id)); }
    std::string TextOf(SlotId id) const { return forms::Text(Of("编辑框", id)); }
    void ClickAll() const { sim::Click(Ctl(main, "选择框_全部监控剪贴板")); }
};

TEST_F(Monitoring, ACheckedSlotFollowsEachNewTextWithinASecond) {
    sim::PutClipboardText("first");
    sim::Click(Of("监控", {2, 2}));
    EXPECT_EQ(forms::TimerPeriod(Of("时钟", {2, 2})), 1000);
    sim::AdvanceClock(999);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "");
    sim::AdvanceClock(1);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "first");

    sim::AdvanceClock(300);
    sim::PutClipboardText("第二");
    sim::AdvanceClock(700);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "第二");

    // Typing is overwritten at the next tick, caret back at the start.
    sim::Type(Of("编辑框", {2, 2}), "typed");
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "第二");
    EXPECT_EQ(sim::CaretPosition(Of("编辑框", {2, 2})), 0);

    // A picture on the clipboard empties the slot at its next tick.
    sim::PutClipboardPicture();
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "");

    // Unchecking stops the timer; the slot keeps its last text.
    sim::PutClipboardText("last");
    sim::AdvanceClock(1000);
    sim::Click(Of("监控", {2, 2}));
    EXPECT_EQ(forms::TimerPeriod(Of("时钟", {2, 2})), 0);
    sim::PutClipboardText("ignored");
    sim::AdvanceClock(5000);
    EXPECT_TEXT_EQ(TextOf({2, 2}), "last");
    EXPECT_TEXT_EQ(TextOf({2, 1}), "");
}

TEST_F(Monitoring, TheAllSlotsBoxOverridesEverySlotAndStaysOnItsOwn) {
    sim::Click(Of("监控", {1, 3}));  // set one by one before
    ClickAll();
    sim::PutClipboardText("all");
    sim::AdvanceClock(1000);
    for (const slots::Slot& slot : slots::FindSlots(main).slots) {
        EXPECT_TRUE(forms::Checked(slot.monitorBox)) << slots::SlotText(slot.id);
        EXPECT_EQ(forms::TimerPeriod(slot.monitorTimer), 1000);
        EXPECT_TEXT_EQ(forms::Text(slot.textBox), "all");
    }

    // One slot's box stops that slot alone; the all-slots box stays checked.
    sim::Click(Of("监控", {3, 2}));
    EXPECT_TRUE(forms::Checked(Ctl(main, "选择框_全部监控剪贴板")));
    sim::PutClipboardText("next");
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(TextOf({3, 2}), "all");
    EXPECT_TEXT_EQ(TextOf({3, 3}), "next");

    ClickAll();  // off: all nine stop
    for (const slots::Slot& slot : slots::FindSlots(main).slots) {
        EXPECT_FALSE(forms::Checked(slot.monitorBox));
        EXPECT_EQ(forms::TimerPeriod(slot.monitorTimer), 0);
    }
    ClickAll();  // on again: all nine start, 3-2 included
    EXPECT_TRUE(forms::Checked(Of("监控", {3, 2})));
    EXPECT_EQ(forms::TimerPeriod(Of("时钟", {3, 2})), 1000);
}

TEST_F(Monitoring, TheAllSlotsBoxDoesNotRestartARunningTimer) {
    sim::Click(Of("监控", {1, 1}));
    sim::AdvanceClock(400);
    ClickAll();
    sim::PutClipboardText("phase");
    sim::AdvanceClock(600);  // 1-1 ticks at 1000, the others at 1400
    EXPECT_TEXT_EQ(TextOf({1, 1}), "phase");
    EXPECT_TEXT_EQ(TextOf({1, 2}), "");
    sim::AdvanceClock(400);
    EXPECT_TEXT_EQ(TextOf({1, 2}), "phase");
}

TEST_F(Monitoring, AHiddenRowGoesOnFollowing) {
    sim::Click(Of("监控", {3, 3}));
    sim::PressMouse(Ctl(main, "标签26"));
    sim::PutClipboardText("unseen");
    sim::AdvanceClock(1000);
    sim::PressMouse(Ctl(main, "标签_增一行"));
    EXPECT_TEXT_EQ(TextOf({3, 3}), "unseen");
}

TEST_F(Monitoring, CutOnAFollowingSlotIsRefilledWithTheCutText) {
    sim::PutClipboardText("before");
    sim::Click(Of("监控", {1, 2}));
    sim::AdvanceClock(1000);
    sim::Type(Of("编辑框", {1, 2}), "mine");
    sim::PressMouse(Of("剪切", {1, 2}));
    EXPECT_TEXT_EQ(TextOf({1, 2}), "");
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(TextOf({1, 2}), "mine");
}

}  // namespace

// The cell commands and clear-all, driven by presses on their labels.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "slots/grid.h"
#include "test_support.h"

namespace {

using forms::Ctl;
using slots::ControlName;
using slots::SlotId;

class SlotCommands : public test::StartedApp {
protected:
    forms::Control Of(const char* word, SlotId id) const { return Ctl(main, ControlName(word, id)); }
    forms::Control Box(SlotId id) const { return Of("编辑框", id); }
    void Press(const char* word, SlotId id) const { sim::PressMouse(Of(word, id)); }
};

enum class Clip { Text, Picture, Busy, Empty };

struct PasteCase {
    const char* what;
    Clip clip;
    const char* clipText;
    const char* expected;
};

class PasteSlot : public SlotCommands, public testing::WithParamInterface<PasteCase> {};

TEST_P(PasteSlot, ReplacesTheWholeTextAndKeepsTheFocus) {
    const PasteCase c = GetParam();
    switch (c.clip) {
        case Clip::Text: sim::PutClipboardText(c.clipText); break;
        case Clip::Picture: sim::PutClipboardPicture(); break;
        case Clip::Busy: sim::PutClipboardText("held"); sim::HoldClipboard(true); break;
        case Clip::Empty: sim::EmptyClipboard(); break;
    }
    sim::Type(Box({2, 3}), "xyz");
    desktop::FocusControl(Box({1, 1}));
    Press("粘贴", {2, 3});
    EXPECT_TEXT_EQ(forms::Text(Box({2, 3})), c.expected);
    EXPECT_EQ(sim::CaretPosition(Box({2, 3})), 0);
    EXPECT_EQ(sim::Focused(), Box({1, 1}));
}

INSTANTIATE_TEST_SUITE_P(
    Clipboards, PasteSlot,
    testing::Values(PasteCase{"text", Clip::Text, "abc", "abc"},
                    PasteCase{"gbk", Clip::Text, "中文，ASCII\r\n第二行", "中文，ASCII\r\n第二行"},
                    PasteCase{"picture", Clip::Picture, "", ""}, PasteCase{"busy", Clip::Busy, "", ""},
                    PasteCase{"empty", Clip::Empty, "", ""}),
    [](const auto& info) { return info.param.what; });

TEST_F(SlotCommands, EveryLabelActsOnItsOwnSlot) {
    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 3; ++column) {
            const SlotId id{row, column};
            SCOPED_TRACE(slots::SlotText(id));
            sim::PutClipboardText(slots::SlotText(id));
            Press("粘贴", id);
            EXPECT_TEXT_EQ(forms::Text(Box(id)), slots::SlotText(id));
        }
    }
    Press("复制", {3, 2});
    EXPECT_TEXT_EQ(sim::Clipboard().text, "3-2");
    Press("清空", {1, 3});
    EXPECT_TEXT_EQ(forms::Text(Box({1, 3})), "");
    EXPECT_TEXT_EQ(forms::Text(Box({1, 2})), "1-2");
}

TEST_F(SlotCommands, CopyGivesTheSlotsBytesAndLeavesTheSlot) {
    sim::PutClipboardPicture();
    sim::Type(Box({1, 2}), "复制 me");
    desktop::FocusControl(Box({1, 1}));
    Press("复制", {1, 2});
    EXPECT_TRUE(sim::Clipboard().hasText);
    EXPECT_FALSE(sim::Clipboard().hasPicture);
    EXPECT_TEXT_EQ(sim::Clipboard().text, "复制 me");
    EXPECT_TEXT_EQ(forms::Text(Box({1, 2})), "复制 me");
    EXPECT_EQ(sim::Focused(), Box({1, 1}));
}

TEST_F(SlotCommands, CopyFromAnEmptySlotLeavesOnlyEmptyText) {
    sim::PutClipboardPicture();
    Press("复制", {3, 3});
    const sim::ClipboardState clip = sim::Clipboard();
    EXPECT_TRUE(clip.hasText);
    EXPECT_EQ(clip.text, "");
    EXPECT_FALSE(clip.hasPicture);
    EXPECT_EQ(clip.formatCount, 1);
}

TEST_F(SlotCommands, CutMovesTheTextToTheClipboardAndTheCaretIntoTheSlot) {
    sim::Type(Box({2, 3}), "cut this");
    Press("剪切", {2, 3});
    EXPECT_TEXT_EQ(sim::Clipboard().text, "cut this");
    EXPECT_TEXT_EQ(forms::Text(Box({2, 3})), "");
    EXPECT_EQ(sim::Focused(), Box({2, 3}));
}

TEST_F(SlotCommands, CutKeepsTheTextWhenTheClipboardCannotBeWritten) {
    sim::PutClipboardText("theirs");
    sim::HoldClipboard(true);
    sim::Type(Box({2, 3}), "precious");
    Press("剪切", {2, 3});
    EXPECT_TEXT_EQ(forms::Text(Box({2, 3})), "precious");
    sim::HoldClipboard(false);
    EXPECT_TEXT_EQ(sim::Clipboard().text, "theirs");
}

TEST_F(SlotCommands, ClearEmptiesAndFocusesWithoutTouchingTheClipboard) {
    sim::PutClipboardText("keep");
    sim::Type(Box({3, 1}), "gone");
    Press("清空", {3, 1});
    EXPECT_TEXT_EQ(forms::Text(Box({3, 1})), "");
    EXPECT_EQ(sim::Focused(), Box({3, 1}));
    EXPECT_TEXT_EQ(sim::Clipboard().text, "keep");
}

TEST_F(SlotCommands, ClearAllReachesHiddenRowsAndFocusesTheFirstSlot) {
    for (const slots::Slot& slot : slots::FindSlots(main).slots) sim::Type(slot.textBox, "text");
    for (const char* group : {"分组框21", "分组框22", "分组框23", "分组框31", "分组框32", "分组框33"})
        forms::SetVisible(Ctl(main, group), false);
    desktop::FocusControl(Box({2, 2}));
    sim::PressMouse(Ctl(main, "全部清空"));
    for (const slots::Slot& slot : slots::FindSlots(main).slots)
        EXPECT_TEXT_EQ(forms::Text(slot.textBox), "") << slots::SlotText(slot.id);
    EXPECT_EQ(sim::Focused(), Box({1, 1}));
}

}  // namespace

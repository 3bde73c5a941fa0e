// Append-paste through the "粘贴选项" menu, and the custom separator row.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/sim/sim.h"
#include "test_support.h"

namespace {

using forms::Ctl;

constexpr const char* kPlain = "追加粘贴（至原内容尾部）";
constexpr const char* kNewLine = "追加粘贴（原内容先换行再加新内容）";
constexpr const char* kFullWidth = "追加粘贴（原内容加全角逗号再加新内容）";
constexpr const char* kComma = "追加粘贴（原内容加半角逗号再加新内容）";
constexpr const char* kCustom = "追加粘贴（原内容加自定义字符再加新内容）";
constexpr const char* kAskForSeparator =
    "　　请先在本程序左上角自定义字符框内输入字符，在停止使用自定义字符之前请不要点击关闭。";

class AppendPaste : public test::StartedApp {
protected:
    // A press on the down arrow, then the item chosen in the menu.
    void Choose(const char* arrow, const char* item) const {
        sim::AnswerMenu(item);
        sim::PressMouse(C(arrow));
    }
};

struct ModeCase {
    const char* item;
    const char* slot;
    bool picture;
    const char* expected;
};

class AppendModes : public AppendPaste, public testing::WithParamInterface<ModeCase> {};

TEST_P(AppendModes, JoinOldSeparatorAndClipboardByteForByte) {
    const ModeCase c = GetParam();
    if (c.picture) sim::PutClipboardPicture();
    else sim::PutClipboardText("two");
    sim::Type(C("编辑框11"), c.slot);
    desktop::FocusControl(C("编辑框33"));
    Choose("下箭11", c.item);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框11")), c.expected);
    EXPECT_EQ(sim::Focused(), C("编辑框33"));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, AppendModes,
    testing::Values(ModeCase{kPlain, "one", false, "onetwo"}, ModeCase{kNewLine, "one", false, "one\r\ntwo"},
                    ModeCase{kFullWidth, "one", false, "one\xA3\xACtwo"}, ModeCase{kComma, "one", false, "one,two"},
                    ModeCase{kComma, "one", true, "one,"}, ModeCase{kNewLine, "", false, "\r\ntwo"},
                    ModeCase{kFullWidth, "", true, "\xA3\xAC"}, ModeCase{kPlain, "中", false, "中two"}));

TEST_F(AppendPaste, TheMenuShowsItsFiveItemsAtThePointer) {
    sim::SetMousePosition(400, 300);
    sim::PressMouse(C("下箭2"));
    ASSERT_EQ(sim::ShownMenus().size(), 1u);
    const sim::ShownMenu& menu = sim::ShownMenus()[0];
    EXPECT_TEXT_EQ(menu.menu, "粘贴选项");
    EXPECT_EQ(menu.x, 403);
    EXPECT_EQ(menu.y, 303);
    const std::vector<std::string> items = {kPlain, "-", kNewLine, "-", kFullWidth, "-", kComma, "-", kCustom};
    EXPECT_EQ(menu.visibleItems, items);
}

TEST_F(AppendPaste, EachArrowTargetsItsOwnSlotWhateverHasTheFocus) {
    const std::pair<const char*, const char*> arrows[] = {{"下箭11", "编辑框11"}, {"下箭12", "编辑框12"},
                                                          {"下箭1", "编辑框21"},  {"下箭2", "编辑框22"},
                                                          {"下箭4", "编辑框31"},  {"下箭5", "编辑框32"}};
    sim::PutClipboardText("x");
    for (auto [arrow, box] : arrows) {
        desktop::FocusControl(C("编辑框13"));
        Choose(arrow, kPlain);
        EXPECT_TEXT_EQ(forms::Text(C(box)), "x") << arrow;
    }
    EXPECT_TEXT_EQ(forms::Text(C("编辑框13")), "");
    // A dismissed menu changes nothing.
    sim::DismissMenu();
    sim::PressMouse(C("下箭4"));
    EXPECT_TEXT_EQ(forms::Text(C("编辑框31")), "x");
}

TEST_F(AppendPaste, CustomSeparatorAsksForOneThenAppendsUntilClosed) {
    sim::PutClipboardText("two");
    sim::Type(C("编辑框12"), "one");

    bool rowShownWhileAsking = false;
    sim::WhileNextMessageBoxOpen([&] { rowShownWhileAsking = forms::Visible(C("自定义2")); });
    Choose("下箭12", kCustom);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_TEXT_EQ(sim::MessageBoxes()[0].text, kAskForSeparator);
    EXPECT_TEXT_EQ(sim::MessageBoxes()[0].caption, "Brenvik之Quillo");
    EXPECT_TRUE(rowShownWhileAsking);
    for (const char* name : {"自定义1", "自定义2", "自定义3"}) EXPECT_TRUE(forms::Visible(C(name))) << name;
    EXPECT_EQ(sim::Focused(), C("自定义2"));
    EXPECT_TEXT_EQ(forms::Text(C("编辑框12")), "one");

    sim::Type(C("自定义2"), " ~ ");
    Choose("下箭12", kCustom);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框12")), "one ~ two");
    Choose("下箭12", kCustom);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框12")), "one ~ two ~ two");

    // Emptied by hand: asked again, the row stays.
    sim::Type(C("自定义2"), "");
    Choose("下箭12", kCustom);
    EXPECT_EQ(sim::MessageBoxes().size(), 2u);
    EXPECT_TRUE(forms::Visible(C("自定义2")));

    // "关闭" hides the row and forgets the separator.
    sim::Type(C("自定义2"), "#");
    sim::PressMouse(C("自定义3"));
    for (const char* name : {"自定义1", "自定义2", "自定义3"}) EXPECT_FALSE(forms::Visible(C(name))) << name;
    EXPECT_TEXT_EQ(forms::Text(C("自定义2")), "");
    Choose("下箭12", kCustom);
    EXPECT_EQ(sim::MessageBoxes().size(), 3u);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框12")), "one ~ two ~ two");
}

TEST_F(AppendPaste, AFollowingSlotIsOverwrittenAtItsNextTick) {
    sim::PutClipboardText("clip");
    sim::Click(C("监控21"));
    Choose("下箭1", kComma);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框21")), ",clip");
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框21")), "clip");
}

}  // namespace

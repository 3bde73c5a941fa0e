// The main window's frame: layout, row count, drag, minimise, close, topmost
// and the transparency levels.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "test_support.h"

namespace {

using forms::Ctl;

class MainWindowTest : public test::StartedApp {
protected:
    void Press(const char* name) const { sim::PressMouse(C(name)); }
    int H() const { return forms::WindowHeight(main); }
    // The frame follows the window's size after every change.
    void ExpectFrameFits() const {
        EXPECT_EQ(forms::Top(C("标签_假下并广告")), H() - 16);
        EXPECT_EQ(forms::Width(C("标签_假下并广告")), forms::WindowWidth(main));
        EXPECT_EQ(forms::Height(C("标签_窗口假左")), H());
        EXPECT_EQ(forms::Height(C("标签_窗口假右")), H());
    }
    int RowsShown() const {
        return 1 + forms::Visible(C("分组框21")) + forms::Visible(C("分组框31"));
    }
};

TEST_F(MainWindowTest, RowChangesResizeAndCentreTheWindow) {
    struct Step {
        const char* label;
        int rows, height, top;
    };
    const Step steps[] = {{"标签26", 2, 357, 205}, {"标签26", 1, 217, 275},
                          {"标签_增一行", 2, 357, 205}, {"标签_增一行", 3, 497, 135}};
    for (const Step& s : steps) {
        Press(s.label);
        EXPECT_EQ(RowsShown(), s.rows);
        EXPECT_EQ(H(), s.height);
        EXPECT_EQ(forms::WindowTop(main), s.top);
        EXPECT_EQ(forms::WindowLeft(main), 307);
        ExpectFrameFits();
        for (int column = 1; column <= 3; ++column) {
            EXPECT_EQ(forms::Visible(C(("分组框2" + std::to_string(column)).c_str())), s.rows >= 2);
            EXPECT_EQ(forms::Visible(C(("分组框3" + std::to_string(column)).c_str())), s.rows == 3);
        }
    }
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(MainWindowTest, RefusalsChangeNothingButReRunTheLayout) {
    struct Refusal {
        int rowsToRemoveFirst;
        const char* label;
        const char* message;
    };
    for (const Refusal r : {Refusal{2, "标签26", "最少也有一行"}, Refusal{0, "标签_增一行", "最多只有三行"}}) {
        Start();
        for (int i = 0; i < r.rowsToRemoveFirst; ++i) Press("标签26");
        const int left = forms::WindowLeft(main), top = forms::WindowTop(main), height = H();
        const int rows = RowsShown();
        desktop::MoveControl(C("图形按钮_关闭"), 5, 5);
        Press(r.label);
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        EXPECT_TEXT_EQ(sim::MessageBoxes()[0].text, r.message);
        EXPECT_TEXT_EQ(sim::MessageBoxes()[0].caption, "Brenvik之Quillo");
        EXPECT_EQ(sim::MessageBoxes()[0].flags, desktop::kMbOk | desktop::kMbTopmost | desktop::kMbTaskModal);
        EXPECT_EQ(RowsShown(), rows);
        EXPECT_EQ(forms::WindowLeft(main), left);
        EXPECT_EQ(forms::WindowTop(main), top);
        EXPECT_EQ(H(), height);
        EXPECT_EQ(forms::Left(C("图形按钮_关闭")), 729);
        EXPECT_EQ(forms::Top(C("图形按钮_关闭")), 4);
    }
}

TEST_F(MainWindowTest, ThreeRowsOnALowScreenStandAboveIt) {
    Start({.screenHeight = 480});
    Press("标签26");
    Press("标签_增一行");
    EXPECT_EQ(forms::WindowTop(main), -8);
}

TEST_F(MainWindowTest, DragByTheTitleBarOnlyAndKeepTheLeftOnRowChanges) {
    sim::SetNextDragOffset(120, -60);
    Press("标签_窗口假上");
    ASSERT_FALSE(sim::SentMessages().empty());
    EXPECT_EQ(sim::SentMessages().back().message, 161u);
    EXPECT_EQ(sim::SentMessages().back().wParam, 2);
    EXPECT_EQ(forms::WindowLeft(main), 427);
    EXPECT_EQ(forms::WindowTop(main), 75);

    const size_t sent = sim::SentMessages().size();
    for (const char* strip : {"标签_窗口假左", "标签_窗口假右", "标签_假下并广告"}) Press(strip);
    for (size_t i = sent; i < sim::SentMessages().size(); ++i)
        EXPECT_NE(sim::SentMessages()[i].message, 161u);

    Press("标签26");
    EXPECT_EQ(forms::WindowLeft(main), 427);
    EXPECT_EQ(forms::WindowTop(main), 205);
}

TEST_F(MainWindowTest, HidingARowLeavesItsMonitoringAsItWas) {
    sim::Click(C("监控31"));
    sim::Type(C("编辑框32"), "kept");
    Press("标签26");
    EXPECT_TRUE(forms::Checked(C("监控31")));
    EXPECT_EQ(forms::TimerPeriod(C("时钟31")), 1000);
    EXPECT_FALSE(forms::Checked(C("监控32")));
    EXPECT_EQ(forms::TimerPeriod(C("时钟32")), 0);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框32")), "kept");
}

TEST_F(MainWindowTest, TransparencyLevels) {
    struct Level {
        const char* item;
        int opacity;
        const char* label;
    };
    const Level levels[] = {{"不透明", 255, "透明度0%"}, {"20%", 204, "透明度20%"}, {"40%", 153, "透明度40%"},
                            {"60%", 102, "透明度60%"}, {"80%", 51, "透明度80%"},  {"80%", 51, "透明度80%"}};
    for (const Level& l : levels) {
        sim::AnswerMenu(l.item);
        Press("标签21");
        EXPECT_TEXT_EQ(sim::ShownMenus().back().menu, "设透明度");
        EXPECT_EQ(sim::Opacity(main), l.opacity) << l.item;
        EXPECT_TEXT_EQ(forms::Text(C("标签21")), l.label);
    }
    sim::DismissMenu();
    Press("标签21");
    EXPECT_EQ(sim::Opacity(main), 51);
    EXPECT_TEXT_EQ(forms::Text(C("标签21")), "透明度80%");
}

TEST_F(MainWindowTest, MinimiseMoreTopmostAndClose) {
    sim::Click(C("图形按钮_最小化"));
    EXPECT_EQ(forms::WindowState(main), 2);
    EXPECT_TRUE(forms::WindowVisible(main));
    forms::SetWindowState(main, 0);  // restored, as the user would from the task bar

    sim::Click(C("图形按钮_更多"));
    ASSERT_FALSE(sim::ShownMenus().empty());
    EXPECT_TEXT_EQ(sim::ShownMenus().back().menu, "更多菜单");
    const std::vector<std::string> items = {"Sorvani", "-", "淘宝淘实惠", "-", "检查更新"};
    EXPECT_EQ(sim::ShownMenus().back().visibleItems, items);

    const int left = forms::WindowLeft(main), top = forms::WindowTop(main);
    for (bool expected : {true, false, true}) {
        sim::Click(C("选择框_置顶"));
        EXPECT_EQ(forms::Topmost(main), expected);
        EXPECT_EQ(forms::WindowLeft(main), left);
        EXPECT_EQ(forms::WindowTop(main), top);
    }

    // Closing only hides: the tray icon stays and following slots go on.
    sim::Click(C("监控22"));
    sim::PutClipboardText("while hidden");
    sim::Click(C("图形按钮_关闭"));
    EXPECT_FALSE(forms::WindowVisible(main));
    EXPECT_EQ(forms::WindowState(main), 2);
    EXPECT_TRUE(desktop::IsWindowOpen(main));
    EXPECT_EQ(sim::TrayIcons().size(), 1u);
    sim::AdvanceClock(1000);
    EXPECT_TEXT_EQ(forms::Text(C("编辑框22")), "while hidden");
}

}  // namespace

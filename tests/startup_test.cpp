// Start-up: placement on the screen, the state it leaves, and the name check.
#include <gtest/gtest.h>

#include "app/main_form.h"
#include "app/startup.h"
#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "slots/grid.h"
#include "test_support.h"

namespace {

using forms::Ctl;

struct Placement {
    int screenWidth, screenHeight;
    int left, top;
};

class StartUpPlacement : public testing::TestWithParam<Placement> {};

TEST_P(StartUpPlacement, CentresTheWindowOnTheWholeScreen) {
    const Placement p = GetParam();
    sim::Reset({.screenWidth = p.screenWidth, .screenHeight = p.screenHeight});
    const forms::WindowId main = app::StartQuillo();
    ASSERT_NE(main, 0);
    EXPECT_EQ(forms::WindowLeft(main), p.left);
    EXPECT_EQ(forms::WindowTop(main), p.top);
    EXPECT_EQ(forms::WindowWidth(main), 751);
    EXPECT_EQ(forms::WindowHeight(main), 497);
}

INSTANTIATE_TEST_SUITE_P(Screens, StartUpPlacement,
                         testing::Values(Placement{1366, 768, 307, 135}, Placement{1920, 1080, 584, 291},
                                         Placement{1024, 768, 136, 135},
                                         // A screen lower than the window: -8.5, dropped toward zero.
                                         Placement{1366, 480, 307, -8},
                                         // (495 - 497) / 2: a top of exactly -1 is a place, not "keep".
                                         Placement{1366, 495, 307, -1}));

TEST(StartUp, LeavesTheDocumentedState) {
    sim::Reset();
    const forms::WindowId main = app::StartQuillo();
    ASSERT_NE(main, 0);

    EXPECT_TRUE(forms::WindowVisible(main));
    EXPECT_FALSE(forms::Topmost(main));
    EXPECT_EQ(forms::WindowState(main), 0);
    EXPECT_EQ(sim::CurrentFolder(), desktop::GetRunDirectory());

    for (int row = 1; row <= 3; ++row) {
        for (int column = 1; column <= 3; ++column) {
            const slots::SlotId id{row, column};
            SCOPED_TRACE(slots::SlotText(id));
            EXPECT_TEXT_EQ(forms::Text(Ctl(main, slots::ControlName("编辑框", id))), "");
            EXPECT_FALSE(forms::Checked(Ctl(main, slots::ControlName("监控", id))));
            EXPECT_EQ(forms::TimerPeriod(Ctl(main, slots::ControlName("时钟", id))), 0);
            EXPECT_TRUE(forms::Visible(Ctl(main, slots::ControlName("分组框", id))));
            EXPECT_TEXT_EQ(forms::Text(Ctl(main, slots::ControlName("分组框", id))), slots::SlotText(id));
        }
    }
    EXPECT_FALSE(forms::Checked(Ctl(main, "选择框_全部监控剪贴板")));
    EXPECT_FALSE(forms::Checked(Ctl(main, "选择框_置顶")));
    for (const char* name : {"自定义1", "自定义2", "自定义3"}) EXPECT_FALSE(forms::Visible(Ctl(main, name))) << name;
    EXPECT_TEXT_EQ(forms::Text(Ctl(main, "自定义2")), "");

    EXPECT_EQ(sim::Opacity(main), 247);
    EXPECT_TEXT_EQ(forms::Text(Ctl(main, "标签21")), "透明度3%");
    EXPECT_TEXT_EQ(forms::Caption(main), "Brenvik之Quillo v1.15");
    EXPECT_TEXT_EQ(forms::Text(Ctl(main, "标签_窗口假上")), "Brenvik之Quillo v1.15");
    const auto icons = sim::TrayIcons();
    ASSERT_EQ(icons.size(), 1u);
    EXPECT_EQ(icons[0].window, main);
    EXPECT_EQ(icons[0].icon, desktop::Icon::Program);
    EXPECT_TEXT_EQ(icons[0].tip, "Brenvik之Quillo v1.15");
    EXPECT_EQ(icons[0].id, 100u);
    EXPECT_EQ(icons[0].callbackMessage, 0x8064u);

    EXPECT_EQ(sim::Focused(), Ctl(main, "编辑框11"));
    EXPECT_TEXT_EQ(forms::Text(Ctl(main, "标签_假下并广告")), "淘宝淘实惠");
    EXPECT_TEXT_EQ(forms::Text(Ctl(main, "标签_上广告")), "");
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_FALSE(sim::ExitCode().has_value());
}

TEST(StartUp, ArmsTheOnlineTimerForFiveSixOrSevenSeconds) {
    // The period is RandomInRange(5, 7) seconds: r mod 3 picks it.
    for (auto [r, period] : {std::pair{0, 5000}, {1, 6000}, {2, 7000}, {32767, 6000}}) {
        sim::Reset();
        sim::QueueRandom(r);
        const forms::WindowId main = app::StartQuillo();
        EXPECT_EQ(forms::TimerPeriod(Ctl(main, "时钟_联机")), period) << "r = " << r;
    }
    for (unsigned seed = 1; seed <= 20; ++seed) {
        sim::Reset({.randomSeed = seed});
        const int period = forms::TimerPeriod(Ctl(app::StartQuillo(), "时钟_联机"));
        EXPECT_TRUE(period == 5000 || period == 6000 || period == 7000) << period;
    }
}

TEST(StartUp, LaysOutTheFrameForTheFinalSize) {
    sim::Reset();
    const forms::WindowId main = app::StartQuillo();
    const std::pair<const char*, int> lefts[] = {{"图形按钮_关闭", 729},   {"图形按钮_最小化", 709},
                                                 {"图形按钮_更多", 688},   {"选择框_置顶", 648},
                                                 {"选择框_全部监控剪贴板", 548}};
    for (auto [name, left] : lefts) EXPECT_EQ(forms::Left(Ctl(main, name)), left) << name;
    EXPECT_EQ(forms::Top(Ctl(main, "标签_假下并广告")), 481);
    EXPECT_EQ(forms::Width(Ctl(main, "标签_窗口假上")), 751);
    EXPECT_EQ(forms::Height(Ctl(main, "标签_窗口假右")), 497);
    EXPECT_EQ(forms::Left(Ctl(main, "标签_窗口假右")), 749);
}

class NameCheck : public testing::TestWithParam<const char*> {};

TEST_P(NameCheck, RefusesAnyOtherNameWithTheMessageAndExitCodeZero) {
    sim::Reset({.executableName = GetParam()});
    EXPECT_EQ(app::StartQuillo(), 0);
    ASSERT_EQ(sim::MessageBoxes().size(), 1u);
    EXPECT_TEXT_EQ(sim::MessageBoxes()[0].text, "程序名已固定为 zoLapet.exe ，请勿修改");
    EXPECT_TEXT_EQ(sim::MessageBoxes()[0].caption, "Brenvik之Quillo");
    EXPECT_EQ(sim::MessageBoxes()[0].flags, desktop::kMbOk | desktop::kMbTopmost | desktop::kMbTaskModal);
    EXPECT_EQ(sim::ExitCode(), 0);
    EXPECT_TRUE(sim::TrayIcons().empty());
    for (forms::WindowId w : sim::OpenWindows()) EXPECT_FALSE(forms::WindowVisible(w));
}

INSTANTIATE_TEST_SUITE_P(WrongNames, NameCheck,
                         testing::Values("ZoLapet.exe", "zolapet.exe", "zoLapet.EXE", "zoLapet (2).exe",
                                         " zoLapet.exe", "zoLapet.exe.exe"));

}  // namespace

// The in-memory desktop's own rules, where a fault in it would make the other
// tests pass or fail for the wrong reason: timers, posted menu choices, window
// creation, the clipboard, profile files, and the process's end.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <memory>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/desktop.h"
#include "platform/forms.h"
#include "platform/sim/sim.h"
#include "test_support.h"

namespace {

using forms::Ctl;
using forms::WindowId;

forms::FormDef TestForm() {
    forms::FormDef form;
    form.name = "test";
    form.caption = "Test window";
    form.width = 300;
    form.height = 200;
    form.controls = {
        {.name = "tick1", .kind = forms::Kind::Timer},
        {.name = "tick2", .kind = forms::Kind::Timer},
        {.name = "box", .kind = forms::Kind::CheckBox, .left = 5, .top = 6, .width = 70, .height = 14, .text = "check"},
        {.name = "group", .kind = forms::Kind::GroupBox, .left = 10, .top = 30, .width = 100, .height = 80},
        {.name = "edit", .kind = forms::Kind::Edit, .parent = "group", .left = 1, .top = 14, .width = 90,
         .height = 20},
        {.name = "label", .kind = forms::Kind::Label, .left = 120, .top = 30, .width = 40, .height = 14,
         .text = "press"},
        {.name = "hiddenLabel", .kind = forms::Kind::Label, .hidden = true},
    };
    form.menus = {
        {"menu",
         {{"one"}, {"-"}, {"two"}, {"sub", 1}, {"sub a", 2}, {"sub b", 2, true}, {"-"}, {"gone", 1, true}}},
    };
    return form;
}

WindowId Open(const std::function<void(WindowId)>& created = {}) { return desktop::OpenWindow(TestForm(), created); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// ---- Timers ------------------------------------------------------------------

TEST(SimTimers, DeliverEveryDueTickInTimeOrder) {
    sim::Reset();
    const WindowId w = Open();
    std::vector<std::pair<char, long long>> ticks;
    forms::On(Ctl(w, "tick1"), forms::Event::Tick, [&] { ticks.push_back({'a', sim::Now()}); });
    forms::On(Ctl(w, "tick2"), forms::Event::Tick, [&] { ticks.push_back({'b', sim::Now()}); });
    forms::SetTimerPeriod(Ctl(w, "tick2"), 1500);
    forms::SetTimerPeriod(Ctl(w, "tick1"), 1000);
    sim::AdvanceClock(3500);
    // At 3000 both are due; tick2 was armed first.
    const std::vector<std::pair<char, long long>> expected = {{'a', 1000}, {'b', 1500}, {'a', 2000}, {'b', 3000},
                                                              {'a', 3000}};
    EXPECT_EQ(ticks, expected);
    EXPECT_EQ(sim::Now(), 3500);
    EXPECT_EQ(sim::TickCount(Ctl(w, "tick1")), 3);
}

TEST(SimTimers, SamePeriodKeepsThePhaseAndANewOneRestarts) {
    sim::Reset();
    const WindowId w = Open();
    const forms::Control timer = Ctl(w, "tick1");
    std::vector<long long> at;
    forms::On(timer, forms::Event::Tick, [&] { at.push_back(sim::Now()); });

    forms::SetTimerPeriod(timer, 1000);
    sim::AdvanceClock(600);
    forms::SetTimerPeriod(timer, 1000);  // changes nothing
    sim::AdvanceClock(400);
    EXPECT_EQ(at, std::vector<long long>({1000}));

    sim::AdvanceClock(300);              // 1300
    forms::SetTimerPeriod(timer, 2000);  // first tick a full period on
    sim::AdvanceClock(2500);
    EXPECT_EQ(at, std::vector<long long>({1000, 3300}));

    forms::SetTimerPeriod(timer, -5);  // counts as 0: stopped
    EXPECT_EQ(forms::TimerPeriod(timer), 0);
    sim::AdvanceClock(10000);
    EXPECT_EQ(at.size(), 2u);
    forms::SetTimerPeriod(timer, 2000);  // the old value again, after a stop: restarts
    sim::AdvanceClock(1999);
    EXPECT_EQ(at.size(), 2u);
    sim::AdvanceClock(1);
    EXPECT_EQ(at.back(), sim::Now());
}

TEST(SimTimers, AHandlerMayChangePeriodsAndItsPostedRequestsRunBeforeTheNextTick) {
    sim::Reset();
    const WindowId w = Open();
    const WindowId other = Open();
    std::vector<long long> at;
    forms::On(Ctl(w, "tick1"), forms::Event::Tick, [&] {
        at.push_back(sim::Now());
        forms::SetTimerPeriod(Ctl(w, "tick1"), 500);
    });
    // other's timer ticks at 1000 too, armed later; w's first tick destroys it.
    forms::On(Ctl(other, "tick1"), forms::Event::Tick, [&] { ADD_FAILURE() << "a destroyed window's timer ticked"; });
    forms::On(Ctl(w, "tick2"), forms::Event::Tick, [&] { desktop::DestroyWindowLater(other); });
    forms::SetTimerPeriod(Ctl(w, "tick2"), 1000);
    forms::SetTimerPeriod(Ctl(w, "tick1"), 1000);
    forms::SetTimerPeriod(Ctl(other, "tick1"), 1000);
    sim::AdvanceClock(2000);
    EXPECT_EQ(at, std::vector<long long>({1000, 1500, 2000}));
    EXPECT_FALSE(desktop::IsWindowOpen(other));
}

// ---- Windows -----------------------------------------------------------------

TEST(SimWindows, AreCreatedHiddenAndCentredThenShown) {
    sim::Reset({.screenWidth = 1025, .screenHeight = 768});
    bool hiddenDuringCreation = false;
    const WindowId w = Open([&](WindowId id) {
        hiddenDuringCreation = !forms::WindowVisible(id);
        EXPECT_TRUE(desktop::FindTopLevelWindow("TEST WINDOW"));  // hidden ones are found too
    });
    EXPECT_TRUE(hiddenDuringCreation);
    EXPECT_TRUE(forms::WindowVisible(w));
    EXPECT_EQ(forms::WindowLeft(w), 362);
    EXPECT_EQ(forms::WindowTop(w), 284);
    EXPECT_EQ(sim::Foreground(), w);
    EXPECT_FALSE(forms::Visible(Ctl(w, "hiddenLabel")));
    EXPECT_EQ(forms::Left(Ctl(w, "edit")), 1);

    // Ids are not reused; a gone window and an unknown control read as nothing.
    desktop::DestroyWindowLater(w);
    sim::RunPostedEvents();
    const WindowId next = Open();
    EXPECT_NE(next, w);
    EXPECT_EQ(forms::WindowWidth(w), 0);
    forms::SetText(Ctl(next, "no such"), "x");
    EXPECT_EQ(Ctl(next, "no such").index, -1);
    EXPECT_TEXT_EQ(forms::Text(Ctl(next, "no such")), "");
    EXPECT_TEXT_EQ(forms::NameOf(Ctl(next, "edit")), "edit");
}

TEST(SimWindows, ExitDuringCreationLeavesTheWindowHiddenAndIgnoresLaterEvents) {
    sim::Reset();
    const WindowId w = Open([](WindowId) { desktop::ExitProgram(3); });
    EXPECT_FALSE(forms::WindowVisible(w));
    desktop::ExitProgram(5);
    EXPECT_EQ(sim::ExitCode(), 3);

    int events = 0;
    forms::On(Ctl(w, "box"), forms::Event::Click, [&] { ++events; });
    forms::On(Ctl(w, "tick1"), forms::Event::Tick, [&] { ++events; });
    forms::SetTimerPeriod(Ctl(w, "tick1"), 100);
    forms::SetWindowVisible(w, true);
    sim::Click(Ctl(w, "box"));
    sim::AdvanceClock(1000);
    EXPECT_EQ(events, 0);
}

TEST(SimWindows, InputReachesOnlyControlsTheUserCanSee) {
    sim::Reset();
    const WindowId w = Open();
    int clicks = 0;
    forms::On(Ctl(w, "box"), forms::Event::Click, [&] {
        ++clicks;
        EXPECT_TRUE(forms::Checked(Ctl(w, "box")));  // toggled before the handler
    });
    sim::Click(Ctl(w, "box"));
    EXPECT_EQ(clicks, 1);

    sim::Type(Ctl(w, "edit"), "typed");
    EXPECT_EQ(sim::CaretPosition(Ctl(w, "edit")), 5);
    EXPECT_EQ(sim::Focused(), Ctl(w, "edit"));
    forms::SetText(Ctl(w, "edit"), "set");
    EXPECT_EQ(sim::CaretPosition(Ctl(w, "edit")), 0);

    forms::SetVisible(Ctl(w, "group"), false);  // holds the edit box
    EXPECT_TRUE(forms::Visible(Ctl(w, "edit")));
    EXPECT_FALSE(sim::Shown(Ctl(w, "edit")));
    sim::Type(Ctl(w, "edit"), "lost");
    EXPECT_TEXT_EQ(forms::Text(Ctl(w, "edit")), "set");

    forms::SetWindowState(w, 2);
    EXPECT_TRUE(sim::Iconic(w));
    EXPECT_TRUE(forms::WindowVisible(w));
    sim::Click(Ctl(w, "box"));
    EXPECT_EQ(clicks, 1);
    desktop::SwitchToThisWindow(w);
    EXPECT_FALSE(sim::Iconic(w));
    EXPECT_EQ(forms::WindowState(w), 0);

    // A state set on a hidden window is only recorded.
    forms::SetWindowVisible(w, false);
    forms::SetWindowState(w, 2);
    forms::SetWindowVisible(w, true);
    EXPECT_FALSE(sim::Iconic(w));
    EXPECT_EQ(forms::WindowState(w), 2);
}

TEST(SimWindows, DragMovesByTheNextOffsetOnce) {
    sim::Reset();
    const WindowId w = Open();
    const int left = forms::WindowLeft(w), top = forms::WindowTop(w);
    sim::SetNextDragOffset(30, -20);
    desktop::SendWindowMessage(w, desktop::kWmNcLButtonDown, desktop::kHtCaption, 0);
    desktop::SendWindowMessage(w, desktop::kWmNcLButtonDown, desktop::kHtCaption, 0);
    EXPECT_EQ(forms::WindowLeft(w), left + 30);
    EXPECT_EQ(forms::WindowTop(w), top - 20);
    EXPECT_EQ(sim::SentMessages().size(), 2u);
}

TEST(SimWindows, TrayIconKeepsTheTipsFirst62BytesAndGoesWithItsWindow) {
    sim::Reset();
    const WindowId w = Open();
    desktop::SetTrayIcon(w, desktop::Icon::Program, std::string(70, 'x'));
    desktop::SetTrayIcon(w, desktop::Icon::SearchBox, std::string(63, 'y'));
    ASSERT_EQ(sim::TrayIcons().size(), 1u);
    EXPECT_EQ(sim::TrayIcons()[0].tip, std::string(62, 'y'));
    EXPECT_EQ(sim::TrayIcons()[0].icon, desktop::Icon::SearchBox);
    desktop::DestroyWindowLater(w);
    sim::RunPostedEvents();
    EXPECT_TRUE(sim::TrayIcons().empty());
}

TEST(SimWindows, TransparencyOutsideTheRangeIsOpaque) {
    sim::Reset();
    const WindowId w = Open();
    EXPECT_EQ(sim::Opacity(w), 255);
    EXPECT_FALSE(sim::Layered(w));
    desktop::SetWindowTransparency(w, 51);
    EXPECT_EQ(sim::Opacity(w), 51);
    EXPECT_TRUE(sim::Layered(w));
    desktop::SetWindowTransparency(w, 256);
    EXPECT_EQ(sim::Opacity(w), 255);
    desktop::SetWindowTransparency(w, -1);
    EXPECT_EQ(sim::Opacity(w), 255);
}

// ---- Menus and message boxes ------------------------------------------------

TEST(SimMenus, AChosenItemRunsAfterTheHandlerThatShowedTheMenu) {
    sim::Reset();
    const WindowId w = Open();
    std::vector<std::string> order;
    forms::OnMenuItem(w, "menu", "two", [&] { order.push_back("item"); });
    forms::SetMenuItemText(w, "menu", forms::MenuItemIndex(w, "menu", "two"), "renamed");
    forms::On(Ctl(w, "label"), forms::Event::MouseDown, [&] {
        desktop::PopUpMenu(w, "menu");
        order.push_back("after pop-up");
    });
    sim::SetMousePosition(100, 200);
    sim::AnswerMenu("renamed");  // the current text
    sim::PressMouse(Ctl(w, "label"));
    EXPECT_EQ(order, std::vector<std::string>({"after pop-up", "item"}));

    ASSERT_EQ(sim::ShownMenus().size(), 1u);
    const sim::ShownMenu& shown = sim::ShownMenus()[0];
    EXPECT_EQ(shown.x, 103);
    EXPECT_EQ(shown.y, 203);
    EXPECT_EQ(shown.visibleItems, std::vector<std::string>({"one", "-", "renamed", "sub", "sub a", "-"}));

    sim::PressMouse(Ctl(w, "label"));  // no answer queued: dismissed
    EXPECT_EQ(order.size(), 3u);
    EXPECT_EQ(order.back(), "after pop-up");
}

// Timers tick while a menu is open; the answer still picks from what was shown.
TEST(SimMenus, ChecksRunWhileTheMenuIsOpen) {
    sim::Reset();
    const WindowId w = Open();
    std::vector<std::string> order;
    forms::OnMenuItem(w, "menu", "one", [&] { order.push_back("item"); });
    forms::On(Ctl(w, "tick1"), forms::Event::Tick, [&] { order.push_back("tick"); });
    forms::SetTimerPeriod(Ctl(w, "tick1"), 1000);
    sim::WhileNextMenuOpen([&] {
        order.push_back("open");
        sim::AdvanceClock(1000);
    });
    sim::AnswerMenu("one");
    desktop::PopUpMenu(w, "menu");
    order.push_back("returned");
    sim::RunPostedEvents();
    EXPECT_EQ(order, std::vector<std::string>({"open", "tick", "returned", "item"}));
}

TEST(SimMenusDeathTest, ChoosingAnItemThatIsNotShownAborts) {
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    EXPECT_DEATH(
        {
            sim::Reset();
            const WindowId w = Open();
            sim::AnswerMenu("gone");
            desktop::PopUpMenu(w, "menu");
        },
        "not a visible item");
}

TEST(SimMessageBoxes, AreTaskModalUnlessSystemModalAndCheckedWhileOpen) {
    sim::Reset();
    int checks = 0;
    sim::WhileNextMessageBoxOpen([&] {
        ++checks;
        EXPECT_EQ(sim::MessageBoxes().size(), 1u);
    });
    EXPECT_EQ(desktop::ShowMessageBox("a", desktop::kMbOk | desktop::kMbTopmost, "c"), desktop::kIdOk);
    desktop::ShowMessageBox("b", desktop::kMbSystemModal, "c");
    EXPECT_EQ(checks, 1);
    ASSERT_EQ(sim::MessageBoxes().size(), 2u);
    EXPECT_EQ(sim::MessageBoxes()[0].flags, 0x42000u);
    EXPECT_EQ(sim::MessageBoxes()[1].flags, 0x1000u);
}

// ---- Clipboard ---------------------------------------------------------------

TEST(SimClipboard, BusyAndPictureOnlyGiveNoTextAndABusyOneCannotBeSet) {
    sim::Reset();
    sim::PutClipboardPicture();
    EXPECT_TEXT_EQ(desktop::GetClipboardText(), "");

    sim::PutClipboardText("held");
    sim::HoldClipboard(true);
    EXPECT_TEXT_EQ(desktop::GetClipboardText(), "");
    EXPECT_FALSE(desktop::SetClipboardText("new"));
    EXPECT_TEXT_EQ(sim::Clipboard().text, "held");

    sim::HoldClipboard(false);
    sim::PutClipboardPicture();
    EXPECT_TRUE(desktop::SetClipboardText(""));
    const sim::ClipboardState c = sim::Clipboard();
    EXPECT_TRUE(c.hasText);
    EXPECT_TEXT_EQ(c.text, "");
    EXPECT_FALSE(c.hasPicture);
    EXPECT_EQ(c.formatCount, 1);
    EXPECT_EQ(sim::ClipboardOpenCount(), 4);
}

// ---- Profile files -------------------------------------------------------------

struct IniRead {
    const char* file;
    const char* section;
    const char* key;
    const char* expected;  // with the fallback "fb  " (trailing spaces dropped)
};

class SimIniRead : public testing::TestWithParam<IniRead> {};

TEST_P(SimIniRead, FollowsTheProfileRules) {
    sim::Reset();
    const std::string dir = desktop::GetRunDirectory();
    WriteFile(dir + "/s.ini", GetParam().file);
    EXPECT_TEXT_EQ(desktop::ReadIniValue(dir + "\\s.ini", GetParam().section, GetParam().key, "fb  "),
                   GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SimIniRead,
    testing::Values(IniRead{"[General]\r\nBox = dang dang \r\n", "general", "box", "dang dang"},
                    IniRead{"[general]\nbox=\"quoted\"\n", "general", "box", "quoted"},
                    IniRead{"[general]\nbox='half\"\n", "general", "box", "'half\""},
                    IniRead{"[general]\nbox=\n", "general", "box", ""},
                    IniRead{"[general]\nbox\n", "general", "box", "fb"},
                    IniRead{"[general]\nother=1\n[next]\nbox=2\n", "general", "box", "fb"},
                    IniRead{"[general]\nbox=1\n", "  \tgeneral", "\r\nbox", "1"},
                    IniRead{"[general]\nbox=1\n", "   ", "box", ""},
                    IniRead{"[ general ]\r\n  box=1", "general", "box", "1"}));

TEST(SimIni, MissingFileGivesTheFallbackAndLongValuesAreCut) {
    sim::Reset();
    const std::string dir = desktop::GetRunDirectory();
    EXPECT_TEXT_EQ(desktop::ReadIniValue(dir + "\\none.ini", "general", "box", "taobao"), "taobao");
    WriteFile(dir + "/long.ini", "[general]\nbox=" + std::string(12000, 'v') + "\n");
    EXPECT_EQ(desktop::ReadIniValue(dir + "\\long.ini", "general", "box", "").size(), 10239u);
}

TEST(SimIni, WritesCreateWithCrLfAndReplaceInPlace) {
    sim::Reset();
    const std::string dir = desktop::GetRunDirectory();
    const std::string file = dir + "\\k.ini";
    EXPECT_TRUE(desktop::WriteIniValue(file, "general", "trans", "20"));
    EXPECT_TRUE(desktop::WriteIniValue(file, "general", "box", "taobao"));
    EXPECT_EQ(ReadFile(dir + "/k.ini"), "[general]\r\ntrans=20\r\nbox=taobao\r\n");

    WriteFile(dir + "/k.ini", "; note\n[General]\nTRANS = 5\n\n[other]\nx=1");
    EXPECT_TRUE(desktop::WriteIniValue(file, "general", "trans", "33"));
    EXPECT_TRUE(desktop::WriteIniValue(file, "general", "box", ""));
    EXPECT_TRUE(desktop::WriteIniValue(file, "third", "k", "v"));
    EXPECT_EQ(ReadFile(dir + "/k.ini"),
              "; note\n[General]\nTRANS=33\r\nbox=\r\n\n[other]\nx=1\r\n[third]\r\nk=v\r\n");

    EXPECT_FALSE(desktop::WriteIniValue(dir + "\\no folder\\k.ini", "general", "box", "x"));
}

TEST(SimFiles, TakeBackslashesAsSeparators) {
    sim::Reset();
    const std::string dir = desktop::GetRunDirectory();
    EXPECT_TRUE(desktop::CreateFolder(dir + "\\ad"));
    EXPECT_FALSE(desktop::CreateFolder(dir + "\\ad"));
    EXPECT_TRUE(desktop::WriteWholeFile(dir + "\\ad\\css.css", {"a", "", "bc"}));
    EXPECT_EQ(ReadFile(dir + "/ad/css.css"), "abc");
    EXPECT_TRUE(desktop::FileExists(dir + "\\ad"));
    EXPECT_FALSE(desktop::WriteWholeFile("", {"x"}));
    EXPECT_FALSE(desktop::RemoveFile(dir + "\\ad"));
    EXPECT_TRUE(desktop::RemoveFile(dir + "\\ad\\css.css"));
    EXPECT_FALSE(desktop::FileExists(dir + "\\ad\\css.css"));
}

// ---- Registry, programs, randomness, web ---------------------------------------

TEST(SimRegistry, ReadsTextValuesOnly) {
    sim::Reset();
    sim::SetRegistryText(4, "SOFTWARE\\Clients\\StartMenuInternet\\", "FIREFOX.EXE");
    sim::SetRegistryNumber(4, "SOFTWARE\\Clients\\Count", 3);
    EXPECT_TEXT_EQ(desktop::ReadRegistryText(4, "software\\clients\\startmenuinternet\\", "x"), "FIREFOX.EXE");
    EXPECT_TEXT_EQ(desktop::ReadRegistryText(4, "SOFTWARE\\Clients\\Count", "fallback"), "fallback");
    EXPECT_TEXT_EQ(desktop::ReadRegistryText(3, "SOFTWARE\\Clients\\StartMenuInternet\\"), "");
}

TEST(SimPrograms, StartWhenTheFirstWordIsNotEmpty) {
    sim::Reset();
    EXPECT_TRUE(desktop::RunProgram("\"C:\\b r\\x.exe\" -url a", false));
    EXPECT_FALSE(desktop::RunProgram(" http://a", false));
    EXPECT_FALSE(desktop::RunProgram("\"\" a", false));
    EXPECT_EQ(sim::StartedPrograms(), std::vector<std::string>({"\"C:\\b r\\x.exe\" -url a"}));
    EXPECT_EQ(sim::ProgramRuns().size(), 3u);
}

TEST(SimRandom, SeedsFromTheVirtualClockLikeTheCRuntime) {
    sim::Reset();
    EXPECT_EQ(desktop::RandomInRange(5, 7), 5 + 41 % 3);  // srand(1); rand() is 41
    sim::QueueRandom(4);
    EXPECT_EQ(desktop::RandomInRange(5, 7), 6);
}

TEST(SimWeb, WorkersWaitInRealTimeAndMayOutliveTheWait) {
    sim::Reset();
    sim::ServePage("http://127.0.0.1/slow", {.body = "late", .delayMilliseconds = 300});
    sim::ServePage("http://127.0.0.1/fast", {.body = "page"});
    sim::ServePage("http://127.0.0.1/down", {.body = "never", .fails = true});
    std::string fast;
    EXPECT_TRUE(desktop::RunWorkerWithTimeout([&] { fast = desktop::HttpGetFile("http://127.0.0.1/fast"); }, 2000));
    EXPECT_TEXT_EQ(fast, "page");
    EXPECT_TEXT_EQ(desktop::HttpGetFile("http://127.0.0.1/down"), "");
    EXPECT_TEXT_EQ(desktop::HttpGetFile("http://127.0.0.1/unknown"), "");

    // The worker goes on after the wait and hands its result over later.
    struct HandOver {
        std::string body;
        std::atomic<bool> done{false};
    };
    auto late = std::make_shared<HandOver>();
    EXPECT_FALSE(desktop::RunWorkerWithTimeout(
        [late] {
            late->body = desktop::HttpGetFile("http://127.0.0.1/slow");
            late->done = true;
        },
        50));
    EXPECT_FALSE(late->done);
    for (int i = 0; i < 300 && !late->done; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(late->done);
    EXPECT_TEXT_EQ(late->body, "late");
    EXPECT_EQ(sim::RequestedUrls().size(), 4u);
}

TEST(SimWeb, RunFasterByTheDivisorAndCanBeWaitedFor) {
    sim::Reset({.workerTimeDivisor = 20});
    sim::ServePage("http://127.0.0.1/slow", {.body = "late", .delayMilliseconds = 4000});  // 200 ms
    auto body = std::make_shared<std::string>();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(desktop::RunWorkerWithTimeout([body] { *body = desktop::HttpGetFile("http://127.0.0.1/slow"); },
                                               2000));  // 100 ms
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(90));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    sim::WaitForWorkers();
    EXPECT_TEXT_EQ(*body, "late");
}

}  // namespace

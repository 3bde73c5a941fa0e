// The advert lines: refreshed from the main online page at each tick of the
// online timer, with their defaults, and the links they open.
#include <gtest/gtest.h>

#include "app/startup.h"
#include "build_config.h"
#include "online/decipher.h"
#include "online/link_opener.h"
#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "test_support.h"

namespace {

using forms::Ctl;

constexpr int kLocalMachine = 4;
constexpr const char* kBrowser = "C:\\Browsers\\iexplore.exe";

std::string Quoted(const std::string& url) { return std::string(kBrowser) + " \"" + url + "\""; }

// The main page as the publisher serves it: the enciphered block between the outer markers.
std::string MainPage(const std::string& plain) {
    return "<html><body>[联机开始]" + online::EncipherOnlineText(plain) + "[联机结束]</body></html>";
}

class Adverts : public testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        sim::SetRegistryText(kLocalMachine, "SOFTWARE\\Clients\\StartMenuInternet\\IEXPLORE.EXE\\shell\\open\\command\\",
                             kBrowser);
        sim::QueueRandom(0);  // first refresh after 5 s
        main = app::StartQuillo();
        ASSERT_NE(main, 0);
    }
    void Serve(const std::string& plain) { sim::ServePage(build_config::kMainOnlinePage, {.body = MainPage(plain)}); }
    void Tick() { sim::AdvanceClock(forms::TimerPeriod(Ctl(main, "时钟_联机"))); }
    std::string Lower() const { return forms::Text(Ctl(main, "标签_假下并广告")); }
    std::string Upper() const { return forms::Text(Ctl(main, "标签_上广告")); }
    // What a press on each line started (empty: nothing).
    std::pair<std::string, std::string> PressBoth() const {
        const size_t before = sim::StartedPrograms().size();
        sim::PressMouse(Ctl(main, "标签_上广告"));
        const std::string upper = sim::StartedPrograms().size() > before ? sim::StartedPrograms().back() : "";
        sim::PressMouse(Ctl(main, "标签_假下并广告"));
        const std::string lower = sim::StartedPrograms().size() > before + !upper.empty()
                                      ? sim::StartedPrograms().back() : "";
        return {upper, lower};
    }

    forms::WindowId main = 0;
};

TEST_F(Adverts, BeforeTheFirstTickTheLinesHaveTheirDefaults) {
    EXPECT_TEXT_EQ(Lower(), "淘宝淘实惠");
    EXPECT_TEXT_EQ(Upper(), "");
    auto [upper, lower] = PressBoth();
    EXPECT_EQ(upper, "");
    EXPECT_TEXT_EQ(lower, Quoted(online::ChannelLink()));
}

struct PageCase {
    const char* what;
    std::string plain;  // deciphered block; empty: no page at all
    const char* lowerText;
    const char* upperText;
    std::string upperOpens;  // empty: nothing
    std::string lowerOpens;
};

class AdvertPages : public Adverts, public testing::WithParamInterface<PageCase> {};

TEST_P(AdvertPages, SetBothLinesAndTheirLinks) {
    const PageCase& c = GetParam();
    if (!c.plain.empty()) Serve(c.plain);
    Tick();
    EXPECT_TEXT_EQ(Lower(), c.lowerText);
    EXPECT_TEXT_EQ(Upper(), c.upperText);
    auto [upper, lower] = PressBoth();
    EXPECT_TEXT_EQ(upper, c.upperOpens.empty() ? "" : Quoted(c.upperOpens));
    EXPECT_TEXT_EQ(lower, Quoted(c.lowerOpens.empty() ? online::ChannelLink() : c.lowerOpens));
}

INSTANTIATE_TEST_SUITE_P(
    Pages, AdvertPages,
    testing::Values(
        PageCase{"no_page", "", "淘宝淘实惠", "", "", ""},
        PageCase{"everything",
                 "[广告文本开始]下广告[广告文本结束][广告链接开始]http://lower.example/[广告链接结束]"
                 "[上广告文本开始]上广告[上广告文本结束][上广告链接开始]http://upper.example/[上广告链接结束]",
                 "下广告", "上广告 |", "http://upper.example/", "http://lower.example/"},
        PageCase{"lower_text_without_link", "[广告文本开始]只有文字[广告文本结束]", "只有文字", "", "", ""},
        PageCase{"lower_link_without_text", "[广告链接开始]http://lower.example/[广告链接结束]", "淘宝淘实惠", "",
                 "", ""},
        PageCase{"default_text_with_other_link",
                 "[广告文本开始]淘宝淘实惠[广告文本结束][广告链接开始]http://lower.example/[广告链接结束]",
                 "淘宝淘实惠", "", "", ""},
        PageCase{"upper_link_without_text", "[上广告链接开始]http://upper.example/[上广告链接结束]", "淘宝淘实惠", "",
                 "http://upper.example/", ""}),
    [](const auto& info) { return info.param.what; });

TEST_F(Adverts, EveryTickReplacesAllFourValues) {
    Serve("[广告文本开始]下[广告文本结束][广告链接开始]http://l/[广告链接结束]"
          "[上广告文本开始]上[上广告文本结束][上广告链接开始]http://u/[上广告链接结束]");
    Tick();
    EXPECT_TEXT_EQ(Upper(), "上 |");
    sim::ServePage(build_config::kMainOnlinePage, {.body = "", .fails = true});
    Tick();
    EXPECT_TEXT_EQ(Lower(), "淘宝淘实惠");
    EXPECT_TEXT_EQ(Upper(), "");
    auto [upper, lower] = PressBoth();
    EXPECT_EQ(upper, "");
    EXPECT_TEXT_EQ(lower, Quoted(online::ChannelLink()));
}

TEST_F(Adverts, TheNextPeriodIsFiveToEightWholeMinutesSetBeforeTheFetch) {
    for (auto [r, minutes] : {std::pair{0, 5}, {1, 6}, {2, 7}, {3, 8}, {32767, 8}}) {
        sim::QueueRandom(r);
        Tick();
        EXPECT_EQ(forms::TimerPeriod(Ctl(main, "时钟_联机")), minutes * 60000) << "r = " << r;
    }
    for (int i = 0; i < 30; ++i) {
        Tick();
        const int period = forms::TimerPeriod(Ctl(main, "时钟_联机"));
        EXPECT_TRUE(period % 60000 == 0 && period >= 5 * 60000 && period <= 8 * 60000) << period;
    }
}

TEST_F(Adverts, ChannelAndUpdateItemsOfBothMenus) {
    for (const char* menu : {"托盘菜单", "更多菜单"}) {
        sim::AnswerMenu("淘宝淘实惠");
        desktop::PopUpMenu(main, menu);
        sim::RunPostedEvents();
        EXPECT_TEXT_EQ(sim::StartedPrograms().back(), Quoted(online::ChannelLink())) << menu;
        sim::AnswerMenu("检查更新");
        desktop::PopUpMenu(main, menu);
        sim::RunPostedEvents();
        EXPECT_TEXT_EQ(sim::StartedPrograms().back(), Quoted(online::UpdatePageLink())) << menu;
    }
}

}  // namespace

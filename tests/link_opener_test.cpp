// Opening links in the registered default browser, and the clipboard fallback.
#include <gtest/gtest.h>

#include "online/link_opener.h"
#include "platform/desktop.h"
#include "platform/sim/sim.h"
#include "test_support.h"

namespace {

constexpr int kLocalMachine = 4;
const std::string kClients = "SOFTWARE\\Clients\\StartMenuInternet\\";
constexpr const char* kNoBrowser = "未发现默认网络浏览器或默认网络浏览器配置错误，该网址已送至剪贴板。";

class LinkOpener : public testing::Test {
protected:
    void SetUp() override {
        sim::Reset();
        // Only the programs that exist start, as CreateProcess would have it.
        sim::SetProgramStarter([](std::string_view line) {
            return line.rfind("\"C:\\Browsers\\", 0) == 0 || line.rfind("C:\\Browsers\\", 0) == 0;
        });
    }
    static void RegisterBrowser(const std::string& client, const std::string& command) {
        sim::SetRegistryText(kLocalMachine, kClients + client + "\\shell\\open\\command\\", command);
    }
    static void ExpectFallback(const std::string& url) {
        EXPECT_TRUE(sim::StartedPrograms().empty());
        EXPECT_TEXT_EQ(sim::Clipboard().text, url);
        ASSERT_EQ(sim::MessageBoxes().size(), 1u);
        EXPECT_TEXT_EQ(sim::MessageBoxes()[0].text, kNoBrowser);
        EXPECT_TEXT_EQ(sim::MessageBoxes()[0].caption, "提示：");
        EXPECT_EQ(sim::MessageBoxes()[0].flags, desktop::kMbOk | desktop::kMbTopmost | desktop::kMbTaskModal);
    }
};

TEST_F(LinkOpener, StartsTheRegisteredClientWithTheLink) {
    sim::SetRegistryText(kLocalMachine, kClients, "FIREFOX.EXE");
    RegisterBrowser("FIREFOX.EXE", "\"C:\\Browsers\\firefox.exe\" -osint -url");
    online::OpenInBrowser("http://example.com/a?b=1&c=2");
    ASSERT_EQ(sim::StartedPrograms().size(), 1u);
    EXPECT_TEXT_EQ(sim::StartedPrograms()[0], "\"C:\\Browsers\\firefox.exe\" -osint -url \"http://example.com/a?b=1&c=2\"");
    EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(LinkOpener, WithoutADefaultClientInternetExplorerIsLookedUp) {
    RegisterBrowser("IEXPLORE.EXE", "C:\\Browsers\\iexplore.exe");
    online::OpenInBrowser("https://example.com/");
    ASSERT_EQ(sim::StartedPrograms().size(), 1u);
    EXPECT_TEXT_EQ(sim::StartedPrograms()[0], "C:\\Browsers\\iexplore.exe \"https://example.com/\"");
}

TEST_F(LinkOpener, AMissingOrBrokenCommandPutsTheLinkOnTheClipboard) {
    sim::SetRegistryText(kLocalMachine, kClients, "Gone");
    online::OpenInBrowser("http://example.com/x");
    ExpectFallback("http://example.com/x");

    SetUp();
    sim::SetRegistryText(kLocalMachine, kClients, "Broken");
    RegisterBrowser("Broken", "C:\\Nowhere\\browser.exe");
    online::OpenInBrowser("http://example.com/y");
    ExpectFallback("http://example.com/y");
}

TEST_F(LinkOpener, TheLinkIsAlwaysOneArgument) {
    const std::pair<std::string, std::string> cases[] = {
        {"http://a/b c", "\"http://a/b c\""},
        {"http://a/\" --kiosk \"file:///x", "\"http://a/%22 --kiosk %22file:///x\""},
        {"http://a/b\\", "\"http://a/b\\\\\""},
        // A double-byte character whose trail byte is 0x5C is no backslash.
        {"http://a/\x81\x5C", "\"http://a/\x81\x5C\""},
        {"HTTPS://A/", "\"HTTPS://A/\""},
    };
    for (const auto& [url, argument] : cases)
        EXPECT_TEXT_EQ(online::BrowserCommandLine("C:\\Browsers\\b.exe", url), "C:\\Browsers\\b.exe " + argument);
}

TEST_F(LinkOpener, OnlyWebLinksAreOpened) {
    RegisterBrowser("IEXPLORE.EXE", "C:\\Browsers\\iexplore.exe");
    sim::PutClipboardText("mine");
    for (const char* url : {"file:///C:/Windows/system32/calc.exe", "javascript:alert(1)", "", "httpx://a",
                            "C:\\Windows\\notepad.exe"}) {
        online::OpenInBrowser(url);
    }
    EXPECT_TRUE(sim::StartedPrograms().empty());
    EXPECT_TRUE(sim::MessageBoxes().empty());
    EXPECT_TEXT_EQ(sim::Clipboard().text, "mine");
}

TEST(ChannelLink, IsTheChannelPathWithPublisherAndEvent) {
    const std::string link = online::ChannelLink();
    EXPECT_NE(link.find("/go/chn/tbk_channel/channelcode.php?pid="), std::string::npos) << link;
    EXPECT_NE(link.find("&eventid="), std::string::npos) << link;
}

}  // namespace

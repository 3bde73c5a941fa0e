// Fetching online pages on real worker threads through the scripted web. The
// sim runs worker waits and page delays 25 times faster than real time: the
// 10 s wait lasts 400 ms, a 15 s download 600 ms.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "online/fetch.h"
#include "platform/sim/sim.h"
#include "tests/test_support.h"

namespace {

using online::FetchMarkedText;
using online::OnlineUser;

constexpr int kSlow = 15000;  // longer than the fetch's wait

class Fetch : public testing::Test {
protected:
    void SetUp() override {
        sim::Reset({.workerTimeDivisor = 25});
        // Each user's page-text slot lives for the whole run: start from an
        // empty one (a failed download stores an empty text).
        for (OnlineUser user : {OnlineUser::MainAdverts, OnlineUser::SearchBox, OnlineUser::MiniWindow}) {
            Get(user, "http://127.0.0.1/unknown");
        }
    }
    void TearDown() override { sim::WaitForWorkers(); }

    static std::string Get(OnlineUser user, const char* url) { return FetchMarkedText(user, url, "[S]", "[E]"); }
    static void Serve(const char* url, std::string body, int delay = 0, bool fails = false) {
        sim::ServePage(url, {.body = std::move(body), .delayMilliseconds = delay, .fails = fails});
    }
};

TEST_F(Fetch, CutsTheBlockOutOfThePage) {
    struct Case {
        const char* what;
        sim::WebPage page;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"a page with a block", {.body = "<p>[S]9F&amp;00[E]</p>"}, "9F&00"},
        {"a failed download", {.body = "<p>[S]9F[E]</p>", .fails = true}, ""},
        {"an empty page", {.body = ""}, ""},
        {"a page starting with a zero byte", {.body = std::string("\0[S]9F[E]", 9)}, ""},
        {"a zero byte after the block", {.body = std::string("[S]9F[E]\0[S]x", 13)}, "9F"},
        {"a zero byte inside the block", {.body = std::string("[S]9\0F[E]", 9)}, ""},
        {"nested amp;", {.body = "[S]aaamp;mp;mp;[E]"}, ""},
        {"an error page", {.body = "<h1>404 Not Found</h1>"}, ""},
    };
    for (const auto& c : cases) {
        sim::ServePage("http://127.0.0.1/page", c.page);
        EXPECT_TEXT_EQ(Get(OnlineUser::MainAdverts, "http://127.0.0.1/page"), c.expected) << c.what;
    }
}

// A worker that outlives its wait hands its page over to the next fetch of
// the same user whose own worker is late too; one that ends in time wins.
TEST_F(Fetch, ALateWorkersPageServesTheNextLateFetch) {
    Serve("http://127.0.0.1/one", "[S]one[E]", kSlow);
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/one"), "");
    sim::WaitForWorkers();

    Serve("http://127.0.0.1/two", "[S]two[E]", kSlow);
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/two"), "one");
    sim::WaitForWorkers();
    Serve("http://127.0.0.1/three", "[S]three[E]");
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/three"), "three");

    // A failed download replaces the good text with an empty one.
    Serve("http://127.0.0.1/three", "[S]three[E]", 0, true);
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/three"), "");
    Serve("http://127.0.0.1/four", "[S]four[E]", kSlow);
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/four"), "");
}

TEST_F(Fetch, TheThreeUsersKeepTheirPagesApart) {
    Serve("http://127.0.0.1/main", "[S]main[E]");
    Serve("http://127.0.0.1/box", "[S]box[E]");
    Serve("http://127.0.0.1/mini", "[S]&amp;mini[E]");
    EXPECT_TEXT_EQ(Get(OnlineUser::MainAdverts, "http://127.0.0.1/main"), "main");
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/box"), "box");

    // While the mini window's block is cleaned, pending events run; one of
    // them fetches the main page again, late this time.
    Serve("http://127.0.0.1/main", "[S]main again[E]", kSlow);
    std::string fromEvent;
    sim::WhileNextProcessEvents(
        [&] { fromEvent = Get(OnlineUser::MainAdverts, "http://127.0.0.1/main"); });
    EXPECT_TEXT_EQ(Get(OnlineUser::MiniWindow, "http://127.0.0.1/mini"), "&mini");
    EXPECT_TEXT_EQ(fromEvent, "main");  // its own last page, not the mini window's

    // Late fetches of each user fall back on that user's own last page.
    Serve("http://127.0.0.1/box", "[S]box again[E]", kSlow);
    Serve("http://127.0.0.1/mini", "[S]mini again[E]", kSlow);
    EXPECT_TEXT_EQ(Get(OnlineUser::SearchBox, "http://127.0.0.1/box"), "box");
    EXPECT_TEXT_EQ(Get(OnlineUser::MiniWindow, "http://127.0.0.1/mini"), "&mini");
}

}  // namespace

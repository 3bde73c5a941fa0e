#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "online/marked_text.h"
#include "tests/amp_reference.h"
#include "tests/test_support.h"

namespace {

using online::ExtractMarkedText;
using online::RemoveAmpSequences;

struct ExtractCase {
    const char* what;
    std::string source;
    std::string expected;
};

TEST(ExtractMarkedText, CutsTheFirstBlockBetweenTheMarkers) {
    const std::string start = "[联机开始]";
    const std::string end = "[联机结束]";
    const std::string utf8Page = reinterpret_cast<const char*>(u8"<p>[联机开始]ABCD[联机结束]</p>");
    const std::vector<ExtractCase> cases = {
        {"plain block", "<html>" + start + "9F00AB" + end + "</html>", "9F00AB"},
        {"no end marker", start + "9F00AB", ""},
        {"end marker only before the start", end + "x" + start + "9F00AB", ""},
        {"end marker before and after", end + "x" + start + "9F" + end, "9F"},
        {"markers next to each other", start + end + "tail", ""},
        {"two blocks: the first", start + "one" + end + start + "two" + end, "one"},
        {"no start marker", "just a page " + end, ""},
        {"empty page", "", ""},
        {"page in UTF-8", utf8Page, ""},
        {"Chinese block", start + "广告" + end, "广告"},
    };
    for (const auto& c : cases) {
        EXPECT_TEXT_EQ(ExtractMarkedText(c.source, start, end), c.expected) << c.what;
    }
}

TEST(ExtractMarkedText, MatchesOnlyOnCharacterBoundaries) {
    // '[' (0x5B) is a valid GBK trail byte: after the lead byte 0x81 it is the
    // second half of a character, not the start of a marker.
    const std::vector<ExtractCase> cases = {
        {"start marker inside a character", "\x81[S]body[E]", ""},
        {"start found after one inside a character", "\x81[S]a[S]body[E]", "body"},
        {"end marker inside a character", "[S]ab\x81[E]c[E]", "ab\x81[E]c"},
        {"two-byte characters before the markers", "\xC1\xAA\xBB\xFA[S]x[E]", "x"},
        {"lone lead byte at the end", "[S]abc\x81", ""},
        {"lone lead byte right after the start", "[S]\x81", ""},
        {"start marker cut by the end", "xx[S", ""},
    };
    for (const auto& c : cases) {
        EXPECT_TEXT_EQ(ExtractMarkedText(c.source, "[S]", "[E]"), c.expected) << c.what;
    }
}

struct RemovalCase {
    std::string block;
    std::string expected;
};

TEST(RemoveAmpSequences, RemovesAmpInAnyCaseUntilNoneIsLeft) {
    const std::vector<RemovalCase> cases = {
        {"a=1&amp;b=2", "a=1&b=2"},
        {"&AMP;&Amp;&aMp;&amP;", "&&&&"},
        {"a" "amp;" "mp;", ""},
        {"&amp;amp;amp;", "&"},
        {"aaamp;mp;mp;x", "x"},
        {"amp amp: am;p; &amp", "amp amp: am;p; &amp"},
        {"联&amp;机", "联&机"},
        {"", ""},
        // 'a' right after a lead byte is that character's trail byte.
        {"\x81" "amp;", "\x81" "amp;"},
        {"a\x81" "amp;mp;", "a\x81" "amp;mp;"},
        {"\x81\x81" "amp;", "\x81\x81"},
        {"\xC1\xAA" "aamp;mp;\xC1\xAA", "\xC1\xAA\xC1\xAA"},
        {"amp;\x81", "\x81"},
        {"am\x81p;", "am\x81p;"},
    };
    for (const auto& c : cases) {
        EXPECT_TEXT_EQ(RemoveAmpSequences(c.block), c.expected) << test::Utf8(c.block);
        EXPECT_TEXT_EQ(test::RemoveAmpByPasses(c.block), c.expected) << test::Utf8(c.block);
    }
}

// Every text up to 8 characters over an alphabet that can form "amp;" in
// several cases and holds a lead byte, then longer random and nested texts.
TEST(RemoveAmpSequences, GivesTheResultOfRepeatedPasses) {
    const std::string alphabet = "aMp;\x81";
    std::string text;
    for (std::size_t length = 0; length <= 8; ++length) {
        std::vector<std::size_t> digits(length, 0);
        while (true) {
            text.clear();
            for (std::size_t d : digits) {
                text.push_back(alphabet[d]);
            }
            ASSERT_EQ(RemoveAmpSequences(text), test::RemoveAmpByPasses(text)) << test::Utf8(text);
            std::size_t k = 0;
            while (k < length && ++digits[k] == alphabet.size()) {
                digits[k++] = 0;
            }
            if (k == length) {
                break;
            }
        }
    }

    std::mt19937 random(12345);
    const std::vector<std::string> pieces = {"a", "A", "m", "M", "p", "P", ";", "amp;", "AmP;", "mp;",
                                             "&", "x", "\x81", "\xC1\xAA", "\xB0" "a", "\xFE;"};
    for (int round = 0; round < 20000; ++round) {
        text.clear();
        const int count = static_cast<int>(random() % 40);
        for (int i = 0; i < count; ++i) {
            text += pieces[random() % pieces.size()];
        }
        ASSERT_EQ(RemoveAmpSequences(text), test::RemoveAmpByPasses(text)) << test::Utf8(text);
    }

    // Nested "a...amp;mp;...", some with a two-byte character pushed in.
    for (int depth = 1; depth < 60; depth += 7) {
        const std::string nested = std::string(static_cast<std::size_t>(depth), 'a') + "amp;";
        std::string block = nested;
        for (int i = 0; i < depth; ++i) {
            block += "mp;";
        }
        int passes = 0;
        EXPECT_EQ(test::RemoveAmpByPasses(block, &passes), "");
        EXPECT_EQ(passes, depth + 1);
        EXPECT_EQ(RemoveAmpSequences(block), "");
        for (std::size_t at = 0; at <= block.size(); at += 5) {
            const std::string broken = block.substr(0, at) + "\xC1" + block.substr(at);
            ASSERT_EQ(RemoveAmpSequences(broken), test::RemoveAmpByPasses(broken)) << test::Utf8(broken);
        }
    }
}

}  // namespace

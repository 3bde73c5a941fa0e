// The page author's tool, run as the author runs it.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "online/decipher.h"
#include "online/marked_text.h"
#include "online/online_markers.h"
#include "tests/test_support.h"

namespace {

#ifdef QUILLO_BLOCKTOOL

class BlockTool : public testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/quillo_blocktool_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder_ + "'").c_str()); }

    std::string Path(const char* name) const { return folder_ + "/" + name; }
    void Write(const char* name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
    }
    std::string Read(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Runs the tool with the arguments; true when it exits with 0.
    bool Run(const std::string& arguments, const char* output) const {
        const std::string command = std::string("'") + QUILLO_BLOCKTOOL + "' " + arguments + " > '" + Path(output) +
                                    "' 2>/dev/null";
        return std::system(command.c_str()) == 0;
    }

    std::string folder_;
};

TEST_F(BlockTool, EncodesBlocksThatTheProgramReadsAndDecodesThem) {
    const std::string plain = "[广告文本开始]新品上市[广告文本结束][广告链接开始]http://example.com/?a=1&b=2[广告链接结束]";
    Write("plain.txt", plain);

    ASSERT_TRUE(Run("encode '" + Path("plain.txt") + "'", "block.txt"));
    const std::string block = Read("block.txt");
    EXPECT_EQ(block, online::EncipherOnlineText(plain));
    ASSERT_TRUE(Run("decode '" + Path("block.txt") + "'", "decoded.txt"));
    EXPECT_TEXT_EQ(Read("decoded.txt"), plain);

    // Wrapped in the main page's markers and put in a page, as the author does.
    ASSERT_TRUE(Run("encode '" + Path("plain.txt") + "' --main", "wrapped.txt"));
    Write("page.htm", "<html><body>" + Read("wrapped.txt") + "</body></html>\r\n");
    const std::string cut = online::ExtractMarkedText(Read("page.htm"), online::kMainBlockMarkers.start,
                                                      online::kMainBlockMarkers.end);
    EXPECT_TEXT_EQ(online::DecipherOnlineText(cut), plain);
    ASSERT_TRUE(Run("decode '" + Path("page.htm") + "' --main", "from_page.txt"));
    EXPECT_TEXT_EQ(Read("from_page.txt"), plain);
    EXPECT_FALSE(Run("decode '" + Path("page.htm") + "' --searchbox", "wrong_markers.txt"));

    // Markers given on the command line as GBK bytes.
    const std::string start = "[联机信息开始]";
    ASSERT_TRUE(Run("encode '" + Path("plain.txt") + "' --markers '" + start + "' '[END]'", "custom.txt"));
    EXPECT_EQ(Read("custom.txt"), start + block + "[END]");
    ASSERT_TRUE(Run("decode '" + Path("custom.txt") + "' --markers '" + start + "' '[END]'", "custom_decoded.txt"));
    EXPECT_TEXT_EQ(Read("custom_decoded.txt"), plain);

    Write("broken.txt", block.substr(1));
    EXPECT_FALSE(Run("decode '" + Path("broken.txt") + "'", "broken_decoded.txt"));
}

#endif

}  // namespace

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "online/decipher.h"
#include "tests/test_support.h"

namespace {

using online::AesBlock;
using online::DecipherOnlineText;
using online::EncipherOnlineText;

std::vector<std::uint8_t> FromHex(std::string_view hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
    }
    return bytes;
}

template <std::size_t N>
std::array<std::uint8_t, N> Bytes(std::string_view hex) {
    const auto v = FromHex(hex);
    std::array<std::uint8_t, N> a{};
    std::copy(v.begin(), v.end(), a.begin());
    return a;
}

struct AesVector {
    const char* source;
    const char* key;
    const char* plain;
    const char* cipher;
};

TEST(Aes256, MatchesThePublishedVectors) {
    const char* sp800Key = "603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4";
    const std::vector<AesVector> vectors = {
        {"FIPS-197 C.3", "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
         "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
        {"SP 800-38A F.1.5 block 1", sp800Key, "6bc1bee22e409f96e93d7e117393172a", "f3eed1bdb5d2a03c064b5a7e3db181f8"},
        {"SP 800-38A F.1.5 block 2", sp800Key, "ae2d8a571e03ac9c9eb76fac45af8e51", "591ccb10d410ed26dc5ba74a31362870"},
        {"SP 800-38A F.1.5 block 3", sp800Key, "30c81c46a35ce411e5fbc1191a0a52ef", "b6ed21b99ca6f4f9f153e7b1beafed1d"},
        {"SP 800-38A F.1.5 block 4", sp800Key, "f69f2445df4f9b17ad2b417be66c3710", "23304b7a39f9f3ff067d8d8f9e24ecc7"},
    };
    for (const auto& v : vectors) {
        const auto schedule = online::ExpandAes256Key(Bytes<32>(v.key));
        AesBlock block = Bytes<16>(v.plain);
        online::EncipherAesBlock(schedule, block);
        EXPECT_EQ(block, Bytes<16>(v.cipher)) << v.source << " cipher";
        online::DecipherAesBlock(schedule, block);  // the F.1.6 direction for the SP 800-38A blocks
        EXPECT_EQ(block, Bytes<16>(v.plain)) << v.source << " inverse cipher";
    }
}

TEST(Aes256, KeyExpansionEndsWithThePublishedRoundKey) {
    // FIPS-197 A.3: the last four words of the expanded SP 800-38A key.
    const auto schedule = online::ExpandAes256Key(Bytes<32>("603deb1015ca71be2b73aef0857d77811f352c073b6108d72d9810a30914dff4"));
    const auto last = Bytes<16>("fe4890d1e6188d0b046df344706c631e");
    EXPECT_TRUE(std::equal(last.begin(), last.end(), schedule.bytes.end() - 16));
}

std::string ReadFile(const std::string& path, bool* found) {
    std::ifstream in(path, std::ios::binary);
    *found = static_cast<bool>(in);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Blocks made by openssl from the key text (tests/fixtures/make_online_blocks.sh).
TEST(DecipherOnlineText, ReadsBlocksMadeByOpenssl) {
#ifndef QUILLO_ONLINE_FIXTURES
    GTEST_SKIP() << "no fixture folder configured";
#else
    const std::string folder = QUILLO_ONLINE_FIXTURES;
    bool found = false;
    ReadFile(folder + "/made", &found);
    if (!found) {
        GTEST_SKIP() << "online block fixtures not made in " << folder;
    }
    struct Fixture {
        const char* block;
        const char* plain;
        std::string expected;       // the plain text cut at its first zero byte
        bool sameBlockFromProgram;  // the program's own block is identical
    };
    const std::string gbk =
        "[广告文本开始]本周新品 &amp; 特价[广告文本结束][广告链接开始]http://example.com/a?b=1&c=2[广告链接结束]";
    const std::vector<Fixture> fixtures = {
        {"gbk", "gbk", gbk, true},
        {"gbk_lower", "gbk", gbk, false},
        {"gbk_wrong_length", "gbk", gbk, false},
        {"exact32", "exact32", "0123456789abcdefFEDCBA9876543210", true},
        {"one_byte", "one_byte", "Q", true},
        {"zero_inside", "zero_inside", "before", true},
    };
    for (const auto& f : fixtures) {
        bool blockFound = false, plainFound = false;
        const std::string block = ReadFile(folder + "/" + f.block + ".hex", &blockFound);
        const std::string plain = ReadFile(folder + "/" + f.plain + ".plain", &plainFound);
        ASSERT_TRUE(blockFound && plainFound) << f.block;
        EXPECT_TEXT_EQ(DecipherOnlineText(block), f.expected) << f.block;
        if (f.sameBlockFromProgram) {
            EXPECT_EQ(EncipherOnlineText(plain), block) << f.block;
        }
    }
#endif
}

TEST(DecipherOnlineText, GivesEmptyTextForBlocksThatAreNotWellFormed) {
    const std::string good = EncipherOnlineText("some plain text");  // 8 + 16 bytes
    ASSERT_EQ(DecipherOnlineText(good), "some plain text");
    std::string badDigitInLength = good, badDigitInCipher = good;
    badDigitInLength[3] = 'G';
    badDigitInCipher[good.size() - 1] = 'g';
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"empty", ""},
        {"one digit", "0"},
        {"shorter than the length", "0F000000"},
        {"length only", "0F00000000000000"},
        {"not a whole cipher block", good.substr(0, good.size() - 2)},
        {"odd number of digits", good + "0"},
        {"a letter beyond F in the length", badDigitInLength},
        {"a letter beyond F in the cipher", badDigitInCipher},
        {"a line break at the end", good + "\r\n"},
        {"a space inside", good.substr(0, 20) + " " + good.substr(21)},
        {"0x prefix", "0x" + good.substr(2)},
    };
    for (const auto& [what, block] : cases) {
        EXPECT_EQ(DecipherOnlineText(block), "") << what;
    }
}

TEST(DecipherOnlineText, ReadsBackWhatWasEnciphered) {
    std::mt19937 random(7);
    for (std::size_t length = 1; length <= 70; ++length) {
        std::string plain(length, ' ');
        for (auto& c : plain) {
            c = static_cast<char>(1 + random() % 255);  // no zero byte
        }
        const std::string block = EncipherOnlineText(plain);
        ASSERT_EQ(block.size(), 16 + 32 * ((length + 15) / 16));
        EXPECT_EQ(DecipherOnlineText(block), plain) << length;
        std::string lower = block;
        for (auto& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        EXPECT_EQ(DecipherOnlineText(lower), plain) << length;
        // The length prefix is not used.
        std::string otherLength = block;
        otherLength.replace(0, 16, "FFFFFFFFFFFFFF7F");
        EXPECT_EQ(DecipherOnlineText(otherLength), plain) << length;
    }
    EXPECT_EQ(EncipherOnlineText(std::string("abc\0def", 7)).substr(0, 16), "0700000000000000");
    EXPECT_EQ(DecipherOnlineText(EncipherOnlineText(std::string("abc\0def", 7))), "abc");
    EXPECT_EQ(DecipherOnlineText(EncipherOnlineText("")), "");  // a length with no cipher block
}

}  // namespace

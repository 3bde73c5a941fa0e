// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <string_view>

#include "app/startup.h"
#include "platform/sim/sim.h"

namespace test {

// GBK bytes shown as UTF-8, so that a failure message is readable.
inline std::string Utf8(std::string_view gbk) {
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::string(gbk);
    std::string in(gbk), out(gbk.size() * 2 + 4, '\0');
    char* src = in.data();
    char* dst = out.data();
    size_t left = in.size(), room = out.size();
    while (left > 0 && iconv(cd, &src, &left, &dst, &room) == static_cast<size_t>(-1)) {
        // An invalid byte is shown as \xNN and skipped.
        static const char hex[] = "0123456789ABCDEF";
        const unsigned char b = static_cast<unsigned char>(*src);
        if (room < 4) break;
        *dst++ = '\\', *dst++ = 'x', *dst++ = hex[b >> 4], *dst++ = hex[b & 15];
        room -= 4, ++src, --left;
    }
    iconv_close(cd);
    out.resize(out.size() - room);
    return out;
}

inline testing::AssertionResult TextEq(const char* actualExpr, const char* expectedExpr,
                                       std::string_view actual, std::string_view expected) {
    if (actual == expected) return testing::AssertionSuccess();
    return testing::AssertionFailure() << actualExpr << " is \"" << Utf8(actual) << "\" (" << actual.size()
                                       << " bytes)\n" << expectedExpr << " is \"" << Utf8(expected) << "\" ("
                                       << expected.size() << " bytes)";
}

// A fresh in-memory desktop with the program started on it.
class StartedApp : public testing::Test {
protected:
    void SetUp() override { Start(); }
    void Start(const sim::Config& config = {}) {
        sim::Reset(config);
        main = app::StartQuillo();
        ASSERT_NE(main, 0);
    }
    forms::Control C(std::string_view name) const { return forms::Ctl(main, name); }

    forms::WindowId main = 0;
};

}  // namespace test

// Compares two ANSI byte strings and prints them as UTF-8 when they differ.
#define EXPECT_TEXT_EQ(actual, expected) EXPECT_PRED_FORMAT2(::test::TextEq, actual, expected)
#define ASSERT_TEXT_EQ(actual, expected) ASSERT_PRED_FORMAT2(::test::TextEq, actual, expected)

// The plain method of removing "amp;" from a block, kept as the yardstick for
// the single-pass removal: search character by character (a byte with the
// high bit set starts a two-byte character), remove every "amp;" in any
// letter case in one pass from left to right, and search again while any is
// left. Quadratic on nested input: for short texts in tests only.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace test {

inline bool IsAmpAt(std::string_view text, std::size_t i) {
    auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
    return i + 4 <= text.size() && lower(text[i]) == 'a' && lower(text[i + 1]) == 'm' &&
           lower(text[i + 2]) == 'p' && text[i + 3] == ';';
}

// One left-to-right pass; true when something was removed.
inline bool RemoveAmpOnePass(std::string& text) {
    std::string out;
    bool removed = false;
    std::size_t i = 0;
    while (i < text.size()) {
        if (IsAmpAt(text, i)) {
            i += 4;
            removed = true;
            continue;
        }
        const std::size_t length = (static_cast<unsigned char>(text[i]) & 0x80) ? 2 : 1;
        out.append(text, i, length);  // a lone lead byte at the end is copied alone
        i += length;
    }
    text = std::move(out);
    return removed;
}

// The text with "amp;" removed pass after pass; `passes` counts the passes
// that removed something.
inline std::string RemoveAmpByPasses(std::string_view block, int* passes = nullptr) {
    std::string text(block);
    int count = 0;
    while (RemoveAmpOnePass(text)) {
        ++count;
    }
    if (passes != nullptr) {
        *passes = count;
    }
    return text;
}

}  // namespace test

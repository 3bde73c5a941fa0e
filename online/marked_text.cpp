#include "online/marked_text.h"

#include <cstring>

namespace online {

namespace {

// A byte with the high bit set starts a two-byte character; a lead byte that is
// the text's last byte stands alone.
bool IsLeadByte(char c) {
    return (static_cast<unsigned char>(c) & 0x80) != 0;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::size_t FindCharacterwise(std::string_view text, std::string_view what, std::size_t from) {
    const std::size_t size = text.size();
    if (what.empty()) {
        return from <= size ? from : std::string_view::npos;
    }
    if (what.size() > size) {
        return std::string_view::npos;
    }
    const std::size_t last = size - what.size();  // the last place a match can begin
    for (std::size_t i = from; i <= last; i += IsLeadByte(text[i]) ? 2 : 1) {
        if (std::memcmp(text.data() + i, what.data(), what.size()) == 0) {
            return i;
        }
    }
    return std::string_view::npos;
}

std::string ExtractMarkedText(std::string_view source, std::string_view startMarker,
                              std::string_view endMarker) {
    const std::size_t start = FindCharacterwise(source, startMarker);
    if (start == std::string_view::npos) {
        return {};
    }
    const std::size_t from = start + startMarker.size();
    const std::size_t end = FindCharacterwise(source, endMarker, from);
    if (end == std::string_view::npos) {
        return {};
    }
    return std::string(source.substr(from, end - from));
}

// Why one pass gives the result of repeated passes:
//
// 1. A removed "amp;" is four single-byte characters starting on a character
//    boundary, so removing it leaves the character boundaries of everything
//    else as they were. The text can therefore be seen as a fixed sequence of
//    characters from which whole characters are taken away; a two-byte
//    character (or a lone lead byte at the end) never takes part in a match.
// 2. "amp;" in any letter case cannot overlap itself or another case variant:
//    no non-empty proper prefix of it ("a", "am", "amp") equals a suffix of the
//    same length (";", "p;", "mp;"), letter case ignored. So removing one
//    occurrence never destroys another, and every order of removing
//    occurrences one at a time ends in the same text, the only one reachable
//    that holds none. Repeated left-to-right passes are one such order.
// 3. The loop below is another: characters are copied to the output one by
//    one, and whenever the last four copied are "amp;" they are dropped again.
//    The output never holds an occurrence (a new one can only end at the
//    character just copied, which is checked), so at the end it is that text.
std::string RemoveAmpSequences(std::string_view block) {
    std::string out;
    out.reserve(block.size());
    // How many single-byte characters stand at the end of `out`: a match must
    // consist of four of them, so a trail byte that looks like 'a' is never
    // taken as the start of one.
    std::size_t singleRun = 0;
    std::size_t i = 0;
    while (i < block.size()) {
        if (IsLeadByte(block[i])) {
            const std::size_t length = (i + 1 < block.size()) ? 2 : 1;
            out.append(block.data() + i, length);
            i += length;
            singleRun = 0;
            continue;
        }
        out.push_back(block[i]);
        ++i;
        ++singleRun;
        if (singleRun >= 4 && out.back() == ';') {
            const char* tail = out.data() + out.size() - 4;
            if (LowerAscii(tail[0]) == 'a' && LowerAscii(tail[1]) == 'm' && LowerAscii(tail[2]) == 'p') {
                out.resize(out.size() - 4);
                singleRun -= 4;
            }
        }
    }
    return out;
}

}  // namespace online

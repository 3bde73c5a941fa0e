// Removing "amp;" from hostile blocks: the single pass gives what repeated
// passes give, leaves no "amp;" on a character boundary, and stays linear on
// deeply nested blocks (the fuzzer's time limit catches a slow one).
//
// Input: a mode byte, then
//   mode % 3 == 0: the block itself;
//   mode % 3 == 1: one character of a small alphabet per byte, so that nested
//                  "amp;" in mixed case next to double-byte characters is common;
//   mode % 3 == 2: a depth d (below 8192) from two bytes and a filler; the block is d times
//                  "a", "amp;", d times "mp;", with the filler put in the middle.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <string>
#include <string_view>

#include "online/marked_text.h"
#include "tests/amp_reference.h"

namespace {

constexpr std::size_t kReferenceLimit = 1024;  // the passes are quadratic
constexpr std::size_t kMaxDepth = 8192;

bool HasAmpOnBoundary(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); i += (static_cast<unsigned char>(text[i]) >= 0x80) ? 2 : 1) {
        if (test::IsAmpAt(text, i)) {
            return true;
        }
    }
    return false;
}

std::string MakeBlock(std::string_view input, unsigned mode) {
    static constexpr std::string_view kAlphabet[] = {"a", "A", "m", "M", "p", "P", ";", "amp;", "&",
                                                     "x", "\x81", "\xC1\xAA", "\xB0" "a", "\xFE;", "mp;", "\xC1"};
    std::string block;
    switch (mode % 3) {
    case 0:
        block = std::string(input);
        break;
    case 1:
        for (char c : input) {
            block += kAlphabet[static_cast<unsigned char>(c) % std::size(kAlphabet)];
        }
        break;
    default: {
        if (input.size() < 2) {
            return block;
        }
        const std::size_t depth =
            (static_cast<unsigned char>(input[0]) * 256u + static_cast<unsigned char>(input[1])) % kMaxDepth;
        input.remove_prefix(2);
        block.assign(depth, 'a');
        block += "amp;";
        block += input;
        for (std::size_t i = 0; i < depth; ++i) {
            block += "mp;";
        }
    }
    }
    return block;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string block = MakeBlock(input, data[0]);
    const std::string removed = online::RemoveAmpSequences(block);
    if (removed.size() > block.size() || (block.size() - removed.size()) % 4 != 0 || HasAmpOnBoundary(removed)) {
        std::abort();
    }
    if (block.size() <= kReferenceLimit && removed != test::RemoveAmpByPasses(block)) {
        std::abort();
    }
    return 0;
}

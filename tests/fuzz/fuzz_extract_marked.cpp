// Cutting marked blocks out of hostile pages: no read outside the page or the
// markers, and the block found is the one a plain walk over the page's
// character boundaries finds.
//
// Input: a mode byte, then (mode odd) two marker lengths of 0..7 bytes and the
// markers, then the page. With an even mode the page is searched for the main
// page's markers, written here as their GBK bytes ("[联机开始]", "[联机结束]")
// so that this target does not depend on how literals are compiled.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "online/marked_text.h"

namespace {

constexpr char kMainStart[] = "\x5B\xC1\xAA\xBB\xFA\xBF\xAA\xCA\xBC\x5D";
constexpr char kMainEnd[] = "\x5B\xC1\xAA\xBB\xFA\xBD\xE1\xCA\xF8\x5D";

// A copy in a block of exactly its size, so that reading one byte past its
// end is caught.
struct ExactCopy {
    explicit ExactCopy(std::string_view text) : bytes(new char[text.size()]), size(text.size()) {
        if (size != 0) {
            std::memcpy(bytes.get(), text.data(), size);
        }
    }
    std::string_view view() const { return {bytes.get(), size}; }
    std::unique_ptr<char[]> bytes;
    std::size_t size;
};

// The first character boundary at or after `from` where `what` stands.
std::size_t FirstAtBoundary(std::string_view text, std::string_view what, std::size_t from) {
    std::vector<std::size_t> boundaries;
    for (std::size_t i = from; i <= text.size();) {
        boundaries.push_back(i);
        if (i == text.size()) {
            break;
        }
        i += (static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size()) ? 2 : 1;
    }
    for (std::size_t b : boundaries) {
        if (text.substr(b).substr(0, what.size()) == what) {
            return b;
        }
    }
    return std::string_view::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view start = kMainStart, end = kMainEnd;
    const bool ownMarkers = (input[0] & 1) != 0;
    input.remove_prefix(1);
    if (ownMarkers) {
        if (input.size() < 2) {
            return 0;
        }
        const std::size_t startLength = static_cast<unsigned char>(input[0]) % 8;
        const std::size_t endLength = static_cast<unsigned char>(input[1]) % 8;
        input.remove_prefix(2);
        if (input.size() < startLength + endLength) {
            return 0;
        }
        start = input.substr(0, startLength);
        end = input.substr(startLength, endLength);
        input.remove_prefix(startLength + endLength);
    }
    const ExactCopy page(input), startCopy(start), endCopy(end);
    const std::string block = online::ExtractMarkedText(page.view(), startCopy.view(), endCopy.view());

    std::string expected;
    const std::size_t s = FirstAtBoundary(input, start, 0);
    if (s != std::string_view::npos) {
        const std::size_t e = FirstAtBoundary(input, end, s + start.size());
        if (e != std::string_view::npos) {
            expected = std::string(input.substr(s + start.size(), e - s - start.size()));
        }
    }
    if (block != expected) {
        std::abort();
    }
    return 0;
}

// Deciphering hostile blocks: anything not well formed gives empty text, a
// result never holds a zero byte nor more bytes than the block carries, and
// any text enciphered by the program's own encipherment reads back.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "online/decipher.h"

namespace {

bool WellFormed(std::string_view block) {
    if (block.size() % 2 != 0 || block.size() / 2 < 8 + 16 || (block.size() / 2 - 8) % 16 != 0) {
        return false;
    }
    for (char c : block) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string block(reinterpret_cast<const char*>(data), size);
    const std::string plain = online::DecipherOnlineText(block);
    if (!plain.empty() && (!WellFormed(block) || plain.size() > block.size() / 2 - 8 ||
                           plain.find('\0') != std::string::npos)) {
        std::abort();
    }

    // The input as a plain text, cut at its first zero byte, must come back.
    const std::string text = block.substr(0, block.find('\0'));
    const std::string enciphered = online::EncipherOnlineText(text);
    if (!text.empty() && (!WellFormed(enciphered) || online::DecipherOnlineText(enciphered) != text)) {
        std::abort();
    }
    return 0;
}

// The enciphered blocks of online info pages.
//
// A block is hexadecimal text (two digits per byte, either letter case) of:
// an 8-byte little-endian signed length of the plain text (written by the page
// author's tool, not needed to read the block back), then the plain text
// padded with zero bytes to a whole number of 16-byte blocks, enciphered with
// AES-256 in ECB mode (each 16-byte block on its own). The key is the key text
// of build_config.h followed by zero bytes up to 32 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace online {

using AesBlock = std::array<std::uint8_t, 16>;
using Aes256Key = std::array<std::uint8_t, 32>;

// The fifteen round keys of AES-256 (FIPS-197 key expansion, 14 rounds).
struct AesKeySchedule {
    std::array<std::uint8_t, 240> bytes{};
};

AesKeySchedule ExpandAes256Key(const Aes256Key& key);
// The cipher and the inverse cipher on one block, in place.
void EncipherAesBlock(const AesKeySchedule& schedule, AesBlock& block);
void DecipherAesBlock(const AesKeySchedule& schedule, AesBlock& block);

// A key text's bytes followed by zeros up to 32 bytes (cut to 32 when longer).
Aes256Key KeyFromText(std::string_view keyText);

// The plain text of a block, cut at its first zero byte. Empty for an empty
// block and for one that is not well formed: a character that is not a
// hexadecimal digit, an odd number of digits, fewer than 8 bytes, or no whole
// 16-byte blocks after the length.
std::string DecipherOnlineText(std::string_view block);

// The block of a plain text, with upper-case digits.
std::string EncipherOnlineText(std::string_view plain);

}  // namespace online

#include "online/decipher.h"

#include <cstddef>

#include "build_config.h"

namespace online {

namespace {

// ---- Arithmetic in GF(2^8) modulo x^8 + x^4 + x^3 + x + 1 -------------------

constexpr std::uint8_t Times2(std::uint8_t b) {
    return static_cast<std::uint8_t>((b << 1) ^ ((b & 0x80) ? 0x1B : 0x00));
}

constexpr std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) {
    std::uint8_t product = 0;
    while (b != 0) {
        if (b & 1) {
            product ^= a;
        }
        a = Times2(a);
        b >>= 1;
    }
    return product;
}

constexpr std::uint8_t RotateLeft(std::uint8_t b, int n) {
    return static_cast<std::uint8_t>((b << n) | (b >> (8 - n)));
}

// The substitution table: the multiplicative inverse (0 for 0), then the
// affine transformation with the constant 0x63. Inverses come from the powers
// of the generator 3: the inverse of 3^k is 3^(255-k).
struct SubstitutionTables {
    std::array<std::uint8_t, 256> forward{};
    std::array<std::uint8_t, 256> inverse{};
};

constexpr SubstitutionTables MakeSubstitutionTables() {
    std::array<std::uint8_t, 255> power{};
    std::array<int, 256> logarithm{};
    std::uint8_t p = 1;
    for (int k = 0; k < 255; ++k) {
        power[static_cast<std::size_t>(k)] = p;
        logarithm[p] = k;
        p = Multiply(p, 3);
    }
    SubstitutionTables t;
    for (int x = 0; x < 256; ++x) {
        const std::uint8_t inverse =
            x == 0 ? 0 : power[static_cast<std::size_t>((255 - logarithm[static_cast<std::size_t>(x)]) % 255)];
        const std::uint8_t s = static_cast<std::uint8_t>(inverse ^ RotateLeft(inverse, 1) ^ RotateLeft(inverse, 2) ^
                                                         RotateLeft(inverse, 3) ^ RotateLeft(inverse, 4) ^ 0x63);
        t.forward[static_cast<std::size_t>(x)] = s;
        t.inverse[s] = static_cast<std::uint8_t>(x);
    }
    return t;
}

constexpr SubstitutionTables kSubstitution = MakeSubstitutionTables();
static_assert(kSubstitution.forward[0x00] == 0x63 && kSubstitution.forward[0x53] == 0xED);
static_assert(kSubstitution.inverse[0x63] == 0x00 && kSubstitution.inverse[0xED] == 0x53);

// Products by the coefficients of InvMixColumns, looked up rather than computed.
struct ProductTables {
    std::array<std::uint8_t, 256> by9{}, by11{}, by13{}, by14{};
};

constexpr ProductTables MakeProductTables() {
    ProductTables t;
    for (int x = 0; x < 256; ++x) {
        const auto b = static_cast<std::uint8_t>(x);
        t.by9[b] = Multiply(b, 9);
        t.by11[b] = Multiply(b, 11);
        t.by13[b] = Multiply(b, 13);
        t.by14[b] = Multiply(b, 14);
    }
    return t;
}

constexpr ProductTables kProducts = MakeProductTables();

constexpr int kRounds = 14;

// The state is kept as FIPS-197 lays out the input: byte r + 4c is row r of
// column c.
void AddRoundKey(AesBlock& state, const AesKeySchedule& schedule, int round) {
    const std::uint8_t* key = schedule.bytes.data() + 16 * round;
    for (std::size_t i = 0; i < 16; ++i) {
        state[i] ^= key[i];
    }
}

void SubBytes(AesBlock& state, const std::array<std::uint8_t, 256>& table) {
    for (auto& b : state) {
        b = table[b];
    }
}

// Row r moves r places to the left (forward) or to the right (inverse).
void ShiftRows(AesBlock& state, bool inverse) {
    AesBlock shifted;
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 4; ++r) {
            const int from = inverse ? (c - r + 4) % 4 : (c + r) % 4;
            shifted[static_cast<std::size_t>(r + 4 * c)] = state[static_cast<std::size_t>(r + 4 * from)];
        }
    }
    state = shifted;
}

void MixColumns(AesBlock& state) {
    for (std::size_t c = 0; c < 16; c += 4) {
        const std::uint8_t a0 = state[c], a1 = state[c + 1], a2 = state[c + 2], a3 = state[c + 3];
        const std::uint8_t all = a0 ^ a1 ^ a2 ^ a3;
        state[c] = static_cast<std::uint8_t>(a0 ^ all ^ Times2(a0 ^ a1));
        state[c + 1] = static_cast<std::uint8_t>(a1 ^ all ^ Times2(a1 ^ a2));
        state[c + 2] = static_cast<std::uint8_t>(a2 ^ all ^ Times2(a2 ^ a3));
        state[c + 3] = static_cast<std::uint8_t>(a3 ^ all ^ Times2(a3 ^ a0));
    }
}

void InvMixColumns(AesBlock& state) {
    const ProductTables& p = kProducts;
    for (std::size_t c = 0; c < 16; c += 4) {
        const std::uint8_t a0 = state[c], a1 = state[c + 1], a2 = state[c + 2], a3 = state[c + 3];
        state[c] = p.by14[a0] ^ p.by11[a1] ^ p.by13[a2] ^ p.by9[a3];
        state[c + 1] = p.by9[a0] ^ p.by14[a1] ^ p.by11[a2] ^ p.by13[a3];
        state[c + 2] = p.by13[a0] ^ p.by9[a1] ^ p.by14[a2] ^ p.by11[a3];
        state[c + 3] = p.by11[a0] ^ p.by13[a1] ^ p.by9[a2] ^ p.by14[a3];
    }
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

constexpr std::size_t kLengthBytes = 8;

}  // namespace

AesKeySchedule ExpandAes256Key(const Aes256Key& key) {
    AesKeySchedule schedule;
    auto& w = schedule.bytes;  // 60 words of 4 bytes
    for (std::size_t i = 0; i < 32; ++i) {
        w[i] = key[i];
    }
    std::uint8_t roundConstant = 0x01;
    for (std::size_t word = 8; word < 60; ++word) {
        std::uint8_t t[4] = {w[4 * word - 4], w[4 * word - 3], w[4 * word - 2], w[4 * word - 1]};
        if (word % 8 == 0) {
            // RotWord, SubWord, then the round constant on the first byte.
            const std::uint8_t first = t[0];
            t[0] = static_cast<std::uint8_t>(kSubstitution.forward[t[1]] ^ roundConstant);
            t[1] = kSubstitution.forward[t[2]];
            t[2] = kSubstitution.forward[t[3]];
            t[3] = kSubstitution.forward[first];
            roundConstant = Times2(roundConstant);
        } else if (word % 8 == 4) {
            for (auto& b : t) {
                b = kSubstitution.forward[b];
            }
        }
        for (std::size_t j = 0; j < 4; ++j) {
            w[4 * word + j] = w[4 * (word - 8) + j] ^ t[j];
        }
    }
    return schedule;
}

void EncipherAesBlock(const AesKeySchedule& schedule, AesBlock& block) {
    AddRoundKey(block, schedule, 0);
    for (int round = 1; round < kRounds; ++round) {
        SubBytes(block, kSubstitution.forward);
        ShiftRows(block, false);
        MixColumns(block);
        AddRoundKey(block, schedule, round);
    }
    SubBytes(block, kSubstitution.forward);
    ShiftRows(block, false);
    AddRoundKey(block, schedule, kRounds);
}

void DecipherAesBlock(const AesKeySchedule& schedule, AesBlock& block) {
    AddRoundKey(block, schedule, kRounds);
    for (int round = kRounds - 1; round > 0; --round) {
        ShiftRows(block, true);
        SubBytes(block, kSubstitution.inverse);
        AddRoundKey(block, schedule, round);
        InvMixColumns(block);
    }
    ShiftRows(block, true);
    SubBytes(block, kSubstitution.inverse);
    AddRoundKey(block, schedule, 0);
}

Aes256Key KeyFromText(std::string_view keyText) {
    Aes256Key key{};
    for (std::size_t i = 0; i < key.size() && i < keyText.size(); ++i) {
        key[i] = static_cast<std::uint8_t>(keyText[i]);
    }
    return key;
}

std::string DecipherOnlineText(std::string_view block) {
    if (block.empty() || block.size() % 2 != 0) {
        return {};
    }
    const std::size_t byteCount = block.size() / 2;
    if (byteCount < kLengthBytes || (byteCount - kLengthBytes) == 0 || (byteCount - kLengthBytes) % 16 != 0) {
        return {};
    }
    // Every digit must be valid, the length's digits included.
    for (char c : block.substr(0, 2 * kLengthBytes)) {
        if (HexDigitValue(c) < 0) {
            return {};
        }
    }
    const AesKeySchedule schedule = ExpandAes256Key(KeyFromText(build_config::kOnlineKeyText));
    std::string plain;
    plain.reserve(byteCount - kLengthBytes);
    bool cut = false;  // a zero byte has been met: the rest is only checked
    for (std::size_t at = 2 * kLengthBytes; at < block.size(); at += 32) {
        AesBlock b;
        for (std::size_t i = 0; i < 16; ++i) {
            const int high = HexDigitValue(block[at + 2 * i]);
            const int low = HexDigitValue(block[at + 2 * i + 1]);
            if (high < 0 || low < 0) {
                return {};
            }
            b[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        if (cut) {
            continue;
        }
        DecipherAesBlock(schedule, b);
        for (std::uint8_t byte : b) {
            if (byte == 0) {
                cut = true;
                break;
            }
            plain.push_back(static_cast<char>(byte));
        }
    }
    return plain;
}

std::string EncipherOnlineText(std::string_view plain) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string block;
    block.reserve(2 * (kLengthBytes + plain.size() + 16));
    auto put = [&block](std::uint8_t b) {
        block.push_back(kDigits[b >> 4]);
        block.push_back(kDigits[b & 0x0F]);
    };
    const auto length = static_cast<std::uint64_t>(static_cast<std::int64_t>(plain.size()));
    for (std::size_t i = 0; i < kLengthBytes; ++i) {
        put(static_cast<std::uint8_t>(length >> (8 * i)));
    }
    const AesKeySchedule schedule = ExpandAes256Key(KeyFromText(build_config::kOnlineKeyText));
    for (std::size_t at = 0; at < plain.size(); at += 16) {
        AesBlock b{};  // zero padding for a short last block
        for (std::size_t i = 0; i < 16 && at + i < plain.size(); ++i) {
            b[i] = static_cast<std::uint8_t>(plain[at + i]);
        }
        EncipherAesBlock(schedule, b);
        for (std::uint8_t byte : b) {
            put(byte);
        }
    }
    return block;
}

}  // namespace online

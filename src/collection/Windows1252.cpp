#include "collection/Windows1252.h"

#include <array>

namespace ludora::windows1252 {
namespace {

// Characters of the bytes 80 to 9F; the rest of the code page equals Latin-1.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

// The character of every byte.
constexpr std::array<char16_t, 256> makeCharacters() {
    std::array<char16_t, 256> table{};
    for (int b = 0; b < 256; ++b) {
        table[size_t(b)] = (b >= 0x80 && b < 0xA0) ? kHigh[size_t(b - 0x80)] : char16_t(b);
    }
    return table;
}

constexpr std::array<char16_t, 256> kCharacters = makeCharacters();

// The byte of a character, or -1.
inline int byteOf(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        return c;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[size_t(i)] == c) {
            return 0x80 + i;
        }
    }
    return -1;
}

// Whether every character's byte is its own number; written so that the compiler can check
// many at a time.
inline bool allOwnBytes(const char16_t* text, qsizetype size) {
    unsigned char other = 0;
    for (qsizetype i = 0; i < size; ++i) {
        other |= isOwnByte(text[i]) ? 0 : 1;
    }
    return other == 0;
}

}  // namespace

void decodeTo(const char* bytes, qsizetype size, char16_t* out) {
    const auto* src = reinterpret_cast<const unsigned char*>(bytes);
    // Most bytes mean the character of their own number: widen them all (the compiler does
    // that many at a time), then put right the few of 80 to 9F, if there are any.
    unsigned char high = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = src[i];
        out[i] = c;
        high |= (unsigned char)(c - 0x80) < 0x20 ? 1 : 0;
    }
    if (high == 0) {
        return;
    }
    for (qsizetype i = 0; i < size; ++i) {
        out[i] = kCharacters[src[i]];
    }
}

void decode(const char* bytes, qsizetype size, QString& out) {
    const qsizetype start = out.size();
    out.resize(start + size);
    decodeTo(bytes, size, reinterpret_cast<char16_t*>(out.data()) + start);
}

bool canEncode(QStringView text) {
    if (allOwnBytes(text.utf16(), text.size())) {
        return true;
    }
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 && byteOf(u) < 0) {
            return false;
        }
    }
    return true;
}

char* narrowTo(QStringView text, char* out) {
    const char16_t* src = text.utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        out[i] = char(src[i]);
    }
    return out + size;
}

char* encodeTo(QStringView text, char* out) {
    const char16_t* src = text.utf16();
    const qsizetype size = text.size();
    if (allOwnBytes(src, size)) {
        return narrowTo(text, out);
    }
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t u = src[i];
        out[i] = char(isOwnByte(u) ? u : byteOf(u));
    }
    return out + size;
}

void encode(QStringView text, QByteArray& out) {
    const qsizetype start = out.size();
    out.resize(start + text.size());
    encodeTo(text, out.data() + start);
}

}  // namespace ludora::windows1252

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace ludora::windows1252 {

// Windows-1252, the 8-bit code page of Western Windows systems. The five bytes the code
// page leaves unassigned (81 8D 8F 90 9D) map to the control characters of the same
// number, so every byte survives a read and a write.

// Appends the characters of the bytes to out.
void decode(const char* bytes, qsizetype size, QString& out);
// Writes the characters of the bytes at out, one a byte.
void decodeTo(const char* bytes, qsizetype size, char16_t* out);
// Whether the character's byte is its own number (below 80, or A0 to FF).
constexpr bool isOwnByte(char16_t c) {
    return c < 0x100 && char16_t(c - 0x80) >= 0x20;
}
// Whether every character of the text has a byte in the code page.
bool canEncode(QStringView text);
// Appends the bytes of the text to out; the text must satisfy canEncode().
void encode(QStringView text, QByteArray& out);
// Writes the bytes of the text at out, one a character, and returns the end of them.
char* encodeTo(QStringView text, char* out);
// The same for a text whose every character is its own byte (isOwnByte()).
char* narrowTo(QStringView text, char* out);

}  // namespace ludora::windows1252

#include "ansi.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {

// 0x80..0x9F are where Windows-1252 differs from Latin-1; 0 marks unused bytes,
// which map to the control character of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t decodeByte(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        char16_t mapped = kHighControls[byte - 0x80];
        return mapped ? mapped : char16_t(byte);
    }
    return char16_t(byte);
}

char encodeChar(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return char(ch);
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == ch || (kHighControls[i] == 0 && ch == 0x80 + i))
            return char(0x80 + i);
    }
    return '?';
}

} // namespace

namespace ansi {

QString toQt(const AnsiString &text) {
    QString result;
    result.reserve(int(text.size()));
    for (unsigned char byte : text)
        result.append(QChar(decodeByte(byte)));
    return result;
}

AnsiString fromQt(const QString &text) {
    AnsiString result;
    result.reserve(size_t(text.size()));
    for (QChar ch : text)
        result.push_back(encodeChar(ch.unicode()));
    return result;
}

bool copyToBuffer(const AnsiString &text, char *buffer, size_t size) {
    if (!buffer || size == 0)
        return true;
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return length == text.size();
}

AnsiString upperAscii(AnsiString text) {
    for (char &ch : text) {
        if (ch >= 'a' && ch <= 'z')
            ch = char(ch - 'a' + 'A');
    }
    return text;
}

} // namespace ansi

#include "intconv.h"

#include "errors.h"

#include <limits>

namespace {

// Parses into the magnitude; false when the text is not a number of `bits` bits.
bool parseWhole(const AnsiString &text, int bits, int64_t &result) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= text.size())
        return false;

    const uint64_t unsignedMax =
        bits == 64 ? std::numeric_limits<uint64_t>::max() : std::numeric_limits<uint32_t>::max();
    const uint64_t signedMax = unsignedMax >> 1;
    const uint64_t limit = hex ? unsignedMax : signedMax + (negative ? 1 : 0);
    const unsigned base = hex ? 16 : 10;
    uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const char ch = text[i];
        unsigned digit;
        if (ch >= '0' && ch <= '9')
            digit = unsigned(ch - '0');
        else if (hex && ch >= 'a' && ch <= 'f')
            digit = unsigned(ch - 'a' + 10);
        else if (hex && ch >= 'A' && ch <= 'F')
            digit = unsigned(ch - 'A' + 10);
        else
            return false;
        if (value > (limit - digit) / base)
            return false;
        value = value * base + digit;
    }
    if (hex && bits == 32)
        value = uint64_t(int64_t(int32_t(uint32_t(value))));
    result = negative ? int64_t(0 - value) : int64_t(value);
    return true;
}

} // namespace

int64_t StrToInt64(const AnsiString &text) {
    int64_t value = 0;
    if (!parseWhole(text, 64, value))
        throw EConvertError(text);
    return value;
}

int32_t StrToInt(const AnsiString &text) {
    int64_t value = 0;
    if (!parseWhole(text, 32, value))
        throw EConvertError(text);
    return int32_t(value);
}

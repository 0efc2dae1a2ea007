#include "support/Scan.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstddef>
#include <cstdint>

#include <QVarLengthArray>

namespace {
constexpr bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

int ScanNumbers(std::string_view text, std::string_view format, int* numbers, int capacity)
{
    size_t pos = 0;
    int count = 0;
    for (size_t f = 0; f < format.size(); ++f) {
        const char fc = format[f];
        if (fc == ' ') {
            while (pos < text.size() && IsSpace(text[pos]))
                ++pos;
            continue;
        }
        if (fc != '%') {
            if (pos >= text.size() || text[pos] != fc)
                return count;
            ++pos;
            continue;
        }
        size_t width = 0;
        while (f + 1 < format.size() && IsDigit(format[f + 1]))
            width = width * 10 + size_t(format[++f] - '0');
        ++f; // the 'd'
        while (pos < text.size() && IsSpace(text[pos]))
            ++pos;
        const size_t limit = width > 0 ? std::min(text.size(), pos + width) : text.size();
        size_t p = pos;
        bool negative = false;
        if (p < limit && (text[p] == '+' || text[p] == '-')) {
            negative = text[p] == '-';
            ++p;
        }
        const size_t digits = p;
        std::int64_t magnitude = 0;
        for (; p < limit && IsDigit(text[p]); ++p) {
            if (magnitude <= INT_MAX)
                magnitude = magnitude * 10 + (text[p] - '0');
        }
        if (p == digits || count >= capacity)
            return count;
        magnitude = std::min<std::int64_t>(magnitude, INT_MAX);
        numbers[count++] = int(negative ? -magnitude : magnitude);
        pos = p;
    }
    return count;
}

long ScanLong(std::string_view text, EIntegerForm form)
{
    const char* p = text.data();
    const char* const end = p + text.size();
    if (form == EIntegerForm::AutoBase) {
        while (p < end && IsSpace(*p))
            ++p;
    }
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-'))
        negative = *p++ == '-';
    int base = 10;
    if (p < end && *p == '0') {
        if (form == EIntegerForm::AutoBase)
            base = 8;
        // "0x" without a hexadecimal digit after it is the number 0 followed by text.
        if (end - p > 2 && (p[1] == 'x' || p[1] == 'X') && IsHexDigit(p[2])) {
            base = 16;
            p += 2;
        }
    }
    // Unsigned, so that from_chars takes no second sign.
    unsigned long magnitude = 0;
    const auto [last, error] = std::from_chars(p, end, magnitude, base);
    if (last == p)
        return 0;
    const unsigned long limit = negative ? static_cast<unsigned long>(LONG_MAX) + 1 : LONG_MAX;
    if (error == std::errc::result_out_of_range || magnitude > limit)
        magnitude = limit;
    if (!negative)
        return static_cast<long>(magnitude);
    return magnitude == limit ? LONG_MIN : -static_cast<long>(magnitude);
}

long ScanLong(QStringView text, EIntegerForm form)
{
    // No character outside ASCII belongs to a number or to the white space before it.
    // The configuration file is read on every dispatch check: short texts stay on the stack.
    QVarLengthArray<char, 64> ascii(text.size());
    qsizetype size = 0;
    for (; size < text.size() && text[size].unicode() < 0x80; ++size)
        ascii[size] = char(text[size].unicode());
    return ScanLong(std::string_view(ascii.constData(), size_t(size)), form);
}

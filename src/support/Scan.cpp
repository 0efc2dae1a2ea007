#include "support/Scan.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>

namespace {
constexpr bool IsSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
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


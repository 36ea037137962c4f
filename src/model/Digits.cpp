#include "model/Digits.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace vt {

std::int16_t parseDecimal(std::string_view text)
{
    bool negative = false;
    if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    std::uint16_t value = 0;
    for (char c : text)
        value = static_cast<std::uint16_t>(value * 10 + (static_cast<unsigned char>(c) - '0'));
    if (negative)
        value = static_cast<std::uint16_t>(-value);
    return static_cast<std::int16_t>(value);
}

AsciiField<5> formatDigits(int value, int width)
{
    AsciiField<5> out{};
    width = std::clamp(width, 0, 4);
    int pos = 0;
    // long long: on Windows long is 32 bits and -INT_MIN would overflow.
    long long magnitude = value;
    if (value < 0) {
        if (width == 0)
            return out;
        out[pos++] = '-';
        magnitude = -static_cast<long long>(value);
        --width;
    }
    for (int i = width - 1; i >= 0; --i) {
        out[pos + i] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    }
    return out;
}

AsciiField<5> decimalText(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", value);
    AsciiField<5> out{};
    setAscii(out, buffer);
    return out;
}

} // namespace vt

#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace vt {

// Fixed-width ASCII fields are NUL-padded byte arrays; these helpers keep
// every copy inside the field.
template <std::size_t N>
using AsciiField = std::array<char, N>;

template <std::size_t N>
void setAscii(AsciiField<N> &field, std::string_view value)
{
    field.fill('\0');
    std::memcpy(field.data(), value.data(), std::min(value.size(), N));
}

template <std::size_t N>
std::string_view asciiView(const AsciiField<N> &field)
{
    std::size_t len = 0;
    while (len < N && field[len] != '\0')
        ++len;
    return {field.data(), len};
}

constexpr int kDotsPerMm = 12;
constexpr int kMaxPages = 200;
constexpr int kMaxTextBytes = 100;
constexpr int kMinRepeat = 1;
constexpr int kMaxRepeat = 100;
constexpr int kMinLengthMm = 6;
constexpr int kMaxLengthMm = 150;
constexpr int kMinCopies = 1;
constexpr int kMaxCopies = 20;
constexpr int kMaxFontSize = 6;

// Control bytes of the printer-side text.
namespace ctl {
constexpr std::uint8_t numberDecimal = 0x12;
constexpr std::uint8_t numberPadded = 0x14;
constexpr std::uint8_t numberUpper = 0x16;
constexpr std::uint8_t numberLower = 0x18;
constexpr std::uint8_t lineSeparator = 0x1A;
constexpr std::uint8_t superscript = 0x1C;
constexpr std::uint8_t subscript = 0x1E;

inline bool isNumberCode(std::uint8_t b)
{
    return b == numberDecimal || b == numberPadded || b == numberUpper || b == numberLower;
}

// A1 A1..A1 ED: a symbol as the printer takes it.
inline bool isSymbolPair(std::uint8_t lead, std::uint8_t trail)
{
    return lead == 0xA1 && trail >= 0xA1 && trail <= 0xED;
}
} // namespace ctl

// Characters of the page-table text that stand for marks.
namespace mark {
constexpr char16_t firstSymbol = 0xE000;
constexpr char16_t lastSymbol = 0xE04C;
constexpr char16_t numberDecimal = 0xE04D;
constexpr char16_t numberPadded = 0xE04E;
constexpr char16_t numberUpper = 0xE04F;
constexpr char16_t numberLower = 0xE050;
constexpr char16_t superscript = 0xE051;
constexpr char16_t subscript = 0xE052;
} // namespace mark

// One page in the printer's form, fields in their declared order.
struct PageRecord {
    std::uint8_t reserved = 0;
    std::uint8_t numbered = 0;
    std::uint8_t numberDecimal = 0;
    std::uint8_t numberPadded = 0;
    std::uint8_t numberUpper = 0;
    std::uint8_t numberLower = 0;
    std::uint8_t twoLines = 0;
    std::uint8_t scriptCount = 0;
    std::uint8_t superscriptCount = 0;
    std::uint8_t subscriptCount = 0;
    std::uint8_t autoLength = 1;
    std::uint8_t autoFontSize = 0;
    std::uint8_t symbolCount = 0;
    char frame = 'N';
    std::uint8_t numberWidth = 0;
    std::uint8_t spareA = 0;
    std::uint8_t spareB = 0;
    std::uint8_t spareC = 0;
    std::uint8_t textLength = 0;
    char modeLetter = 'N';
    AsciiField<2> direction{'0', '4'};
    std::uint8_t fontSize = 4;
    std::uint8_t halfZoom = 0;
    AsciiField<4> materialCode{};
    AsciiField<4> lengthCode{};
    AsciiField<3> sizeCode{};
    AsciiField<5> repeatText{};
    std::uint16_t repeat = 1;
    std::uint16_t line1Dots = 0;
    std::uint16_t line2Dots = 0;
    std::int16_t lengthDots = 300;
    std::uint16_t adjustedLengthDots = 300;
    std::int16_t printCount = 0;
    std::int16_t serialCount = 0;
    AsciiField<4> serialStart{};
    AsciiField<4> serialEnd{};
    std::array<std::uint8_t, kMaxTextBytes + 1> text{};
    AsciiField<5> repeatDigits{};
    std::uint8_t selected = 1;
    std::uint8_t isCurrent = 0;

    bool isVertical() const { return direction[0] == '1'; }
    bool operator==(const PageRecord &) const = default;
};

} // namespace vt

#pragma once

#include "model/PageRecord.h"

#include <cstdint>
#include <string_view>

namespace vt {

// Reads an optional '-' and decimal digits. Like the printer firmware, any
// character counts as its code minus '0'; the result wraps to 16 bits.
std::int16_t parseDecimal(std::string_view text);

template <std::size_t N>
std::int16_t parseDecimal(const AsciiField<N> &field) { return parseDecimal(asciiView(field)); }

// `width` digits, zero-padded, high digits dropped; a negative value gives
// '-' and width - 1 digits of its magnitude. At most 4 characters + NUL.
AsciiField<5> formatDigits(int value, int width);

// Plain decimal, as "%d" gives, cut to the field.
AsciiField<5> decimalText(int value);

} // namespace vt

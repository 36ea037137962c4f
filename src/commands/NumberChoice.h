#pragma once

#include "model/PageRecord.h"

#include <array>

namespace vt {

// The kinds of serial number a page can carry, in the order the Set Number
// dialog and the page's flags list them.
enum class NumberKind { Decimal = 0, Padded = 1, Upper = 2, Lower = 3 };
constexpr int kNumberKinds = 4;

// What the Set Number dialog shows and answers: the kind flags (decimal,
// zero-padded, upper case, lower case) and the first and last value, as the
// page keeps them.
struct NumberChoice {
    std::array<std::uint8_t, kNumberKinds> kinds{};
    AsciiField<4> serialStart{};
    AsciiField<4> serialEnd{};

    bool operator==(const NumberChoice &) const = default;
};

} // namespace vt

#pragma once

#include "model/PageRecord.h"

#include <QStringList>

namespace vt {

enum MaterialIndex { Tube = 0, Label = 1, HeatShrinkTube = 2 };

// The job-wide settings and the defaults given to new pages.
struct JobSettings {
    int materialIndex = Label;
    AsciiField<4> materialCode{'L', 'A', 'B', '\0'};
    int sizeIndex = 1;
    AsciiField<3> sizeCode{'9', '\0', '\0'};
    char cutMode = 'C';
    int spacing = 1;
    std::uint8_t alignment = 0;
    // 9 until the operator first picks a density, although the list shows 3.
    std::uint8_t density = 9;
    int copies = 1;
    std::uint8_t defaultAutoLength = 1;
    AsciiField<4> defaultLengthCode{'A', 'u', '\0', '\0'};
    std::int16_t defaultLengthMm = 25;
    std::uint8_t defaultAutoFontSize = 0;
    std::uint8_t defaultFontSize = 4;
    std::int16_t defaultRepeat = 1;
    char defaultFrame = 'N';
    AsciiField<2> defaultDirection{'0', '4'};

    bool operator==(const JobSettings &) const = default;
};

// Codes of the material and its size, by list index.
const char *materialCodeFor(int materialIndex);
const char *sizeCodeFor(int materialIndex, int sizeIndex);
// The entries of the material parameter list, in the order of sizeIndex;
// empty for an unknown material.
QStringList sizeEntriesFor(int materialIndex);

} // namespace vt

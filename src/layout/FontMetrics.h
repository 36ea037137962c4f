#pragma once

#include "model/JobSettings.h"
#include "model/PageRecord.h"

#include <cstdint>

namespace vt {

// The printer's character metrics, in dots (12 per mm).
namespace metrics {
// charAdvance[zoom][fontSize][column]: zoom 0 = 100 %, 1 = 50 %; column 0 = horizontal.
extern const std::uint16_t charAdvance[2][7][2];
extern const std::uint16_t symbolAdvance[7];
extern const std::uint16_t scriptAllowance[3];
constexpr std::uint16_t autoLengthMargin = 48;
extern const std::uint8_t maxFontSize[3][4];
extern const std::int16_t materialLengthOffset[3];

int sizeClass(int fontSize);
} // namespace metrics

// Line lengths, automatic page length, adjusted length and print count.
// A page without text keeps its former values.
void measurePage(PageRecord &page, const JobSettings &job);
// numberWidth and serialCount from the serial range; returns serialCount.
int serialSpan(PageRecord &page);
// Measures the page; true when its text does not fit its specified length.
bool pageTooLong(PageRecord &page, const JobSettings &job);
// For a page measured too long: the line that does not fit (1 or 2) and by
// how many dots its text and margin exceed the page's length.
struct Overlength {
    int line = 1;
    int dots = 0;
};
Overlength overlength(const PageRecord &page);
// Picks the largest font size that fits the specified length; true when even
// size 1 does not fit (the former size is kept).
bool fitFontSize(PageRecord &page, const JobSettings &job);

} // namespace vt

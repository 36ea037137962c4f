#include "layout/FontMetrics.h"

#include "model/Digits.h"

#include <algorithm>
#include <cstdlib>

namespace vt {

namespace metrics {

const std::uint16_t charAdvance[2][7][2] = {
    {{6, 9}, {16, 16}, {24, 24}, {32, 32}, {40, 40}, {48, 48}, {64, 64}},
    {{9, 6}, {16, 16}, {16, 24}, {16, 32}, {24, 40}, {24, 48}, {32, 64}},
};
const std::uint16_t symbolAdvance[7] = {9, 16, 24, 32, 40, 48, 64};
const std::uint16_t scriptAllowance[3] = {6, 16, 28};
const std::uint8_t maxFontSize[3][4] = {{6, 6, 6, 6}, {6, 6, 6, 6}, {6, 6, 6, 6}};
const std::int16_t materialLengthOffset[3] = {0, 0, 0};

int sizeClass(int fontSize)
{
    if (fontSize <= 1)
        return 0;
    return fontSize <= 4 ? 1 : 2;
}

} // namespace metrics

namespace {

using u16 = std::uint16_t;

// Sizes come from files and settings; keep table look-ups inside the tables.
int clampedSize(const PageRecord &page) { return std::min<int>(page.fontSize, kMaxFontSize); }
int clampedIndex(int value, int count) { return std::clamp(value, 0, count - 1); }

struct Advances {
    u16 a, s, m, g;
    bool vertical;
};

Advances advancesFor(const PageRecord &page, const JobSettings &job)
{
    const int size = clampedSize(page);
    const bool vertical = page.isVertical();
    const int zoom = page.halfZoom ? 1 : 0;
    return {metrics::charAdvance[zoom][size][vertical ? 1 : 0], metrics::symbolAdvance[size],
            metrics::scriptAllowance[metrics::sizeClass(size)], static_cast<u16>(job.spacing), vertical};
}

// n counted characters, k symbols, r script marks; all arithmetic wraps at 16 bits.
u16 lineLength(const Advances &adv, u16 n, u16 k, u16 r)
{
    // Products in unsigned 32 bits: a wrapped count times a spacing read from
    // a file would overflow int.
    const std::uint32_t count = static_cast<u16>(n + k);
    if (count == 0)
        return 0;
    std::uint32_t length = std::uint32_t{n} * adv.a + std::uint32_t{k} * adv.s;
    if (!adv.vertical)
        length += std::uint32_t{r} * adv.m;
    return static_cast<u16>(length + (count - 1) * adv.g);
}

bool isScriptByte(std::uint8_t b) { return b == ctl::superscript || b == ctl::subscript; }

u16 longestLine(const PageRecord &page)
{
    return page.twoLines ? std::max(page.line1Dots, page.line2Dots) : page.line1Dots;
}

} // namespace

int serialSpan(PageRecord &page)
{
    const auto start = asciiView(page.serialStart);
    const auto end = asciiView(page.serialEnd);
    page.numberWidth = static_cast<std::uint8_t>(end.size() > start.size() ? end.size() : start.size());
    const int span = std::abs(parseDecimal(end) - parseDecimal(start)) + 1;
    page.serialCount = static_cast<std::int16_t>(span);
    return page.serialCount;
}

void measurePage(PageRecord &page, const JobSettings &job)
{
    if (page.text[0] == 0 || page.textLength == 0)
        return;
    const Advances adv = advancesFor(page, job);
    const int length = std::min<int>(page.textLength, kMaxTextBytes);
    const u16 L = static_cast<u16>(length);
    const u16 N = page.numbered ? 1 : 0;
    const u16 K = page.symbolCount;
    const u16 S = page.scriptCount;

    if (!page.twoLines) {
        if (N)
            serialSpan(page);
        const u16 W = page.numberWidth;
        const u16 n = adv.vertical ? static_cast<u16>(L - N + W - S - 2 * K)
                                   : static_cast<u16>(L - N + W - 2 * S - 2 * K);
        page.line1Dots = lineLength(adv, n, K, S);
    } else {
        int j = 0;
        while (j < length && page.text[static_cast<std::size_t>(j)] != ctl::lineSeparator)
            ++j;
        u16 c1 = 0, c2 = 0;
        for (int i = 0; i < length; ++i) {
            if (i != j && isScriptByte(page.text[static_cast<std::size_t>(i)]))
                (i < j ? c1 : c2)++;
        }
        int numberedLine = 0;
        if (N) {
            for (int i = 0; i < length; ++i) {
                if (ctl::isNumberCode(page.text[static_cast<std::size_t>(i)])) {
                    numberedLine = i < j ? 1 : 2;
                    break;
                }
            }
            serialSpan(page);
        }
        u16 k1 = 0;
        if (K != 0) {
            u16 pairs = 0;
            for (int i = 0; i < j; ++i)
                if (ctl::isSymbolPair(page.text[static_cast<std::size_t>(i)], page.text[static_cast<std::size_t>(i + 1)]))
                    ++pairs;
            k1 = static_cast<u16>(pairs / 2);
        }
        const u16 k2 = static_cast<u16>(K - k1);
        const u16 numberTerm = static_cast<u16>(page.numberWidth - N);
        const u16 J = static_cast<u16>(j);
        u16 n1, n2;
        if (adv.vertical) {
            n1 = static_cast<u16>(J - c1 - 2 * k1);
            n2 = static_cast<u16>(L - J - 1 - c2 - 2 * k2);
        } else {
            n1 = static_cast<u16>(J - 2 * c1 - 2 * k1);
            n2 = static_cast<u16>(L - J - 1 - 2 * c2 - 2 * k2);
        }
        if (numberedLine == 1)
            n1 = static_cast<u16>(n1 + numberTerm);
        else if (numberedLine == 2)
            n2 = static_cast<u16>(n2 + numberTerm);
        page.line1Dots = lineLength(adv, n1, k1, c1);
        page.line2Dots = lineLength(adv, n2, k2, c2);
    }

    if (page.autoLength == 1)
        page.lengthDots = static_cast<std::int16_t>(static_cast<u16>(longestLine(page) + metrics::autoLengthMargin));
    page.adjustedLengthDots = static_cast<u16>(
        page.lengthDots + metrics::materialLengthOffset[clampedIndex(job.materialIndex, 3)]);
    page.printCount = static_cast<std::int16_t>(N ? page.repeat * page.serialCount : page.repeat);
}

bool pageTooLong(PageRecord &page, const JobSettings &job)
{
    measurePage(page, job);
    if (page.autoLength == 1)
        return false;
    return page.adjustedLengthDots < static_cast<u16>(longestLine(page) + metrics::autoLengthMargin);
}

Overlength overlength(const PageRecord &page)
{
    Overlength over;
    over.line = page.twoLines && page.line2Dots > page.line1Dots ? 2 : 1;
    over.dots = std::max(0, int(longestLine(page)) + metrics::autoLengthMargin - int(page.adjustedLengthDots));
    return over;
}

bool fitFontSize(PageRecord &page, const JobSettings &job)
{
    const std::uint8_t former = page.fontSize;
    if (pageTooLong(page, job)) {
        while (page.fontSize > 1) {
            --page.fontSize;
            if (!pageTooLong(page, job))
                return false;
        }
        page.fontSize = former;
        measurePage(page, job);
        return true;
    }
    const int limit = metrics::maxFontSize[clampedIndex(job.materialIndex, 3)][clampedIndex(job.sizeIndex, 4)];
    while (page.fontSize + 1 <= limit) {
        ++page.fontSize;
        if (pageTooLong(page, job)) {
            --page.fontSize;
            measurePage(page, job);
            break;
        }
    }
    return false;
}

} // namespace vt

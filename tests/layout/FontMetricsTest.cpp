#include "layout/FontMetrics.h"
#include "model/PageChain.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace vt;

namespace {

PageRecord pageWithText(const char *text, int fontSize = 4)
{
    PageRecord page;
    PageChain::resetPage(page, JobSettings{});
    const std::size_t len = std::strlen(text);
    std::memcpy(page.text.data(), text, len);
    page.textLength = static_cast<std::uint8_t>(len);
    page.fontSize = static_cast<std::uint8_t>(fontSize);
    return page;
}

} // namespace

TEST(FontMetrics, WorkedExamplesOfLineAndPageLength)
{
    JobSettings job; // spacing 1
    PageRecord ab = pageWithText("AB");
    measurePage(ab, job);
    EXPECT_EQ(ab.line1Dots, 81);
    EXPECT_EQ(ab.lengthDots, 129);
    EXPECT_EQ(ab.adjustedLengthDots, 129);
    EXPECT_EQ(ab.printCount, 1);

    ab.halfZoom = 1;
    measurePage(ab, job);
    EXPECT_EQ(ab.line1Dots, 49);

    ab.direction = {'1', '3'};
    measurePage(ab, job);
    EXPECT_EQ(ab.line1Dots, 81) << "vertical at 50 % uses the full advance";

    PageRecord one = pageWithText("A", 1);
    measurePage(one, job);
    EXPECT_EQ(one.line1Dots, 16) << "one character has no spacing term";
}

TEST(FontMetrics, EmptyTextKeepsFormerLengths)
{
    JobSettings job;
    PageRecord page = pageWithText("");
    page.line1Dots = 77;
    page.lengthDots = 555;
    measurePage(page, job);
    EXPECT_EQ(page.line1Dots, 77);
    EXPECT_EQ(page.lengthDots, 555);
}

TEST(FontMetrics, ScriptMarksAndSymbols)
{
    JobSettings job;
    job.spacing = 0;
    // "A" superscript "2": two counted characters plus one mark allowance.
    PageRecord script = pageWithText("A\x1C" "2");
    script.scriptCount = 1;
    measurePage(script, job);
    // n = 3 - 2*1 = 1 ... the mark byte and one character are taken out.
    EXPECT_EQ(script.line1Dots, 1 * 40 + 16);

    PageRecord vertical = script;
    vertical.direction = {'1', '3'};
    measurePage(vertical, job);
    EXPECT_EQ(vertical.line1Dots, 2 * 40) << "vertical text has no script allowance";

    PageRecord symbol = pageWithText("\xA1\xA1" "A");
    symbol.symbolCount = 1;
    measurePage(symbol, job);
    EXPECT_EQ(symbol.line1Dots, 40 + 40);
}

TEST(FontMetrics, TwoLinePageTakesTheLongerLine)
{
    JobSettings job;
    PageRecord page = pageWithText("A\x1A" "BCD");
    page.twoLines = 1;
    measurePage(page, job);
    EXPECT_EQ(page.line1Dots, 40);
    EXPECT_EQ(page.line2Dots, 3 * 40 + 2);
    EXPECT_EQ(page.lengthDots, 122 + 48);

    page.autoLength = 0;
    page.lengthDots = 500;
    measurePage(page, job);
    EXPECT_EQ(page.lengthDots, 500) << "a specified length is kept";
    EXPECT_EQ(page.adjustedLengthDots, 500);
}

TEST(FontMetrics, NumberedPagesSpanTheirSerialRange)
{
    JobSettings job;
    PageRecord page = pageWithText("K\x12");
    page.numbered = 1;
    page.numberDecimal = 1;
    page.repeat = 3;
    setAscii(page.serialStart, "5");
    setAscii(page.serialEnd, "12");
    measurePage(page, job);
    EXPECT_EQ(page.numberWidth, 2);
    EXPECT_EQ(page.serialCount, 8);
    EXPECT_EQ(page.printCount, 24);
    // "K" plus two digits: three characters.
    EXPECT_EQ(page.line1Dots, 3 * 40 + 2);

    // On a two-line page only the line holding the marker gets the digits.
    PageRecord two = pageWithText("K\x1A" "W\x12");
    two.twoLines = 1;
    two.numbered = 1;
    setAscii(two.serialStart, "10");
    setAscii(two.serialEnd, "1");
    measurePage(two, job);
    EXPECT_EQ(two.serialCount, 10);
    EXPECT_EQ(two.line1Dots, 40);
    EXPECT_EQ(two.line2Dots, 3 * 40 + 2);
}

TEST(FontMetrics, FitFontSizeStepsUpDownAndFails)
{
    JobSettings job;
    // 40 mm = 480 dots; "ABCD" at size 6 is 4*64+3 = 259, + 48 margin fits.
    PageRecord up = pageWithText("ABCD", 0);
    up.autoLength = 0;
    up.autoFontSize = 1;
    up.lengthDots = 480;
    EXPECT_FALSE(fitFontSize(up, job));
    EXPECT_EQ(up.fontSize, 6);

    // 10 mm = 120 dots: "ABCD" at 6 is too long; size 1 gives 4*16+3+48 = 115.
    PageRecord down = pageWithText("ABCD", 6);
    down.autoLength = 0;
    down.autoFontSize = 1;
    down.lengthDots = 120;
    EXPECT_FALSE(fitFontSize(down, job));
    EXPECT_EQ(down.fontSize, 1);
    EXPECT_FALSE(pageTooLong(down, job));

    // 6 mm = 72 dots: nothing fits; the former size stays and it is reported.
    PageRecord never = pageWithText("ABCDEFGH", 5);
    never.autoLength = 0;
    never.lengthDots = 72;
    EXPECT_TRUE(fitFontSize(never, job));
    EXPECT_EQ(never.fontSize, 5);
    EXPECT_TRUE(pageTooLong(never, job));

    PageRecord automatic = pageWithText("ABCDEFGH", 6);
    EXPECT_FALSE(pageTooLong(automatic, job)) << "an automatic length always fits";
}

TEST(FontMetrics, OutOfRangeValuesStayInsideTheTables)
{
    JobSettings job;
    job.materialIndex = 7;
    job.sizeIndex = -3;
    PageRecord page = pageWithText("AB", 200);
    page.autoLength = 0;
    page.autoFontSize = 1;
    page.lengthDots = 1000;
    EXPECT_FALSE(fitFontSize(page, job));
}

TEST(FontMetrics, CountsWrapAsSixteenBitValues)
{
    // More marks than characters: n = 1 - 2 * 3 wraps to 65531 and every
    // product and sum is taken modulo 65536, as the printer does.
    PageRecord wrapped = pageWithText("A");
    wrapped.scriptCount = 3;
    measurePage(wrapped, JobSettings{});
    const unsigned n = 65531u;
    const std::uint16_t expected = static_cast<std::uint16_t>(n * 40u + 3u * 16u + (n - 1u) * 1u);
    EXPECT_EQ(wrapped.line1Dots, expected);
    EXPECT_EQ(wrapped.lengthDots, static_cast<std::int16_t>(static_cast<std::uint16_t>(expected + 48)));

    // A spacing read from a damaged file is taken as its low 16 bits.
    JobSettings wide;
    wide.spacing = 65535;
    PageRecord spaced = pageWithText("A");
    spaced.scriptCount = 3;
    measurePage(spaced, wide);
    EXPECT_EQ(spaced.line1Dots,
              static_cast<std::uint16_t>(n * 40u + 3u * 16u + (n - 1u) * 65535u));
}

TEST(FontMetrics, TwoLineTermsBelongToTheirOwnLine)
{
    JobSettings job; // spacing 1
    // Line 1: 'A' superscript '2', two symbols, the serial marker; line 2: 'B'
    // subscript '3', one symbol. Bytes: A 1C 2 A1A1 A1A2 12 | 1A | B 1E 3 A1A5
    PageRecord page = pageWithText("A\x1C" "2\xA1\xA1\xA1\xA2\x12\x1A" "B\x1E" "3\xA1\xA5");
    page.twoLines = 1;
    page.numbered = 1;
    page.symbolCount = 2; // (3 + 1) pair positions / 2, as the layout counts them
    page.repeat = 2;
    setAscii(page.serialStart, "1");
    setAscii(page.serialEnd, "100");
    measurePage(page, job);
    // j = 8, c1 = 1, k1 = 3 / 2 = 1, marker here: n1 = 8 - 2 - 2 + (3 - 1) = 6.
    EXPECT_EQ(page.line1Dots, 6 * 40 + 1 * 40 + 16 + 6);
    // L = 14, c2 = 1, k2 = 2 - 1 = 1: n2 = 14 - 8 - 1 - 2 - 2 = 1, no digits.
    EXPECT_EQ(page.line2Dots, 1 * 40 + 1 * 40 + 16 + 1);
    EXPECT_EQ(page.lengthDots, 302 + 48);
    EXPECT_EQ(page.serialCount, 100);
    EXPECT_EQ(page.printCount, 200);

    // Vertical: one byte per mark comes out, and no allowance.
    page.direction = {'1', '3'};
    measurePage(page, job);
    EXPECT_EQ(page.line1Dots, (8 - 1 - 2 + 2) * 40 + 40 + 7);
    EXPECT_EQ(page.line2Dots, (14 - 8 - 1 - 1 - 2) * 40 + 40 + 2);

    // The digits go to line 1 when the marker stands there, not to line 2.
    PageRecord first = pageWithText("K\x12\x1A" "W");
    first.twoLines = 1;
    first.numbered = 1;
    setAscii(first.serialStart, "1");
    setAscii(first.serialEnd, "999");
    measurePage(first, job);
    EXPECT_EQ(first.line1Dots, 4 * 40 + 3);
    EXPECT_EQ(first.line2Dots, 40);
    EXPECT_EQ(first.lengthDots, 163 + 48) << "the longer first line sets the length";

    // A specified length is checked against the longer line too.
    first.autoLength = 0;
    first.lengthDots = 163 + 47;
    EXPECT_TRUE(pageTooLong(first, job));
    first.lengthDots = 163 + 48;
    EXPECT_FALSE(pageTooLong(first, job));
}

TEST(FontMetrics, EveryAdvanceOfThePrinterTables)
{
    JobSettings job;
    job.spacing = 0;
    // One character's advance, by font size 0..6: 100 % across, 100 % along,
    // 50 % across, 50 % along.
    const int advance[7][4] = {{6, 9, 9, 6},     {16, 16, 16, 16}, {24, 24, 16, 24}, {32, 32, 16, 32},
                               {40, 40, 24, 40}, {48, 48, 24, 48}, {64, 64, 32, 64}};
    const int symbol[7] = {9, 16, 24, 32, 40, 48, 64};
    // Dots for each script mark in horizontal text: 6 up to size 1, 16 up to
    // size 4, 28 above.
    const int script[7] = {6, 6, 16, 16, 16, 28, 28};
    for (int size = 0; size <= 6; ++size) {
        for (int column = 0; column < 4; ++column) {
            SCOPED_TRACE(testing::Message() << "size " << size << " column " << column);
            const bool half = column >= 2, vertical = column % 2 == 1;
            PageRecord one = pageWithText("A", size);
            one.halfZoom = half;
            one.direction = vertical ? AsciiField<2>{'1', '3'} : AsciiField<2>{'0', '4'};
            measurePage(one, job);
            EXPECT_EQ(one.line1Dots, advance[size][column]);

            // A symbol advances the same at both zooms and in both directions.
            PageRecord sym = pageWithText("\xA1\xB0", size);
            sym.symbolCount = 1;
            sym.halfZoom = one.halfZoom;
            sym.direction = one.direction;
            measurePage(sym, job);
            EXPECT_EQ(sym.line1Dots, symbol[size]);

            // "A" superscript "2": one counted character and one mark.
            PageRecord marked = pageWithText("A\x1C" "2", size);
            marked.scriptCount = 1;
            marked.halfZoom = one.halfZoom;
            marked.direction = one.direction;
            measurePage(marked, job);
            EXPECT_EQ(marked.line1Dots, vertical ? 2 * advance[size][column] : advance[size][column] + script[size]);
        }
    }
}

TEST(FontMetrics, EveryMaterialAndSizeAllowsSizeSixAndAddsNoLength)
{
    for (int material = 0; material < 3; ++material) {
        for (int size = 0; size < 4; ++size) {
            SCOPED_TRACE(testing::Message() << "material " << material << " size " << size);
            JobSettings job;
            job.materialIndex = material;
            job.sizeIndex = size;
            PageRecord page = pageWithText("A", 1);
            page.autoLength = 0;
            page.autoFontSize = 1;
            page.lengthDots = 150 * kDotsPerMm;
            EXPECT_FALSE(fitFontSize(page, job));
            EXPECT_EQ(page.fontSize, 6);
            EXPECT_EQ(page.adjustedLengthDots, 1800) << "no material lengthens or shortens a page";

            // Automatic length: the line and the 48-dot margin, nothing more.
            PageRecord automatic = pageWithText("A", 1);
            measurePage(automatic, job);
            EXPECT_EQ(automatic.lengthDots, 16 + 48);
            EXPECT_EQ(automatic.adjustedLengthDots, 16 + 48);
        }
    }
}

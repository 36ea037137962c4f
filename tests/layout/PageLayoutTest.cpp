#include "layout/PageLayout.h"
#include "model/Job.h"

#include <gtest/gtest.h>

using namespace vt;

namespace {

QByteArray textOf(const PageRecord &page)
{
    return QByteArray(reinterpret_cast<const char *>(page.text.data()), page.textLength);
}

struct Built {
    Job job;
    PageRecord &page(int i) { return job.chain[i]; }
    void addRow(const QString &line1, const QString &line2 = {})
    {
        const int row = job.model.rowCount();
        job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, line1);
        job.model.setCellText(row, ColLine2, line2);
    }
};

const QChar kSup(mark::superscript);
const QChar kSub(mark::subscript);

} // namespace

TEST(PageLayout, JoinsLinesAndReadsTheTable)
{
    Built b;
    b.addRow("AB", "CD");
    b.addRow("", "");
    b.addRow("X");
    b.job.model.setChecked(2, false);
    buildPrintRecords(b.job, false);

    EXPECT_EQ(textOf(b.page(0)), QByteArray("AB\x1A" "CD"));
    EXPECT_EQ(b.page(0).twoLines, 1);
    EXPECT_EQ(b.page(0).textLength, 5);
    EXPECT_EQ(b.page(1).twoLines, 0) << "an empty second line makes a single-line page";
    EXPECT_EQ(b.page(1).textLength, 0);
    EXPECT_EQ(b.page(2).selected, 0);
    EXPECT_EQ(b.page(2).isCurrent, 0);
    EXPECT_EQ(b.page(2).line1Dots, 40);

    b.job.refreshPage(2);
    buildPrintRecords(b.job, false);
    EXPECT_EQ(b.page(2).isCurrent, 1);
    EXPECT_EQ(b.page(0).isCurrent, 0);
}

TEST(PageLayout, CutAtOneHundredBytesDropsTheSecondLine)
{
    Built b;
    b.addRow(QString(100, 'A'), "B");
    buildPrintRecords(b.job, true);
    EXPECT_EQ(b.page(0).textLength, 100);
    EXPECT_EQ(b.page(0).twoLines, 0);
    EXPECT_EQ(b.page(0).text[100], 0);
    EXPECT_EQ(textOf(b.page(0)), QByteArray(100, 'A'));
}

TEST(PageLayout, CutNeverSplitsAChineseCharacter)
{
    Built b;
    b.addRow(QString(99, 'A') + QString::fromUtf16(u"\u4E2D"));
    buildPrintRecords(b.job, false);
    EXPECT_EQ(b.page(0).textLength, 99);
    EXPECT_EQ(b.page(0).text[99], 0);
}

TEST(PageLayout, NumberingMarkerPrecedence)
{
    Built b;
    // U+E04E stands first but U+E04D wins; only the winner is converted.
    b.addRow(QString::fromUtf16(u"A\uE04EB\uE04D"));
    // A second marker of the same kind stays as its code-page bytes.
    b.addRow(QString::fromUtf16(u"\uE04F-\uE04F"));
    b.addRow(QString::fromUtf16(u"\uE04F\uE050"));
    buildPrintRecords(b.job, true);

    EXPECT_EQ(b.page(0).numbered, 1);
    EXPECT_EQ(b.page(0).numberDecimal, 1);
    EXPECT_EQ(b.page(0).numberPadded, 0);
    EXPECT_EQ(textOf(b.page(0)), QByteArray("A\xAA\xEF" "B\x12"));

    EXPECT_EQ(b.page(1).numberUpper, 1);
    EXPECT_EQ(textOf(b.page(1)), QByteArray("\x16-\xAA\xF0"));

    EXPECT_EQ(b.page(2).numberLower, 1) << "lower case is looked for before upper case";
    EXPECT_EQ(b.page(2).numberUpper, 0);
    EXPECT_EQ(textOf(b.page(2)), QByteArray("\xAA\xF0\x18"));
}

TEST(PageLayout, ScriptMarksConvertedOnlyForPrint)
{
    Built b;
    b.addRow(QString("A") + kSup + "2", QString("B") + kSub + "3" + kSub);
    buildPrintRecords(b.job, false);
    PageRecord &p = b.page(0);
    EXPECT_EQ(p.superscriptCount, 1);
    EXPECT_EQ(p.subscriptCount, 2);
    EXPECT_EQ(p.scriptCount, 3);
    EXPECT_EQ(textOf(p), QByteArray("A\xAA\xF2" "2\x1A" "B\xAA\xF3" "3\xAA\xF3"));

    buildPrintRecords(b.job, true);
    EXPECT_EQ(p.scriptCount, 3);
    EXPECT_EQ(textOf(p), QByteArray("A\x1C" "2\x1A" "B\x1E" "3\x1E"));
}

TEST(PageLayout, SymbolSubstitutionsForPrintAndStableSymbolCount)
{
    Built b;
    // Two symbols, then a character whose bytes hold 0xB8.
    b.addRow(QString::fromUtf16(u"\uE000\uE001"));
    buildPrintRecords(b.job, false);
    const QByteArray stored = textOf(b.page(0));
    EXPECT_EQ(stored.left(4), QByteArray("\xAA\xA1\xAA\xA2"));

    buildPrintRecords(b.job, true);
    const QByteArray printed = textOf(b.page(0));
    EXPECT_EQ(printed.left(4), QByteArray("\xA1\xA1\xA1\xA2"));
    const std::uint8_t count = b.page(0).symbolCount;
    buildPrintRecords(b.job, true);
    EXPECT_EQ(b.page(0).symbolCount, count);
    EXPECT_EQ(textOf(b.page(0)), printed);

    // The single-byte substitutions: 高 B8 DF, 挂 B9 D2, ā A8 A1.
    PageRecord page;
    buildPageRecord(page, QString::fromUtf16(u"\u9AD8\u6302\u0101"), {}, JobSettings{}, false);
    EXPECT_EQ(textOf(page), QByteArray("\xB8\xDF\xB9\xD2\xA8\xA1"));
    buildPageRecord(page, QString::fromUtf16(u"\u9AD8\u6302\u0101"), {}, JobSettings{}, true);
    EXPECT_EQ(textOf(page), QByteArray("\xBE\xDF\xBF\xD2\xBD\xA1"));
}

TEST(PageLayout, BuiltPagesAreMeasuredWithTheirNumbering)
{
    Built b;
    b.addRow("W", QString::fromUtf16(u"N\uE04D"));
    PageRecord &p = b.page(0);
    setAscii(p.serialStart, "1");
    setAscii(p.serialEnd, "20");
    p.repeat = 3;
    for (bool forPrint : {false, true}) {
        buildPrintRecords(b.job, forPrint);
        EXPECT_EQ(textOf(p), QByteArray("W\x1A" "N\x12"));
        EXPECT_EQ(p.twoLines, 1);
        EXPECT_EQ(p.numberWidth, 2);
        EXPECT_EQ(p.line1Dots, 40);
        EXPECT_EQ(p.line2Dots, 3 * 40 + 2) << "the marker stands for two digits on line 2";
        EXPECT_EQ(p.lengthDots, 122 + 48);
        EXPECT_EQ(p.printCount, 60);
    }

    // Taking the marker out of the text ends the numbering.
    b.job.model.setCellText(0, ColLine2, "N");
    buildPrintRecords(b.job, false);
    EXPECT_EQ(p.numbered, 0);
    EXPECT_EQ(p.numberDecimal, 0);
    EXPECT_EQ(p.printCount, 3);
}

TEST(PageLayout, MarkerCutOffWithTheTextLeavesThePageUnnumbered)
{
    Built b;
    // 50 Chinese characters fill the 100 bytes; the marker would be byte 101.
    b.addRow(QString(50, QChar(0x4E2D)) + QChar(mark::numberDecimal));
    // The same marker inside the limit still numbers the page.
    b.addRow(QString(49, QChar(0x4E2D)) + QChar(mark::numberDecimal));
    for (int i = 0; i < 2; ++i) {
        setAscii(b.page(i).serialStart, "1");
        setAscii(b.page(i).serialEnd, "10");
        b.page(i).repeat = 2;
    }
    buildPrintRecords(b.job, true);

    EXPECT_EQ(b.page(0).textLength, 100);
    EXPECT_EQ(b.page(0).numbered, 0);
    EXPECT_EQ(b.page(0).numberDecimal, 0);
    EXPECT_EQ(b.page(0).printCount, 2) << "no run of serial copies without a number";

    EXPECT_EQ(b.page(1).textLength, 99);
    EXPECT_EQ(b.page(1).numbered, 1);
    EXPECT_EQ(b.page(1).numberDecimal, 1);
    EXPECT_EQ(b.page(1).printCount, 20);
}

TEST(PageLayout, EveryNumberMarkGetsItsCodeAndFlagInTheOrderTheyAreLookedFor)
{
    // In the order they are looked for: decimal, padded, lower case, upper case.
    const struct {
        char16_t mark;
        std::uint8_t code;
        std::uint8_t PageRecord::*flag;
    } kinds[] = {
        {0xE04D, 0x12, &PageRecord::numberDecimal},
        {0xE04E, 0x14, &PageRecord::numberPadded},
        {0xE050, 0x18, &PageRecord::numberLower},
        {0xE04F, 0x16, &PageRecord::numberUpper},
    };
    for (std::size_t first = 0; first < 4; ++first) {
        for (std::size_t later = first; later < 4; ++later) {
            SCOPED_TRACE(testing::Message() << first << " " << later);
            // The later kind stands first in the text; the earlier kind still wins.
            Built b;
            QString text = QString(QChar(kinds[later].mark)) + "N";
            if (later != first)
                text += QChar(kinds[first].mark);
            b.addRow(text);
            buildPrintRecords(b.job, true);
            const PageRecord &p = b.page(0);
            EXPECT_EQ(p.numbered, 1);
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_EQ(p.*kinds[k].flag, k == first ? 1 : 0) << k;
            const QByteArray bytes = textOf(p);
            EXPECT_EQ(bytes.count(char(kinds[first].code)), 1);
            EXPECT_EQ(bytes.indexOf(char(kinds[first].code)), later == first ? 0 : bytes.size() - 1);
        }
    }
}

TEST(PageLayout, SymbolCodesEndAtTheLastSymbol)
{
    // U+E04C is the last symbol (AA ED, printed A1 ED); the mark after it
    // (AA EE), left over as a second serial mark, is no symbol and stays.
    PageRecord page;
    buildPageRecord(page, QString::fromUtf16(u"\uE000\uE04C\uE04D\uE04D"), {}, JobSettings{}, true);
    EXPECT_EQ(textOf(page), QByteArray("\xA1\xA1\xA1\xED\x12\xAA\xEE"));
}

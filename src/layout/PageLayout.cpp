#include "layout/PageLayout.h"

#include "layout/FontMetrics.h"
#include "model/CodePage.h"

#include <algorithm>

namespace vt {

namespace {

void clearNumbering(PageRecord &page)
{
    page.numbered = page.numberDecimal = page.numberPadded = page.numberUpper = page.numberLower = 0;
}

void countAndMarkNumbering(PageRecord &page, QString &work)
{
    // The first kind in this order that occurs anywhere wins.
    struct Kind {
        char16_t mark;
        std::uint8_t code;
        std::uint8_t PageRecord::*flag;
    };
    static const Kind kinds[] = {
        {mark::numberDecimal, ctl::numberDecimal, &PageRecord::numberDecimal},
        {mark::numberPadded, ctl::numberPadded, &PageRecord::numberPadded},
        {mark::numberLower, ctl::numberLower, &PageRecord::numberLower},
        {mark::numberUpper, ctl::numberUpper, &PageRecord::numberUpper},
    };
    clearNumbering(page);
    for (const Kind &kind : kinds) {
        const qsizetype at = work.indexOf(QChar(kind.mark));
        if (at < 0)
            continue;
        page.*kind.flag = 1;
        page.numbered = 1;
        work[at] = QChar(kind.code);
        return;
    }
}

QString joinedLines(const QString &line1, const QString &line2)
{
    return line2.isEmpty() ? line1 : line1 + QChar(ctl::lineSeparator) + line2;
}

void markScriptsForPrint(QString &work)
{
    work.replace(QChar(mark::superscript), QChar(ctl::superscript));
    work.replace(QChar(mark::subscript), QChar(ctl::subscript));
}

} // namespace

int storedTextLength(const QString &line1, const QString &line2, bool forPrint)
{
    // ASCII holds no mark and takes a byte a character (a table of a million
    // rows asks this of every row).
    const auto ascii = [](const QString &s) {
        return std::all_of(s.begin(), s.end(), [](QChar c) { return c.unicode() < 0x80; });
    };
    if (ascii(line1) && ascii(line2))
        return static_cast<int>(line1.size() + (line2.isEmpty() ? 0 : 1 + line2.size()));
    QString work = joinedLines(line1, line2);
    if (forPrint)
        markScriptsForPrint(work);
    PageRecord scratch;
    countAndMarkNumbering(scratch, work);
    return static_cast<int>(toAnsi(work).size());
}

void buildPageRecord(PageRecord &page, const QString &line1, const QString &line2,
                     const JobSettings &job, bool forPrint)
{
    page.text.fill(0);

    QString work = joinedLines(line1, line2);
    page.twoLines = line2.isEmpty() ? 0 : 1;

    page.superscriptCount = static_cast<std::uint8_t>(work.count(QChar(mark::superscript)));
    page.subscriptCount = static_cast<std::uint8_t>(work.count(QChar(mark::subscript)));
    if (forPrint)
        markScriptsForPrint(work);
    page.scriptCount = static_cast<std::uint8_t>(page.superscriptCount + page.subscriptCount);

    countAndMarkNumbering(page, work);

    const QByteArray bytes = toAnsi(work);
    const int length = cutAtCharBoundary(bytes, kMaxTextBytes);
    std::memcpy(page.text.data(), bytes.constData(), static_cast<std::size_t>(length));
    page.textLength = static_cast<std::uint8_t>(length);

    auto &text = page.text;
    if (forPrint) {
        for (int p = 0; p + 1 < length; ++p) {
            std::uint8_t &b = text[static_cast<std::size_t>(p)];
            const std::uint8_t next = text[static_cast<std::size_t>(p + 1)];
            if (b == 0xAA && next >= 0xA1 && next <= 0xED)
                b = 0xA1;
            if (b == 0xB8)
                b = 0xBE;
            else if (b == 0xB9)
                b = 0xBF;
            else if (b == 0xA8)
                b = 0xBD;
        }
    }

    int pairs = 0;
    for (int p = 0; p < length; ++p)
        if (ctl::isSymbolPair(text[static_cast<std::size_t>(p)], text[static_cast<std::size_t>(p + 1)]))
            ++pairs;
    page.symbolCount = static_cast<std::uint8_t>(pairs / 2);

    if (page.twoLines) {
        bool separatorKept = false;
        for (int p = 0; p < length && !separatorKept; ++p)
            separatorKept = text[static_cast<std::size_t>(p)] == ctl::lineSeparator;
        if (!separatorKept)
            page.twoLines = 0;
    }

    // Likewise a serial marker cut off with the end of the text: a page
    // left numbered without one would print its run of copies with no number.
    if (page.numbered) {
        bool markerKept = false;
        for (int p = 0; p < length && !markerKept; ++p)
            markerKept = ctl::isNumberCode(text[static_cast<std::size_t>(p)]);
        if (!markerKept)
            clearNumbering(page);
    }

    measurePage(page, job);
}

void buildPrintRecords(const PageTableModel &table, PageChain &chain, const JobSettings &job,
                       int currentIndex, bool forPrint)
{
    const int rows = std::min(table.rowCount(), chain.size());
    for (int row = 0; row < rows; ++row) {
        PageRecord &page = chain[row];
        page.selected = table.isChecked(row) ? 1 : 0;
        page.isCurrent = row == currentIndex ? 1 : 0;
        buildPageRecord(page, table.cellText(row, ColLine1), table.cellText(row, ColLine2), job, forPrint);
    }
}

void buildPrintRecords(Job &job, bool forPrint)
{
    buildPrintRecords(job.model, job.chain, job.settings, job.currentIndex, forPrint);
}

} // namespace vt

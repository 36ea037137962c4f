#include "printer/DataFrame.h"

#include <algorithm>

namespace vt {

namespace {

void appendByte(QByteArray &out, unsigned value) { out.append(static_cast<char>(value & 0xFF)); }

void appendWord(QByteArray &out, unsigned value)
{
    appendByte(out, value >> 8);
    appendByte(out, value);
}

template <std::size_t N>
void appendField(QByteArray &out, const AsciiField<N> &field)
{
    out.append(field.data(), static_cast<qsizetype>(N));
}

} // namespace

std::uint8_t densityToSend(std::uint8_t operatorDensity, bool extendedFrame)
{
    if (extendedFrame)
        return operatorDensity;
    int d = operatorDensity;
    if (d > 1)
        d = d >= 12 ? 6 : d / 2;
    return static_cast<std::uint8_t>(std::min(d, 6));
}

void appendPageRecord(QByteArray &out, const PageRecord &p)
{
    for (std::uint8_t flag : {p.reserved, p.numbered, p.numberDecimal, p.numberPadded, p.numberUpper,
                              p.numberLower, p.twoLines, p.scriptCount, p.superscriptCount, p.subscriptCount,
                              p.autoLength, p.autoFontSize, p.symbolCount})
        appendByte(out, flag);
    appendByte(out, static_cast<unsigned char>(p.frame));
    appendField(out, p.materialCode);
    appendField(out, p.lengthCode);
    appendField(out, p.sizeCode);
    appendField(out, p.repeatText);
    appendWord(out, p.repeat);
    appendWord(out, static_cast<std::uint16_t>(p.lengthDots));
    appendByte(out, p.spareA);
    appendByte(out, p.spareB);
    appendByte(out, p.spareC);
    const int textLength = std::min<int>(p.textLength, kMaxTextBytes);
    appendByte(out, static_cast<unsigned>(textLength));
    appendField(out, p.direction);
    appendByte(out, p.fontSize);
    appendByte(out, p.halfZoom);
    appendField(out, p.repeatDigits);
    appendField(out, p.serialStart);
    appendField(out, p.serialEnd);
    out.append(reinterpret_cast<const char *>(p.text.data()), textLength);
}

DataFrame buildDataFrame(const PageChain &chain, const PageRecord *first, int skip, const JobSettings &job,
                         std::uint8_t density, bool extendedFrame)
{
    DataFrame frame;
    QByteArray &out = frame.bytes;
    out.reserve(kFrameCapacity);
    appendByte(out, 0x02);
    appendByte(out, 'A');
    appendWord(out, 0);
    if (extendedFrame)
        appendByte(out, static_cast<unsigned>(job.copies));
    appendByte(out, static_cast<unsigned char>(job.cutMode));
    appendByte(out, density);
    appendByte(out, static_cast<unsigned>(job.spacing));
    appendByte(out, job.alignment);
    const int headerBytes = static_cast<int>(out.size());

    int index = 0;
    for (const PageRecord *page = first; page; page = chain.next(page)) {
        if (index >= skip && isPrintable(*page)) {
            const int recordBytes = kRecordHeadBytes + std::min<int>(page->textLength, kMaxTextBytes);
            // Not visited. The next segment restarts at the record before it
            // (sent again, as at every segment boundary), then this one.
            if (out.size() + recordBytes + 1 > kFrameCapacity)
                break;
            appendPageRecord(out, *page);
            ++frame.pages;
        }
        ++index;
        if (out.size() + 100 > kFrameCapacity)
            break;
    }
    frame.visited = index;
    appendByte(out, 'E');
    if (out.size() <= headerBytes + 1) {
        frame.bytes.clear();
        frame.pages = 0;
        return frame;
    }
    out[2] = static_cast<char>((out.size() >> 8) & 0xFF);
    out[3] = static_cast<char>(out.size() & 0xFF);
    return frame;
}

} // namespace vt

#include "files/DocumentFile.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QIODevice>

#include <cstring>

namespace vt {

namespace {

// The block's fields in file order, shared by the writer and the reader so
// the two can never disagree. The text sits between the two halves.
template <class Page, class Io>
void blockHead(Page &p, Io &io)
{
    io.byte(p.numberUpper);
    io.byte(p.spareA);
    io.byte(p.frame);
    io.byte(p.reserved);
    io.byte(p.spareB);
    io.byte(p.twoLines);
    io.byte(p.autoFontSize);
    io.byte(p.fontSize);
    io.byte(p.halfZoom);
    io.byte(p.symbolCount);
    io.byte(p.numberLower);
    io.field(p.sizeCode);
    io.field(p.materialCode);
    io.byte(p.numberDecimal);
    io.word(p.printCount);
    io.field(p.repeatDigits);
    io.word(p.repeat);
    io.field(p.repeatText);
    io.byte(p.spareC);
    io.byte(p.direction[1]);
    io.byte(p.scriptCount);
    io.word(p.adjustedLengthDots);
    io.word(p.lengthDots);
    io.byte(p.autoLength);
    io.field(p.lengthCode);
    io.field(p.serialEnd);
    io.word(p.serialCount);
    io.field(p.serialStart);
    io.byte(p.numberWidth);
    io.byte(p.numberPadded);
    io.byte(p.textLength);
}

template <class Page, class Io>
void blockTail(Page &p, Io &io)
{
    io.word(p.line1Dots);
    io.word(p.line2Dots);
    io.byte(p.subscriptCount);
    io.byte(p.superscriptCount);
    io.byte(p.direction[0]);
    io.byte(p.modeLetter);
}

constexpr int kHeadBytes = 58;
constexpr int kTailBytes = 8;
static_assert(kHeadBytes + kTailBytes == kPageBlockFixedBytes);

struct Writer {
    QByteArray &out;
    template <class T>
    void byte(const T &v)
    {
        static_assert(sizeof(T) == 1);
        out.append(static_cast<char>(v));
    }
    template <class T>
    void word(const T &v)
    {
        static_assert(sizeof(T) == 2);
        const auto u = static_cast<std::uint16_t>(v);
        out.append(static_cast<char>(u & 0xFF));
        out.append(static_cast<char>(u >> 8));
    }
    template <std::size_t N>
    void field(const AsciiField<N> &f) { out.append(f.data(), static_cast<qsizetype>(N)); }
    void int32(std::int32_t v)
    {
        const auto u = static_cast<std::uint32_t>(v);
        for (int shift = 0; shift < 32; shift += 8)
            out.append(static_cast<char>((u >> shift) & 0xFF));
    }
};

// Reads from a buffer whose size the caller has already checked.
struct Reader {
    const unsigned char *at;
    template <class T>
    void byte(T &v)
    {
        static_assert(sizeof(T) == 1);
        v = static_cast<T>(*at++);
    }
    template <class T>
    void word(T &v)
    {
        static_assert(sizeof(T) == 2);
        v = static_cast<T>(static_cast<std::uint16_t>(at[0] | (at[1] << 8)));
        at += 2;
    }
    template <std::size_t N>
    void field(AsciiField<N> &f)
    {
        std::memcpy(f.data(), at, N);
        at += N;
    }
    std::int32_t int32()
    {
        const std::uint32_t u = static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8
                                | static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
        at += 4;
        return static_cast<std::int32_t>(u);
    }
};

// Reads exactly `size` bytes; false when the device ends first.
bool readExactly(QIODevice &in, unsigned char *into, qint64 size)
{
    qint64 got = 0;
    while (got < size) {
        const qint64 n = in.read(reinterpret_cast<char *>(into) + got, size - got);
        if (n <= 0)
            return false;
        got += n;
    }
    return true;
}

DocumentContent refused(QString problem)
{
    DocumentContent content;
    content.problem = std::move(problem);
    return content;
}

} // namespace

DocumentHeader headerFromSettings(const JobSettings &settings, int pageCount)
{
    DocumentHeader h;
    h.spacing = settings.spacing;
    h.density = settings.density;
    h.cutMode = settings.cutMode;
    h.alignment = settings.alignment;
    h.materialIndex = settings.materialIndex;
    h.sizeIndex = settings.sizeIndex;
    h.pageCount = pageCount;
    return h;
}

void applyHeader(const DocumentHeader &h, JobSettings &settings)
{
    settings.spacing = h.spacing;
    settings.density = h.density;
    settings.cutMode = h.cutMode;
    settings.alignment = h.alignment;
    settings.materialIndex = h.materialIndex;
    settings.sizeIndex = h.sizeIndex;
}

void appendPageBlock(QByteArray &out, const PageRecord &page)
{
    // A text length over the field would make a block no reader accepts.
    if (page.textLength > kMaxTextBytes) {
        PageRecord cut = page;
        cut.textLength = kMaxTextBytes;
        appendPageBlock(out, cut);
        return;
    }
    Writer w{out};
    blockHead(page, w);
    out.append(reinterpret_cast<const char *>(page.text.data()), page.textLength);
    blockTail(page, w);
}

QByteArray encodeDocument(const JobSettings &settings, const PageChain &chain, int pageCount)
{
    pageCount = std::clamp(pageCount, 0, chain.size());
    const DocumentHeader h = headerFromSettings(settings, pageCount);
    QByteArray out;
    out.reserve(kDocumentHeaderBytes + pageCount * (kPageBlockFixedBytes + 24));
    Writer w{out};
    w.int32(h.spacing);
    w.byte(h.density);
    w.byte(h.cutMode);
    w.byte(h.alignment);
    w.int32(h.materialIndex);
    w.int32(h.sizeIndex);
    w.int32(h.pageCount);
    for (int i = 0; i < pageCount; ++i)
        appendPageBlock(out, chain[i]);
    return out;
}

DocumentContent readDocument(QIODevice &in, const JobSettings &settings, int keep)
{
    unsigned char head[kDocumentHeaderBytes];
    if (!readExactly(in, head, sizeof head))
        return refused(QCoreApplication::translate("vt::DocumentFile", "the file is too short for a document header."));
    Reader hr{head};
    DocumentContent content;
    DocumentHeader &h = content.header;
    h.spacing = hr.int32();
    hr.byte(h.density);
    hr.byte(h.cutMode);
    hr.byte(h.alignment);
    h.materialIndex = hr.int32();
    h.sizeIndex = hr.int32();
    h.pageCount = hr.int32();
    if (h.pageCount < 0)
        return refused(
            QCoreApplication::translate("vt::DocumentFile", "the file announces %1 pages.").arg(h.pageCount));

    keep = std::max(keep, 0);
    content.pages.reserve(static_cast<std::size_t>(std::min(h.pageCount, keep)));
    unsigned char block[kHeadBytes + kMaxTextBytes + kTailBytes];
    for (int index = 0; index < h.pageCount; ++index) {
        const auto endsEarly = [&] {
            return refused(
                QCoreApplication::translate("vt::DocumentFile", "the file ends inside page %1 of the %2 it announces.")
                    .arg(index + 1)
                    .arg(h.pageCount));
        };
        if (!readExactly(in, block, kHeadBytes))
            return endsEarly();
        const int textLength = block[kHeadBytes - 1];
        if (textLength > kMaxTextBytes)
            return refused(
                QCoreApplication::translate("vt::DocumentFile", "page %1 has %2 bytes of text, more than %3.")
                    .arg(index + 1)
                    .arg(textLength)
                    .arg(kMaxTextBytes));
        if (!readExactly(in, block + kHeadBytes, textLength + kTailBytes))
            return endsEarly();
        if (index >= keep) {
            ++content.pagesLeftOut;
            continue;
        }

        PageRecord &page = content.pages.emplace_back();
        PageChain::resetPage(page, settings);
        Reader r{block};
        blockHead(page, r);
        page.text.fill(0);
        std::memcpy(page.text.data(), r.at, static_cast<std::size_t>(textLength));
        r.at += textLength;
        blockTail(page, r);
        page.numbered = (page.numberDecimal || page.numberPadded || page.numberLower || page.numberUpper) ? 1 : 0;
    }
    content.ok = true;
    return content;
}

DocumentContent readDocument(const QByteArray &bytes, const JobSettings &settings, int keep)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readDocument(buffer, settings, keep);
}

} // namespace vt

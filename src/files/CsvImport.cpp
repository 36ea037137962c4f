#include "files/CsvImport.h"

#include "model/CodePage.h"

#include <QCoreApplication>
#include <QBuffer>
#include <QIODevice>
#include <QStringDecoder>

#include <algorithm>
#include <climits>

namespace vt {

namespace {

constexpr qint64 kChunk = 64 * 1024;

// Incremental UTF-8 check: shortest forms only, no surrogates, at most U+10FFFF.
class Utf8Checker {
public:
    void feed(const unsigned char *p, qint64 n)
    {
        for (qint64 i = 0; i < n && valid_; ++i)
            step(p[i]);
    }
    bool finish() const { return valid_ && need_ == 0; }

private:
    void step(unsigned char b)
    {
        if (need_ > 0) {
            if (b < lo_ || b > hi_) {
                valid_ = false;
                return;
            }
            lo_ = 0x80;
            hi_ = 0xBF;
            --need_;
            return;
        }
        if (b < 0x80)
            return;
        lo_ = 0x80;
        hi_ = 0xBF;
        if (b >= 0xC2 && b <= 0xDF) {
            need_ = 1;
        } else if (b >= 0xE0 && b <= 0xEF) {
            need_ = 2;
            if (b == 0xE0)
                lo_ = 0xA0;
            else if (b == 0xED)
                hi_ = 0x9F;
        } else if (b >= 0xF0 && b <= 0xF4) {
            need_ = 3;
            if (b == 0xF0)
                lo_ = 0x90;
            else if (b == 0xF4)
                hi_ = 0x8F;
        } else {
            valid_ = false;
        }
    }

    bool valid_ = true;
    int need_ = 0;
    unsigned char lo_ = 0x80, hi_ = 0xBF;
};

bool isCSpace(unsigned char b) { return b == ' ' || (b >= '\t' && b <= '\r'); }

// NUL ends the page text and 0x12..0x1E are its own codes (serial number,
// line separator, script marks): from a file they are text, never codes.
// Never a trail byte of code page 936, so the swap is safe byte by byte.
bool isPageTextCode(unsigned char b) { return b == 0 || (b >= 0x12 && b <= 0x1E); }

// strtol over a field that arrives byte by byte.
class RepeatParser {
public:
    void feed(unsigned char b)
    {
        empty_ = false;
        switch (state_) {
        case Lead:
            if (isCSpace(b))
                return;
            if (b == '+' || b == '-') {
                negative_ = b == '-';
                state_ = Sign;
                return;
            }
            [[fallthrough]];
        case Sign:
        case Digits:
            if (b >= '0' && b <= '9') {
                state_ = Digits;
                value_ = std::min<long>(value_ * 10 + (b - '0'), kSaturated);
                return;
            }
            state_ = Done;
            return;
        case Done:
            return;
        }
    }
    long value() const
    {
        if (empty_)
            return 1;
        return negative_ ? -value_ : value_;
    }

private:
    // Far beyond any repeat; keeps the arithmetic from overflowing.
    static constexpr long kSaturated = 1000000000L;
    enum State { Lead, Sign, Digits, Done } state_ = Lead;
    bool empty_ = true;
    bool negative_ = false;
    long value_ = 0;
};

// Splits the byte stream into lines and fields and keeps only what a page
// can use. A field is stored up to a cap: a field longer than that cannot
// fit 100 bytes in either encoding (a UTF-8 character gives at least one
// code-page byte for every four UTF-8 bytes).
class LineReader {
public:
    LineReader(CsvContent &out, bool utf8, int keep) : out_(out), utf8_(utf8), keep_(keep) {}

    void feed(const unsigned char *p, qint64 n)
    {
        for (qint64 i = 0; i < n; ++i) {
            const unsigned char b = p[i];
            if (pendingCr_) {
                pendingCr_ = false;
                if (b == '\n') {
                    endLine();
                    continue;
                }
                put('\r');
            }
            if (b == '\r')
                pendingCr_ = true;
            else if (b == '\n')
                endLine();
            else
                put(b);
        }
    }

    void finish()
    {
        if (pendingCr_) {
            pendingCr_ = false;
            put('\r');
        }
        if (lineHasBytes_)
            endLine();
    }

private:
    static constexpr qsizetype kCap = 4 * kMaxTextBytes + 4;

    struct TextField {
        QByteArray bytes;
        qint64 size = 0;
        bool ascii = true;
        void put(unsigned char b)
        {
            ++size;
            ascii = ascii && b < 0x80;
            if (bytes.size() < kCap)
                bytes.append(static_cast<char>(b));
        }
        void clear()
        {
            bytes.clear();
            size = 0;
            ascii = true;
        }
    };

    void put(unsigned char b)
    {
        lineHasBytes_ = true;
        if (b == ';') {
            if (field_ < 3)
                ++field_;
            return;
        }
        if (field_ < 2)
            text_[field_].put(isPageTextCode(b) ? '?' : b);
        else if (field_ == 2)
            repeat_.feed(b);
    }

    // Bytes the field takes in the page's code-page-936 text; the characters
    // it cannot keep are noted on the way.
    qint64 ansiSize(const TextField &f, QString &decoded, QList<char32_t> &unprintable) const
    {
        if (!utf8_ || f.ascii)
            return f.size;
        if (f.size > kCap)
            return f.size; // cannot fit in any case
        // A field may start with U+FEFF; only the file's first one is a byte-order mark.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        decoded = utf8.decode(f.bytes);
        return toAnsi(decoded, unprintable).size();
    }

    // A field read as code page 936 can still hold a broken byte sequence,
    // which reads as U+FFFD.
    QString fieldNote(const TextField &f, const QString &text, const QList<char32_t> &unprintable) const
    {
        if (f.ascii)
            return {};
        const QList<char32_t> found = utf8_ ? unprintable : unprintableCharacters(text);
        return found.isEmpty()
            ? QString()
            : QCoreApplication::translate("vt::CodePage", "%1: %2 cannot be printed").arg(text, characterNames(found));
    }

    void refuse(qint64 bytes, RefusedLine::Reason reason, int alreadyCounted, const QString &note = {})
    {
        if (alreadyCounted < CsvContent::kMaxListedLines)
            out_.refused.push_back(RefusedLine{lineNumber_, bytes, reason, note});
    }

    void endLine()
    {
        lineHasBytes_ = false;
        ++lineNumber_;
        const TextField &l1 = text_[0];
        const TextField &l2 = text_[1];
        const long rawRepeat = repeat_.value();
        const bool empty = l1.size == 0 && l2.size == 0;
        if (!empty) {
            QString d1, d2;
            QList<char32_t> u1, u2;
            const qint64 bytes = ansiSize(l1, d1, u1) + ansiSize(l2, d2, u2) + (l2.size > 0 ? 1 : 0);
            if (bytes > kMaxTextBytes) {
                refuse(bytes, RefusedLine::TooLong, out_.rejectedRows++);
            } else {
                ImportedPage page;
                page.line1 = decode(l1, d1);
                page.line2 = decode(l2, d2);
                QStringList notes{fieldNote(l1, page.line1, u1), fieldNote(l2, page.line2, u2)};
                notes.removeAll(QString());
                if (!notes.isEmpty()) {
                    refuse(bytes, RefusedLine::Unprintable, out_.unprintableRows++, notes.join(QStringLiteral("; ")));
                } else if (static_cast<int>(out_.pages.size()) >= keep_) {
                    refuse(bytes, RefusedLine::BeyondPageLimit, out_.pagesLeftOut++);
                } else {
                    page.repeat = static_cast<int>(std::clamp<long>(rawRepeat, kMinRepeat, kMaxRepeat));
                    out_.pages.push_back(std::move(page));
                }
            }
        }
        text_[0].clear();
        text_[1].clear();
        repeat_ = RepeatParser{};
        field_ = 0;
    }

    QString decode(const TextField &f, const QString &decoded) const
    {
        if (f.size == 0)
            return {};
        if (!utf8_)
            return toWide(f.bytes);
        return f.ascii ? QString::fromLatin1(f.bytes) : decoded;
    }

    CsvContent &out_;
    const bool utf8_;
    const int keep_;
    TextField text_[2];
    RepeatParser repeat_;
    int field_ = 0;
    qint64 lineNumber_ = 0;
    bool pendingCr_ = false;
    bool lineHasBytes_ = false;
};

} // namespace

QString describeRefusedLines(const CsvContent &content, RefusedLine::Reason reason)
{
    QStringList lines;
    for (const RefusedLine &line : content.refused) {
        if (line.reason != reason)
            continue;
        if (reason == RefusedLine::TooLong)
            lines << QCoreApplication::translate("vt::CsvImport", "Line %1: %2 bytes, over %3 with the separator")
                         .arg(line.lineNumber)
                         .arg(line.bytes)
                         .arg(kMaxTextBytes);
        else if (reason == RefusedLine::Unprintable)
            lines << QCoreApplication::translate("vt::CsvImport", "Line %1: %2").arg(line.lineNumber).arg(line.note);
        else
            lines << QCoreApplication::translate("vt::CsvImport", "Line %1: beyond the %2-page limit")
                         .arg(line.lineNumber)
                         .arg(kMaxPages);
    }
    const int total = reason == RefusedLine::TooLong       ? content.rejectedRows
                      : reason == RefusedLine::Unprintable ? content.unprintableRows
                                                           : content.pagesLeftOut;
    if (total > lines.size())
        lines << QCoreApplication::translate("vt::CsvImport", "... and %1 more lines").arg(total - lines.size());
    return lines.join(QLatin1Char('\n'));
}

bool isUtf8(QByteArrayView bytes)
{
    Utf8Checker check;
    check.feed(reinterpret_cast<const unsigned char *>(bytes.data()), bytes.size());
    return check.finish();
}

bool isUtf8(QIODevice &in)
{
    Utf8Checker check;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    for (qint64 n; (n = in.read(chunk.data(), kChunk)) > 0;)
        check.feed(reinterpret_cast<const unsigned char *>(chunk.constData()), n);
    return check.finish();
}

long repeatFieldValue(QByteArrayView field)
{
    RepeatParser parser;
    for (char c : field)
        parser.feed(static_cast<unsigned char>(c));
    return parser.value();
}

CsvContent readCsv(QIODevice &in, int keep)
{
    CsvContent content;
    QByteArray chunk(kChunk, Qt::Uninitialized);
    const auto data = [&] { return reinterpret_cast<const unsigned char *>(chunk.constData()); };

    const qint64 start = in.pos();
    Utf8Checker check;
    for (qint64 n; (n = in.read(chunk.data(), kChunk)) > 0;)
        check.feed(data(), n);
    content.utf8 = check.finish();
    if (!in.seek(start))
        return content;

    LineReader lines(content, content.utf8, std::max(keep, 0));
    bool first = true;
    for (qint64 n; (n = in.read(chunk.data(), kChunk)) > 0;) {
        qint64 skip = 0;
        if (first && content.utf8 && n >= 3 && chunk.startsWith("\xEF\xBB\xBF"))
            skip = 3;
        first = false;
        lines.feed(data() + skip, n - skip);
    }
    lines.finish();
    return content;
}

CsvContent readCsv(const QByteArray &bytes, int keep)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readCsv(buffer, keep);
}

} // namespace vt

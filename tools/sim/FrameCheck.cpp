#include "FrameCheck.h"

#include <QJsonArray>

namespace vt::sim {

namespace {

constexpr int kRecordHead = 55;
constexpr int kFrameCapacity = 8192;

int byteAt(const QByteArray &b, int i) { return static_cast<unsigned char>(b.at(i)); }
int wordAt(const QByteArray &b, int i) { return byteAt(b, i) << 8 | byteAt(b, i + 1); }

QString asciiAt(const QByteArray &b, int at, int size)
{
    QByteArray field = b.mid(at, size);
    const int nul = field.indexOf('\0');
    return QString::fromLatin1(nul < 0 ? field : field.left(nul));
}

QJsonObject decodeRecord(const QByteArray &r)
{
    static const char *const flags[] = {"reserved",   "numbered",         "numberDecimal",    "numberPadded",
                                        "numberUpper", "numberLower",     "twoLines",         "scriptCount",
                                        "superscriptCount", "subscriptCount", "autoLength", "autoFontSize",
                                        "symbolCount"};
    QJsonObject page;
    for (int i = 0; i < 13; ++i)
        page[QLatin1String(flags[i])] = byteAt(r, i);
    page[QStringLiteral("frame")] = QString(QChar(byteAt(r, 13)));
    page[QStringLiteral("materialCode")] = asciiAt(r, 14, 4);
    page[QStringLiteral("lengthCode")] = asciiAt(r, 18, 4);
    page[QStringLiteral("sizeCode")] = asciiAt(r, 22, 3);
    page[QStringLiteral("repeatText")] = asciiAt(r, 25, 5);
    page[QStringLiteral("repeat")] = wordAt(r, 30);
    page[QStringLiteral("lengthDots")] = wordAt(r, 32);
    page[QStringLiteral("spare")] = QJsonArray{byteAt(r, 34), byteAt(r, 35), byteAt(r, 36)};
    page[QStringLiteral("textLength")] = byteAt(r, 37);
    page[QStringLiteral("direction")] = asciiAt(r, 38, 2);
    page[QStringLiteral("fontSize")] = byteAt(r, 40);
    page[QStringLiteral("halfZoom")] = byteAt(r, 41);
    page[QStringLiteral("repeatDigits")] = asciiAt(r, 42, 5);
    page[QStringLiteral("serialStart")] = asciiAt(r, 47, 4);
    page[QStringLiteral("serialEnd")] = asciiAt(r, 51, 4);
    page[QStringLiteral("textHex")] = QString::fromLatin1(r.mid(kRecordHead).toHex());
    page[QStringLiteral("hex")] = QString::fromLatin1(r.toHex());
    return page;
}

} // namespace

CheckedFrame checkFrame(const QByteArray &frame, bool extendedFrame)
{
    CheckedFrame out;
    QJsonObject &json = out.json;
    const int header = extendedFrame ? 9 : 8;
    json[QStringLiteral("bytes")] = int(frame.size());
    json[QStringLiteral("hex")] = QString::fromLatin1(frame.toHex());
    if (frame.size() < header + 1 || byteAt(frame, 0) != 0x02 || frame.at(1) != 'A') {
        out.violations << QStringLiteral("frame shorter than its header");
        return out;
    }
    const int length = wordAt(frame, 2);
    json[QStringLiteral("length")] = length;
    if (length != frame.size())
        out.violations << QStringLiteral("length field %1 but %2 bytes").arg(length).arg(frame.size());
    if (frame.size() > kFrameCapacity)
        out.violations << QStringLiteral("frame of %1 bytes exceeds %2").arg(frame.size()).arg(kFrameCapacity);
    int at = 4;
    if (extendedFrame) {
        const int copies = byteAt(frame, at++);
        json[QStringLiteral("copies")] = copies;
        if (copies < 1 || copies > 20)
            out.violations << QStringLiteral("copies %1 outside 1..20").arg(copies);
    }
    const char cut = frame.at(at++);
    json[QStringLiteral("cut")] = QString(QChar::fromLatin1(cut));
    if (cut != 'N' && cut != 'C' && cut != 'L')
        out.violations << QStringLiteral("cut mode 0x%1 is none of N, C, L").arg(int(uchar(cut)), 2, 16, QChar('0'));
    const int density = byteAt(frame, at++);
    json[QStringLiteral("density")] = density;
    if (!extendedFrame && density > 6)
        out.violations << QStringLiteral("density %1 above 6 without the extended frame").arg(density);
    json[QStringLiteral("spacing")] = byteAt(frame, at++);
    const int alignment = byteAt(frame, at++);
    json[QStringLiteral("alignment")] = alignment;
    if (alignment > 1)
        out.violations << QStringLiteral("alignment %1 is neither 0 nor 1").arg(alignment);

    const int end = int(frame.size()) - 1;
    if (frame.at(end) != 'E')
        out.violations << QStringLiteral("frame does not end with 'E'");
    QJsonArray pages;
    while (at < end) {
        if (end - at < kRecordHead) {
            out.violations << QStringLiteral("%1 bytes after page %2 are no page record").arg(end - at).arg(pages.size());
            break;
        }
        const int textLength = byteAt(frame, at + 37);
        if (textLength == 0 || textLength > 100)
            out.violations << QStringLiteral("page %1 has textLength %2").arg(pages.size() + 1).arg(textLength);
        if (at + kRecordHead + textLength > end) {
            out.violations << QStringLiteral("page %1 runs past the end of the frame").arg(pages.size() + 1);
            break;
        }
        pages.append(decodeRecord(frame.mid(at, kRecordHead + textLength)));
        at += kRecordHead + textLength;
    }
    if (pages.isEmpty())
        out.violations << QStringLiteral("frame carries no page");
    json[QStringLiteral("pages")] = pages;
    out.pages = int(pages.size());
    return out;
}

} // namespace vt::sim

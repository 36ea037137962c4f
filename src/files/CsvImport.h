#pragma once

#include "model/PageRecord.h"

#include <QByteArray>
#include <QString>

#include <vector>

class QIODevice;

namespace vt {

// One usable line of an import file.
struct ImportedPage {
    QString line1;
    QString line2;
    int repeat = 1;
};

// A line of an import file that did not become a page.
struct RefusedLine {
    enum Reason { TooLong, BeyondPageLimit, Unprintable };
    qint64 lineNumber = 0; // counted from 1, empty lines included
    qint64 bytes = 0;      // code-page-936 bytes of its text, the separator included
    Reason reason = TooLong;
    QString note;          // for Unprintable: each field and the characters it cannot keep
};

// What an import file holds, read as a whole before the job changes. Only
// the pages that can be used are kept; the rest is counted.
struct CsvContent {
    bool utf8 = false;            // the file was read as UTF-8, else as code page 936
    std::vector<ImportedPage> pages;
    int rejectedRows = 0;         // lines whose text does not fit a page
    int unprintableRows = 0;      // lines with characters code page 936 has no code for
    int pagesLeftOut = 0;         // usable lines beyond the page limit
    // The first kMaxListedLines refused lines of each reason, in file order;
    // the counts above cover the rest.
    std::vector<RefusedLine> refused;
    static constexpr int kMaxListedLines = 1000;
};

// One line per refused line of the given reason ("Line 12: 105 bytes, over
// 100 with the separator", "Line 13: X1²: "²" (U+00B2) cannot be printed"),
// and a closing line for those not listed.
QString describeRefusedLines(const CsvContent &content, RefusedLine::Reason reason);

// Reads lines of "1st line;2nd line;repeat". A file that is valid UTF-8
// (with or without its byte-order mark) is read as UTF-8, any other as code
// page 936. The text limit counts code-page-936 bytes, the separator of a
// two-line page included. A line with a character that code page 936 cannot
// hold is refused, never printed with '?' in its place. A NUL or a byte
// 0x12..0x1E in a text field becomes '?', as it would otherwise act as a
// code of the page text. The
// device is read twice (encoding, then lines) in chunks, so memory does not
// grow with the file.
CsvContent readCsv(QIODevice &in, int keep = kMaxPages);
CsvContent readCsv(const QByteArray &bytes, int keep = kMaxPages);

// The leading integer of a field as C's strtol reads it (blanks, sign,
// digits), saturated; 1 for an empty field. Not yet clamped.
long repeatFieldValue(QByteArrayView field);

// Whether the bytes are well-formed UTF-8.
bool isUtf8(QByteArrayView bytes);
// The same over the rest of a device, read in chunks to its end.
bool isUtf8(QIODevice &in);

} // namespace vt

#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace vt {

// Document files and the printer's byte stream are defined in code page 936
// on every platform. A character outside it becomes '?'; a byte sequence
// that is not valid 936 becomes U+FFFD. Neither ever becomes 0x1A, which is
// the line separator of page text.
QByteArray toAnsi(QStringView text);
QString toWide(QByteArrayView bytes);

// Bytes of the longest prefix of `bytes` that has at most `limit` bytes and
// does not end inside a double-byte character.
int cutAtCharBoundary(QByteArrayView bytes, int limit);

// Whether `b` opens a double-byte character of code page 936.
inline bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

} // namespace vt

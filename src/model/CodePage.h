#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>

namespace vt {

// Document files and the printer's byte stream are defined in code page 936
// on every platform. A character outside it becomes '?'; a byte sequence
// that is not valid 936 becomes U+FFFD. Neither ever becomes 0x1A, which is
// the line separator of page text.
QByteArray toAnsi(QStringView text);
QString toWide(QByteArrayView bytes);

// The same conversion, also giving the characters that became '?': each
// once, in the order they first occur, a surrogate pair as one code point.
// Invisible format characters (U+FEFF, U+200B, ...) are not among them; the
// conversion drops them, and they print nothing either way.
QByteArray toAnsi(QStringView text, QList<char32_t> &unprintable);

// The characters of `text` that the page cannot hold, as toAnsi finds them.
// Every refusal of text that the printer cannot print asks this.
QList<char32_t> unprintableCharacters(QStringView text);

// Each as: "²" (U+00B2), "😀" (U+1F600)
QString characterNames(const QList<char32_t> &characters);

// X1²: "²" (U+00B2) cannot be printed -- or empty when all of it can be.
QString unprintableNote(QStringView text);

// Bytes of the longest prefix of `bytes` that has at most `limit` bytes and
// does not end inside a double-byte character.
int cutAtCharBoundary(QByteArrayView bytes, int limit);

// Whether `b` opens a double-byte character of code page 936.
inline bool isLeadByte(unsigned char b) { return b >= 0x81 && b <= 0xFE; }

} // namespace vt

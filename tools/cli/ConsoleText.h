#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>

namespace vt::cli {

// Text for the operator or for the next program, with any character in it.
// A pipe or a file gets UTF-8, the same bytes on every system; a Windows
// console gets UTF-16 through WriteConsoleW, which shows every character
// whatever the console's code page (its ANSI code page would turn a Chinese
// file name on an English system, and an emoji anywhere, into '?').
void writeText(std::FILE *to, const QString &text);
// The same for text already in UTF-8.
void writeUtf8(std::FILE *to, const QByteArray &utf8);

} // namespace vt::cli

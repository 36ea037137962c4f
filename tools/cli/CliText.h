#pragma once

#include <QCoreApplication>
#include <QString>

#include "ConsoleText.h"

#include <cstdio>

namespace vt::cli {

// vt350-cli's own texts, in the language the program speaks.
inline QString cliText(const char *source)
{
    return QCoreApplication::translate("vt350-cli", source);
}

// Writes a text with any character in it (ConsoleText: UTF-8 to a pipe or
// a file, UTF-16 to a Windows console).
inline void say(std::FILE *to, const QString &text) { writeText(to, text); }

} // namespace vt::cli

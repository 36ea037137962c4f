#pragma once

#include <QCoreApplication>
#include <QString>

#include <cstdio>

namespace vt::cli {

// vt350-cli's own texts, in the language the program speaks.
inline QString cliText(const char *source)
{
    return QCoreApplication::translate("vt350-cli", source);
}

// Writes a text as the terminal reads it (the locale's encoding).
inline void say(std::FILE *to, const QString &text)
{
    std::fputs(text.toLocal8Bit().constData(), to);
}

} // namespace vt::cli

#include "ConsoleText.h"

#include <algorithm>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#endif

namespace vt::cli {

void writeUtf8(std::FILE *to, const QByteArray &utf8)
{
#ifdef Q_OS_WIN
    const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(to)));
    DWORD mode = 0;
    if (handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::fflush(to); // what stdio still holds goes first
        const QString text = QString::fromUtf8(utf8);
        // In pieces: older consoles refuse a single write of 64 KB and more.
        constexpr qsizetype kPiece = 8192;
        for (qsizetype at = 0; at < text.size(); at += kPiece) {
            qsizetype n = std::min(kPiece, text.size() - at);
            if (n == kPiece && text.at(at + n - 1).isHighSurrogate())
                --n; // a pair stays in one piece
            DWORD written = 0;
            WriteConsoleW(handle, text.utf16() + at, DWORD(n), &written, nullptr);
            at -= kPiece - n;
        }
        return;
    }
#endif
    std::fwrite(utf8.constData(), 1, std::size_t(utf8.size()), to);
}

void writeText(std::FILE *to, const QString &text) { writeUtf8(to, text.toUtf8()); }

} // namespace vt::cli

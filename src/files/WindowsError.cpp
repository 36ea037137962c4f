#include "files/WindowsError.h"

#ifdef _WIN32
#include <windows.h>

namespace vt {

QString windowsErrorText(unsigned long code)
{
    wchar_t *buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                       | FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    QString text = n ? QString::fromWCharArray(buffer, int(n)).trimmed() : QStringLiteral("error %1").arg(code);
    LocalFree(buffer);
    return text;
}

} // namespace vt
#endif

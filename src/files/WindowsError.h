#pragma once

#include <QString>

#ifdef _WIN32
namespace vt {

// The system's own text for a Windows error code (GetLastError), trimmed.
QString windowsErrorText(unsigned long code);

} // namespace vt
#endif

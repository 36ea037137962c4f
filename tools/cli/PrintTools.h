#pragma once

#include <QStringList>

namespace vt::cli {

// `ports`, `print IN ...` and `frame IN ...`; each returns the exit status.
int portsCommand(const QStringList &args);
int printCommand(const QStringList &args);
int frameCommand(const QStringList &args);

extern const char kPrintHelp[];

} // namespace vt::cli

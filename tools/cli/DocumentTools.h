#pragma once

#include <QString>
#include <QStringList>

#include <functional>

namespace vt {
class Job;
}

namespace vt::cli {

// `convert IN OUT.vtd` and `show IN [--json]`; each returns the exit status.
int convertCommand(const QStringList &args);
int showCommand(const QStringList &args);

// Starts a job as the program does, opens or imports `path` into it (false,
// with the reason on stderr, gives 1), builds its pages and runs `run` on it.
int withBuiltJob(const QString &path, const std::function<int(Job &)> &run);

// A cell text with its mark characters written out ({sup}, {n:0-999}, ...).
QString readableText(const QString &cell);

extern const char kDocumentHelp[];

} // namespace vt::cli

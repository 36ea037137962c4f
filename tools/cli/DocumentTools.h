#pragma once

#include <QString>
#include <QStringList>

namespace vt::cli {

// `convert IN OUT.vtd` and `show IN [--json]`; each returns the exit status.
int convertCommand(const QStringList &args);
int showCommand(const QStringList &args);

// A cell text with its mark characters written out ({sup}, {n:0-999}, ...).
QString readableText(const QString &cell);

extern const char kDocumentHelp[];

} // namespace vt::cli

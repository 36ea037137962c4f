#pragma once

#include "TerminalOperator.h"

#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "model/Job.h"

#include <QString>
#include <QStringList>

namespace vt::cli {

// The job as the program starts it, with everything needed to act on it.
struct Session {
    Job job;
    TerminalOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};

    Session();
    // Opens (.vtd) or imports (.csv) as the window would on its start-up job.
    bool load(const QString &path);
};

// `convert IN OUT.vtd` and `show IN [--json]`; each returns the exit status.
int convertCommand(const QStringList &args);
int showCommand(const QStringList &args);

// A cell text with its mark characters written out ({sup}, {n:0-999}, ...).
QString readableText(const QString &cell);

extern const char kDocumentHelp[];

} // namespace vt::cli

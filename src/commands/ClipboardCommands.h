#pragma once

#include "commands/Operator.h"
#include "commands/PageCommands.h"
#include "model/Job.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

namespace vt {

// Copy and paste of pages as rows of tab-separated cells, the form in which
// spreadsheets put cells on the clipboard: 1st line, 2nd line, repeat.
class ClipboardCommands {
    Q_DECLARE_TR_FUNCTIONS(vt::ClipboardCommands)

public:
    ClipboardCommands(Job &job, Operator &op, PageCommands &pages) : job_(job), op_(op), pages_(pages) {}

    // The rows' cells, a line each; a cell holding a tab, a CR or LF or a
    // leading quote is quoted, as spreadsheets quote it.
    QString copyText(const QList<int> &rows) const;

    // Inserts a page after the current one for each row of `text`, in order,
    // each committed as a typed cell is; the blank page of a new job takes
    // the first row. Rows that cannot be a page (over
    // 100 bytes, empty, beyond the page limit) are left out; they and the
    // pages whose commit was refused are told in one message with a line
    // each. Returns the number of pages inserted.
    int paste(const QString &text);

private:
    Job &job_;
    Operator &op_;
    PageCommands &pages_;
};

} // namespace vt

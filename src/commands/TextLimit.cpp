#include "commands/TextLimit.h"

#include "layout/PageLayout.h"

#include <QStringList>

namespace vt {

QList<int> overlongRows(const Job &job, bool forPrint, bool checkedOnly)
{
    QList<int> rows;
    const PageTableModel &table = job.model;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (checkedOnly && !table.isChecked(row))
            continue;
        if (storedTextLength(table.cellText(row, ColLine1), table.cellText(row, ColLine2), forPrint) > kMaxTextBytes)
            rows << row;
    }
    return rows;
}

bool mayCutOverlongPages(const Job &job, Operator &op, TextUse use)
{
    const bool print = use == TextUse::Print;
    const QList<int> rows = overlongRows(job, print, print);
    if (rows.isEmpty())
        return true;
    QStringList pages;
    for (int row : rows)
        pages << QString::number(row + 1);
    const QString verb = print ? QStringLiteral("printed") : QStringLiteral("saved");
    const QString command = print ? QStringLiteral("Print") : QStringLiteral("Save");
    Message question;
    question.text = rows.size() == 1
                        ? QStringLiteral("The text of page %1 is longer than %2 bytes: only its first %2 bytes "
                                         "would be %3.\n%4 anyway?")
                              .arg(pages.front())
                              .arg(kMaxTextBytes)
                              .arg(verb, command)
                        : QStringLiteral("The texts of pages %1 are longer than %2 bytes: only their first %2 "
                                         "bytes would be %3.\n%4 anyway?")
                              .arg(pages.join(QStringLiteral(", ")))
                              .arg(kMaxTextBytes)
                              .arg(verb, command);
    question.buttons = MessageButtons::YesNo;
    return op.showMessage(question) == Answer::Yes;
}

} // namespace vt

#include "commands/TextLimit.h"

#include "layout/PageLayout.h"
#include "model/CodePage.h"

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

namespace {

// A refused text with characters code page 936 lacks may still stand in its
// cell; the page build would turn them into "?".
bool mayReplaceUnprintable(const Job &job, Operator &op, bool print)
{
    QStringList pages;
    QList<char32_t> characters;
    const PageTableModel &table = job.model;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (print && !table.isChecked(row))
            continue;
        const QList<char32_t> found =
            unprintableCharacters(table.cellText(row, ColLine1) + table.cellText(row, ColLine2));
        if (found.isEmpty())
            continue;
        pages << QString::number(row + 1);
        for (char32_t c : found)
            if (!characters.contains(c))
                characters << c;
    }
    if (pages.isEmpty())
        return true;
    Message question;
    question.text = QStringLiteral("%1 %2 %3 characters that cannot be printed: %4. They would be %5 as \"?\".\n"
                                   "%6 anyway?")
                        .arg(pages.size() == 1 ? QStringLiteral("Page") : QStringLiteral("Pages"),
                             pages.join(QStringLiteral(", ")),
                             pages.size() == 1 ? QStringLiteral("holds") : QStringLiteral("hold"),
                             characterNames(characters),
                             print ? QStringLiteral("printed") : QStringLiteral("saved"),
                             print ? QStringLiteral("Print") : QStringLiteral("Save"));
    question.buttons = MessageButtons::YesNo;
    return op.showMessage(question) == Answer::Yes;
}

} // namespace

bool mayCutOverlongPages(const Job &job, Operator &op, TextUse use)
{
    const bool print = use == TextUse::Print;
    const QList<int> rows = overlongRows(job, print, print);
    if (rows.isEmpty())
        return mayReplaceUnprintable(job, op, print);
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
    return op.showMessage(question) == Answer::Yes && mayReplaceUnprintable(job, op, print);
}

} // namespace vt

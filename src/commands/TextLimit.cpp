#include "commands/TextLimit.h"

#include "layout/PageLayout.h"
#include "model/CodePage.h"

#include <QCoreApplication>
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
    // Whole sentences, one for each case, so that a translation can say each its own way.
    static const char *const texts[2][2] = {
        {QT_TRANSLATE_NOOP("vt::TextLimit",
                           "Pages %1 hold characters that cannot be printed: %2. "
                           "They would be saved as \"?\".\nSave anyway?"),
         QT_TRANSLATE_NOOP("vt::TextLimit",
                           "Page %1 holds characters that cannot be printed: %2. "
                           "They would be saved as \"?\".\nSave anyway?")},
        {QT_TRANSLATE_NOOP("vt::TextLimit",
                           "Pages %1 hold characters that cannot be printed: %2. "
                           "They would be printed as \"?\".\nPrint anyway?"),
         QT_TRANSLATE_NOOP("vt::TextLimit",
                           "Page %1 holds characters that cannot be printed: %2. "
                           "They would be printed as \"?\".\nPrint anyway?")},
    };
    Message question;
    question.text = QCoreApplication::translate("vt::TextLimit", texts[print][pages.size() == 1])
                        .arg(pages.join(QStringLiteral(", ")), characterNames(characters));
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
    static const char *const texts[2][2] = {
        {QT_TRANSLATE_NOOP("vt::TextLimit",
                           "The texts of pages %1 are longer than %2 bytes: only their first %2 "
                           "bytes would be saved.\nSave anyway?"),
         QT_TRANSLATE_NOOP("vt::TextLimit",
                           "The text of page %1 is longer than %2 bytes: only its first %2 bytes "
                           "would be saved.\nSave anyway?")},
        {QT_TRANSLATE_NOOP("vt::TextLimit",
                           "The texts of pages %1 are longer than %2 bytes: only their first %2 "
                           "bytes would be printed.\nPrint anyway?"),
         QT_TRANSLATE_NOOP("vt::TextLimit",
                           "The text of page %1 is longer than %2 bytes: only its first %2 bytes "
                           "would be printed.\nPrint anyway?")},
    };
    Message question;
    question.text = QCoreApplication::translate("vt::TextLimit", texts[print][rows.size() == 1])
                        .arg(pages.join(QStringLiteral(", ")))
                        .arg(kMaxTextBytes);
    question.buttons = MessageButtons::YesNo;
    return op.showMessage(question) == Answer::Yes && mayReplaceUnprintable(job, op, print);
}

} // namespace vt

#include "TerminalOperator.h"
#include "CliText.h"

#include "ConsoleText.h"

namespace vt::cli {

Answer TerminalOperator::showMessage(const Message &message)
{
    QString line = shownText(message.text);
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool question = message.buttons == MessageButtons::YesNo || message.buttons == MessageButtons::YesNoCancel;
    if (question)
        line += QCoreApplication::translate("vt350-cli", " [answered No]");
    writeText(out_, line + QLatin1Char('\n'));
    // The details go under the message, a line each, indented.
    if (!message.details.isEmpty()) {
        QString details = message.details;
        details.replace(QLatin1Char('\n'), QStringLiteral("\n  "));
        writeText(out_, QStringLiteral("  ") + details + QLatin1Char('\n'));
    }
    std::fflush(out_);
    if (question)
        return Answer::No;
    return message.buttons == MessageButtons::OkCancel ? Answer::Cancel : Answer::Ok;
}

void TerminalOperator::fillList(ControlId list, const QStringList &entries)
{
    lists_[list] = entries;
    selections_[list] = -1;
}

void TerminalOperator::selectListEntry(ControlId list, int index)
{
    // Lists the window fills itself are not known here; keep the index as asked.
    if (lists_.contains(list) && (index < 0 || index >= lists_.value(list).size()))
        index = -1;
    selections_[list] = index;
}

} // namespace vt::cli

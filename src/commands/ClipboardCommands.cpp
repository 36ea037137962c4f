#include "commands/ClipboardCommands.h"

#include "commands/CellCommit.h"
#include "commands/TableImport.h"
#include "files/DelimitedText.h"
#include "layout/PageLayout.h"

#include <QCoreApplication>
#include <QStringList>

namespace vt {

namespace {

QString quoted(const QString &cell)
{
    // A lone CR ends a row on paste as LF does: quoted, it stays in its cell.
    if (!cell.contains(QLatin1Char('\t')) && !cell.contains(QLatin1Char('\n')) && !cell.contains(QLatin1Char('\r'))
        && !cell.startsWith(QLatin1Char('"')))
        return cell;
    QString text = cell;
    text.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// Keeps the cell commit's messages for the paste's one message.
class CollectingOperator : public Operator {
public:
    explicit CollectingOperator(Operator &outer) : outer_(outer) {}
    Answer showMessage(const Message &message) override
    {
        messages << message.text;
        return Answer::Ok;
    }
    QString askOpenFileName(const QString &a, const QString &b) override { return outer_.askOpenFileName(a, b); }
    QString askSaveFileName(const QString &a, const QString &b) override { return outer_.askSaveFileName(a, b); }
    void fillList(ControlId list, const QStringList &entries) override { outer_.fillList(list, entries); }
    void selectListEntry(ControlId list, int index) override { outer_.selectListEntry(list, index); }
    int listSelection(ControlId list) const override { return outer_.listSelection(list); }
    void enableControl(ControlId control, bool on) override { outer_.enableControl(control, on); }
    bool isControlChecked(ControlId control) const override { return outer_.isControlChecked(control); }
    void setControlChecked(ControlId control, bool on) override { outer_.setControlChecked(control, on); }
    std::optional<int> readEdit(ControlId edit) const override { return outer_.readEdit(edit); }
    void setEdit(ControlId edit, int value) override { outer_.setEdit(edit, value); }
    void setEditText(ControlId edit, const QString &text) override { outer_.setEditText(edit, text); }
    std::optional<NumberChoice> askNumbering(const NumberChoice &shown) override { return outer_.askNumbering(shown); }

    QStringList messages;

private:
    Operator &outer_;
};

} // namespace

QString ClipboardCommands::copyText(const QList<int> &rows) const
{
    QString text;
    for (int row : rows) {
        if (row < 0 || row >= job_.model.rowCount())
            continue;
        text += quoted(job_.model.cellText(row, ColLine1)) + QLatin1Char('\t')
                + quoted(job_.model.cellText(row, ColLine2)) + QLatin1Char('\t')
                + quoted(job_.model.cellText(row, ColRepeat)) + QLatin1Char('\n');
    }
    return text;
}

int ClipboardCommands::paste(const QString &text)
{
    TableOptions tabs;
    tabs.separator = '\t';
    DelimitedText table(text.toUtf8(), tabs);
    TableChoice columns;
    columns.options = tabs;
    // A job that is only the blank page it starts with takes the first row there.
    const bool blankStart = job_.pageCount() == 1 && job_.model.cellText(0, ColLine1).isEmpty()
                            && job_.model.cellText(0, ColLine2).isEmpty() && job_.chain[0].textLength == 0;
    const TableContent content = readTable(table, columns, kMaxPages - job_.pageCount() + (blankStart ? 1 : 0));

    CollectingOperator collect(op_);
    CellCommit commit(job_, collect);
    QStringList refusedCommits;
    int inserted = 0;
    for (std::size_t i = 0; i < content.pages.size(); ++i) {
        const ImportedPage &p = content.pages[i];
        if (i == 0 && blankStart)
            job_.refreshPage(0);
        else if (!pages_.add())
            break;
        const int row = job_.currentIndex;
        PageRecord *page = job_.currentPage;
        PageTableModel &model = job_.model;
        model.setCellText(row, ColLine1, p.line1);
        model.setCellText(row, ColLine2, p.line2);
        model.setCellText(row, ColRepeat, QString::number(p.repeat));
        setPageRepeat(*page, p.repeat);
        if (!p.line2.isEmpty()) {
            // As Import makes a two-line page: a font that fits two lines.
            page->twoLines = 1;
            page->autoFontSize = 0;
            page->fontSize = 3;
            model.setCellText(row, ColFontSize, QStringLiteral("3"));
        }
        collect.messages.clear();
        commit.commitCell(row, ColLine1);
        if (!collect.messages.isEmpty())
            refusedCommits << tr("Row %1: %2").arg(content.pageRows[i]).arg(collect.messages.join(u' '));
        ++inserted;
    }
    if (inserted > 0)
        buildPrintRecords(job_, false);

    QString summary = refusalSummary(content, tr("the clipboard"), tr("pasted"));
    QString details = describeRefusals(content);
    if (!refusedCommits.isEmpty()) {
        const QString line =
            tr("%1 pasted pages were refused as typed: Input is over length!").arg(refusedCommits.size());
        summary = summary.isEmpty() ? line : summary + QLatin1Char('\n') + line;
        details = (details.isEmpty() ? QString() : details + QLatin1Char('\n')) + refusedCommits.join(u'\n');
    }
    if (!summary.isEmpty()) {
        Message message{summary};
        message.details = details;
        op_.showMessage(message);
    }
    return inserted;
}

} // namespace vt

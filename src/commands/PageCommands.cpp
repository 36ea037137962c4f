#include "commands/PageCommands.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace vt {

QString frameText(char frame)
{
    switch (frame) {
    case 'N': return QStringLiteral("None");
    case 'F': return QStringLiteral("Frame");
    case 'L': return QStringLiteral("Underline");
    }
    return {};
}

QString directionText(const AsciiField<2> &direction)
{
    return direction[0] == '0' ? QStringLiteral("Horizontal") : QStringLiteral("Vertical");
}

QString zoomText(bool halfZoom)
{
    return halfZoom ? QStringLiteral("50%") : QStringLiteral("100%");
}

void showPageSettings(PageTableModel &table, int row, const PageRecord &page)
{
    table.setCellText(row, ColRepeat, QString::number(page.repeat));
    table.setCellText(row, ColFontSize, QString::number(page.fontSize));
    table.setCellText(row, ColFrame, frameText(page.frame));
    table.setCellText(row, ColDirection, directionText(page.direction));
    table.setCellText(row, ColZoom, zoomText(page.halfZoom != 0));
}

bool PageCommands::add()
{
    PageTableModel &table = job_.model;
    if (table.rowCount() >= kMaxPages) {
        op_.prompt(tr("Get the MaxPage!"));
        return false;
    }
    op_.focusPageTable();

    int position;
    PageRecord *page;
    if (job_.currentIndex == -1) {
        position = 0;
        job_.chain.clear();
        page = job_.chain.createFirstPage(job_.settings);
    } else {
        position = job_.currentIndex + 1;
        page = job_.chain.insertPageAfter(job_.currentPage, job_.settings);
    }
    job_.currentPage = page;

    // The new page holds the job's defaults.
    table.insertPageRow(position);
    table.setChecked(position, true);
    table.setCellText(position, ColPage, QString::number(position + 1));
    showPageSettings(table, position, *page);
    table.setCurrentColumn(ColPage);
    job_.refreshPage(position);
    job_.modified = true;
    return true;
}

void PageCommands::deletePage()
{
    op_.focusPageTable();
    PageTableModel &table = job_.model;
    const int rows = table.rowCount();
    const int index = job_.currentIndex;
    if (rows == 0 || index < 0 || index >= rows || !job_.currentPage)
        return;

    if (rows == 1) {
        // The job keeps one page: empty it, keep its settings.
        PageRecord &page = *job_.currentPage;
        page.textLength = 0;
        page.text.fill(0);
        // Without text there is no second line; a stale flag would refuse
        // font sizes meant for two-line pages.
        page.twoLines = 0;
        table.setCellText(0, ColLine1, QString());
        table.setCellText(0, ColLine2, QString());
        job_.modified = true;
        return;
    }

    const bool wasLast = index == rows - 1;
    job_.currentPage = job_.chain.removePage(job_.currentPage);
    table.removePageRow(index);
    job_.refreshPage(wasLast ? index - 1 : index);
    job_.modified = true;
}

void PageCommands::appendMark(char16_t markChar)
{
    op_.focusPageTable();
    PageTableModel &table = job_.model;
    const int row = job_.currentIndex;
    int column = table.currentColumn();
    if (row < 0 || row >= table.rowCount() || !job_.currentPage)
        return;
    if (column == ColLine2 && owner_ && owner_->pageTableMessage(tablemsg::mayEditCell, row, ColLine2) == 0)
        return;
    if (column != ColLine1 && column != ColLine2)
        column = ColLine1;

    QString text = table.cellText(row, column);
    if (text.size() >= kMaxTextBytes) {
        op_.prompt(QCoreApplication::translate("vt::CellCommit", "Input is over length!"));
        return;
    }

    PageRecord &page = *job_.currentPage;
    const QChar m(markChar);
    std::uint8_t &counter = markChar == mark::superscript ? page.superscriptCount : page.subscriptCount;
    counter = static_cast<std::uint8_t>(text.count(m));
    page.scriptCount = static_cast<std::uint8_t>(page.superscriptCount + page.subscriptCount);
    // Never two of the same mark in a row at the end: a second press only recounts.
    if (!text.isEmpty() && text.back() == m)
        return;

    ++counter;
    ++page.scriptCount;
    text += m;
    table.setCellText(row, column, text);
    job_.modified = true;
    if (owner_) {
        // The commit runs once the command has returned, like a posted message.
        QMetaObject::invokeMethod(
            &job_, [owner = owner_, row, column] { owner->pageTableMessage(tablemsg::commitCell, row, column); },
            Qt::QueuedConnection);
    }
}

void PageCommands::headerClicked(int column)
{
    if (column != ColCheck)
        return;
    PageTableModel &table = job_.model;
    const bool check = table.headerCheckState() != 2;
    for (int row = 0; row < table.rowCount(); ++row) {
        if (table.isChecked(row) != check) {
            table.setChecked(row, check);
            job_.modified = true;
        }
    }
    table.setHeaderCheckState(check ? 2 : 1);
}

} // namespace vt

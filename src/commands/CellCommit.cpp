#include "commands/CellCommit.h"

#include "commands/PageCommands.h"
#include "commands/TableImport.h"
#include "layout/FontMetrics.h"
#include "layout/PageLayout.h"

#include <climits>
#include <QCoreApplication>

namespace vt {

int leadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == u'-' || text.at(i) == u'+'))
        negative = text.at(i++) == u'-';
    long long value = 0;
    for (; i < text.size() && text.at(i) >= u'0' && text.at(i) <= u'9'; ++i) {
        value = value * 10 + (text.at(i).unicode() - u'0');
        if (value > INT_MAX)
            return negative ? INT_MIN : INT_MAX;
    }
    return static_cast<int>(negative ? -value : value);
}

int CellCommit::pageTableMessage(unsigned message, int row, int column)
{
    switch (message) {
    case tablemsg::rowChosen:
        rowChosen(row);
        return 0;
    case tablemsg::mayEditCell:
        return mayEditCell(row, column) ? 1 : 0;
    case tablemsg::commitCell:
        commitCell(row, column);
        return 0;
    default:
        return 0;
    }
}

void CellCommit::rowChosen(int row)
{
    if (row < 0 || row >= job_.pageCount())
        return;
    job_.refreshPage(row);
    const PageRecord *page = job_.currentPage;
    if (!page)
        return;
    if (job_.settings.defaultAutoFontSize == 0)
        op_.selectListEntry(ControlId::FontSize, page->fontSize);
    op_.selectListEntry(ControlId::Zoom, page->halfZoom);
    op_.selectListEntry(ControlId::Frame, page->frame == 'F' ? 1 : page->frame == 'L' ? 2 : 0);
    op_.selectListEntry(ControlId::Direction, page->direction[0] - '0');
}

bool CellCommit::mayEditCell(int row, int column)
{
    if (column != ColLine2)
        return true;
    const PageRecord *page = row >= 0 && row < job_.pageCount() ? job_.chain.pageAt(row) : job_.currentPage;
    if (!page || page->twoLines || page->autoFontSize || page->fontSize < 4)
        return true;
    op_.prompt(tr("Font size is too big, not suitable for double line, please choose 1-3 fonts!"));
    return false;
}

void CellCommit::refuse(const QString &text)
{
    op_.prompt(text);
    // A refused edit must not let a later, unrelated commit move the editor on.
    enterPressed = false;
}

void CellCommit::commitCell(int row, int column)
{
    // The row may be gone by the time a queued commit arrives.
    if (row < 0 || row >= job_.pageCount())
        return;
    // The row's own page: a commit queued behind a click on another row must
    // not write this row's text into that row's page.
    PageRecord *page = job_.chain.pageAt(row);
    if (!page)
        return;
    const bool accepted = column == ColRepeat ? commitRepeat(row, *page) : commitText(row, *page);
    if (accepted)
        advance(row, column);
}

bool CellCommit::commitRepeat(int row, PageRecord &page)
{
    const int value = leadingNumber(job_.model.cellText(row, ColRepeat));
    if (value < kMinRepeat || value > kMaxRepeat) {
        job_.model.setCellText(row, ColRepeat, QString::number(page.repeat));
        refuse(tr("Repetition should be in [1-%1] , setting  is  invalid!").arg(kMaxRepeat));
        return false;
    }
    if (page.repeat != value)
        job_.modified = true;
    setPageRepeat(page, value);
    return true;
}

bool CellCommit::commitText(int row, PageRecord &page)
{
    const QString line1 = job_.model.cellText(row, ColLine1);
    const QString line2 = job_.model.cellText(row, ColLine2);
    page.twoLines = line2.isEmpty() ? 0 : 1;
    const qsizetype characters = line1.size() + (page.twoLines ? 1 + line2.size() : 0);
    // The limit holds in the bytes the page keeps: a Chinese character or a
    // script mark takes two, the serial mark one. Cut to fit, the page would
    // print and save without its end, unseen. The cell keeps what was typed,
    // so the job did change.
    if (characters > kMaxTextBytes || storedTextLength(line1, line2, false) > kMaxTextBytes) {
        job_.modified = true;
        refuse(tr("Input is over length!"));
        return false;
    }
    // Kept as typed, as an over-long text is: the operator sees what to change.
    if (const QString note = unprintableLines(line1, line2); !note.isEmpty()) {
        job_.modified = true;
        refuse(note);
        return false;
    }
    // Stored as the page build stores it, so the length checks below measure
    // the page that will be saved and printed.
    const auto formerText = page.text;
    buildPageRecord(page, line1, line2, job_.settings, false);
    if (page.text != formerText)
        job_.modified = true;

    if (page.autoLength == 0 && page.autoFontSize == 1) {
        fitFontSize(page, job_.settings);
        if (pageTooLong(page, job_.settings)) {
            refuse(tr("Input is over length!"));
            return false;
        }
    }
    return true;
}

void CellCommit::advance(int row, int column)
{
    if (!enterPressed)
        return;
    enterPressed = false;
    const int rows = job_.pageCount();
    if (row < rows - 1) {
        int next = row + 1;
        int nextColumn = column;
        if (column == ColLine2) {
            // Only a page with a small fixed font may take a second line.
            int found = -1;
            for (int r = row + 1; r < rows && found < 0; ++r) {
                const PageRecord &p = job_.chain[r];
                if (p.autoFontSize == 0 && p.fontSize <= 3)
                    found = r;
            }
            if (found >= 0)
                next = found;
            else
                nextColumn = ColLine1;
        }
        job_.refreshPage(next);
        op_.editPageCell(next, nextColumn);
        return;
    }
    // The new page goes right after this row.
    if (job_.currentIndex != row)
        job_.refreshPage(row);
    if (PageCommands(job_, op_).add())
        op_.editPageCell(row + 1, ColLine1);
}

} // namespace vt

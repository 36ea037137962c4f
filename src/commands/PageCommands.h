#pragma once

#include "commands/Operator.h"
#include "commands/PageTableProtocol.h"
#include "model/Job.h"

#include <QCoreApplication>

namespace vt {

// The commands that add, delete and mark pages.
class PageCommands {
    Q_DECLARE_TR_FUNCTIONS(vt::PageCommands)

public:
    // `owner` answers the second-line guard for the mark commands and takes
    // their (queued) cell commits; without one, marks are neither guarded
    // nor committed.
    PageCommands(Job &job, Operator &op, PageTableOwner *owner = nullptr)
        : job_(job), op_(op), owner_(owner) {}

    // Adds a page after the current one (or the first page of an empty job).
    // Returns false, after telling the operator, when the job is full.
    bool add();

    // Deletes the current page; the only page is emptied instead.
    void deletePage();

    // Appends a superscript or subscript mark to the current cell.
    void supscript() { appendMark(mark::superscript); }
    void subscript() { appendMark(mark::subscript); }

    // A click on a column title of the page table: column 0 checks or
    // unchecks every row by the header's check box.
    void headerClicked(int column);

private:
    void appendMark(char16_t markChar);

    Job &job_;
    Operator &op_;
    PageTableOwner *owner_;
};

// Cell texts of the page settings, as the table shows them.
QString frameText(char frame);
QString directionText(const AsciiField<2> &direction);
QString zoomText(bool halfZoom);
// Writes those cells and the repeat and font size of `page` into `row`.
void showPageSettings(PageTableModel &table, int row, const PageRecord &page);

} // namespace vt

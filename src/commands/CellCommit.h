#pragma once

#include "commands/Operator.h"
#include "commands/PageTableProtocol.h"
#include "model/Job.h"

#include <QCoreApplication>

namespace vt {

// The main window's side of the page table protocol: a chosen row becomes
// the current page, a second line is refused where the page's font is too
// big for two lines, and an edited cell is committed into its page. After an
// edit ended with Enter the editor moves on to the next row, or a page is
// added.
class CellCommit : public PageTableOwner {
    Q_DECLARE_TR_FUNCTIONS(vt::CellCommit)

public:
    CellCommit(Job &job, Operator &op) : job_(job), op_(op) {}

    int pageTableMessage(unsigned message, int row, int column) override;

    void rowChosen(int row);
    bool mayEditCell(int row, int column);
    void commitCell(int row, int column);

private:
    bool commitRepeat(int row, PageRecord &page);
    bool commitText(int row, PageRecord &page);
    void advance(int row, int column);
    void refuse(const QString &text);

    Job &job_;
    Operator &op_;
};

// The leading decimal number of a cell ("12.5" gives 12); 0 without digits.
// Values beyond an int come back as INT_MAX (INT_MIN when negative), so range
// checks refuse them.
int leadingNumber(const QString &text);

} // namespace vt

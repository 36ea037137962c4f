#include "commands/Numbering.h"

#include "commands/CellCommit.h"
#include "layout/PageLayout.h"

#include <QCoreApplication>

namespace vt {

namespace {

constexpr char16_t kMarks[kNumberKinds] = {mark::numberDecimal, mark::numberPadded, mark::numberUpper,
                                            mark::numberLower};

std::uint8_t PageRecord::*const kFlags[kNumberKinds] = {&PageRecord::numberDecimal, &PageRecord::numberPadded,
                                                        &PageRecord::numberUpper, &PageRecord::numberLower};

} // namespace

char16_t numberMark(NumberKind kind)
{
    return kMarks[static_cast<int>(kind)];
}

std::optional<NumberKind> chosenKind(const NumberChoice &choice)
{
    for (int k = 0; k < kNumberKinds; ++k)
        if (choice.kinds[static_cast<std::size_t>(k)])
            return static_cast<NumberKind>(k);
    return std::nullopt;
}

NumberChoice numberChoiceOf(const PageRecord &page)
{
    NumberChoice choice;
    for (int k = 0; k < kNumberKinds; ++k)
        choice.kinds[static_cast<std::size_t>(k)] = page.*kFlags[k];
    choice.serialStart = page.serialStart;
    choice.serialEnd = page.serialEnd;
    return choice;
}

QString serialValueText(NumberKind kind, const QString &typed)
{
    if (kind == NumberKind::Decimal)
        return QString::number(leadingNumber(typed));
    return typed;
}

QString withNumberMark(const QString &text, NumberKind kind)
{
    QString out = text;
    const QChar chosen(numberMark(kind));
    for (int k = 0; k < kNumberKinds; ++k) {
        if (static_cast<NumberKind>(k) == kind)
            continue;
        const qsizetype at = out.indexOf(QChar(kMarks[k]));
        if (at >= 0)
            out[at] = chosen;
    }
    if (!out.contains(chosen))
        out += chosen;
    return out;
}

void setNumberCommand(Job &job, Operator &op)
{
    PageRecord *page = job.currentPage;
    const int row = job.currentIndex;
    if (!page || row < 0 || row >= job.pageCount())
        return;
    const std::optional<NumberChoice> answer = op.askNumbering(numberChoiceOf(*page));
    if (!answer)
        return;

    op.focusPageTable();
    int column = job.model.currentColumn();
    if (column != ColLine1 && column != ColLine2)
        column = ColLine1;

    const std::optional<NumberKind> kind = chosenKind(*answer);
    QString line1 = job.model.cellText(row, ColLine1);
    QString line2 = job.model.cellText(row, ColLine2);
    QString &cell = column == ColLine1 ? line1 : line2;
    if (kind)
        cell = withNumberMark(cell, *kind);
    // Judged as the page will be stored, the mark as one byte: what fits is
    // taken, what does not would be cut and is refused.
    if (cell.size() > kMaxTextBytes || storedTextLength(line1, line2, false) > kMaxTextBytes) {
        op.prompt(QCoreApplication::translate("vt::CellCommit", "Input is over length!"));
        return;
    }

    page->serialStart = answer->serialStart;
    page->serialEnd = answer->serialEnd;
    for (int k = 0; k < kNumberKinds; ++k)
        page->*kFlags[k] = answer->kinds[static_cast<std::size_t>(k)] ? 1 : 0;
    page->numbered = kind ? 1 : 0;

    job.model.setCellText(row, column, cell);
    // The page's text and counts follow the cell at once.
    buildPageRecord(*page, line1, line2, job.settings, false);
    job.modified = true;
}

} // namespace vt

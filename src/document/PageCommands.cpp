#include "document/PageCommands.h"

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

bool PageCommands::add()
{
    PageTableModel &table = job_.model;
    if (table.rowCount() >= kMaxPages) {
        op_.prompt(QStringLiteral("Get the MaxPage!"));
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

    const JobSettings &s = job_.settings;
    table.insertPageRow(position);
    table.setChecked(position, true);
    table.setCellText(position, ColPage, QString::number(position + 1));
    table.setCellText(position, ColRepeat, QString::number(s.defaultRepeat));
    table.setCellText(position, ColFontSize, QString::number(s.defaultFontSize));
    table.setCellText(position, ColFrame, frameText(s.defaultFrame));
    table.setCellText(position, ColDirection, directionText(s.defaultDirection));
    table.setCellText(position, ColZoom, zoomText(page->halfZoom != 0));
    table.setCurrentColumn(ColPage);
    job_.refreshPage(position);
    return true;
}

} // namespace vt

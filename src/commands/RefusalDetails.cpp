#include "commands/RefusalDetails.h"

#include "layout/FontMetrics.h"

#include <QCoreApplication>

namespace vt {

void RefusalDetails::tooLong(int row, const PageRecord &page)
{
    const Overlength over = overlength(page);
    lines_ << tr("Page %1, %2 line: %3 mm too long for its length of %4 mm")
                  .arg(row + 1)
                  .arg(over.line == 2 ? tr("2nd") : tr("1st"))
                  .arg(QString::number(over.dots / double(kDotsPerMm), 'f', 1))
                  .arg(QString::number(page.adjustedLengthDots / double(kDotsPerMm), 'f', 1));
}

void RefusalDetails::refused(int row, const QString &reason)
{
    lines_ << tr("Page %1: %2").arg(row + 1).arg(reason);
}

} // namespace vt

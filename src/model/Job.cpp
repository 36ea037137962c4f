#include "model/Job.h"

namespace vt {

Job::Job(QObject *parent) : QObject(parent) {}

void Job::refreshPage(int index)
{
    if (index < 0 || index >= model.rowCount()) {
        currentIndex = -1;
        return;
    }
    currentIndex = index;
    emit rowSelected(index);
    currentPage = chain.pageAt(index);
    for (int row = 0; row < model.rowCount(); ++row) {
        model.setCellText(row, ColCurrent, row == index ? kCurrentStar : QString());
        model.setCellText(row, ColPage, QString::number(row + 1));
    }
}

} // namespace vt

#include "widgets/WrappingRow.h"

#include <QGridLayout>
#include <QResizeEvent>

#include <algorithm>

namespace vt {

WrappingRow::WrappingRow(QWidget *parent) : QWidget(parent), grid_(new QGridLayout(this))
{
    grid_->setContentsMargins(0, 0, 0, 0);
    grid_->setHorizontalSpacing(4);
    grid_->setVerticalSpacing(2);
}

void WrappingRow::addGroup(QWidget *group)
{
    groups_.push_back(group);
    arrange(wrapped_);
}

int WrappingRow::oneLineWidth() const
{
    int width = 0;
    for (QWidget *group : groups_)
        width += group->sizeHint().width();
    return width + grid_->horizontalSpacing() * std::max(0, int(groups_.size()) - 1);
}

QSize WrappingRow::minimumSizeHint() const
{
    // Narrower than one line is fine: the row wraps, the second line's groups
    // under the first line's, column by column.
    const int half = int(groups_.size() + 1) / 2;
    int width = 0;
    for (int i = 0; i < half; ++i) {
        int column = groups_[i]->sizeHint().width();
        if (half + i < int(groups_.size()))
            column = std::max(column, groups_[half + i]->sizeHint().width());
        width += column + (i ? grid_->horizontalSpacing() : 0);
    }
    return QSize(width, QWidget::minimumSizeHint().height());
}

void WrappingRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const bool wrap = event->size().width() < oneLineWidth();
    if (wrap != wrapped_) {
        arrange(wrap);
        updateGeometry();
    }
}

void WrappingRow::arrange(bool wrapped)
{
    wrapped_ = wrapped;
    for (QWidget *group : groups_)
        grid_->removeWidget(group);
    for (int c = 0; c <= int(groups_.size()); ++c)
        grid_->setColumnStretch(c, 0);
    const int half = int(groups_.size() + 1) / 2;
    for (int i = 0; i < int(groups_.size()); ++i) {
        const int row = wrapped && i >= half ? 1 : 0;
        const int column = wrapped && i >= half ? i - half : i;
        grid_->addWidget(groups_[i], row, column, Qt::AlignLeft);
    }
    // Whatever is left over goes after the last group of each line.
    grid_->setColumnStretch(wrapped ? half : int(groups_.size()), 1);
}

} // namespace vt

#include "widgets/LabelStripView.h"

#include <QPainter>

namespace vt {

LabelStripView::LabelStripView(QWidget *parent)
    : QWidget(parent)
{
    // Every pixel is painted, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAccessibleName(tr("Label strip"));
}

void LabelStripView::setOrigin(std::int64_t x)
{
    if (x == origin_)
        return;
    origin_ = x;
    update();
}

int LabelStripView::dpi() const
{
    return pinnedDpi_ > 0 ? pinnedDpi_ : logicalDpiY();
}

void LabelStripView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    strip_.paint(painter, rect(), origin_, dpi());
}

} // namespace vt

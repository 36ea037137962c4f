#include "widgets/PageTableHeader.h"

#include "model/PageTableModel.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

namespace vt {

namespace {
const QColor kBoxFrame(51, 102, 153);
const QColor kTick(51, 153, 51);
constexpr int kMaxTitle = 79;
} // namespace

PageTableHeader::PageTableHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setMinimumSectionSize(0);
    setDefaultAlignment(Qt::AlignCenter);
    // The band is painted whole on every paint; nothing to erase first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    readSystemColors();
}

void PageTableHeader::readSystemColors()
{
    const QPalette pal = QApplication::palette(this);
    highlightColor = pal.color(QPalette::Active, QPalette::Light);
    shadowColor = pal.color(QPalette::Active, QPalette::Dark);
    backColor = pal.color(QPalette::Active, QPalette::Button);
    textColor = pal.color(QPalette::Active, QPalette::ButtonText);
    // The titles follow a new scheme too: the old dark titles on a new dark
    // band would be unreadable.
    titleColor = textColor;
    seenSystemColors = systemColors();
}

void PageTableHeader::setColors(const QColor &background, const QColor &text)
{
    backColor = background;
    textColor = text;
    viewport()->update();
}

void PageTableHeader::setTextAlign(int align)
{
    textAlign = align;
    viewport()->update();
}

void PageTableHeader::setDrawDividers(bool on)
{
    drawDividers = on;
    viewport()->update();
}

int PageTableHeader::itemCheckState(int section) const
{
    if (section < 0 || section >= count())
        return -1;
    if (model()) {
        const QVariant v = model()->headerData(section, orientation(), PageTableModel::HeaderCheckRole);
        if (v.isValid())
            return v.toInt();
    }
    return checkStates.value(section, 0);
}

bool PageTableHeader::setItemCheckState(int section, int state)
{
    if (section < 0 || section >= count() || state < 0 || state > 2)
        return false;
    checkStates[section] = state;
    viewport()->update();
    return true;
}

bool PageTableHeader::event(QEvent *event)
{
    const bool handled = QHeaderView::event(event);
    switch (event->type()) {
    case QEvent::PaletteChange:
    case QEvent::ApplicationPaletteChange:
    case QEvent::ThemeChange:
        // Only a change of the system colours takes back the band colours
        // given by setColors; the table's own palette (set by setColors)
        // arrives here too and must not.
        if (systemColors() != seenSystemColors) {
            readSystemColors();
            viewport()->update();
        }
        break;
    default:
        break;
    }
    return handled;
}

std::array<QRgb, 4> PageTableHeader::systemColors() const
{
    const QPalette pal = QApplication::palette(this);
    return {pal.color(QPalette::Active, QPalette::Light).rgba(), pal.color(QPalette::Active, QPalette::Dark).rgba(),
            pal.color(QPalette::Active, QPalette::Button).rgba(),
            pal.color(QPalette::Active, QPalette::ButtonText).rgba()};
}

void PageTableHeader::mouseDoubleClickEvent(QMouseEvent *event)
{
    // The second press of a double-click is a click of its own: two fast
    // clicks on column 0 switch its check box twice.
    if (event->button() == Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    QHeaderView::mouseDoubleClickEvent(event);
}

void PageTableHeader::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    const QRect clip = event->rect();
    if (!clip.isValid())
        return;
    painter.fillRect(clip, backColor);
    painter.setFont(font());
    painter.setBackgroundMode(Qt::TransparentMode);

    const int height = viewport()->height();
    int total = 0;
    int lastVisual = -1;
    for (int visual = count() - 1; visual >= 0; --visual) {
        if (!isSectionHidden(logicalIndex(visual))) {
            lastVisual = visual;
            break;
        }
    }
    for (int visual = 0; visual < count(); ++visual) {
        const int section = logicalIndex(visual);
        if (isSectionHidden(section))
            continue;
        const int width = sectionSize(section);
        const int left = sectionViewportPosition(section);
        QRect r(left, 0, width, height);
        drawItem(painter, r.adjusted(itemMargin, 0, -itemMargin, 0), section);
        if (visual != lastVisual && drawDividers) {
            // Etched line on the boundary: shadow on the column's last pixel,
            // highlight on the first pixel of the next one.
            const int x = left + width;
            if (height > 4) {
                painter.setPen(shadowColor);
                painter.drawLine(x - 1, 2, x - 1, height - 3);
                painter.setPen(highlightColor);
                painter.drawLine(x, 2, x, height - 3);
            }
        }
        total += width;
    }

    if (total > 0) {
        // The frame ends with the last column, not at the window's edge.
        const int left = -offset();
        const int right = left + total - 1;
        const int bottom = height - 1;
        painter.setPen(highlightColor);
        painter.drawLine(left, 0, right - 1, 0);
        painter.drawLine(left, 0, left, bottom - 1);
        painter.setPen(shadowColor);
        painter.drawLine(right, 0, right, bottom);
        painter.drawLine(left, bottom, right, bottom);
    }
}

void PageTableHeader::drawItem(QPainter &painter, QRect r, int section)
{
    const int box = drawCheckBox(painter, r, itemCheckState(section));
    if (box > 0)
        r.setLeft(r.left() + box + itemMargin);
    if (r.width() <= 0 || !model())
        return;
    QString title = model()->headerData(section, orientation(), Qt::DisplayRole).toString();
    if (title.isEmpty())
        return;
    title.truncate(kMaxTitle);

    Qt::Alignment horizontal = Qt::AlignLeft;
    if (textAlign != -1) {
        horizontal = Qt::Alignment(textAlign) & Qt::AlignHorizontal_Mask;
    } else {
        const QVariant a = model()->headerData(section, orientation(), Qt::TextAlignmentRole);
        const Qt::Alignment columnAlign =
            a.isValid() ? Qt::Alignment(a.toInt()) : defaultAlignment();
        if (columnAlign & Qt::AlignHCenter)
            horizontal = Qt::AlignHCenter;
        else if (columnAlign & Qt::AlignRight)
            horizontal = Qt::AlignRight;
    }
    const QString shown = painter.fontMetrics().elidedText(title, Qt::ElideRight, r.width());
    painter.setPen(titleColor);
    painter.drawText(r, int(horizontal | Qt::AlignVCenter | Qt::TextSingleLine), shown);
}

int PageTableHeader::drawCheckBox(QPainter &painter, const QRect &r, int state)
{
    if ((state != 1 && state != 2) || r.width() <= 0)
        return 0;
    const int left = r.left();
    const int top = r.top() + (r.height() - CheckBoxSize) / 2;
    const QRect boxRect(left, top, CheckBoxSize, CheckBoxSize);
    painter.fillRect(boxRect, QApplication::palette(this).color(QPalette::Active, QPalette::Base));
    painter.setPen(kBoxFrame);
    painter.drawRect(boxRect.adjusted(0, 0, -1, -1));
    if (state == 2) {
        static constexpr int strokes[7][2] = {{9, 3}, {8, 4}, {7, 5}, {6, 6}, {5, 7}, {4, 6}, {3, 5}};
        painter.setPen(kTick);
        for (const auto &s : strokes)
            painter.drawLine(left + s[0], top + s[1], left + s[0], top + s[1] + 2);
    }
    return CheckBoxSize;
}

} // namespace vt

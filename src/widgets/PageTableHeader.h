#pragma once

#include <QColor>
#include <QHeaderView>
#include <QMap>

#include <array>

namespace vt {

class PageTable;

// The page table's column header: a flat band in the table's colours with
// etched dividers, a 3-D frame around the columns and an optional check box
// in a column title (the page table uses it in column 0).
class PageTableHeader : public QHeaderView {
    Q_OBJECT
public:
    static constexpr int CheckBoxSize = 13;

    explicit PageTableHeader(QWidget *parent = nullptr);

    void setOwnerList(PageTable *list) { ownerList = list; }
    PageTable *owner() const { return ownerList; }

    void setColors(const QColor &background, const QColor &text);
    int getItemMargin() const { return itemMargin; }

    // -1 aligns each title by its column; Qt::AlignLeft/HCenter/Right forces one.
    void setTextAlign(int align);
    void setDrawDividers(bool on);

    // 0 no box, 1 empty box, 2 ticked box. The model's HeaderCheckRole wins
    // for the columns it answers; the others are kept here.
    int itemCheckState(int section) const;
    bool setItemCheckState(int section, int state);

    QColor backgroundColor() const { return backColor; }
    QColor titleTextColor() const { return titleColor; }
    QColor highlight() const { return highlightColor; }
    QColor shadow() const { return shadowColor; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;

    // Draws one title: check box at the left, then the text. `r` is the
    // section's rectangle already shrunk by the item margin.
    virtual void drawItem(QPainter &painter, QRect r, int section);
    int drawCheckBox(QPainter &painter, const QRect &r, int state);

private:
    void readSystemColors();
    std::array<QRgb, 4> systemColors() const;

    PageTable *ownerList = nullptr;
    int textAlign = -1;
    QColor titleColor;
    bool drawDividers = true;
    int itemMargin = 2;
    QColor highlightColor;
    QColor shadowColor;
    QColor backColor;
    QColor textColor;
    QMap<int, int> checkStates;
    std::array<QRgb, 4> seenSystemColors{};
};

} // namespace vt

#pragma once

#include <QStyledItemDelegate>

namespace vt {

// Draws the page table's cells with every mark named («sup», «n:0-999», …):
// no font has glyphs for the marks, and the operator must tell them apart.
class PageTextDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QString displayText(const QVariant &value, const QLocale &locale) const override;
};

} // namespace vt

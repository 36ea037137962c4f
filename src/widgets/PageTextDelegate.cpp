#include "widgets/PageTextDelegate.h"

#include "model/MarkText.h"

namespace vt {

QString PageTextDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.typeId() == QMetaType::QString)
        return visibleMarks(value.toString());
    return QStyledItemDelegate::displayText(value, locale);
}

} // namespace vt

#include "model/PageTableModel.h"
#include "widgets/PageTable.h"

#include <QAbstractItemDelegate>
#include <QStyledItemDelegate>
#include <gtest/gtest.h>

using namespace vt;

TEST(PageTextDelegate, TheTableNamesTheMarksItCannotDraw)
{
    PageTableModel model;
    model.insertPageRow(0);
    model.setCellText(0, ColLine1, QString::fromUtf16(u"L1\uE052"));
    PageTable table;
    table.setPageModel(&model);
    auto *delegate = qobject_cast<QStyledItemDelegate *>(table.itemDelegate());
    ASSERT_NE(delegate, nullptr);
    const QVariant shown = model.data(model.index(0, ColLine1), Qt::DisplayRole);
    EXPECT_EQ(delegate->displayText(shown, QLocale()), QString::fromUtf16(u"L1\u00ABsub\u00BB"));
    EXPECT_EQ(delegate->displayText(QString("PE"), QLocale()), "PE");
}

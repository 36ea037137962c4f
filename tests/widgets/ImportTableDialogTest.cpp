#include "widgets/ImportTableDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace vt;

namespace {
const QString kWires = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/wirelist.xlsx");

QStringList previewLine(const ImportTableDialog &dialog, int row)
{
    QStringList texts;
    for (int column = 0; column < dialog.preview()->columnCount(); ++column)
        texts << dialog.preview()->item(row, column)->text();
    return texts;
}
} // namespace

// The preview follows the choice: pages and refused rows by their sheet
// row, the header names offered in the fields, OK only with a page to import.
TEST(ImportTableDialog, PreviewFollowsTheChoice)
{
    TableChoice start;
    start.header = true;
    start.line1 = QStringLiteral("{Source}-{Target}");
    start.line2 = QStringLiteral("Section");
    start.repeat = QString();
    ImportTableDialog dialog(kWires, start);
    EXPECT_EQ(dialog.sheetList()->count(), 2);
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("5 rows: 5 pages"));
    EXPECT_EQ(previewLine(dialog, 0), QStringList({"2", "1", "X1:1-K1:A1", "1.5", "1"}));
    EXPECT_EQ(dialog.field(0)->findText(QStringLiteral("Section")), 4);
    EXPECT_FALSE(dialog.splitBox()->isEnabled());

    // Row 6 holds nothing in A and B once the fields name them.
    dialog.headerBox()->setChecked(false);
    dialog.field(0)->setEditText(QStringLiteral("E"));
    dialog.field(1)->setEditText(QString());
    dialog.refresh();
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("6 rows: 5 pages, 1 refused"));
    EXPECT_EQ(previewLine(dialog, 5), QStringList({"6", "refused", "empty", "", ""}));

    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled());
    dialog.field(0)->setEditText(QStringLiteral("{Nowhere}"));
    dialog.refresh();
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("there is no column \"Nowhere\""));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(dialog.choice().line1, QStringLiteral("{Nowhere}"));
}

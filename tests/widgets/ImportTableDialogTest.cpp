#include "common/Workbooks.h"
#include "widgets/ImportTableDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
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

// The preview of the choice shown is in (the reading runs on a worker).
bool previewIn(const ImportTableDialog &dialog)
{
    return QTest::qWaitFor([&] { return dialog.isReady(); }, 60000);
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
    ASSERT_TRUE(previewIn(dialog));
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
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("6 rows: 5 pages, 1 refused"));
    EXPECT_EQ(previewLine(dialog, 5), QStringList({"6", "refused", "empty", "", ""}));

    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    EXPECT_TRUE(ok->isEnabled());
    dialog.field(0)->setEditText(QStringLiteral("{Nowhere}"));
    dialog.refresh();
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("there is no column \"Nowhere\""));
    EXPECT_FALSE(ok->isEnabled());
    EXPECT_EQ(dialog.choice().line1, QStringLiteral("{Nowhere}"));
}

// A large sheet is read on a worker: the dialog's event loop keeps running
// and says it is reading, OK waits for the preview, a read overtaken by a
// newer choice is dropped, and closing in the middle of a read is safe.
TEST(ImportTableDialog, ReadsALargeSheetWhileTheWindowAnswers)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.xlsx"));
    constexpr int kRows = 200000;
    ASSERT_TRUE(test::writeWorkbook(
        path,
        [](lxw_workbook *book) {
            lxw_worksheet *sheet = workbook_add_worksheet(book, "Wires");
            test::cell(sheet, 0, 0, "Source");
            test::cell(sheet, 0, 1, "Target");
            for (int row = 1; row <= kRows; ++row) {
                test::cell(sheet, row, 0, QStringLiteral("X%1").arg(row).toUtf8().constData());
                test::cell(sheet, row, 1, static_cast<double>(row));
            }
        },
        true));

    TableChoice start;
    start.line2 = QStringLiteral("B");
    start.repeat = QString();
    auto dialog = std::make_unique<ImportTableDialog>(path, start);
    dialog->show();
    QPushButton *ok = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(dialog->isReady());
    EXPECT_EQ(dialog->summary()->text(), QStringLiteral("Reading large.xlsx ..."));
    EXPECT_FALSE(ok->isEnabled());

    // Ticks while reading: the loop turns. A key press is answered too.
    int ticks = 0;
    int ticksWhileReading = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        ++ticks;
        ticksWhileReading += dialog && !dialog->isReady() ? 1 : 0;
    });
    ticker.start(5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticksWhileReading >= 3; }, 60000));
    ASSERT_FALSE(dialog->isReady());
    // The header changes while the first read is under way: only the
    // second read's preview is shown.
    dialog->headerBox()->setFocus();
    QTest::keyClick(dialog->headerBox(), Qt::Key_Space);
    EXPECT_TRUE(dialog->headerBox()->isChecked());
    int ready = 0;
    QObject::connect(dialog.get(), &ImportTableDialog::previewReady, [&] { ++ready; });
    ASSERT_TRUE(previewIn(*dialog));
    EXPECT_EQ(ready, 1);
    EXPECT_EQ(dialog->summary()->text(), QStringLiteral("200000 rows: 200 pages, 199800 beyond the 200-page limit"));
    EXPECT_EQ(previewLine(*dialog, 0), QStringList({"2", "1", "X1", "1", "1"}));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_TRUE(dialog->splitBox()->isEnabled());

    // Closed in the middle of a read: no call reaches the dialog after it.
    dialog->headerBox()->setChecked(false);
    EXPECT_FALSE(dialog->isReady());
    dialog->close();
    dialog.reset();
    const int before = ticks;
    ASSERT_TRUE(QTest::qWaitFor([&] { return ticks > before + 3; }, 10000));
}

// A small sheet is kept: another field is previewed without the file.
TEST(ImportTableDialog, ASmallSheetIsNotReadAgain)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("wires.xlsx"));
    ASSERT_TRUE(QFile::copy(kWires, path));
    TableChoice start;
    start.header = true;
    ImportTableDialog dialog(path, start);
    ASSERT_TRUE(previewIn(dialog));
    ASSERT_TRUE(QFile::remove(path));
    dialog.field(0)->setEditText(QStringLiteral("{Source}/{Target}"));
    dialog.refresh();
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("5 rows: 5 pages"));
    EXPECT_EQ(previewLine(dialog, 0)[2], QStringLiteral("X1:1/K1:A1"));
    // Another sheet is not kept: it needs the file.
    dialog.sheetList()->setCurrentIndex(1);
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_FALSE(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled());
}

#include "common/Workbooks.h"
#include "widgets/ImportTableDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

// Enter right after a field is typed imports what the field now says, never
// the preview before it.
TEST(ImportTableDialog, OkImportsWhatTheFieldsSay)
{
    TableChoice start;
    start.header = true;
    ImportTableDialog dialog(kWires, start);
    dialog.show();
    ASSERT_TRUE(previewIn(dialog));
    QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
    ASSERT_TRUE(ok->isEnabled());
    dialog.field(0)->setEditText(QStringLiteral("Target"));
    EXPECT_FALSE(ok->isEnabled()) << "off from the first keystroke";
    QTest::keyClick(&dialog, Qt::Key_Return);
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "not before the new preview is in";
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.result() == QDialog::Accepted; }, 60000));
    EXPECT_EQ(dialog.choice().line1, QStringLiteral("Target"));
    ASSERT_FALSE(dialog.content().pages.empty());
    EXPECT_EQ(dialog.content().pages[0].line1, QStringLiteral("K1:A1"));
    EXPECT_EQ(dialog.summary()->accessibleName(), dialog.summary()->text());
}

// The sheet chosen last time is found by its name, a workbook without it
// opens on its first; more rows than a job holds ask whether to split.
TEST(ImportTableDialog, RemembersTheSheetByNameAndAsksBeforeKeepingOnlyAJob)
{
    QTemporaryDir dir;
    const QString big = dir.filePath(QStringLiteral("big.xlsx"));
    ASSERT_TRUE(test::writeWorkbook(big, [](lxw_workbook *book) {
        lxw_worksheet *sheet = workbook_add_worksheet(book, "Wires");
        for (int row = 0; row < 250; ++row)
            test::cell(sheet, row, 0, QByteArray("W" + QByteArray::number(row)).constData());
    }));
    TableChoice start;
    start.sheet = 1;
    start.sheetName = QStringLiteral("Notes"); // of an earlier, two-sheet workbook
    ImportTableDialog dialog(big, start);
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("250 rows: 200 pages, 50 beyond the 200-page limit"));
    EXPECT_EQ(dialog.sheetList()->currentText(), QStringLiteral("Wires"));

    std::vector<QString> asked;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    dialog.askSplit = [&](const QString &text) {
        asked.push_back(text);
        return answer;
    };
    dialog.accept();
    EXPECT_NE(dialog.result(), QDialog::Accepted) << "Cancel stays in the dialog";
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0], QStringLiteral("The rows give 250 pages; a job holds 200.\nSplit them into 2 jobs of at "
                                       "most 200 pages (No imports the first 200)?"));
    answer = QMessageBox::Yes;
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.split());
    EXPECT_EQ(dialog.choice().sheetName, QStringLiteral("Wires"));

    // The two-sheet workbook opens on the sheet of that name.
    TableChoice second;
    second.sheetName = dialog.choice().sheetName;
    const QStringList sheets = [&] {
        ImportTableDialog wires(kWires, {});
        EXPECT_TRUE(previewIn(wires));
        QStringList names;
        for (int i = 0; i < wires.sheetList()->count(); ++i)
            names << wires.sheetList()->itemText(i);
        return names;
    }();
    ASSERT_GE(sheets.size(), 2);
    second.sheetName = sheets[1];
    ImportTableDialog again(kWires, second);
    ASSERT_TRUE(previewIn(again));
    EXPECT_EQ(again.sheetList()->currentIndex(), 1);
}

// Both ends, merged and in natural order on a list LibreOffice wrote: the
// preview names each page's end and how many rows a merged page came from,
// with the rows in its tooltip; a profile saved here comes back in the list,
// naming the columns another workbook lacks.
TEST(ImportTableDialog, BothEndsMergedWithTheirRowsAndProfiles)
{
    QTemporaryDir config;
    qputenv("VT350_CONFIG_DIR", config.path().toLocal8Bit());
    TableChoice start;
    start.header = true;
    start.line1 = QStringLiteral("{From}");
    start.line2 = QStringLiteral("W{Wire}");
    start.repeat = start.farRepeat = QString();
    start.farLine1 = QStringLiteral("{To}");
    start.farLine2 = QStringLiteral("W{Wire}");
    ImportTableDialog dialog(QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/wires-ends.xlsx"), start);
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_FALSE(dialog.farField(0)->isEnabled());
    dialog.endsList()->setCurrentIndex(1);
    dialog.mergeBox()->setChecked(true);
    dialog.sortList()->setCurrentIndex(1);
    ASSERT_TRUE(previewIn(dialog));
    EXPECT_TRUE(dialog.farField(0)->isEnabled());
    EXPECT_EQ(dialog.summary()->text(), QStringLiteral("5 rows: 7 pages, 1 refused"));
    EXPECT_EQ(previewLine(dialog, 0), QStringList({"3", "1", "-K3:A1", "W7", "2", "far", "2 rows"}));
    EXPECT_EQ(dialog.preview()->item(0, 6)->toolTip(), QStringLiteral("Rows 3, 4"));
    EXPECT_EQ(previewLine(dialog, 7), QStringList({"5", "refused", "far end: empty", "", "", "far", ""}));

    dialog.askProfileText = [](const QString &) { return QStringLiteral("Both ends"); };
    for (QPushButton *button : dialog.findChildren<QPushButton *>())
        if (button->text() == QStringLiteral("Sa&ve Profile..."))
            button->click();
    EXPECT_EQ(dialog.profileList()->currentText(), QStringLiteral("Both ends"));
    ImportTableDialog other(kWires, TableChoice{});
    ASSERT_TRUE(previewIn(other));
    ASSERT_EQ(other.profileList()->count(), 2);
    EXPECT_EQ(other.profileList()->itemText(1), QStringLiteral("Both ends (missing: From, Wire, To)"));
    qunsetenv("VT350_CONFIG_DIR");
}

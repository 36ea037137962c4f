#include "app/MainWindow.h"
#include "app/WindowFixture.h"
#include "common/ScriptedOperator.h"
#include "widgets/PageTable.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

namespace {

using MainWindowTest = vt::test::WindowFixture;

} // namespace

TEST_F(MainWindowTest, StartsWithOnePageAndTheStartUpSelections)
{
    EXPECT_EQ(window->windowTitle(), "Vt350 Tube Printer_P1.03");
    const Job &job = window->job();
    ASSERT_EQ(job.pageCount(), 1);
    EXPECT_TRUE(job.model.isChecked(0));
    const QStringList expected{"", kCurrentStar, "1", "", "", "1", "4", "None", "Horizontal", "100%"};
    for (int column = 1; column < ColumnCount; ++column)
        EXPECT_EQ(cell(0, column), expected[column]) << column;
    EXPECT_EQ(job.currentIndex, 0);
    EXPECT_EQ(job.model.headerCheckState(), 2);
    EXPECT_FALSE(job.modified);

    const auto text = [&](ControlId id) { return qobject_cast<QComboBox *>(window->control(id))->currentText(); };
    EXPECT_EQ(text(ControlId::Material), "Label");
    EXPECT_EQ(text(ControlId::MaterialParameter), "9 mm");
    EXPECT_EQ(text(ControlId::CutSetting), "Half-cut");
    EXPECT_EQ(text(ControlId::Spacing), "1");
    EXPECT_EQ(qobject_cast<QComboBox *>(window->control(ControlId::Spacing))->count(), 21);
    EXPECT_EQ(text(ControlId::Arrange), "Center");
    EXPECT_EQ(text(ControlId::FontSize), "4");
    EXPECT_EQ(text(ControlId::Zoom), "100%");
    EXPECT_EQ(text(ControlId::Frame), "None");
    EXPECT_EQ(text(ControlId::Direction), "Horizontal");
    // The list shows 3; the stored density stays 9 until the operator picks one.
    EXPECT_EQ(text(ControlId::Density), "3");
    EXPECT_EQ(job.settings.density, 9);
    Operator &op = window->windowOperator();
    EXPECT_TRUE(op.isControlChecked(ControlId::CurrentPage));
    EXPECT_TRUE(op.isControlChecked(ControlId::Automatic));
    EXPECT_TRUE(op.isControlChecked(ControlId::LocalFont));
    EXPECT_FALSE(window->control(ControlId::LengthEdit)->isEnabled());
    EXPECT_FALSE(window->control(ControlId::LengthSet)->isEnabled());
    EXPECT_EQ(op.readEdit(ControlId::LengthEdit), 25);
    EXPECT_EQ(op.readEdit(ControlId::RepeatEdit), 1);
    EXPECT_EQ(op.readEdit(ControlId::CopiesEdit), 1);

    // Fifteen toolbar slots in order, each named for a screen reader.
    QStringList slotLabels;
    for (QAction *a : window->toolBar()->actions()) {
        slotLabels << (a->isSeparator() ? "|" : a->text());
        if (!a->isSeparator()) {
            QWidget *button = window->toolBar()->widgetForAction(a);
            EXPECT_EQ(button->size(), QSize(72, 72));
            EXPECT_EQ(button->accessibleName(), a->text());
        }
    }
    EXPECT_EQ(slotLabels.join(' '), "Open Save | Import | Add Delete | Supscript Subscript | PrintView Print | Exit");

    // Every input control has a name: its caption, a buddy label or its own.
    QSet<QWidget *> named;
    for (QLabel *label : window->findChildren<QLabel *>())
        if (label->buddy())
            named.insert(label->buddy());
    for (QWidget *w : window->centralWidget()->findChildren<QWidget *>()) {
        if (!qobject_cast<QComboBox *>(w) && !qobject_cast<QLineEdit *>(w) && !qobject_cast<QAbstractButton *>(w))
            continue;
        if (qobject_cast<QComboBox *>(w->parentWidget()) || table().isAncestorOf(w))
            continue; // parts of a named control
        const auto *button = qobject_cast<QAbstractButton *>(w);
        EXPECT_TRUE(named.contains(w) || !w->accessibleName().isEmpty() || (button && !button->text().isEmpty()))
            << w->metaObject()->className();
    }
}

TEST_F(MainWindowTest, EnterInTheLastRowAddsAPageAndEditsItsFirstLine)
{
    showActive();
    clickCell(0, ColLine1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "W-101");
    QTest::keyClick(editor(), Qt::Key_Return);
    QCoreApplication::processEvents();

    const Job &job = window->job();
    ASSERT_EQ(job.pageCount(), 2);
    EXPECT_EQ(cell(0, ColLine1), "W-101");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(job.chain[0].text.data())), "W-101");
    EXPECT_EQ(job.currentIndex, 1);
    EXPECT_EQ(cell(1, ColCurrent), kCurrentStar);
    EXPECT_EQ(cell(1, ColPage), "2");
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->row(), 1);
    EXPECT_EQ(editor()->column(), ColLine1);
    EXPECT_FALSE(enterPressed);
    EXPECT_TRUE(job.modified);
    EXPECT_TRUE(script.messages.empty());

    // Escape leaves the new cell as it was and commits nothing.
    QTest::keyClicks(editor(), "abc");
    QTest::keyClick(editor(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(cell(1, ColLine1), "");
    EXPECT_EQ(job.chain[1].textLength, 0);
    EXPECT_EQ(job.pageCount(), 2);
    EXPECT_TRUE(window->isVisible()); // the editor's Escape does not close the window
}

TEST_F(MainWindowTest, SecondLineOfABigFontIsRefusedWithoutAnEditor)
{
    showActive();
    clickCell(0, ColLine2);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(script.messageTexts(),
              QStringList{"Font size is too big, not suitable for double line, please choose 1-3 fonts!"});
}

TEST_F(MainWindowTest, HeaderCheckBoxUnchecksAndChecksEveryRow)
{
    showActive();
    window->addPage();
    window->addPage();
    window->job().modified = false;
    window->job().model.setChecked(1, false);
    clickHeader(ColCheck);
    const PageTableModel &model = window->job().model;
    EXPECT_EQ(table().headerCheckState(), 1);
    for (int row = 0; row < 3; ++row)
        EXPECT_FALSE(model.isChecked(row)) << row;
    // Header clicks of other columns change nothing.
    clickHeader(ColPage);
    EXPECT_EQ(table().headerCheckState(), 1);
    clickHeader(ColCheck);
    EXPECT_EQ(table().headerCheckState(), 2);
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(model.isChecked(row)) << row;
    EXPECT_TRUE(window->job().modified);

    // A row's own check box is a change to the job too.
    window->job().modified = false;
    const QRect box = table().visualRect(model.index(1, ColCheck));
    QTest::mouseClick(table().viewport(), Qt::LeftButton, {}, box.center());
    EXPECT_FALSE(model.isChecked(1));
    EXPECT_TRUE(window->job().modified);
}

TEST_F(MainWindowTest, CommandsFromTheToolbarActOnTheCurrentPage)
{
    showActive();
    const auto trigger = [&](const QString &label) {
        for (QAction *a : window->toolBar()->actions())
            if (a->text() == label)
                QTest::mouseClick(window->toolBar()->widgetForAction(a), Qt::LeftButton);
    };
    trigger("Add");
    trigger("Add");
    EXPECT_EQ(window->job().pageCount(), 3);
    EXPECT_EQ(window->job().currentIndex, 2);
    trigger("Supscript");
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(2, ColLine1), QString(QChar(mark::superscript)));
    EXPECT_EQ(window->job().chain[2].textLength, 2);
    trigger("Delete");
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(window->job().currentIndex, 1);

    // An open editor commits before a mark is appended to its cell.
    clickCell(0, ColLine1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "AB");
    trigger("Subscript");
    EXPECT_EQ(editor(), nullptr);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(0, ColLine1), "AB" + QString(QChar(mark::subscript)));
    EXPECT_EQ(window->job().chain[0].textLength, 4);
    EXPECT_EQ(window->job().chain[0].subscriptCount, 1);
}

TEST_F(MainWindowTest, AnUnchangedJobClosesWithoutAQuestion)
{
    showActive();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(MainWindowTest, EscapeClosesTheWindow)
{
    showActive();
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(MainWindowTest, AChangedJobAsksBeforeItIsDiscarded)
{
    showActive();
    clickCell(0, ColLine1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "X1");
    // The close box while the editor is open: the text is committed, then asked about.
    script.answers = {Answer::Cancel};
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].caption, "Prompt");
    EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(cell(0, ColLine1), "X1");

    // Yes saves first; while nothing is saved the window stays.
    script.answers = {Answer::Yes};
    EXPECT_FALSE(window->close());

    script.answers = {Answer::No};
    EXPECT_TRUE(window->close());
    EXPECT_EQ(script.messages.size(), 3u);
}

TEST_F(MainWindowTest, SaveOpenAndImportThroughTheWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    showActive();
    const auto trigger = [&](const QString &label) {
        for (QAction *a : window->toolBar()->actions())
            if (a->text() == label)
                QTest::mouseClick(window->toolBar()->widgetForAction(a), Qt::LeftButton);
    };
    clickCell(0, ColLine1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "A");
    QTest::keyClick(editor(), Qt::Key_Escape); // nothing committed
    clickCell(0, ColLine1);
    QTest::keyClicks(editor(), "A");

    // Closing a changed job and answering Yes saves it (the open edit first), then closes.
    script.answers = {Answer::Yes};
    script.fileNames = {dir.filePath("Job")};
    EXPECT_TRUE(window->close());
    QFile saved(dir.filePath("Job.vtd"));
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.size(), 86);
    EXPECT_FALSE(window->job().modified);

    // A fresh window opens it from the toolbar: a single empty page is replaced without a question.
    window = std::make_unique<MainWindow>();
    window->setMessageSink(&script);
    script.messages.clear();
    showActive();
    script.fileNames = {dir.filePath("Job.vtd")};
    trigger("Open");
    EXPECT_TRUE(script.messages.empty());
    ASSERT_EQ(window->job().pageCount(), 1);
    EXPECT_EQ(cell(0, ColLine1), "A");

    // A text file named at start is imported without the confirmation.
    QFile csv(dir.filePath("marks.csv"));
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write("L1;N;3\nPE\n");
    csv.close();
    EXPECT_TRUE(window->openAtStart(csv.fileName()));
    ASSERT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(cell(0, ColLine2), "N");
    EXPECT_EQ(cell(1, ColLine1), "PE");
    EXPECT_TRUE(script.messages.empty());

    EXPECT_FALSE(window->openAtStart(dir.filePath("notes.txt")));
    EXPECT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(window->job().pageCount(), 2);
}

TEST_F(MainWindowTest, ExitNeedsIntegersInTheBoundEdits)
{
    showActive();
    auto *copies = qobject_cast<QLineEdit *>(window->control(ControlId::CopiesEdit));
    copies->setText("");
    // The copies rule reads the emptied edit first and refuses it too.
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("请键入一个整数。")});
    script.messages.clear();
    window->exitCommand();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(script.messageTexts(), QStringList{QStringLiteral("请键入一个整数。")});

    copies->setText("3");
    window->exitCommand();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->copiesValue, 3);
}

TEST_F(MainWindowTest, F1ShowsTheAboutBox)
{
    showActive();
    QString title, text;
    QTimer::singleShot(0, [&] {
        QWidget *box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        for (QLabel *label : box->findChildren<QLabel *>())
            text += label->text();
        auto *ok = box->findChild<QPushButton *>();
        ASSERT_NE(ok, nullptr);
        EXPECT_EQ(ok->text(), "OK");
        QTest::mouseClick(ok, Qt::LeftButton);
    });
    QTest::keyClick(window.get(), Qt::Key_F1);
    EXPECT_EQ(title, "Veltra Tube Printer");
    EXPECT_EQ(text, "Version 1.21");
}

TEST_F(MainWindowTest, GrowingTheWindowGrowsTheStripNotTheTable)
{
    window->resize(1100, 700);
    showActive();
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(1100, 700));
    const QRect table0 = table().geometry();
    const QRect strip0 = window->bottomStatic()->geometry();
    EXPECT_LT(table0.bottom(), strip0.top());

    window->resize(1300, 900);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->size(), QSize(1300, 900));
    const QRect table1 = table().geometry();
    const QRect strip1 = window->bottomStatic()->geometry();
    EXPECT_EQ(table1.top(), table0.top());
    EXPECT_EQ(table1.left(), table0.left());
    EXPECT_EQ(table1.height(), table0.height());
    EXPECT_EQ(table1.width(), table0.width() + 200);
    EXPECT_EQ(strip1.top(), strip0.top());
    EXPECT_EQ(strip1.height(), strip0.height() + 200);
    EXPECT_EQ(strip1.right(), table1.right());
    // Both end 5 pixels inside the window's client area.
    const QWidget *client = window->centralWidget();
    EXPECT_EQ(client->width() - 1 - strip1.right(), 5);
    EXPECT_EQ(client->height() - 1 - strip1.bottom(), 5);
}

TEST_F(MainWindowTest, PagesAreTypedAndChangedWithoutAMouse)
{
    showActive();
    table().setFocus();
    QTest::keyClick(&table(), Qt::Key_F2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->column(), ColLine1);
    QTest::keyClicks(editor(), "L1");
    QTest::keyClick(editor(), Qt::Key_Return);
    QCoreApplication::processEvents();
    ASSERT_EQ(window->job().pageCount(), 2);
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->row(), 1);
    QTest::keyClicks(editor(), "N");

    // A mark by key: the open edit commits first, the mark follows it.
    QTest::keyClick(editor(), Qt::Key_Up, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(cell(1, ColLine1), "N" + QString(QChar(mark::superscript)));
    EXPECT_EQ(window->job().chain[1].superscriptCount, 1);
    QTest::keyClick(&table(), Qt::Key_Down, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->job().chain[1].subscriptCount, 1);

    QTest::keyClick(&table(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(window->job().pageCount(), 1);
    EXPECT_EQ(cell(0, ColLine1), "L1");
    QTest::keyClick(&table(), Qt::Key_Insert);
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_TRUE(script.messages.empty());

    // The buttons tell their keys.
    for (QAction *a : window->toolBar()->actions())
        if (!a->isSeparator())
            EXPECT_FALSE(window->toolBar()->widgetForAction(a)->accessibleDescription().isEmpty()) << a->text().toStdString();
}

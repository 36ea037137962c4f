#include "TableFixture.h"

#include <QAccessible>
#include <QWheelEvent>

namespace vt::test {

namespace {
using Calls = std::vector<Call>;
}

using PageTable = TableFixture;

TEST_F(PageTable, ColumnsGetTheHeaderMarginOnTop)
{
    makeTable(1);
    const int expected[ColumnCount] = {20, 20, 44, 264, 94, 49, 59, 79, 99, 49};
    for (int column = 0; column < ColumnCount; ++column)
        EXPECT_EQ(table->columnWidth(column), expected[column]) << column;
    EXPECT_EQ(table->accessibleName(), "Pages");
}

TEST_F(PageTable, PressChoosesRowThenAsksBeforeEditing)
{
    makeTable(3);
    press(1, ColLine1);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 1, 3}, {kMayEdit, 1, 3}}));
    ASSERT_TRUE(table->isEditing());
    CellEditor *editor = table->currentEditor();
    EXPECT_EQ(editor->text(), "line1");
    EXPECT_EQ(editor->selectedText(), "line1");
    EXPECT_TRUE(editor->hasFocus());
    EXPECT_EQ(editor->accessibleName(), "1st Line");
    EXPECT_EQ(table->getCurrentColumn(), ColLine1);

    // A refused cell: the open editor commits as the focus leaves it, the
    // row is still chosen and the column current, but no editor opens.
    owner.mayEdit = 0;
    press(0, ColLine2);
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 1, 3}, {kRowChosen, 0, 4}, {kMayEdit, 0, 4}}));
    EXPECT_FALSE(table->isEditing());
    EXPECT_EQ(table->getCurrentColumn(), ColLine2);
    EXPECT_EQ(table->getCurrentRow(), 0);

    // Columns that are not edited by a press only choose the row.
    owner.mayEdit = 1;
    for (int column : {ColPage, ColFontSize, ColZoom}) {
        press(2, column);
        EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 2, column}})) << column;
        EXPECT_EQ(table->currentIndex().row(), 2);
        EXPECT_FALSE(table->isEditing());
    }

    // Below the last row: no row, column 0, nothing sent.
    const QRect last = table->visualRect(model.index(2, ColLine1));
    pressAt(QPoint(last.center().x(), last.bottom() + 20));
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(table->getCurrentRow(), -1);
    EXPECT_EQ(table->getCurrentColumn(), 0);
}

TEST_F(PageTable, PressOnCheckBoxTogglesItAndOpensNoEditor)
{
    makeTable(2);
    const QRect cell = table->visualRect(model.index(1, ColCheck));
    ASSERT_TRUE(model.isChecked(1));
    pressAt(cell.center());
    EXPECT_FALSE(model.isChecked(1));
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 1, 0}}));
    EXPECT_FALSE(table->isEditing());
}

TEST_F(PageTable, ColumnBoundaryBelongsToTheLeftColumn)
{
    makeTable(2);
    const int y = cellCenter(0, ColLine1).y();
    const int boundary = table->columnViewportPosition(ColLine2);   // right edge of column 3
    int column = -1;
    EXPECT_EQ(table->cellFromPoint({boundary, y}, &column), 0);
    EXPECT_EQ(column, ColLine1);
    EXPECT_EQ(table->cellFromPoint({boundary + 1, y}, &column), 0);
    EXPECT_EQ(column, ColLine2);

    pressAt({boundary, y});
    ASSERT_TRUE(table->isEditing());
    EXPECT_EQ(table->currentEditor()->column(), ColLine1);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 0, 3}, {kMayEdit, 0, 3}}));

    // Past the last column there is no cell at all.
    int total = 0;
    for (int c = 0; c < ColumnCount; ++c)
        total += table->columnWidth(c);
    EXPECT_EQ(table->cellFromPoint({total, y}, &column), -1);
    EXPECT_EQ(column, 0);

    // A column squeezed below 5 pixels cannot be edited.
    table->commitEditor();
    table->horizontalHeader()->resizeSection(ColRepeat, 4);
    EXPECT_EQ(table->editCell(0, ColRepeat), nullptr);
    EXPECT_EQ(table->editCell(0, ColumnCount), nullptr);
    EXPECT_EQ(table->editCell(5, ColLine1), nullptr);
}

TEST_F(PageTable, EscapeLeavesTheCellAndCommitsNothing)
{
    makeTable(2);
    for (bool flag : {false, true}) {
        enterPressed = flag;
        press(0, ColLine1);
        takeCalls();
        QTest::keyClicks(table->currentEditor(), "changed");
        QTest::keyClick(table->currentEditor(), Qt::Key_Escape);
        EXPECT_FALSE(table->isEditing());
        EXPECT_EQ(model.cellText(0, ColLine1), "line0");
        EXPECT_TRUE(takeCalls().empty());
        EXPECT_EQ(enterPressed, flag);
        EXPECT_TRUE(window->isVisible());
        settle();
    }
}

TEST_F(PageTable, EnterStoresTextRaisesFlagAndCommits)
{
    makeTable(2);
    bool flagAtCommit = false;
    QString cellAtCommit;
    owner.onMessage = [&](const Call &c) {
        if (c.message == kCommit) {
            flagAtCommit = enterPressed;
            cellAtCommit = model.cellText(c.row, c.column);
        }
    };
    press(1, ColLine1);
    takeCalls();
    QTest::keyClicks(table->currentEditor(), "NEW");   // replaces the selected text
    QTest::keyClick(table->currentEditor(), Qt::Key_Return);
    EXPECT_EQ(model.cellText(1, ColLine1), "NEW");
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 1, 3}}));
    EXPECT_TRUE(flagAtCommit);
    EXPECT_EQ(cellAtCommit, "NEW");
    EXPECT_TRUE(enterPressed);
    EXPECT_FALSE(table->isEditing());
    EXPECT_TRUE(table->hasFocus());
    settle();

    // Unchanged text still commits; an emptied editor commits an empty text.
    enterPressed = false;
    press(1, ColLine1);
    takeCalls();
    QTest::keyClick(table->currentEditor(), Qt::Key_Enter);
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 1, 3}}));
    settle();
    press(0, ColLine1);
    takeCalls();
    QTest::keyClick(table->currentEditor(), Qt::Key_Backspace);
    table->commitEditor();
    EXPECT_EQ(model.cellText(0, ColLine1), "");
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 0, 3}}));
}

TEST_F(PageTable, OwnerCanOpenTheNextEditorWhileCommitting)
{
    makeTable(3);
    // What the main window does after Enter: move the editor one row down.
    owner.onMessage = [&](const Call &c) {
        if (c.message == kCommit && enterPressed) {
            enterPressed = false;
            if (c.row + 1 < model.rowCount())
                table->editCell(c.row + 1, c.column);
        }
    };
    press(0, ColLine1);
    for (int row = 0; row < 3; ++row) {
        ASSERT_TRUE(table->isEditing()) << row;
        CellEditor *editor = table->currentEditor();
        EXPECT_EQ(editor->row(), row);
        EXPECT_TRUE(editor->hasFocus());
        QTest::keyClicks(editor, QStringLiteral("r%1").arg(row));
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    }
    EXPECT_FALSE(table->isEditing());
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(model.cellText(row, ColLine1), QStringLiteral("r%1").arg(row));
}

TEST_F(PageTable, CommitFollowsItsPageWhenRowsMove)
{
    makeTable(3);
    press(1, ColLine1);
    QTest::keyClicks(table->currentEditor(), "moved");
    model.insertPageRow(0);
    EXPECT_EQ(table->currentEditor()->y(), table->rowViewportPosition(2));
    takeCalls();
    table->commitEditor();
    EXPECT_EQ(model.cellText(2, ColLine1), "moved");
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 2, 3}}));
    settle();

    // The edited page is deleted meanwhile: the editor closes, nothing is
    // committed to the page that took its place.
    press(1, ColLine1);
    QTest::keyClicks(table->currentEditor(), "gone");
    const QString before = model.cellText(2, ColLine1);
    takeCalls();
    model.removePageRow(1);
    EXPECT_FALSE(table->isEditing());
    table->commitEditor();
    settle();
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_EQ(model.cellText(1, ColLine1), before);
    EXPECT_TRUE(table->viewport()->findChildren<CellEditor *>().isEmpty());
}

TEST_F(PageTable, UpAndDownReleasesChooseTheRow)
{
    makeTable(3);
    press(0, ColPage);
    takeCalls();
    ASSERT_TRUE(table->hasFocus());

    QTest::keyClick(table, Qt::Key_Up);   // row 0 stays row 0
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 0, 2}}));
    EXPECT_EQ(table->getCurrentRow(), 0);

    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);
    QTest::keyClick(table, Qt::Key_Down);   // last row stays last row
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 1, 2}, {kRowChosen, 2, 2}, {kRowChosen, 2, 2}}));
    EXPECT_EQ(table->getCurrentRow(), 2);
    EXPECT_EQ(table->currentIndex().row(), 2);

    // After a press below the rows: Up chooses nothing, Down row 0.
    const QRect last = table->visualRect(model.index(2, ColPage));
    pressAt(QPoint(last.center().x(), last.bottom() + 20));
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Up);
    EXPECT_TRUE(takeCalls().empty());
    QTest::keyClick(table, Qt::Key_Down);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 0, 0}}));

    // Keys typed into an open editor never move the table's row.
    press(1, ColLine1);
    takeCalls();
    QTest::keyClick(table->currentEditor(), Qt::Key_Down);
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_TRUE(table->isEditing());
    EXPECT_EQ(table->getCurrentRow(), 1);
}

TEST_F(PageTable, KeyboardOpensTheCurrentCellAsAPressWould)
{
    makeTable(3);
    press(1, ColPage);
    takeCalls();
    ASSERT_TRUE(table->hasFocus());

    // A column that is not edited: F2 opens the 1st line.
    QTest::keyClick(table, Qt::Key_F2);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 1, 3}, {kMayEdit, 1, 3}}));
    ASSERT_TRUE(table->isEditing());
    EXPECT_EQ(table->currentEditor()->row(), 1);
    EXPECT_EQ(table->currentEditor()->column(), ColLine1);
    EXPECT_EQ(table->getCurrentColumn(), ColLine1);
    QTest::keyClicks(table->currentEditor(), "K");
    QTest::keyClick(table->currentEditor(), Qt::Key_Escape);
    settle();
    takeCalls();

    // Down, then Right onto the Repeat column, then Enter.
    ASSERT_TRUE(table->hasFocus());
    QTest::keyClick(table, Qt::Key_Down);
    table->setCurrentIndex(model.index(2, ColRepeat));
    takeCalls();
    QTest::keyClick(table, Qt::Key_Return);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 2, 5}, {kMayEdit, 2, 5}}));
    ASSERT_TRUE(table->isEditing());
    EXPECT_TRUE(table->currentEditor()->isDigitsOnly());
    table->commitEditor();
    settle();

    // A refused cell opens nothing, as with the mouse.
    owner.mayEdit = 0;
    table->setFocus();
    table->setCurrentIndex(model.index(2, ColLine2));
    takeCalls();
    QTest::keyClick(table, Qt::Key_F2);
    EXPECT_EQ(takeCalls(), (Calls{{kRowChosen, 2, 4}, {kMayEdit, 2, 4}}));
    EXPECT_FALSE(table->isEditing());
}

TEST_F(PageTable, ScrollBarActionCommitsTheOpenEditorFirst)
{
    makeTable(60, {1100, 200});
    QScrollBar *bar = table->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    press(0, ColLine1);
    QTest::keyClicks(table->currentEditor(), "X");
    takeCalls();
    int valueAtCommit = -1;
    owner.onMessage = [&](const Call &c) {
        if (c.message == kCommit)
            valueAtCommit = bar->value();
    };
    // A press on the bar's lower arrow.
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() / 2, bar->height() - 4));
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 0, 3}}));
    EXPECT_EQ(valueAtCommit, 0);
    EXPECT_EQ(bar->value(), 1);
    EXPECT_EQ(model.cellText(0, ColLine1), "X");
    EXPECT_FALSE(table->isEditing());
    EXPECT_TRUE(table->hasFocus());

    // The wheel scrolls too: the editor commits rather than float over
    // another page's cell.
    press(2, ColLine2);
    QTest::keyClicks(table->currentEditor(), "W");
    takeCalls();
    const QPoint at = cellCenter(2, ColPage);
    QWheelEvent wheel(at, table->viewport()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(table->viewport(), &wheel);
    EXPECT_EQ(takeCalls(), (Calls{{kCommit, 2, 4}}));
    EXPECT_EQ(model.cellText(2, ColLine2), "W");
    EXPECT_FALSE(table->isEditing());
}

TEST_F(PageTable, SetCellTextAndHeaderStateRefuseOutOfRange)
{
    makeTable(2);
    EXPECT_TRUE(table->setCellText(1, ColFrame, "Frame"));
    EXPECT_EQ(model.cellText(1, ColFrame), "Frame");
    EXPECT_FALSE(table->setCellText(-1, ColFrame, "x"));
    EXPECT_FALSE(table->setCellText(2, ColFrame, "x"));
    EXPECT_FALSE(table->setCellText(0, ColumnCount, "x"));

    EXPECT_EQ(table->headerCheckState(), 2);
    table->setHeaderCheckState(1);
    EXPECT_EQ(model.headerCheckState(), 1);
    EXPECT_EQ(table->headerCheckState(ColumnCount), -1);
    EXPECT_FALSE(table->setHeaderCheckState(ColumnCount, 1));
    EXPECT_FALSE(table->setHeaderCheckState(0, 3));
    EXPECT_EQ(table->headerCheckState(ColRepeat), 0);
    EXPECT_TRUE(table->setHeaderCheckState(ColRepeat, 2));
    EXPECT_EQ(table->headerCheckState(ColRepeat), 2);

    table->setCurrentColumn(2);
    EXPECT_EQ(model.currentColumn(), 2);
    EXPECT_EQ(table->getCurrentColumn(), 2);
}

} // namespace vt::test

namespace vt::test {

// A screen reader reads the pages through the table's accessible cells.
TEST_F(PageTable, ScreenReaderReadsCellsAndCheckBoxes)
{
    makeTable(2);
    model.setChecked(1, false);
    QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(table);
    ASSERT_NE(iface, nullptr);
    EXPECT_EQ(iface->role(), QAccessible::Table);
    EXPECT_EQ(iface->text(QAccessible::Name), "Pages");
    QAccessibleTableInterface *grid = iface->tableInterface();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->columnCount(), ColumnCount);
    EXPECT_EQ(grid->columnDescription(ColLine1), "1st Line");
    // The untitled columns are named for the reader, the check-all box first.
    QStringList headers;
    for (int i = 0; i < iface->childCount(); ++i)
        if (QAccessibleInterface *child = iface->child(i); child && child->role() == QAccessible::ColumnHeader)
            headers << child->text(QAccessible::Name);
    ASSERT_EQ(headers.size(), ColumnCount);
    EXPECT_EQ(headers.mid(0, 4), (QStringList{"Print all", "Current", "Page", "1st Line"}));

    QAccessibleInterface *cell = grid->cellAt(1, ColLine1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name), "line1");
    // Text written later is what the reader gets next.
    table->setCellText(1, ColLine1, "PE");
    EXPECT_EQ(grid->cellAt(1, ColLine1)->text(QAccessible::Name), "PE");

    QAccessibleInterface *box0 = grid->cellAt(0, ColCheck);
    QAccessibleInterface *box1 = grid->cellAt(1, ColCheck);
    ASSERT_NE(box0, nullptr);
    ASSERT_NE(box1, nullptr);
    EXPECT_TRUE(box0->state().checkable);
    EXPECT_TRUE(box0->state().checked);
    EXPECT_FALSE(box1->state().checked);
}

} // namespace vt::test

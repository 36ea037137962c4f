#include "TableFixture.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>

namespace vt::test {

using CellEditorTest = TableFixture;

TEST_F(CellEditorTest, EditorKeepsAtMostHundredTypedCharacters)
{
    makeTable(1);
    press(0, ColLine1);
    CellEditor *editor = table->currentEditor();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QString(101, u'a'));
    EXPECT_EQ(editor->text(), QString(100, u'a'));

    // Backspace always erases; 99 characters take one more.
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text().size(), 99);
    QTest::keyClicks(editor, "bc");
    EXPECT_EQ(editor->text(), QString(99, u'a') + u'b');

    // Typing over a selection replaces it, so it is not held against the limit.
    editor->selectAll();
    QTest::keyClicks(editor, "z");
    EXPECT_EQ(editor->text(), "z");

    // Pasted text is not cut here; the commit rules judge the page text.
    editor->setText(QString(120, u'p'));
    editor->end(false);
    QTest::keyClicks(editor, "q");
    EXPECT_EQ(editor->text().size(), 120);

    // Text from an input method counts as typed.
    editor->setText(QString(98, u'a'));
    QInputMethodEvent ime;
    ime.setCommitString(QStringLiteral("\u4E2D\u6587\u5B57"));
    QCoreApplication::sendEvent(editor, &ime);
    EXPECT_EQ(editor->text(), QString(98, u'a') + QStringLiteral("\u4E2D\u6587"));
}

TEST_F(CellEditorTest, RepeatColumnTakesDigitsAndPointOnly)
{
    makeTable(1);
    press(0, ColRepeat);
    CellEditor *editor = table->currentEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->isDigitsOnly());
    QTest::keyClicks(editor, "1a2.b3 &(");
    EXPECT_EQ(editor->text(), "12.3");
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->text(), "12.");
    // Editing keys are no typed characters: they work in every column.
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), "12.12.");
    QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), "12.");
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(editor->text(), "2.");
    EXPECT_TRUE(table->isEditing());
}

TEST_F(CellEditorTest, AmpersandAndParenthesisAreOrdinaryText)
{
    makeTable(1);
    press(0, ColLine1);
    CellEditor *editor = table->currentEditor();
    takeCalls();
    QTest::keyClicks(editor, "A&B(C)7");
    QTest::keyClick(editor, Qt::Key_7, Qt::ShiftModifier);
    EXPECT_TRUE(table->isEditing());
    EXPECT_TRUE(takeCalls().empty());
    EXPECT_TRUE(editor->text().startsWith("A&B(C)7"));
}

TEST_F(CellEditorTest, EditorWidensToTheRightUpToTheTableEdge)
{
    makeTable(1, {700, 200});
    press(0, ColRepeat);
    CellEditor *editor = table->currentEditor();
    ASSERT_NE(editor, nullptr);
    const QRect start = editor->geometry();
    EXPECT_EQ(start.left(), table->columnViewportPosition(ColRepeat) + 4);
    EXPECT_EQ(start.width(), table->columnWidth(ColRepeat) - 3);

    QTest::keyClicks(editor, "1234567890");
    const QRect wider = editor->geometry();
    EXPECT_EQ(wider.left(), start.left());
    EXPECT_GT(wider.width(), start.width());
    EXPECT_GE(wider.width(), editor->fontMetrics().horizontalAdvance(editor->text()) + 5);

    QTest::keyClicks(editor, QString(90, u'9'));
    EXPECT_EQ(editor->geometry().left(), start.left());
    EXPECT_EQ(editor->geometry().right(), table->viewport()->width() - 1);

    // Erasing never shrinks it.
    const int full = editor->width();
    for (int i = 0; i < 50; ++i)
        QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(editor->width(), full);
}

TEST_F(CellEditorTest, EnterAndEscapeNeverReachTheWindow)
{
    makeTable(1);
    int windowKeys = 0;
    struct Spy : QObject {
        int *count;
        explicit Spy(int *c) : count(c) {}
        bool eventFilter(QObject *, QEvent *e) override
        {
            if (e->type() == QEvent::KeyPress)
                ++*count;
            return false;
        }
    } spy(&windowKeys);
    window->installEventFilter(&spy);
    table->installEventFilter(&spy);
    table->viewport()->installEventFilter(&spy);

    for (auto key : {Qt::Key_Return, Qt::Key_Escape, Qt::Key_Enter}) {
        press(0, ColLine1);
        QTest::keyClick(table->currentEditor(), key);
        EXPECT_FALSE(table->isEditing());
        settle();
    }
    EXPECT_EQ(windowKeys, 0);

    // Nor do the window's shortcuts fire while a cell is edited.
    int fired = 0;
    for (const QKeySequence &keys : {QKeySequence(Qt::Key_Delete), QKeySequence(Qt::CTRL | Qt::Key_S)}) {
        auto *action = new QAction(window.get());
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, [&] { ++fired; });
        window->addAction(action);
    }
    press(0, ColLine1);
    CellEditor *editor = table->currentEditor();
    editor->end(false);
    QTest::keyClick(editor, Qt::Key_Home);
    QTest::keyClick(editor, Qt::Key_Delete);
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(editor->text(), "ine0");
    table->commitEditor();
    // Outside the editor the window's shortcut works.
    QTest::keyClick(table, Qt::Key_Delete);
    EXPECT_EQ(fired, 1);
}

// Control characters would split, number or cut the page once the text is
// built for the printer; a paste or a drop must not bring them in.
TEST_F(CellEditorTest, PastedControlCharactersNeverReachTheCell)
{
    makeTable(1);
    press(0, ColLine1);
    CellEditor *editor = table->currentEditor();
    QGuiApplication::clipboard()->setText(QStringLiteral("A\u001AB\tC\u0012D\r\n"));
    QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(editor->text(), "A?B?C?D");
    EXPECT_EQ(editor->cursorPosition(), 7);
    QTest::keyClicks(editor, "E");
    editor->insert(QStringLiteral("\nF\u001E"));
    EXPECT_EQ(editor->text(), "A?B?C?DEF?");
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(model.cellText(0, ColLine1), "A?B?C?DEF?");
    settle();

    // Marks and other text pass unchanged.
    const QString marks = QStringLiteral("L1\uE051x\uE052\uE04D \u4E2D");
    QGuiApplication::clipboard()->setText(marks);
    press(0, ColLine2);
    QTest::keyClick(table->currentEditor(), Qt::Key_V, Qt::ControlModifier);
    table->commitEditor();
    EXPECT_EQ(model.cellText(0, ColLine2), marks);
}

} // namespace vt::test

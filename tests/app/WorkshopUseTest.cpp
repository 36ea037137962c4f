#include "app/WindowFixture.h"
#include "app/KetraTestDlg.h"
#include "common/ScriptedOperator.h"
#include "controls/MyListCtrl.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vt;
using vt::test::ScriptedOperator;

// The window as an operator at the workshop uses it: keys and clicks, one
// after the other, with the messages in between.
namespace {

struct WorkshopUseTest : vt::test::WindowFixture {
    void SetUp() override
    {
        WindowFixture::SetUp();
        showActive();
    }
};

} // namespace

TEST_F(WorkshopUseTest, UpAndDownCarryTheStarWithTheSelection)
{
    window->addPage();
    window->addPage();
    clickCell(0, ColPage);
    ASSERT_EQ(window->job().currentIndex, 0);
    QTest::keyClick(&table(), Qt::Key_Down);
    EXPECT_EQ(window->job().currentIndex, 1);
    EXPECT_EQ(cell(1, ColCurrent), kCurrentStar);
    EXPECT_EQ(table().currentIndex().row(), 1);
    QTest::keyClick(&table(), Qt::Key_Down);
    QTest::keyClick(&table(), Qt::Key_Down);
    EXPECT_EQ(window->job().currentIndex, 2);
    EXPECT_EQ(table().currentIndex().row(), 2);
    QTest::keyClick(&table(), Qt::Key_Up);
    EXPECT_EQ(window->job().currentIndex, 1);
    EXPECT_EQ(cell(1, ColCurrent), kCurrentStar);
    EXPECT_EQ(cell(2, ColCurrent), "");
}

TEST_F(WorkshopUseTest, MarkKeysLeaveTheCurrentPageWhereItIs)
{
    window->addPage();
    window->addPage();
    // With the editor open and closed: the mark goes onto the clicked page,
    // and the arrow of Alt+Up / Alt+Down does not move the star afterwards.
    clickCell(1, ColLine1);
    ASSERT_NE(table().currentEditor(), nullptr);
    QTest::keyClicks(table().currentEditor(), "PE");
    QTest::keyClick(table().currentEditor(), Qt::Key_Up, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(1, ColLine1), "PE" + QString(QChar(mark::superscript)));
    EXPECT_EQ(window->job().currentIndex, 1);
    EXPECT_EQ(cell(1, ColCurrent), kCurrentStar);

    QTest::keyClick(&table(), Qt::Key_Down, Qt::AltModifier);
    QCoreApplication::processEvents();
    EXPECT_EQ(cell(1, ColLine1), "PE" + QString(QChar(mark::superscript)) + QChar(mark::subscript));
    EXPECT_EQ(window->job().currentIndex, 1);
    EXPECT_EQ(table().currentIndex().row(), 1);
    EXPECT_EQ(cell(2, ColLine1), "");
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(WorkshopUseTest, TheWindowFitsAWorkshopScreenOf1024By768)
{
    // Smaller than this and the row of job settings or the table's last
    // columns would lie beyond the screen's edge, out of reach.
    const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
    EXPECT_LE(least.width(), 1024);
    EXPECT_LE(least.height(), 728); // the rest is the taskbar's
    window->resize(1024, 728);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->width(), 1024);
    // The job settings row ends inside the window.
    QWidget *copies = window->control(ControlId::CopiesEdit);
    EXPECT_LE(copies->mapTo(window.get(), QPoint(copies->width(), 0)).x(), window->width());
}

TEST_F(WorkshopUseTest, PagingKeysMakeTheHighlightedRowTheOneDeleteActsOn)
{
    while (window->job().pageCount() < 40)
        window->addPage();
    window->job().model.setCellText(39, ColLine1, "Q1");
    clickCell(39, ColPage);
    ASSERT_EQ(window->job().currentIndex, 39);

    QTest::keyClick(&table(), Qt::Key_PageUp);
    const int highlighted = table().currentIndex().row();
    ASSERT_LT(highlighted, 39);
    EXPECT_EQ(window->job().currentIndex, highlighted);
    EXPECT_EQ(cell(highlighted, ColCurrent), kCurrentStar);
    EXPECT_EQ(cell(39, ColCurrent), "");

    // Delete takes the highlighted page, not the one scrolled out of view.
    QTest::keyClick(&table(), Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(window->job().pageCount(), 39);
    EXPECT_EQ(cell(38, ColLine1), "Q1");

    QTest::keyClick(&table(), Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(window->job().currentIndex, 38);
    QTest::keyClick(&table(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(window->job().currentIndex, 0);
    EXPECT_EQ(table().currentIndex().row(), 0);
    QTest::keyClick(&table(), Qt::Key_PageDown);
    EXPECT_EQ(window->job().currentIndex, table().currentIndex().row());
    EXPECT_GT(window->job().currentIndex, 0);
}

TEST_F(WorkshopUseTest, OnlyTheLeftButtonMovesTheHighlight)
{
    window->addPage();
    window->addPage();
    ASSERT_EQ(window->job().currentIndex, 2);
    for (Qt::MouseButton button : {Qt::RightButton, Qt::MiddleButton}) {
        const QRect r = table().visualRect(window->job().model.index(0, ColLine1));
        QTest::mouseClick(table().viewport(), button, {}, r.center());
        EXPECT_EQ(table().currentIndex().row(), 2) << button;
        EXPECT_EQ(window->job().currentIndex, 2);
        EXPECT_EQ(table().currentEditor(), nullptr);
    }
    // Delete takes the page that is both highlighted and starred.
    window->job().model.setCellText(2, ColLine1, "C");
    window->deletePage();
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(cell(0, ColLine1), "");
    EXPECT_EQ(cell(1, ColLine1), "");
}

#include "app/MainWindow.h"
#include "app/WindowFixture.h"
#include "common/ScriptedOperator.h"
#include "render/Fonts.h"
#include "widgets/PageTable.h"

#include <QFontInfo>
#include <QGlyphRun>
#include <QRawFont>
#include <QScrollBar>
#include <QTextLayout>

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
    // With the shipped face, and with a much wider one standing in for it as
    // on a machine where the face is missing: smaller than 1024 x 728 and the
    // row of job settings or the table's last columns would lie beyond the
    // screen's edge, out of reach.
    ASSERT_EQ(QFontInfo(window->font()).family(), fonts::serifFamily)
        << "the window is not laid out with the shipped font " << qPrintable(fonts::serifFamily);
    for (const QString &family : {fonts::serifFamily, QStringLiteral("DejaVu Serif")}) {
        SCOPED_TRACE(qPrintable(family));
        window->setFont(QFont(family, 9));
        ASSERT_EQ(QFontInfo(window->font()).family(), family) << "font " << qPrintable(family) << " is not installed";
        window->resize(1024, 728);
        showActive();
        QCoreApplication::processEvents();
        const QSize least = window->minimumSizeHint().expandedTo(window->minimumSize());
        EXPECT_LE(least.width(), 1024);
        EXPECT_LE(least.height(), 728); // the rest is the taskbar's
        ASSERT_EQ(window->size(), QSize(1024, 728));
        for (QWidget *w : {window->control(ControlId::CopiesEdit), static_cast<QWidget *>(&table())}) {
            const QRect r(w->mapTo(window.get(), QPoint(0, 0)), w->size());
            EXPECT_TRUE(window->rect().contains(r)) << qPrintable(w->accessibleName());
        }
        // Every column of the page table in view, with and without a
        // vertical scroll bar, without scrolling sideways.
        for (int pages : {1, 60}) {
            while (window->job().pageCount() < pages)
                window->addPage();
            QCoreApplication::processEvents();
            QHeaderView *header = table().horizontalHeader();
            EXPECT_LE(header->sectionPosition(ColZoom) + header->sectionSize(ColZoom), table().viewport()->width())
                << pages << " pages";
            EXPECT_EQ(table().horizontalScrollBar()->maximum(), 0) << pages << " pages";
            EXPECT_GE(header->sectionSize(ColLine1), 120) << "the 1st line stays wide enough to read";
        }
    }
}

TEST_F(WorkshopUseTest, ChineseTextIsDrawnWithAFontThatHasItsGlyphs)
{
    // Page texts in the table and the program's own Chinese message.
    for (const QFont &font : {table().font(), window->font()}) {
        QTextLayout layout(QStringLiteral("请键入一个整数。配电柜 A1"), font);
        layout.beginLayout();
        layout.createLine();
        layout.endLayout();
        for (const QGlyphRun &run : layout.glyphRuns()) {
            const QString family = run.rawFont().familyName();
            EXPECT_TRUE(family == fonts::chineseFamily || family == QFontInfo(font).family())
                << "drawn with " << qPrintable(family);
            for (quint32 glyph : run.glyphIndexes())
                EXPECT_NE(glyph, 0u) << "a character has no glyph in " << qPrintable(family)
                                     << "; is " << qPrintable(fonts::chineseFamily) << " installed?";
        }
    }
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


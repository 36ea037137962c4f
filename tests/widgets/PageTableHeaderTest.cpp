#include "TableFixture.h"

#include <QSignalSpy>
#include <QWindow>

namespace vt::test {

namespace {
const QColor kBand(242, 243, 246);
const QColor kBoxFrame(51, 102, 153);
const QColor kTick(51, 153, 51);

QPoint sectionCenter(const QHeaderView *header, int section)
{
    return {header->sectionViewportPosition(section) + header->sectionSize(section) / 2, header->height() / 2};
}
} // namespace

using PageTableHeaderTest = TableFixture;

TEST_F(PageTableHeaderTest, HeaderClicksReachTheOwnerDoubleClickTwice)
{
    makeTable(2);
    QSignalSpy clicked(table, &PageTable::headerColumnClicked);
    PageTableHeader *header = table->headerCtrl();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, 0));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.takeFirst().at(0).toInt(), 0);

    // Through the window, as the platform delivers a double-click.
    QWindow *handle = window->windowHandle();
    QTest::mouseDClick(handle, Qt::LeftButton, {}, header->viewport()->mapTo(window.get(), sectionCenter(header, 0)));
    ASSERT_EQ(clicked.count(), 2);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 0);
    EXPECT_EQ(clicked.at(1).at(0).toInt(), 0);
    clicked.clear();

    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, sectionCenter(header, ColRepeat));
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.takeFirst().at(0).toInt(), ColRepeat);
    // A header click is no row press.
    EXPECT_TRUE(owner.calls.empty());
}

TEST_F(PageTableHeaderTest, HeaderBandDividersFrameAndCheckBox)
{
    makeTable(1);
    table->setColors(kBand, Qt::black);
    PageTableHeader *header = table->headerCtrl();
    const QRgb shadow = header->shadow().rgb();
    const QRgb light = header->highlight().rgb();
    ASSERT_NE(shadow, light);

    auto grab = [&] { return header->viewport()->grab().toImage(); };
    QImage band = grab();
    int total = 0;
    for (int c = 0; c < ColumnCount; ++c)
        total += header->sectionSize(c);
    ASSERT_LT(total + 4, band.width());

    // Nine etched dividers, none after the last column.
    const int y = 3;
    int dividers = 0;
    for (int x = 1; x + 1 < total - 1; ++x)
        if (band.pixel(x, y) == shadow && band.pixel(x + 1, y) == light)
            ++dividers;
    EXPECT_EQ(dividers, ColumnCount - 1);

    // The frame ends with the last column; the band goes on flat.
    EXPECT_EQ(band.pixel(total - 1, y), shadow);
    EXPECT_EQ(band.pixel(5, 0), light);
    EXPECT_EQ(band.pixelColor(total + 3, y), kBand);
    EXPECT_EQ(band.pixelColor(total + 3, 0), kBand);

    // Column 0's box: 13 x 13 at the margin, vertically centred, ticked.
    const int boxLeft = header->getItemMargin();
    const int boxTop = (header->height() - PageTableHeader::CheckBoxSize) / 2;
    EXPECT_EQ(band.pixelColor(boxLeft, boxTop), kBoxFrame);
    EXPECT_EQ(band.pixelColor(boxLeft + 12, boxTop + 12), kBoxFrame);
    EXPECT_EQ(band.pixelColor(boxLeft + 9, boxTop + 3), kTick);
    EXPECT_EQ(band.pixelColor(boxLeft + 3, boxTop + 7), kTick);

    table->setHeaderCheckState(1);
    band = grab();
    EXPECT_EQ(band.pixelColor(boxLeft, boxTop), kBoxFrame);
    EXPECT_NE(band.pixelColor(boxLeft + 9, boxTop + 3), kTick);

    table->setHeaderCheckState(0);
    band = grab();
    EXPECT_EQ(band.pixelColor(boxLeft, boxTop), kBand);

    // A system colour change takes the band back to the button face.
    QPalette system = QApplication::palette();
    const QPalette saved = system;
    system.setColor(QPalette::Button, QColor(10, 200, 30));
    system.setColor(QPalette::ButtonText, QColor(250, 250, 250));
    QApplication::setPalette(system);
    QCoreApplication::processEvents();
    band = grab();
    EXPECT_EQ(band.pixelColor(total + 3, y), QColor(10, 200, 30));
    // The titles stay readable on the new band.
    EXPECT_EQ(header->titleTextColor(), QColor(250, 250, 250));
    QApplication::setPalette(saved);
}

} // namespace vt::test

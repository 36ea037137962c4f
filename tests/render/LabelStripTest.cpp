#include "layout/PageLayout.h"
#include "model/Job.h"
#include "render/LabelStrip.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

using namespace vt;

namespace {

// Geometry is checked at 96 pixels per inch, whatever the screen has.
constexpr int kDpi = 96;
constexpr int kHeight = 60;

struct Strip {
    Job job;
    LabelStrip strip;

    PageRecord &add(const QString &line1, int fontSize = 4, int repeat = 1)
    {
        const int row = job.model.rowCount();
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, line1);
        page->fontSize = std::uint8_t(fontSize);
        setPageRepeat(*page, repeat);
        return *page;
    }
    void build(int current = -1, int dpi = kDpi)
    {
        job.currentIndex = current;
        buildPrintRecords(job, false);
        strip.setPages(job.chain, job.settings);
        dpi_ = dpi;
    }
    std::vector<LabelStrip::Shown> shown(int width = 4000) const
    {
        return strip.labelsInView(0, width, kHeight, dpi_);
    }
    QImage image(int width = 600, std::int64_t origin = 0) const
    {
        QImage image(width, kHeight, QImage::Format_RGB32);
        QPainter painter(&image);
        strip.paint(painter, image.rect(), origin, dpi_);
        return image;
    }
    int dpi_ = kDpi;
};

bool isBlack(const QImage &image, int x, int y) { return qGray(image.pixel(x, y)) < 60; }

// Rows of a column painted in the band's yellow.
int yellowRows(const QImage &image, int x)
{
    int rows = 0;
    for (int y = 0; y < image.height(); ++y)
        rows += image.pixel(x, y) == qRgb(255, 255, 0);
    return rows;
}

} // namespace

TEST(LabelStrip, CharacterHeightsFollowTheFontSizeAndCarryOverAutomaticSize)
{
    Strip s;
    s.add("auto", 0); // before any sized page: the default height
    for (int size = 1; size <= 6; ++size)
        s.add("A", size);
    s.add("auto", 0); // keeps the height of the page before
    s.build();
    std::vector<int> heights;
    for (const LabelStrip::Shown &label : s.shown())
        heights.push_back(label.fontPixels);
    EXPECT_EQ(heights, std::vector<int>({9, 5, 7, 10, 12, 15, 20, 20}));
}

TEST(LabelStrip, BandIsAsWideAsTheMedium)
{
    Strip s;
    s.build();
    s.strip.setTapeWidth(9.0);
    EXPECT_EQ(yellowRows(s.image(), 300), 34);
    s.strip.setTapeWidth(6.5);
    const QImage narrow = s.image();
    EXPECT_EQ(yellowRows(narrow, 300), 24);
    // Centred, with 5 pixels of background at both ends.
    EXPECT_EQ(narrow.pixel(300, (kHeight - 24) / 2), qRgb(255, 255, 0));
    EXPECT_NE(narrow.pixel(300, (kHeight - 24) / 2 - 1), qRgb(255, 255, 0));
    EXPECT_NE(narrow.pixel(4, kHeight / 2), qRgb(255, 255, 0));
    EXPECT_EQ(narrow.pixel(5, kHeight / 2), qRgb(255, 255, 0));
    EXPECT_EQ(narrow.pixel(594, kHeight / 2), qRgb(255, 255, 0));
    EXPECT_NE(narrow.pixel(595, kHeight / 2), qRgb(255, 255, 0));

    // The medium widths of the print view: label 6, 9, 12 mm; tube sizes
    // 5, 6.5, 8, 10 mm; an unknown size keeps the width shown.
    JobSettings job;
    job.sizeIndex = 2;
    EXPECT_EQ(previewTapeWidth(job), 12.0);
    job.sizeIndex = 3;
    EXPECT_FALSE(previewTapeWidth(job));
    job.materialCode = {'T', 'U', 'B', '\0'};
    EXPECT_EQ(previewTapeWidth(job), 10.0);
    job.sizeIndex = 1;
    EXPECT_EQ(previewTapeWidth(job), 6.5);
    job.sizeIndex = 4;
    EXPECT_FALSE(previewTapeWidth(job));
}

TEST(LabelStrip, SpecifiedLengthFramesAndGaps)
{
    Strip s;
    for (const char *text : {"I", "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW"}) {
        PageRecord &page = s.add(text);
        page.autoLength = 0;
        page.adjustedLengthDots = 300; // 25 mm
        page.frame = 'F';
    }
    s.add("auto").frame = 'L';
    s.add("auto");
    s.build();
    const auto labels = s.shown();
    ASSERT_EQ(labels.size(), 4u);
    EXPECT_EQ(labels[0].rect.left(), 14);
    EXPECT_EQ(labels[0].rect.width(), 96);
    EXPECT_EQ(labels[1].rect.width(), 96);
    for (std::size_t i = 0; i + 1 < labels.size(); ++i) {
        const QRect &r = labels[i].rect;
        EXPECT_EQ(labels[i].cutX, r.left() + r.width() + 4);
        EXPECT_EQ(labels[i + 1].rect.left(), r.left() + r.width() + 8);
    }
    EXPECT_EQ(s.strip.contentWidth(kDpi), labels[3].cutX + 10);

    const QImage image = s.image();
    const QRect first = labels[0].rect;
    const int top = first.top();
    // The frame's top edge runs from the label's left to its right edge,
    // then comes the cut mark and the next frame.
    EXPECT_FALSE(isBlack(image, first.left() - 1, top));
    for (int x = first.left(); x <= first.left() + 96; ++x)
        ASSERT_TRUE(isBlack(image, x, top)) << x;
    EXPECT_FALSE(isBlack(image, first.left() + 97, top));
    EXPECT_TRUE(isBlack(image, first.left() + 100, top));  // cut mark
    EXPECT_FALSE(isBlack(image, first.left() + 101, top));
    EXPECT_TRUE(isBlack(image, first.left() + 104, top));  // next frame
    // The underline page draws its bottom edge only.
    const QRect third = labels[2].rect;
    EXPECT_TRUE(isBlack(image, third.left() + 2, third.bottom() + 1));
    EXPECT_FALSE(isBlack(image, third.left() + 2, third.top()));
}

TEST(LabelStrip, AlignmentPlacesTheTextInTheLabel)
{
    for (const int alignment : {0, 1}) {
        Strip s;
        s.job.settings.alignment = std::uint8_t(alignment);
        PageRecord &page = s.add("I");
        page.autoLength = 0;
        page.adjustedLengthDots = 300;
        s.build();
        const QRect r = s.shown().front().rect;
        const QImage image = s.image();
        int firstInk = -1;
        for (int x = r.left(); x < r.left() + r.width() && firstInk < 0; ++x)
            for (int y = r.top(); y <= r.bottom(); ++y)
                if (qGray(image.pixel(x, y)) < 128) {
                    firstInk = x;
                    break;
                }
        if (alignment == 0)
            EXPECT_NEAR(firstInk, r.left() + 48, 8) << "centred";
        else
            EXPECT_LT(firstInk, r.left() + 8) << "left-aligned";
    }
}

TEST(LabelStrip, CurrentPageTriangleEvenWhenItsPageIsNotDrawn)
{
    Strip s;
    s.add("A");
    s.add("hidden");
    s.job.model.setChecked(1, false);
    s.add("C");
    s.build(1);
    const auto labels = s.shown();
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[1].line1, "C");
    // The hidden page sits where C starts: its triangle is drawn there.
    const std::int64_t place = labels[0].cutX;
    EXPECT_EQ(s.strip.markerX(kDpi), place - 20);
    EXPECT_EQ(labels[1].rect.left(), place + 4);
    const QImage image = s.image();
    EXPECT_EQ(image.pixel(int(place) + 15, 15), qRgb(255, 0, 0));
    EXPECT_TRUE(isBlack(image, int(place), 10));
    EXPECT_TRUE(isBlack(image, int(place) + 30, 10));
    EXPECT_NE(image.pixel(int(place) + 15, 27), qRgb(255, 0, 0));

    // No current page, no triangle.
    s.build(-1);
    const QImage none = s.image();
    EXPECT_NE(none.pixel(int(place) + 15, 15), qRgb(255, 0, 0));
}

TEST(LabelStrip, NumberedRunsAndMarksAsTheTableNamesThem)
{
    Strip s;
    PageRecord &page = s.add(QString(QChar(mark::numberDecimal)), 4, 2);
    setAscii(page.serialStart, "1");
    setAscii(page.serialEnd, "3");
    PageRecord &run = s.add(QStringLiteral("K") + QChar(mark::numberDecimal), 4, 1);
    setAscii(run.serialStart, "9");
    setAscii(run.serialEnd, "10");
    s.add(QStringLiteral("X") + QChar(mark::superscript) + QStringLiteral("2"));
    s.build();
    const auto labels = s.shown();
    QStringList texts;
    for (const LabelStrip::Shown &label : labels)
        texts << label.line1;
    EXPECT_EQ(texts, QStringList({"1", "2", "3", "1", "2", "3", "K9", "K10", QString::fromUtf8("X«sup»2")}));
    // A two-digit number makes a wider label than a one-digit one.
    EXPECT_GT(labels[7].rect.width(), labels[6].rect.width());
    // Positions found by index agree with the drawn ones, and a view that
    // starts at a cut mark still shows that mark's label.
    for (const LabelStrip::Shown &label : labels) {
        EXPECT_EQ(s.strip.labelLeft(label.index, kDpi), label.rect.left());
        const auto fromCut = s.strip.labelsInView(label.cutX, 400, kHeight, kDpi);
        ASSERT_FALSE(fromCut.empty());
        EXPECT_EQ(fromCut.front().index, label.index);
        EXPECT_EQ(fromCut.front().cutX, 0);
    }
}

TEST(LabelStrip, HighResolutionScalesHeightsAndLengthsOnce)
{
    Strip s;
    PageRecord &page = s.add("A", 6);
    page.autoLength = 0;
    page.adjustedLengthDots = 300;
    s.build(-1, 192);
    const auto labels = s.shown();
    ASSERT_EQ(labels.size(), 1u);
    EXPECT_EQ(labels[0].fontPixels, 40);
    EXPECT_EQ(labels[0].rect.width(), 192);
    EXPECT_EQ(LabelStrip::bandHeight(9.0, 192), 68);
}

TEST(LabelStrip, LargestJobReachesBeyondTheIntRangeAndDrawsItsEnd)
{
    Strip s;
    for (int i = 0; i < kMaxPages; ++i) {
        PageRecord &page = s.add(QStringLiteral("Cable P%1-").arg(i) + QChar(mark::numberPadded), 4, kMaxRepeat);
        setAscii(page.serialStart, "0");
        setAscii(page.serialEnd, "999");
    }
    s.build(kMaxPages - 1);
    const std::int64_t width = s.strip.contentWidth(kDpi);
    ASSERT_GT(width, std::int64_t(1) << 31);
    const std::int64_t last = s.strip.labels().count() - 1;
    const std::int64_t lastLeft = s.strip.labelLeft(last, kDpi);
    const auto atEnd = s.strip.labelsInView(lastLeft - 14, 300, kHeight, kDpi);
    ASSERT_FALSE(atEnd.empty());
    EXPECT_EQ(atEnd.back().line1, "Cable P199-999");
    EXPECT_EQ(atEnd.back().index, last);
    EXPECT_EQ(atEnd.back().rect.left(), 14);
    EXPECT_EQ(width, lastLeft + atEnd.back().rect.width() + 4 + 10);
    // The view starts with the label under its left edge.
    const auto inside = s.strip.labelsInView(lastLeft - 1000, 300, kHeight, kDpi);
    ASSERT_FALSE(inside.empty());
    EXPECT_LE(inside.front().rect.left(), 0);
    EXPECT_GE(inside.front().cutX, 0);
    const QImage image = s.image(300, lastLeft - 14);
    EXPECT_TRUE(isBlack(image, 14 + atEnd.back().rect.width() + 4, kHeight / 2));
}

TEST(LabelStrip, MediumWidthForEveryMaterialAndSizeAndHeightForEveryFontSize)
{
    // Millimetres by size index 0..3; 0 where the material has no such size.
    const struct {
        const char *code;
        double widths[4];
    } media[] = {
        {"LAB", {6.0, 9.0, 12.0, 0}},
        {"TUB", {5.0, 6.5, 8.0, 10.0}},
        {"STU", {5.0, 6.5, 8.0, 10.0}},
    };
    for (const auto &medium : media) {
        for (int size = -1; size <= 4; ++size) {
            SCOPED_TRACE(testing::Message() << medium.code << " size " << size);
            JobSettings job;
            setAscii(job.materialCode, medium.code);
            job.sizeIndex = size;
            const double expected = size >= 0 && size < 4 ? medium.widths[size] : 0;
            if (expected > 0)
                EXPECT_EQ(previewTapeWidth(job), expected);
            else
                EXPECT_FALSE(previewTapeWidth(job)) << "an unknown size keeps the width shown";
        }
    }

    // At the printer's own 300 dots per inch a height is its dots.
    const int dots[8] = {0, 16, 24, 32, 40, 48, 64, 0};
    for (int fontSize = 0; fontSize <= 7; ++fontSize)
        EXPECT_EQ(LabelStrip::characterHeight(fontSize, 300), dots[fontSize]) << fontSize;
}

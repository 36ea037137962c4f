#include "layout/PageLayout.h"
#include "model/Job.h"
#include "widgets/LabelStripView.h"
#include "widgets/PreviewPane.h"

#include <QScrollBar>
#include <gtest/gtest.h>

#include <climits>

using namespace vt;

namespace {

constexpr int kDpi = 96;

// A job of `pages` pages, each `repeat` labels "Lnn", with a current page.
void fill(Job &job, int pages, int repeat = 1, int current = 0)
{
    job.chain.clear();
    job.model.clearRows();
    for (int row = 0; row < pages; ++row) {
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, QStringLiteral("L%1").arg(row, 2, 10, QLatin1Char('0')));
        setPageRepeat(*page, repeat);
    }
    job.currentIndex = current;
    buildPrintRecords(job, false);
}

struct Pane {
    PreviewPane pane;
    Pane()
    {
        pane.view()->pinDpi(kDpi);
        pane.resize(400, 80);
        pane.show();
    }
    std::int64_t origin() const { return pane.view()->origin(); }
    QScrollBar *bar() const { return pane.scrollBar(); }
    void step(QAbstractSlider::SliderAction action) { bar()->triggerAction(action); }
};

} // namespace

TEST(PreviewPane, ScrollsTheCurrentPageIntoViewAndStepsInPixels)
{
    Job job;
    Pane p;
    fill(job, 40, 1, 25);
    p.pane.showPages(job.chain, job.settings);
    const LabelStrip &strip = p.pane.view()->strip();
    const std::int64_t width = strip.contentWidth(kDpi);
    const std::int64_t marker = strip.markerX(kDpi);
    ASSERT_GT(width, 400);
    p.pane.followStrip();
    EXPECT_EQ(p.origin(), marker);
    EXPECT_EQ(p.bar()->minimum(), 0);
    EXPECT_EQ(p.bar()->maximum(), width);
    EXPECT_EQ(p.bar()->pageStep(), 40);
    EXPECT_EQ(p.bar()->value(), marker);

    p.step(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(p.origin(), marker + 1);
    p.step(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(p.origin(), marker + 1 - 40);
    p.step(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(p.origin(), width);
    p.step(QAbstractSlider::SliderSingleStepAdd); // past the end: nothing
    EXPECT_EQ(p.origin(), width);
    p.step(QAbstractSlider::SliderToMinimum);
    p.step(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(p.origin(), 0);
    p.bar()->setValue(123); // the thumb released there
    EXPECT_EQ(p.origin(), 123);
    EXPECT_EQ(p.bar()->value(), 123);

    // Nothing changed in the strip: the timer leaves the operator's scrolling.
    p.pane.followStrip();
    EXPECT_EQ(p.origin(), 123);
}

TEST(PreviewPane, WithTheFirstPageCurrentTheArrowsStillMoveTheStrip)
{
    // The first page 20 pixels from the edge puts the strip's origin left of
    // the bar's range; a step moves it from there.
    Job job;
    Pane p;
    fill(job, 40, 1, 0);
    p.pane.showPages(job.chain, job.settings);
    p.pane.followStrip();
    const std::int64_t start = p.origin();
    ASSERT_LT(start, 0);
    p.step(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(p.origin(), start + 1);
    p.step(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(p.origin(), start + 41);
    p.step(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(p.origin(), start + 40);
}

TEST(PreviewPane, AStripThatFitsStaysAtTheLeftEdge)
{
    Job job;
    Pane p;
    fill(job, 2);
    p.pane.showPages(job.chain, job.settings);
    p.pane.followStrip();
    EXPECT_EQ(p.origin(), 0);
    EXPECT_EQ(p.bar()->maximum(), 0);

    // After a long strip scrolled to its end, a short one is shown from its
    // start, not left scrolled out of view.
    fill(job, 40, 1, 39);
    p.pane.showPages(job.chain, job.settings);
    p.pane.followStrip();
    ASSERT_GT(p.origin(), 400);
    fill(job, 2, 1, 1);
    p.pane.showPages(job.chain, job.settings);
    p.pane.followStrip();
    EXPECT_EQ(p.origin(), 0);
    EXPECT_EQ(p.bar()->maximum(), 0);
}

TEST(PreviewPane, LargestJobScrollsBeyondTheScrollBarsRange)
{
    Job job;
    Pane p;
    job.chain.clear();
    for (int row = 0; row < kMaxPages; ++row) {
        PageRecord *page = job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, QStringLiteral("Cable P") + QChar(mark::numberPadded));
        setAscii(page->serialStart, "0");
        setAscii(page->serialEnd, "999");
        setPageRepeat(*page, kMaxRepeat);
    }
    job.currentIndex = kMaxPages - 1;
    buildPrintRecords(job, false);
    p.pane.showPages(job.chain, job.settings);
    p.pane.followStrip();
    const LabelStrip &strip = p.pane.view()->strip();
    const std::int64_t width = strip.contentWidth(kDpi);
    ASSERT_GT(width, std::int64_t(INT_MAX));
    EXPECT_EQ(p.pane.scrollRange(), width);
    EXPECT_EQ(p.origin(), strip.markerX(kDpi)); // to the pixel
    EXPECT_LE(p.bar()->maximum(), INT_MAX);
    EXPECT_GT(p.bar()->value(), p.bar()->maximum() / 2);

    p.step(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(p.origin(), width);
    p.bar()->setValue(p.bar()->maximum() / 2);
    EXPECT_NEAR(double(p.origin()), double(width) / 2, double(width) / p.bar()->maximum() + 1);
    const std::int64_t middle = p.origin();
    p.step(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(p.origin(), middle + 1);
}

#include "app/MainWindow.h"
#include "app/WindowFixture.h"
#include "render/LabelStrip.h"
#include "widgets/LabelStripView.h"
#include "widgets/PreviewPane.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vt;

namespace {

using PrintViewTest = vt::test::WindowFixture;

constexpr int kDpi = 96;

QStringList shownTexts(const PreviewPane &pane)
{
    QStringList texts;
    for (const LabelStrip::Shown &label : pane.view()->strip().labelsInView(0, 2000, 60, kDpi))
        texts << label.line1;
    return texts;
}

} // namespace

TEST_F(PrintViewTest, F5ShowsTheBuiltPagesOnTheMediumOfTheJob)
{
    window->resize(1100, 700);
    showActive();
    PreviewPane &pane = *window->previewPane();
    // The pane lies over the bottom frame.
    EXPECT_EQ(pane.parentWidget(), window->bottomStatic());
    EXPECT_TRUE(window->bottomStatic()->contentsRect().contains(pane.geometry()));
    EXPECT_GT(pane.width(), window->bottomStatic()->width() - 10);

    Job &job = window->job();
    job.model.setCellText(0, ColLine1, QStringLiteral("A1"));
    window->addPage();
    job.model.setCellText(1, ColLine1, QStringLiteral("B2"));
    EXPECT_TRUE(shownTexts(pane).isEmpty()); // nothing until PrintView

    QTest::keyClick(window.get(), Qt::Key_F5);
    EXPECT_EQ(shownTexts(pane), QStringList({"A1", "B2"}));
    EXPECT_TRUE(table().hasFocus());
    // Label, "9 mm": a 34-pixel band.
    EXPECT_EQ(LabelStrip::bandHeight(pane.view()->strip().tapeWidthMm(), kDpi), 34);

    // Tube, "6.0": a 10 mm band.
    job.settings.materialIndex = Tube;
    setAscii(job.settings.materialCode, materialCodeFor(Tube));
    job.settings.sizeIndex = 3;
    window->printView();
    EXPECT_EQ(pane.view()->strip().tapeWidthMm(), 10.0);
    EXPECT_EQ(LabelStrip::bandHeight(pane.view()->strip().tapeWidthMm(), kDpi), 37);

    // Deleting frees a page; the strip keeps showing what PrintView built,
    // without reading the freed page, until the next PrintView.
    window->deletePage();
    QImage shot = pane.view()->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    EXPECT_EQ(shownTexts(pane), QStringList({"A1", "B2"}));
    window->printView();
    EXPECT_EQ(shownTexts(pane).size(), 1);
}

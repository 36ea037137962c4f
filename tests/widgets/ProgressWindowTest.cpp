#include "widgets/ProgressWindow.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

using namespace vt;

namespace {

QColor captionColour(const QPushButton *b) { return b->palette().color(QPalette::ButtonText); }

} // namespace

TEST(ProgressWindowTest, WindowLooksAsTheProgressDialogShould)
{
    ProgressWindow state;
    const Qt::WindowFlags flags = state.windowFlags();
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(flags.testFlag(Qt::Tool));

    auto *text = state.findChild<QLabel *>(QStringLiteral("message"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(), "Print data is being processed...");
    EXPECT_EQ(text->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(text->alignment() & Qt::AlignHCenter);
    EXPECT_EQ(state.palette().color(QPalette::Window), QColor(242, 243, 246));

    EXPECT_EQ(state.continueButton()->text(), "Continue");
    EXPECT_EQ(state.cancelButton()->text(), "Cancel");
    EXPECT_TRUE(state.continueButton()->isHidden());
    EXPECT_TRUE(state.cancelButton()->isHidden());

    // Black captions that turn red under the pointer.
    QPushButton *cont = state.continueButton();
    EXPECT_EQ(captionColour(cont), QColor(Qt::black));
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), QPointF(1, 1));
    QApplication::sendEvent(cont, &enter);
    EXPECT_EQ(captionColour(cont), QColor(255, 0, 0));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(cont, &leave);
    EXPECT_EQ(captionColour(cont), QColor(Qt::black));

    state.setText(QStringLiteral("Importing data,Please wait..."));
    EXPECT_EQ(text->text(), "Importing data,Please wait...");
    EXPECT_EQ(state.message(), "Importing data,Please wait...");

    state.show();
    EXPECT_TRUE(state.isVisible());
    state.hide();
    EXPECT_FALSE(state.isVisible());
}

TEST(ProgressWindowTest, WaitStateFollowsTheButtonsAndTheWaitModes)
{
    ProgressWindow state;
    state.show();

    state.setManualWait(true);
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForOperator);
    EXPECT_FALSE(state.continueButton()->isHidden());
    EXPECT_FALSE(state.cancelButton()->isHidden());

    QTest::mouseClick(state.continueButton(), Qt::LeftButton);
    EXPECT_EQ(state.waitState(), ProgressView::ContinuePressed);
    EXPECT_TRUE(state.continueButton()->isHidden());
    EXPECT_FALSE(state.cancelButton()->isHidden()) << "Cancel stays until the next segment has gone";

    // A second "on" without an "off" between changes nothing.
    state.setManualWait(true);
    EXPECT_EQ(state.waitState(), ProgressView::ContinuePressed);

    state.setManualWait(false);
    state.setManualWait(true);
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForOperator);

    QTest::mouseClick(state.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(state.waitState(), ProgressView::CancelPressed);
    EXPECT_FALSE(state.isVisible());
    EXPECT_FALSE(state.manualWait());
    EXPECT_FALSE(state.autoWait());

    // After Cancel, waiting again brings both buttons back.
    state.show();
    state.setManualWait(true);
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForOperator);
    EXPECT_FALSE(state.continueButton()->isHidden());
    EXPECT_FALSE(state.cancelButton()->isHidden());
    state.setManualWait(false);
    EXPECT_TRUE(state.continueButton()->isHidden());

    state.setAutoWait(true);
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForPrinter);
    EXPECT_TRUE(state.continueButton()->isHidden());
    EXPECT_FALSE(state.cancelButton()->isHidden());
    state.setAutoWait(false);
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForPrinter) << "turning off does not change the state";
    EXPECT_TRUE(state.cancelButton()->isHidden());

    // A new print job starts from a cleared state.
    state.setAutoWait(true);
    QTest::mouseClick(state.cancelButton(), Qt::LeftButton);
    ASSERT_EQ(state.waitState(), ProgressView::CancelPressed);
    state.clearWaitState();
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForOperator);
    EXPECT_TRUE(state.cancelButton()->isHidden());
}

TEST(ProgressWindowTest, EscapeIsCancelOnlyWhileCancelIsOffered)
{
    ProgressWindow state;
    state.show();
    state.setText(QStringLiteral("Importing data,Please wait..."));

    // No buttons (import, sending a segment): the window stays.
    QTest::keyClick(&state, Qt::Key_Escape);
    EXPECT_TRUE(state.isVisible());
    state.close();
    EXPECT_TRUE(state.isVisible());
    EXPECT_EQ(state.waitState(), ProgressView::WaitingForOperator);

    // Waiting for "Continue": Escape answers as "Cancel" does.
    state.setManualWait(true);
    QTest::keyClick(&state, Qt::Key_Escape);
    EXPECT_EQ(state.waitState(), ProgressView::CancelPressed);
    EXPECT_FALSE(state.isVisible());
    EXPECT_FALSE(state.manualWait());

    state.show();
    state.setAutoWait(true);
    state.close();
    EXPECT_EQ(state.waitState(), ProgressView::CancelPressed);
    EXPECT_FALSE(state.autoWait());
}

TEST(ProgressWindowTest, TheWholeSegmentMessageShowsOnItsTwoLinesAboveBarAndButtons)
{
    ProgressWindow state;
    const QString text = QStringLiteral(
        "Currently printing to 51 segment. When the printing is finished,\rplease select \"Continue\" again");
    state.setText(text);
    state.setProgress(52, 200);
    state.setTimeLeft(125000);
    state.setManualWait(true);
    state.show();
    QCoreApplication::processEvents();

    EXPECT_EQ(state.message(), text) << "the text itself stays as it is";
    auto *label = state.findChild<QLabel *>(QStringLiteral("message"));
    ASSERT_NE(label, nullptr);
    EXPECT_TRUE(label->text().contains(QStringLiteral(",\nplease select"))) << "the message's own line break stays";
    EXPECT_FALSE(label->text().contains('\r'));
    // Every line of the message is inside the label, and nothing covers it.
    const QFontMetrics metrics(label->font());
    EXPECT_GE(label->height(), 2 * metrics.lineSpacing());
    EXPECT_GE(label->height(), label->heightForWidth(label->width()));
    for (QWidget *below : {static_cast<QWidget *>(state.progressBar()), static_cast<QWidget *>(state.continueButton()),
                           static_cast<QWidget *>(state.cancelButton())}) {
        EXPECT_LE(label->geometry().bottom(), below->geometry().top()) << qPrintable(below->objectName());
        EXPECT_TRUE(state.rect().contains(below->geometry())) << qPrintable(below->objectName());
    }
    EXPECT_TRUE(state.progressBar()->format().contains(QStringLiteral("about 2 min 5 s left")));
}

TEST(ProgressWindowTest, ButtonsAreRaisedAndNoLineOfAMessageHoldsALoneWord)
{
    ProgressWindow state;
    state.setManualWait(true);
    state.show();
    QCoreApplication::processEvents();
    const QColor window = state.palette().color(QPalette::Window);
    for (QPushButton *button : {state.continueButton(), state.cancelButton()}) {
        // A push button has an edge to see on the window's colour; a flat
        // one is its caption alone.
        const QImage image = button->grab().toImage();
        int edge = 0;
        int ring = 0;
        for (int x = 0; x < image.width(); ++x) {
            for (int y = 0; y < image.height(); ++y) {
                if (x > 2 && x < image.width() - 3 && y > 2 && y < image.height() - 3)
                    continue;
                ++ring;
                const QColor c = image.pixelColor(x, y);
                edge += std::abs(c.red() - window.red()) + std::abs(c.green() - window.green())
                                + std::abs(c.blue() - window.blue()) > 40;
            }
        }
        EXPECT_GT(edge, ring / 3) << qPrintable(button->text()) << " is drawn flat";
    }

    auto *label = state.findChild<QLabel *>(QStringLiteral("message"));
    ASSERT_NE(label, nullptr);
    const QFontMetrics metrics(label->font());
    for (const char *text :
         {"Currently printing to 3 segment. When the printing is finished,\rplease select \"Continue\" again",
          "Currently printing to 51 segment. When the printing is finished, \rit will continue to print automatically"}) {
        state.setText(QString::fromUtf8(text));
        QCoreApplication::processEvents();
        for (const QString &line : label->text().split('\n')) {
            EXPECT_LE(metrics.horizontalAdvance(line.trimmed()), label->contentsRect().width())
                << "wrapped by the label at \"" << qPrintable(line) << "\"";
            EXPECT_GE(line.split(' ', Qt::SkipEmptyParts).size(), 2) << "a lone word: " << qPrintable(line);
        }
    }
}

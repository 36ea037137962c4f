#include "WindowFixture.h"

#include "printer/PrintFixture.h"
#include "widgets/ProgressWindow.h"

#include <QJsonArray>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>

using namespace vt;
using namespace vt::test;

namespace {

struct PrintWindowTest : WindowFixture {
    QTemporaryDir config;
    FastClock clock;

    void SetUp() override
    {
        WindowFixture::SetUp();
        qputenv("VT350_CONFIG_DIR", config.path().toLocal8Bit());
        window->serialPort().setClock(clock);
        clock.library = &window->serialPort().library();
    }
    void TearDown() override
    {
        WindowFixture::TearDown();
        qunsetenv("VT350_DEVICE");
        qunsetenv("VT350_CONFIG_DIR");
    }
    void trigger(const QString &label)
    {
        for (QAction *a : window->toolBar()->actions())
            if (a->text() == label)
                a->trigger();
    }
    void fillPages(int count)
    {
        Job &job = window->job();
        for (int i = 1; i < count; ++i)
            window->addPage();
        for (int i = 0; i < count; ++i)
            job.model.setCellText(i, ColLine1, QStringLiteral("%1").arg(i, 3, 10, QChar('0')) + QString(97, 'w'));
    }
};

} // namespace

TEST_F(PrintWindowTest, PrintSendsTheJobWhilePageCommandsWait)
{
    Sim sim({QStringLiteral("--segment-seconds"), QStringLiteral("0.05")});
    qputenv("VT350_DEVICE", sim.path().toLocal8Bit());
    showActive();
    fillPages(200);
    window->recordAction();
    window->history().markSaved(); // as if just saved

    // While the first segment prints, the window takes no new pages.
    QTimer::singleShot(0, window.get(), [&] {
        ASSERT_TRUE(window->printJob().printing());
        script.messages.clear();
        trigger("Add");
        trigger("Open");
        trigger("Import");
        trigger("Delete");
        trigger("Print");
        EXPECT_EQ(window->job().pageCount(), 200);
        EXPECT_EQ(script.messages.size(), 5u);
        for (const Message &m : script.messages)
            EXPECT_EQ(m.text, "A print job is in progress. Please wait until it has finished.");
        script.messages.clear();
    });
    bool finished = false;
    QObject::connect(&window->printJob(), &PrintJob::finished, [&](bool all) { finished = all; });
    trigger("Print");
    ProgressWindow &progress = *window->progressDialog();
    EXPECT_TRUE(progress.isVisible());
    EXPECT_EQ(progress.progressBar()->value(), 52) << "pages sent with the first segment";
    EXPECT_EQ(progress.progressBar()->maximum(), 200);
    EXPECT_TRUE(QTest::qWaitFor([&] { return finished; }, 30000));
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(progress.progressBar()->value(), 200);
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(window->windowTitle(), "Vt350 Tube Printer_P1.03FV1.000.04");
    EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 4u);
    window->recordAction();
    EXPECT_FALSE(window->job().modified) << "printing changes nothing of the job";

    trigger("Delete");
    EXPECT_EQ(window->job().pageCount(), 199) << "once the job is over, the page commands work again";
}

TEST_F(PrintWindowTest, TheStartUpSearchRunsOnceTheWindowIsPaintedAndNamesThePort)
{
    Sim silent({QStringLiteral("--no-reply")});
    Sim printer({});
    qputenv("VT350_DEVICE", (silent.path() + QDir::listSeparator() + printer.path()).toLocal8Bit());
    QStringList shown;
    QObject::connect(&window->printJob(), &PrintJob::tryingPort, [&](int port, const QString &) {
        shown << window->progressDialog()->message();
        if (port == 1) {
            trigger("Print");
            trigger("Add");
        }
    });
    window->searchPrinterPortWhenShown();
    EXPECT_FALSE(window->printJob().portFound) << "nothing is searched before the window shows";
    showActive();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->printJob().portFound; }, 10000));
    EXPECT_EQ(window->printJob().portNumber, 2);
    EXPECT_EQ(shown, (QStringList{QStringLiteral("Looking for the printer on port 1 (%1)...").arg(silent.path()),
                                  QStringLiteral("Looking for the printer on port 2 (%1)...").arg(printer.path())}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->progressDialog()->isVisible(); }, 2000));
    EXPECT_EQ(script.messageTexts(), QStringList(2, "The printer is being looked for. Please wait a moment."))
        << "Print and Add wait for the search";
    EXPECT_EQ(window->job().pageCount(), 1);
}

TEST_F(PrintWindowTest, ClosingTheWindowEndsAJobInTheMiddleOfItsExchange)
{
    Sim sim({QStringLiteral("--segment-seconds"), QStringLiteral("0.05")});
    qputenv("VT350_DEVICE", sim.path().toLocal8Bit());
    showActive();
    fillPages(3);
    window->job().modified = false;
    bool closedInsideAWait = false;
    // Fires inside the first wait of the exchange (the port search's probe).
    QTimer::singleShot(0, window.get(), [&] {
        closedInsideAWait = window->printJob().printing();
        window->close();
    });
    trigger("Print");
    EXPECT_TRUE(closedInsideAWait);
    EXPECT_FALSE(window->printJob().printing());
    EXPECT_FALSE(window->serialPort().isOpen());
    EXPECT_FALSE(window->progressDialog()->isVisible());
    EXPECT_TRUE(script.messages.empty());
    QTest::qWait(50);
    EXPECT_TRUE(sim.log(QStringLiteral("frame")).empty());
    EXPECT_TRUE(sim.log(QStringLiteral("version")).empty()) << "nothing after the close";
}

TEST_F(PrintWindowTest, PrintAsksBeforeCuttingAnOverlongTextAndNoSendsNothing)
{
    Sim sim({});
    qputenv("VT350_DEVICE", sim.path().toLocal8Bit());
    showActive();
    fillPages(2);
    // A text refused at its commit still stands in its cell.
    window->job().model.setCellText(1, ColLine1, QString(101, 'x'));
    script.answers = {Answer::No};
    trigger("Print");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "The text of page 2 is longer than 100 bytes: only its first 100 bytes "
                                        "would be printed.\nPrint anyway?");
    EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_FALSE(window->printJob().printing());
    EXPECT_TRUE(sim.log().empty()) << "No sends nothing, not even a query";

    script.messages.clear();
    bool finished = false;
    QObject::connect(&window->printJob(), &PrintJob::finished, [&](bool all) { finished = all; });
    trigger("Print");  // answered Yes
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished; }, 30000));
    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].value(QStringLiteral("pages")).toArray().size(), 2);
}

TEST_F(PrintWindowTest, CancelIsOfferedWhileASegmentIsPendingAndEndsTheJobAtOnce)
{
    Sim sim({QStringLiteral("--segment-seconds"), QStringLiteral("1")});
    qputenv("VT350_DEVICE", sim.path().toLocal8Bit());
    showActive();
    fillPages(200);
    window->job().modified = false;
    bool ended = false;
    QObject::connect(&window->printJob(), &PrintJob::finished, [&] { ended = true; });
    trigger("Print");
    ProgressWindow &progress = *window->progressDialog();
    ASSERT_TRUE(window->printJob().printTimerActive);
    ASSERT_TRUE(progress.isVisible());
    EXPECT_TRUE(progress.cancelButton()->isVisible()) << "from the moment the first frame has gone";
    EXPECT_FALSE(progress.continueButton()->isVisible()) << "this firmware continues by itself";
    QTest::mouseClick(progress.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(ended) << "the job ends now, not at the pump's next tick";
    EXPECT_FALSE(progress.isVisible());
    EXPECT_FALSE(window->serialPort().isOpen());
    EXPECT_TRUE(script.messages.empty());
    // Wait for the printer's notice of the first segment: nothing may answer it.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sim.log(QStringLiteral("notice")).empty(); }, 30000));
    QCoreApplication::processEvents();
    EXPECT_EQ(sim.log(QStringLiteral("frame")).size(), 1u);
}

TEST_F(PrintWindowTest, EveryMessageOfAJobStandsAloneWithTheProgressWindowGone)
{
    // Print runs its own search; the printer found then gives no version.
    Sim quiet({QStringLiteral("--firmware"), QString()});
    qputenv("VT350_DEVICE", quiet.path().toLocal8Bit());
    showActive();
    window->job().model.setCellText(0, ColLine1, QStringLiteral("AB"));
    bool progressShownAtMessage = true;
    script.onMessage = [&](const Message &) { progressShownAtMessage = window->progressDialog()->isVisible(); };
    trigger("Print");
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "Printer is not connect to the PC. Please Checked,then Print Again!");
    EXPECT_FALSE(progressShownAtMessage);
    EXPECT_FALSE(window->progressDialog()->isVisible());
}

TEST_F(PrintWindowTest, TheStartUpSearchThatFindsNothingSaysSoOnceItsWindowHasGone)
{
    Sim silent({QStringLiteral("--no-reply")});
    qputenv("VT350_DEVICE", silent.path().toLocal8Bit());
    bool progressShownAtMessage = true;
    script.onMessage = [&](const Message &) { progressShownAtMessage = window->progressDialog()->isVisible(); };
    window->searchPrinterPortWhenShown();
    showActive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !script.messages.empty(); }, 30000));
    EXPECT_TRUE(script.messages[0].text.startsWith("Unsuccessfully to open the serial port,"));
    EXPECT_FALSE(progressShownAtMessage);
}

TEST_F(PrintWindowTest, ARibbonFaultInTheFinalWaitIsShownAndPrintOffersItsSegmentAgainAfterARestart)
{
    QTemporaryDir state;
    const QByteArray outerState = qgetenv("VT350_STATE_DIR");
    qputenv("VT350_STATE_DIR", state.path().toLocal8Bit());
    Sim sim({QStringLiteral("--segment-seconds"), QStringLiteral("0.03"), QStringLiteral("--ribbon-after"),
             QStringLiteral("4")});
    qputenv("VT350_DEVICE", sim.path().toLocal8Bit());
    showActive();
    fillPages(200);
    window->job().modified = false;
    ProgressWindow &progress = *window->progressDialog();
    // The final wait lasts until the printer's notice of segment 4 is on the line.
    clock.onWait = [&](int) {
        if (progress.message().startsWith("All print contents"))
            (void)QTest::qWaitFor([&] { return sim.log(QStringLiteral("notice")).size() >= 4; }, 30000);
    };
    std::vector<bool> results;
    QObject::connect(&window->printJob(), &PrintJob::finished, [&](bool all) { results.push_back(all); });
    trigger("Print");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 30000));
    EXPECT_EQ(results, std::vector<bool>{false});
    ASSERT_EQ(sim.log(QStringLiteral("frame")).size(), 4u);
    ASSERT_EQ(script.messages.size(), 1u);
    EXPECT_EQ(script.messages[0].text, "Ribbon is unavailing, Please replace a good one and try again");
    EXPECT_FALSE(progress.isVisible());
    EXPECT_EQ(window->printJob().stoppedPage(), 153);
    clock.onWait = nullptr;

    // The program is started anew (a new window, the same state folder):
    // Print offers page 154.
    window->job().modified = false;
    window = std::make_unique<MainWindow>();
    window->setMessageSink(&script);
    window->serialPort().setClock(clock);
    clock.library = &window->serialPort().library();
    showActive();
    fillPages(200);
    window->job().modified = false;
    script.messages.clear();
    script.answers = {Answer::Yes};
    results.clear();
    QObject::connect(&window->printJob(), &PrintJob::finished, [&](bool all) { results.push_back(all); });
    trigger("Print");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !results.empty(); }, 30000));
    ASSERT_FALSE(script.messages.empty());
    EXPECT_EQ(script.messages[0].text, "The last print of this job stopped before page 154 of 200. Continue from "
                                       "page 154? (No prints all pages)");
    EXPECT_EQ(results, std::vector<bool>{true});
    const auto frames = sim.log(QStringLiteral("frame"));
    ASSERT_EQ(frames.size(), 5u);
    EXPECT_EQ(frames[4].value(QStringLiteral("pages")).toArray().size(), 47);
    EXPECT_TRUE(QDir(state.path()).entryList({QStringLiteral("print-stop-*")}, QDir::Files).isEmpty());
    qputenv("VT350_STATE_DIR", outerState);
}

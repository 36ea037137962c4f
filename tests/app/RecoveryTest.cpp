#include "WindowFixture.h"

#include "app/RecoveryKeeper.h"
#include "files/RunLock.h"
#include "printer/PrintJob.h"
#include "widgets/ProgressWindow.h"
#include "common/ChildProcess.h"
#include "common/Files.h"
#include "printer/PrintFixture.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <csignal>

using namespace vt;
using namespace vt::test;

namespace {

// Three pages typed in a spreadsheet, one of them Chinese, one repeated.
const QByteArray kPages = "W-101;X1:3;2\nW-102;\xe7\x94\xb5\xe6\xba\x90;1\nPE;;1\n";

// The program as an operator runs it, in a process of its own, keeping its
// recovery files in `state`.
class Program {
public:
    Program(const QString &state, const QString &config, const QString &device, const QString &file,
            int autosaveMs)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("VT350_STATE_DIR"), state);
        env.insert(QStringLiteral("VT350_CONFIG_DIR"), config);
        env.insert(QStringLiteral("VT350_DEVICE"), device);
        env.insert(QStringLiteral("VT350_AUTOSAVE_MS"), QString::number(autosaveMs));
        process_.setProcessEnvironment(env);
        endWithParent(process_);
        process_.start(QStringLiteral(VT350_BINARY_DIR "/src/vt350"), {file});
    }
    ~Program()
    {
        process_.kill();
        process_.waitForFinished(10000);
    }
    QProcess &process() { return process_; }

private:
    QProcess process_;
};

// Waits for the program to have written a file named so in `dir`.
bool waitForFile(const QString &dir, const QString &pattern, QProcess &program)
{
    for (int i = 0; i < 3000; ++i) {
        if (!QDir(dir).entryList({pattern}, QDir::Files).isEmpty())
            return true;
        if (program.state() == QProcess::NotRunning)
            return false;
        QTest::qWait(10);
    }
    return false;
}

// The bytes Save writes for the job of `window`.
QByteArray savedBytes(MainWindow &window, ScriptedOperator &script, const QString &path)
{
    script.fileNames.push_back(path);
    window.saveDocument();
    return readAll(path);
}

// What a fresh window saves for the same pages, imported.
QByteArray expectedBytes(const QString &csv, const QString &path)
{
    MainWindow fresh;
    ScriptedOperator script;
    fresh.setMessageSink(&script);
    EXPECT_TRUE(fresh.openAtStart(csv));
    return savedBytes(fresh, script, path);
}

struct RecoveryTest : WindowFixture {
    QTemporaryDir work;
    QString state = qEnvironmentVariable("VT350_STATE_DIR");
    QString csv = work.filePath(QStringLiteral("marks.csv"));

    void SetUp() override
    {
        WindowFixture::SetUp();
        writeAll(csv, kPages);
        // Each test starts with nothing left over by another.
        for (const QString &name : QDir(state).entryList(QDir::Files))
            QFile::remove(QDir(state).filePath(name));
    }
    QStringList stateFiles(const QString &pattern) const { return QDir(state).entryList({pattern}, QDir::Files); }
    // A window with `pages` pages ends without saving, as a killed program does.
    static void leaveUnsaved(int pages)
    {
        MainWindow typist;
        ScriptedOperator quiet;
        typist.setMessageSink(&quiet);
        for (int i = 1; i < pages; ++i)
            typist.addPage();
        typist.job().modified = true;
        typist.recordAction();
        ASSERT_TRUE(typist.recovery().writeNow());
    }
    Program start(const Sim &printer, int autosaveMs)
    {
        return Program(state, work.path(), printer.path(), csv, autosaveMs);
    }
    void expectQuestion(const QString &document, const QDateTime &after)
    {
        ASSERT_EQ(script.messages.size(), 1u);
        static const QRegularExpression re(
            QStringLiteral("^The pages of (.+) were not saved when the program last ended "
                           "\\((\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d)\\)\\. Restore them\\?\r"
                           "No deletes them; Cancel keeps them for the next start\\.$"));
        const QRegularExpressionMatch m = re.match(script.messages[0].text);
        ASSERT_TRUE(m.hasMatch()) << script.messages[0].text.toStdString();
        EXPECT_EQ(m.captured(1), document);
        const QDateTime when = QDateTime::fromString(m.captured(2), QStringLiteral("yyyy-MM-dd HH:mm"));
        EXPECT_GE(when, after.toLocalTime().addSecs(-60));
        EXPECT_LE(when, QDateTime::currentDateTime());
        EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNoCancel);
    }
};

} // namespace

TEST_F(RecoveryTest, PagesOfAKilledProgramAreOfferedOnlyOnceItHasEndedAndRestoredExactly)
{
    Sim printer({});
    const QDateTime started = QDateTime::currentDateTime();
    Program first = start(printer, 50);
    ASSERT_TRUE(waitForFile(state, QStringLiteral("*.info"), first.process()))
        << "the imported pages were never written for recovery";

    // Still running: its pages are its own.
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_TRUE(script.messages.empty());

    first.process().kill();
    ASSERT_TRUE(first.process().waitForFinished(10000));
    ASSERT_TRUE(window->offerRecovery());
    expectQuestion(QStringLiteral("Untitled"), started);
    EXPECT_TRUE(window->job().modified) << "restored pages are not saved yet";
    EXPECT_EQ(window->job().pageCount(), 3);
    EXPECT_EQ(cell(1, ColLine2), QStringLiteral("电源"));

    const QByteArray expected = expectedBytes(csv, work.filePath(QStringLiteral("expected.vtd")));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(savedBytes(*window, script, work.filePath(QStringLiteral("restored.vtd"))), expected);
    EXPECT_FALSE(window->job().modified);

    // Saved now: nothing is offered again, to another window or a later start.
    window.reset();
    MainWindow later;
    ScriptedOperator laterScript;
    later.setMessageSink(&laterScript);
    EXPECT_FALSE(later.offerRecovery());
    EXPECT_TRUE(laterScript.messages.empty());
    EXPECT_TRUE(QDir(state).entryList({QStringLiteral("*.vtd")}, QDir::Files).isEmpty());
}

TEST_F(RecoveryTest, SigtermKeepsThePagesAndASavedDocumentLeavesNothing)
{
    Sim printer({});
    const QDateTime started = QDateTime::currentDateTime();
    // Far longer than the test: only the signal can have written the file.
    Program ended = start(printer, 3600000);
    ASSERT_TRUE(waitForFile(state, QStringLiteral("*.lock"), ended.process()));
    ended.process().terminate();
    ASSERT_TRUE(ended.process().waitForFinished(10000));
    EXPECT_EQ(ended.process().exitCode(), 128 + SIGTERM);
    ASSERT_TRUE(window->offerRecovery());
    expectQuestion(QStringLiteral("Untitled"), started);
    EXPECT_EQ(savedBytes(*window, script, work.filePath(QStringLiteral("restored.vtd"))),
              expectedBytes(csv, work.filePath(QStringLiteral("expected.vtd"))));

    // A document opened and changed keeps its name; once saved, nothing is offered.
    const QString document = work.filePath(QStringLiteral("restored.vtd"));
    auto typist = std::make_unique<MainWindow>();
    ScriptedOperator typistScript;
    typist->setMessageSink(&typistScript);
    ASSERT_TRUE(typist->openAtStart(document));
    QSignalSpy written(&typist->recovery(), &RecoveryKeeper::written);
    typist->addPage();
    typist->recordAction();
    typist->recovery().writeNow();
    ASSERT_EQ(written.size(), 1);
    typist.reset(); // ends without the closing question, as a killed program does

    window = std::make_unique<MainWindow>();
    window->setMessageSink(&script);
    script.messages.clear();
    ASSERT_TRUE(window->offerRecovery());
    expectQuestion(QStringLiteral("restored.vtd"), started);
    EXPECT_EQ(window->job().pageCount(), 4);
    EXPECT_EQ(window->recovery().documentPath(), document);
    savedBytes(*window, script, document);
    window->recovery().writeNow(); // waits for the removal on the writer's thread
    EXPECT_TRUE(QDir(state).entryList({QStringLiteral("*.vtd"), QStringLiteral("*.info")}, QDir::Files).isEmpty());

    // No, and the pages are gone for good.
    auto second = std::make_unique<MainWindow>();
    second->setMessageSink(&typistScript);
    second->addPage();
    second->recordAction();
    second->recovery().writeNow();
    second.reset();
    script.messages.clear();
    script.answers = {Answer::No};
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_EQ(script.messages.size(), 1u);
    script.messages.clear();
    EXPECT_FALSE(window->offerRecovery());
    EXPECT_TRUE(script.messages.empty());
}

TEST_F(RecoveryTest, SigtermWhileTheQuestionIsOpenKeepsThePages)
{
    leaveUnsaved(2);
    const QStringList left = stateFiles(QStringLiteral("*.vtd"));
    ASSERT_EQ(left.size(), 1u);
    const QString lockPath = QDir(state).filePath(QFileInfo(left[0]).completeBaseName() + ".lock");

    // The real program and its real question: the leftover's lock is taken
    // just before the question shows, and a signal is only read once the
    // question's own event loop runs.
    Sim printer({});
    Program asking(state, work.path(), printer.path(), QString(), 3600000);
    RunLock probe;
    for (int i = 0; i < 3000 && probe.tryLock(lockPath); ++i) {
        probe.unlock();
        ASSERT_NE(asking.process().state(), QProcess::NotRunning);
        QTest::qWait(10);
    }
    ASSERT_FALSE(probe.isLocked()) << "the program never claimed the pages";
    asking.process().terminate();
    ASSERT_TRUE(asking.process().waitForFinished(10000));
    EXPECT_EQ(asking.process().exitCode(), 128 + SIGTERM);

    EXPECT_EQ(stateFiles(QStringLiteral("*.vtd")), left) << "a question ended by a signal is no No";
    ASSERT_TRUE(window->offerRecovery());
    EXPECT_EQ(window->job().pageCount(), 2);
}

TEST_F(RecoveryTest, TheCellsComeBackAsSeenAndAFailedRewriteKeepsTheOldFile)
{
    showActive();
    // Refused as over-long, the cell still holds all 110 bytes; the next
    // page's first line is half typed when the program ends.
    const QString longLine = QString(100, QLatin1Char('W')) + QStringLiteral("电源电源电");
    window->addPage();
    window->job().model.setCellText(0, ColLine1, longLine);
    window->job().modified = true;
    clickCell(1, ColLine1);
    ASSERT_NE(editor(), nullptr);
    QTest::keyClicks(editor(), "X1:3");
    ASSERT_TRUE(window->recovery().writeNow());
    window.reset();

    auto restoring = [&] {
        window = std::make_unique<MainWindow>();
        window->setMessageSink(&script);
        script.messages.clear();
        return window->offerRecovery();
    };
    ASSERT_TRUE(restoring());
    EXPECT_EQ(cell(0, ColLine1), longLine);
    EXPECT_EQ(cell(1, ColLine1), "X1:3");
    window.reset();

#ifdef Q_OS_UNIX
    // The disk is full when the restored pages are written again: the old
    // file is the only copy and stays, and the operator is told once.
    const QStringList before = stateFiles(QStringLiteral("*.vtd"));
    ASSERT_EQ(before.size(), 1u);
    const QByteArray oldBytes = readAll(QDir(state).filePath(before[0]));
    {
        FileSizeLimit full(40);
        ASSERT_TRUE(restoring());
        EXPECT_FALSE(window->recovery().writeNow());
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(stateFiles(QStringLiteral("*.vtd")), before);
    EXPECT_EQ(readAll(QDir(state).filePath(before[0])), oldBytes);
    ASSERT_EQ(script.messages.size(), 2u);
    EXPECT_TRUE(script.messages[1].text.startsWith("The unsaved pages cannot be kept in case the program ends "
                                                   "unexpectedly ("))
        << script.messages[1].text.toStdString();
#endif
}

TEST_F(RecoveryTest, StartUpAsksAboutLeftPagesFirstThenSearchesThenOpensTheFile)
{
    leaveUnsaved(2);
    Sim printer({});
    qputenv("VT350_DEVICE", printer.path().toLocal8Bit());
    struct Seen {
        QString text;
        bool searched;
        bool progressShown;
    };
    std::vector<Seen> seen;
    script.onMessage = [&](const Message &m) {
        seen.push_back({m.text.section(QLatin1Char('\r'), 0, 0), window->printJob().portFound,
                        window->progressDialog()->isVisible()});
    };
    script.answers = {Answer::Yes, Answer::No};
    window->startUpWhenShown(csv);
    showActive();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() >= 2; }, 20000));
    EXPECT_TRUE(seen[0].text.endsWith("Restore them?")) << seen[0].text.toStdString();
    EXPECT_FALSE(seen[0].searched);
    EXPECT_FALSE(seen[0].progressShown) << "the question is alone on the screen";
    EXPECT_EQ(seen[1].text, "The pages have been changed since they were last saved.\nSave them before opening marks.csv?");
    EXPECT_TRUE(seen[1].searched);
    EXPECT_FALSE(seen[1].progressShown);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->job().pageCount() == 3; }, 5000));
    EXPECT_EQ(cell(2, ColLine1), "PE");
}

TEST_F(RecoveryTest, ChangesInsideANestedEventLoopAreKeptWithoutWaitingForItToEnd)
{
    qputenv("VT350_AUTOSAVE_MS", "10");
    window = std::make_unique<MainWindow>();
    window->setMessageSink(&script);
    qunsetenv("VT350_AUTOSAVE_MS");
    showActive();
    QSignalSpy written(&window->recovery(), &RecoveryKeeper::written);
    // As during the printer search's waits: the window answers inside an
    // event loop of its own, which has not ended when the page is added.
    QEventLoop search;
    bool keptInside = false;
    QTimer::singleShot(0, [&] {
        QTest::keyClick(window.get(), Qt::Key_Insert);
        keptInside = written.wait(10000);
        search.quit();
    });
    search.exec();
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_TRUE(keptInside);
}

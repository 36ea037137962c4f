#include "WindowFixture.h"

#include "app/RecoveryKeeper.h"
#include "common/ChildProcess.h"
#include "common/Files.h"
#include "printer/PrintFixture.h"

#include <QDir>
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
                           "\\((\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d)\\)\\. Restore them\\?$"));
        const QRegularExpressionMatch m = re.match(script.messages[0].text);
        ASSERT_TRUE(m.hasMatch()) << script.messages[0].text.toStdString();
        EXPECT_EQ(m.captured(1), document);
        const QDateTime when = QDateTime::fromString(m.captured(2), QStringLiteral("yyyy-MM-dd HH:mm"));
        EXPECT_GE(when, after.toLocalTime().addSecs(-60));
        EXPECT_LE(when, QDateTime::currentDateTime());
        EXPECT_EQ(script.messages[0].buttons, MessageButtons::YesNo);
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

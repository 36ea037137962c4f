// 100 jobs in a row from one window to the virtual printer, each with a
// printer mood picked at random (seeded): plain, busy, a ribbon notice, no
// reply, or the printer exiting in the middle of the job. Every job must end
// with its message (or none, for a plain one) and the window must keep
// answering; resident memory and open descriptors after jobs 1, 50 and 100
// show whether anything leaks. Takes a few minutes; run it alone:
//   scripts/soak.sh   (or vt350-bench --benchmark_filter=Soak)
#include "app/MainWindow.h"
#include "common/ScriptedOperator.h"
#include "printer/Clock.h"
#include "printer/PrintJob.h"
#include "printer/SerialLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>

#include <unistd.h>

using namespace vt;

namespace {

// The printer's waits cut short: the virtual printer is quick.
class QuickClock : public EventLoopClock {
protected:
    int realMs(int ms) const override { return std::min(ms, 20); }
};

long residentKb()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = f.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (::sysconf(_SC_PAGESIZE) / 1024) : -1;
}

int openDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

// The kind of a job's ending, by its last message.
QString endingOf(const test::ScriptedOperator &script, std::size_t from)
{
    if (script.messages.size() <= from)
        return QStringLiteral("none");
    const QString text = script.messages.back().text;
    if (text.startsWith(QLatin1String("Ribbon")))
        return QStringLiteral("ribbon");
    if (text.startsWith(QLatin1String("PC is busy")))
        return QStringLiteral("busy");
    if (text.startsWith(QLatin1String("Printer is not connect")))
        return QStringLiteral("no reply");
    if (text.startsWith(QLatin1String("The connection to the printer was lost")))
        return QStringLiteral("printer lost");
    return QStringLiteral("other: ") + text.left(40);
}

void BM_Soak100(benchmark::State &state)
{
    QTemporaryDir dir;
    qputenv("VT350_CONFIG_DIR", dir.path().toLocal8Bit());
    qputenv("VT350_STATE_DIR", dir.filePath(QStringLiteral("state")).toLocal8Bit());
    const QString simPath = QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/vt350-sim");
    for (auto _ : state) {
        MainWindow window;
        test::ScriptedOperator script;
        script.answers.clear();
        window.setMessageSink(&script);
        QuickClock clock;
        window.serialPort().setClock(clock);
        for (int i = 1; i < 120; ++i)
            window.addPage();
        for (int i = 0; i < 120; ++i)
            window.job().model.setCellText(i, ColLine1, QStringLiteral("%1").arg(i, 3, 10, QChar('0')) + QString(97, 'w'));
        window.show();

        // How long the window's event loop went without turning.
        QElapsedTimer beat;
        qint64 longestStall = 0;
        QTimer heartbeat;
        QObject::connect(&heartbeat, &QTimer::timeout, [&] {
            longestStall = std::max(longestStall, beat.restart());
        });
        beat.start();
        heartbeat.start(5);

        QRandomGenerator random(350);
        const QStringList moods{QStringLiteral("plain"), QStringLiteral("busy"), QStringLiteral("ribbon"),
                                QStringLiteral("no reply"), QStringLiteral("exit")};
        std::map<QString, int> endings;
        std::map<QString, int> unexpected;
        long rss[3] = {0, 0, 0};
        int fds[3] = {0, 0, 0};
        for (int job = 1; job <= 100; ++job) {
            const QString mood = moods.at(int(random.bounded(moods.size())));
            QStringList options{QStringLiteral("--segment-seconds"), QStringLiteral("0.01")};
            if (mood == QLatin1String("busy"))
                options << QStringLiteral("--busy") << QStringLiteral("100");
            else if (mood == QLatin1String("ribbon"))
                options << QStringLiteral("--ribbon-after") << QStringLiteral("1");
            else if (mood == QLatin1String("no reply"))
                options << QStringLiteral("--no-reply");
            else if (mood == QLatin1String("exit"))
                options << QStringLiteral("--exit-after") << QStringLiteral("1");
            QProcess sim;
            sim.start(simPath, options);
            if (!sim.waitForReadyRead(5000)) {
                state.SkipWithError("vt350-sim did not start");
                return;
            }
            qputenv("VT350_DEVICE", sim.readLine().trimmed());
            window.printJob().portFound = true;
            window.printJob().portNumber = 1;

            const std::size_t before = script.messages.size();
            QEventLoop done;
            bool allSent = false;
            const auto c = QObject::connect(&window.printJob(), &PrintJob::finished, &done, [&](bool all) {
                allSent = all;
                done.quit();
            });
            QTimer::singleShot(0, &window, &MainWindow::print);
            QTimer guard;
            guard.setSingleShot(true);
            QObject::connect(&guard, &QTimer::timeout, &done, &QEventLoop::quit);
            guard.start(60000);
            done.exec();
            QObject::disconnect(c);
            const QString ending = endingOf(script, before);
            ++endings[ending];
            const QString expected = mood == QLatin1String("plain") ? QStringLiteral("none")
                                     : mood == QLatin1String("exit") ? QStringLiteral("printer lost")
                                                                     : mood;
            // Only a plain job sends every page; every job ends.
            if (ending != expected || window.printJob().printing() || allSent != (expected == QLatin1String("none")))
                ++unexpected[mood + QStringLiteral(" -> ") + ending];
            sim.terminate();
            sim.waitForFinished(3000);
            const int slot = job == 1 ? 0 : job == 50 ? 1 : job == 100 ? 2 : -1;
            if (slot >= 0) {
                rss[slot] = residentKb();
                fds[slot] = openDescriptors();
            }
        }
        for (const auto &[ending, count] : endings)
            std::fprintf(stderr, "ending %-14s %d\n", qPrintable(ending), count);
        for (const auto &[what, count] : unexpected)
            std::fprintf(stderr, "UNEXPECTED %s: %d\n", qPrintable(what), count);
        state.counters["rss_kb_job1"] = double(rss[0]);
        state.counters["rss_kb_job50"] = double(rss[1]);
        state.counters["rss_kb_job100"] = double(rss[2]);
        state.counters["fds_job1"] = fds[0];
        state.counters["fds_job50"] = fds[1];
        state.counters["fds_job100"] = fds[2];
        state.counters["longest_stall_ms"] = double(longestStall);
        state.counters["unexpected"] = double(unexpected.size());
        window.job().modified = false;
    }
    qunsetenv("VT350_DEVICE");
}
BENCHMARK(BM_Soak100)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

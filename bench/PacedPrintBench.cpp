// A 200-page job printed from the window to the virtual printer at 9600
// baud (vt350-sim --pace), with the real clock. Reports the time against the
// waits the exchange prescribes, and the longest time the window went
// without painting meanwhile. Takes about a minute; run it alone:
//   vt350-bench --benchmark_filter=PacedPrint
#include "app/MainWindow.h"
#include "common/ScriptedOperator.h"
#include "printer/Clock.h"
#include "printer/PrintJob.h"
#include "printer/SerialLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>

using namespace vt;

namespace {

// The real clock, adding up what the exchange asked for.
class SummingClock : public EventLoopClock {
public:
    qint64 prescribedMs = 0;
    void wait(int ms) override
    {
        prescribedMs += ms;
        EventLoopClock::wait(ms);
    }
    void arm(int ms, std::function<void()> onTimeout) override
    {
        prescribedMs += ms;
        EventLoopClock::arm(ms, std::move(onTimeout));
    }
};

// Times between paints of the window.
class PaintWatch : public QObject {
public:
    QElapsedTimer clock;
    qint64 last = -1;
    qint64 longestGap = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            const qint64 now = clock.elapsed();
            if (last >= 0)
                longestGap = std::max(longestGap, now - last);
            last = now;
        }
        return false;
    }
};


void BM_PacedPrint200(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("sim.log"));
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../tools/vt350-sim"),
              {QStringLiteral("--pace"), QStringLiteral("--segment-seconds"), QStringLiteral("1"),
               QStringLiteral("--log"), log});
    if (!sim.waitForReadyRead(5000)) {
        state.SkipWithError("vt350-sim did not start");
        return;
    }
    const QString device = QString::fromLocal8Bit(sim.readLine()).trimmed();
    qputenv("VT350_DEVICE", device.toLocal8Bit());
    qputenv("VT350_CONFIG_DIR", dir.path().toLocal8Bit());

    for (auto _ : state) {
        MainWindow window;
        test::ScriptedOperator script;
        window.setMessageSink(&script);
        SummingClock clock;
        window.serialPort().setClock(clock);
        for (int i = 1; i < kMaxPages; ++i)
            window.addPage();
        for (int i = 0; i < kMaxPages; ++i)
            window.job().model.setCellText(i, ColLine1, QStringLiteral("%1").arg(i, 3, 10, QChar('0')) + QString(97, 'w'));
        window.show();

        PaintWatch paints;
        window.installEventFilter(&paints);
        QTimer repaint;
        repaint.setTimerType(Qt::PreciseTimer);
        QObject::connect(&repaint, &QTimer::timeout, &window, [&window] { window.update(); });
        repaint.start(10);

        bool allSent = false;
        QEventLoop done;
        QObject::connect(&window.printJob(), &PrintJob::finished, &done, [&](bool all) {
            allSent = all;
            done.quit();
        });
        QElapsedTimer elapsed;
        // The estimate the window shows after the first frame, and when.
        qint64 firstEstimateMs = -1, firstEstimateAt = 0;
        QObject::connect(&window.printJob(), &PrintJob::timeLeft, &done, [&](qint64 ms) {
            if (firstEstimateMs < 0) {
                firstEstimateMs = ms;
                firstEstimateAt = elapsed.elapsed();
            }
        });
        elapsed.start();
        paints.clock.start();
        QTimer::singleShot(0, &window, &MainWindow::print);
        done.exec();
        const double seconds = double(elapsed.elapsed()) / 1000.0;
        const double measuredLeft = seconds - double(firstEstimateAt) / 1000.0;
        state.counters["estimate_s"] = double(firstEstimateMs) / 1000.0;
        state.counters["measured_after_estimate_s"] = measuredLeft;
        state.counters["estimate_ratio"] = double(firstEstimateMs) / 1000.0 / measuredLeft;
        repaint.stop();

        // The printer is still taking the last frame when the program is done
        // with it: count the bytes once every page has arrived.
        qint64 bytes = 0;
        int pages = 0;
        QElapsedTimer grace;
        grace.start();
        while (grace.elapsed() < 15000) {
            bytes = 0;
            pages = 0;
            QFile f(log);
            if (f.open(QIODevice::ReadOnly))
                while (!f.atEnd()) {
                    const QJsonObject o = QJsonDocument::fromJson(f.readLine()).object();
                    bytes += o.value(QStringLiteral("bytes")).toInt();
                    pages += o.value(QStringLiteral("pages")).toArray().size();
                }
            if (pages >= kMaxPages)
                break;
            QThread::msleep(50);
        }
        state.counters["printer_has_all_s"] = double(elapsed.elapsed()) / 1000.0;
        state.counters["pages_received"] = pages;
        state.SetIterationTime(seconds);
        state.counters["all_sent"] = allSent ? 1 : 0;
        state.counters["seconds"] = seconds;
        state.counters["prescribed_waits_s"] = double(clock.prescribedMs) / 1000.0;
        state.counters["frame_bytes"] = double(bytes);
        state.counters["bytes_at_960_s"] = double(bytes) / 960.0;
        state.counters["ratio_to_waits"] = seconds / (double(clock.prescribedMs) / 1000.0);
        state.counters["longest_paint_gap_ms"] = double(paints.longestGap);
        state.counters["messages"] = double(script.messages.size());
    }
    sim.terminate();
    sim.waitForFinished(3000);
    qunsetenv("VT350_DEVICE");
    qunsetenv("VT350_CONFIG_DIR");
}
BENCHMARK(BM_PacedPrint200)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

} // namespace

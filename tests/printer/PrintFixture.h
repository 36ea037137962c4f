#pragma once

#include "common/ChildProcess.h"
#include "common/ScriptedOperator.h"
#include "commands/ProgressView.h"
#include "model/Job.h"
#include "printer/Clock.h"
#include "printer/PrintJob.h"
#include "printer/SerialLine.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace vt::test {

// A virtual printer of the given firmware whose segments print in 30 ms.
inline QStringList simOptions(const QString &firmware, QStringList more = {})
{
    return QStringList{QStringLiteral("--firmware"), firmware, QStringLiteral("--segment-seconds"),
                       QStringLiteral("0.03")}
           + more;
}

// A page of 100 bytes whose number leads its text: 000 to 199.
inline QString longText(int page)
{
    return QStringLiteral("%1").arg(page, 3, 10, QChar('0')) + QString(97, QChar('a' + page % 26));
}

// A virtual printer on its own pseudo-terminal, for as long as the object lives.
class Sim {
public:
    explicit Sim(const QStringList &options)
    {
        live().push_back(this);
        logPath_ = dir_.filePath(QStringLiteral("sim.log"));
        process_.setProgram(QStringLiteral(VT350_BINARY_DIR "/tools/vt350-sim"));
        process_.setArguments(options + QStringList{QStringLiteral("--log"), logPath_, QStringLiteral("--ack")});
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        endWithParent(process_);
        process_.start();
        if (process_.waitForStarted(5000))
            while (!process_.canReadLine() && process_.waitForReadyRead(5000)) {
            }
        path_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
    }
    ~Sim()
    {
        std::erase(live(), this);
        process_.terminate();
        if (!process_.waitForFinished(3000))
            process_.kill();
    }

    // Bytes the printer has taken and answered so far, by its own word.
    qint64 took()
    {
        while (process_.canReadLine()) {
            const QByteArray line = process_.readLine().trimmed();
            if (line.startsWith("took "))
                took_ = line.mid(5).toLongLong();
        }
        return took_;
    }
    // Whether the virtual printers of the test have taken (and answered)
    // all `written` bytes; a printer that has ended says nothing more.
    static bool allTook(qint64 written)
    {
        qint64 sum = 0;
        for (Sim *sim : live()) {
            if (sim->process_.state() != QProcess::Running)
                return true;
            sum += sim->took();
        }
        return sum >= written;
    }
    QString path() const { return path_; }
    QProcess &process() { return process_; }

    // Every entry the printer logged, in order; frames only, with `type`.
    std::vector<QJsonObject> log(const QString &type = {}) const
    {
        std::vector<QJsonObject> out;
        QFile f(logPath_);
        if (!f.open(QIODevice::ReadOnly))
            return out;
        while (!f.atEnd()) {
            const QJsonObject o = QJsonDocument::fromJson(f.readLine()).object();
            if (type.isEmpty() || o.value(QStringLiteral("type")).toString() == type)
                out.push_back(o);
        }
        return out;
    }
    QString errors() { return QString::fromLocal8Bit(process_.readAllStandardError()); }

private:
    QTemporaryDir dir_;
    QString logPath_;
    QProcess process_;
    QString path_;
    qint64 took_ = 0;
    static std::vector<Sim *> &live()
    {
        static std::vector<Sim *> sims;
        return sims;
    }
};

// Runs the exchange with the printer's waits cut short (30 ms at most) and
// remembers what was asked for. With the serial library given, a wait also
// lasts until the virtual printers have taken every byte written and
// answered it, however busy the machine: never a guess at how long that takes.
class FastClock : public EventLoopClock {
public:
    const SerialLibrary *library = nullptr;
    std::vector<int> waits;
    std::vector<int> armings;
    // Called as each wait begins, to act "during" it.
    std::function<void(int ms)> onWait;
    void wait(int ms) override
    {
        waits.push_back(ms);
        if (onWait)
            onWait(ms);
        EventLoopClock::wait(ms);
        // The guard only ends a test that would otherwise hang.
        QElapsedTimer guard;
        guard.start();
        while (library && !interrupted() && !Sim::allTook(library->bytesWritten()) && guard.elapsed() < 60000)
            EventLoopClock::wait(1);
    }
    void arm(int ms, std::function<void()> onTimeout) override
    {
        armings.push_back(ms);
        EventLoopClock::arm(ms, std::move(onTimeout));
    }

protected:
    int realMs(int ms) const override { return std::min(ms, 30); }
};

// The progress window as a script: optionally presses "Continue" whenever
// it is offered, or "Cancel" at the first wait.
class FakeProgress : public ProgressView {
public:
    QStringList texts;
    bool shown = false;
    bool pressContinue = false;
    bool pressCancel = false;
    int sent = -1;
    int total = -1;

    void setText(const QString &text) override
    {
        if (!text.isEmpty())
            texts << text;
    }
    void setManualWait(bool on) override
    {
        if (on == manual_)
            return;
        manual_ = on;
        if (on)
            state_ = pressCancel ? CancelPressed : pressContinue ? ContinuePressed : WaitingForOperator;
    }
    void setAutoWait(bool on) override
    {
        if (on == auto_)
            return;
        auto_ = on;
        if (on)
            state_ = pressCancel ? CancelPressed : WaitingForPrinter;
    }
    int waitState() const override { return state_; }
    void clearWaitState() override
    {
        manual_ = auto_ = false;
        state_ = WaitingForOperator;
    }
    void show() override { shown = true; }
    void hide() override { shown = false; }
    void setProgress(int pagesSent, int pagesToSend) override
    {
        sent = pagesSent;
        total = pagesToSend;
    }
    bool offered() const { return manual_ || auto_; }
    void cancel()
    {
        state_ = CancelPressed;
        manual_ = auto_ = false;
        shown = false;
        notifyCancel();
    }

private:
    bool manual_ = false;
    bool auto_ = false;
    int state_ = WaitingForOperator;
};

// One print setup: a job, the serial line, the operator, a configuration
// folder and a state folder (VT350_STATE_DIR, where a stopped print's resume
// point is kept) of its own, and the device list in VT350_DEVICE.
struct PrintBench {
    QTemporaryDir config;
    QTemporaryDir state;
    QByteArray outerState = qgetenv("VT350_STATE_DIR");
    Job job;
    ScriptedOperator op;
    FakeProgress progress;
    FastClock clock;
    SerialLibrary library;
    SerialLine line{library, clock};
    PrintJob print{job, line, op, progress};
    std::vector<bool> results;

    explicit PrintBench(const QStringList &devices)
    {
        qputenv("VT350_CONFIG_DIR", config.path().toLocal8Bit());
        qputenv("VT350_STATE_DIR", state.path().toLocal8Bit());
        qputenv("VT350_DEVICE", devices.join(QDir::listSeparator()).toLocal8Bit());
        clock.library = &library;
        op.title = QStringLiteral("Vt350 Tube Printer_P1.03");
        QObject::connect(&print, &PrintJob::finished, [this](bool all) { results.push_back(all); });
    }
    ~PrintBench()
    {
        qunsetenv("VT350_DEVICE");
        qunsetenv("VT350_CONFIG_DIR");
        qputenv("VT350_STATE_DIR", outerState);
    }

    void addPage(const QString &line1, bool checked = true)
    {
        const int row = job.model.rowCount();
        job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, line1);
        job.model.setChecked(row, checked);
    }

    // Prints and lets the segment pump run until the job is over; the
    // guard only ends a test that would otherwise hang.
    bool printAll(int guardMs = 30000)
    {
        const std::size_t before = results.size();
        print.printCommand();
        return waitForEnd(before, guardMs);
    }
    // Until the job started when `before` results were in has ended.
    bool waitForEnd(std::size_t before, int guardMs = 30000)
    {
        if (results.size() == before) {
            QEventLoop loop;
            QObject::connect(&print, &PrintJob::finished, &loop, &QEventLoop::quit);
            QTimer::singleShot(guardMs, &loop, &QEventLoop::quit);
            loop.exec();
        }
        return results.size() > before;
    }
};

} // namespace vt::test

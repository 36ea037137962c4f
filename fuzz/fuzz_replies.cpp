// Whatever the printer answers (version, status, the notice after a
// segment), the print job must neither read past a buffer nor write a frame
// over the printer's limit, and it must end once the answers run out.
//
// Input: one byte for the job (pages, firmware-independent), then answers as
// length-prefixed chunks; each write of the program lets the next chunk
// arrive, as a printer answers what it was sent.
#include "common/ScriptedOperator.h"
#include "commands/ProgressView.h"
#include "model/Job.h"
#include "printer/Clock.h"
#include "printer/PrintJob.h"
#include "printer/SerialLine.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <deque>
#include <functional>

namespace {

using namespace vt;

class ScriptedLibrary : public SerialLibrary {
public:
    std::deque<QByteArray> answers;
    QByteArray arrived;
    int writes = 0;

    int open(int) override { return 0; }
    int setLine(int, int, int) override { return 0; }
    int waiting(int) override { return int(arrived.size()); }
    int read(int, char *buffer, int length) override
    {
        const int n = std::min(length, int(arrived.size()));
        if (n < 0)
            std::abort();
        std::memcpy(buffer, arrived.constData(), std::size_t(n));
        arrived.remove(0, n);
        return n;
    }
    int write(int, const char *buffer, int length) override
    {
        if (length > 8192)
            std::abort(); // no frame over the printer's buffer
        if (length >= 2 && buffer[0] == 0x02 && buffer[1] == 'A' && buffer[length - 1] != 'E')
            std::abort(); // a frame always ends with its closing 'E'
        ++writes;
        if (!answers.empty()) {
            arrived += answers.front();
            answers.pop_front();
        }
        return length;
    }
    void close(int) override {}
    bool connectionLost(int) const override { return false; }
};

// Time passes only when the pump is called.
class StepClock : public Clock {
public:
    std::function<void()> pending;
    void wait(int) override {}
    void arm(int, std::function<void()> onTimeout) override { pending = std::move(onTimeout); }
    void disarm() override { pending = nullptr; }
    bool armed() const override { return bool(pending); }
    void interrupt() override {}
    void resume() override {}
    bool interrupted() const override { return false; }
};

// "Continue" is pressed whenever it is offered; the automatic wait waits.
class PressingProgress : public ProgressView {
public:
    void setText(const QString &) override {}
    void setManualWait(bool on) override { state_ = on ? ContinuePressed : WaitingForOperator; }
    void setAutoWait(bool on) override { state_ = on ? WaitingForPrinter : WaitingForOperator; }
    int waitState() const override { return state_; }
    void clearWaitState() override { state_ = WaitingForOperator; }
    void show() override {}
    void hide() override {}

private:
    int state_ = WaitingForOperator;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_replies";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (size < 1)
        return 0;

    Job job;
    // Up to 200 pages of 40 characters: several segments.
    const int pages = data[0] % 200 + 1;
    for (int row = 0; row < pages; ++row) {
        job.chain.insertPageAfter(job.chain.last(), job.settings);
        job.model.insertPageRow(row);
        job.model.setCellText(row, ColLine1, QString(40, QLatin1Char('A' + row % 26)));
    }

    ScriptedLibrary library;
    for (std::size_t at = 1; at < size;) {
        const std::size_t length = std::min<std::size_t>(data[at], size - at - 1);
        library.answers.push_back(QByteArray(reinterpret_cast<const char *>(data + at + 1), qsizetype(length)));
        at += 1 + length;
    }
    StepClock clock;
    SerialLine line(library, clock);
    test::ScriptedOperator op;
    PressingProgress progress;
    PrintJob print(job, line, op, progress);
    print.portFound = true;
    print.portNumber = 1;
    print.printCommand();
    // Every chunk answers one write; a job still waiting after them has
    // only its own polls left.
    for (int step = 0; step < 400 && clock.pending; ++step) {
        auto pump = std::exchange(clock.pending, nullptr);
        pump();
    }
    print.abort();
    return 0;
}

#include "printer/PrintJob.h"

#include "commands/Operator.h"
#include "commands/ProgressView.h"
#include "commands/TextLimit.h"
#include "layout/PageLayout.h"
#include "model/CodePage.h"
#include "model/Job.h"
#include "printer/Clock.h"
#include "printer/DataFrame.h"
#include "printer/PrintEstimate.h"
#include "printer/PrintResume.h"
#include "printer/SerialConfig.h"
#include "printer/SerialLine.h"

#include <array>

namespace vt {

namespace {

const char *const kAutoSegment = QT_TRANSLATE_NOOP(
    "vt::PrintJob",
    "Currently printing to %1 segment. When the printing is finished, \rit will continue to print automatically");
const char *const kManualSegment = QT_TRANSLATE_NOOP(
    "vt::PrintJob",
    "Currently printing to %1 segment. When the printing is finished,\rplease select \"Continue\" again");
const char *const kManualNextSegment = QT_TRANSLATE_NOOP(
    "vt::PrintJob",
    "Currently printing to %1 segment. When the printing is finished, \rplease select \"Continue\" again");
const char *const kAllSent = QT_TRANSLATE_NOOP(
    "vt::PrintJob", "All print contents have been transmitted, please wait for the print to finish");
const char *const kNotConnected = QT_TRANSLATE_NOOP(
    "vt::PrintJob", "Printer is not connect to the PC. Please Checked,then Print Again!");
const char *const kNextData = QT_TRANSLATE_NOOP("vt::PrintJob", "Transmitting next print data");

constexpr int kFirstSegmentMs = 12102;
constexpr int kNextSegmentMs = 11102;
constexpr int kPollMs = 1000;
// The printer's notice is read into an 11-byte buffer that stays NUL-terminated.
constexpr int kNoticeBuffer = 11;
// What the printer says in the last wait is read a notice's buffer at a
// time, this many times at most; the rest is discarded.
constexpr int kFinalReads = 8;

} // namespace

const char PrintJob::kNoPrinter[] = QT_TRANSLATE_NOOP(
    "vt::PrintJob",
    "Unsuccessfully to open the serial port,\rmake sure that the printer has the correct connect to the PC!");

PrintJob::PrintJob(Job &job, SerialLine &line, Operator &op, ProgressView &progress, QObject *parent)
    : QObject(parent), job_(job), line_(line), op_(op), progress_(progress)
{
    // A printer unplugged between segments ends the job now, not at the
    // next tick, which may be twelve seconds away.
    connect(&line.library(), &SerialLibrary::lost, this, [this] {
        if (printing_ && printTimerActive)
            armPump(0);
    });
    // Nor does a "Cancel" wait for the tick.
    progress_.setCancelListener([this] {
        if (printing_ && printTimerActive)
            printPump();
    });
}

Clock &PrintJob::clock() const
{
    return line_.clock();
}

QString PrintJob::appTitle() const
{
    return op_.windowTitle();
}

void PrintJob::tell(const Message &message)
{
    // Every message here ends the job or the search: the progress window
    // goes first, so the message stands alone.
    progress_.hide();
    if (!aborted_)
        op_.showMessage(message);
}

void PrintJob::setStep(const QString &text)
{
    progress_.setText(QString());
    progress_.show();
    progress_.setText(text);
}

void PrintJob::armPump(int ms)
{
    printTimerActive = true;
    clock().arm(ms, [this] { printPump(); });
}

void PrintJob::endJob(bool allSent)
{
    if (printing_)
        noteEnd(allSent);
    clock().disarm();
    printTimerActive = false;
    pagesConsumed = 0;
    progress_.setManualWait(false);
    progress_.setAutoWait(false);
    progress_.hide();
    if (!printing_)
        return;
    printing_ = false;
    emit printingChanged(false);
    emit finished(allSent);
}

bool PrintJob::printerLost()
{
    if (!line_.connectionLost())
        return false;
    progress_.setManualWait(false);
    progress_.setAutoWait(false);
    progress_.hide();
    tell({tr("The connection to the printer was lost (%1).\rThe print job has been stopped.")
              .arg(line_.library().lastDevice()),
          appTitle(), MessageIcon::Warning});
    line_.close();
    endJob(false);
    return true;
}

void PrintJob::showSent()
{
    int sent = 0;
    int index = 0;
    for (const PageRecord *page = pages_.head(); page && index < pagesConsumed; page = pages_.next(page), ++index)
        sent += isPrintable(*page) ? 1 : 0;
    progress_.setProgress(sent, pagesToSend_);
}

int PrintJob::sendSegment(int skip)
{
    const int visited = line_.sendPages(pages_, pages_.head(), skip, settings_, sentDensity, extendedFrame);
    if (visited > 0) {
        pagesConsumed = visited;
        showSent();
        ++framesSent_;
        const qint64 left = printTimeLeftMs(plan_, framesSent_, autoContinue);
        progress_.setTimeLeft(left);
        emit timeLeft(left);
    }
    return visited;
}

void PrintJob::takeSnapshot()
{
    pages_.clear();
    settings_ = job_.settings;
    for (const PageRecord *page = job_.pageHead(); page; page = job_.chain.next(page))
        *pages_.insertPageAfter(pages_.last(), settings_) = *page;
    // The printer's form is built on the copy: printing changes nothing of
    // the job, so it is no step to undo and no change to save.
    buildPrintRecords(job_.model, pages_, settings_, job_.currentIndex, true);
    firstPrintable_ = firstPrintablePage(pages_, 0);
    // A resumed job is the job with the pages before its start unchecked.
    int index = 0;
    for (PageRecord *page = pages_.head(); page && index < from_; page = pages_.next(page), ++index)
        page->selected = 0;
    snapshotTaken_ = true;
    segmentStart_ = 0;
    pagesToSend_ = 0;
    for (const PageRecord *page = pages_.head(); page; page = pages_.next(page))
        pagesToSend_ += isPrintable(*page) ? 1 : 0;
    plan_ = planFrames(pages_, settings_, sentDensity, extendedFrame);
    framesSent_ = 0;
}

void PrintJob::offerWait(bool on)
{
    if (autoContinue)
        progress_.setAutoWait(on);
    else
        progress_.setManualWait(on);
}

bool PrintJob::cancelled() const
{
    return progress_.waitState() == ProgressView::CancelPressed;
}

void PrintJob::endCancelled(bool modeDSent)
{
    // Not a byte more of the job; a mode D that went out without its frame
    // is taken back.
    if (modeDSent && line_.isOpen())
        line_.sendMode('H');
    line_.close();
    endJob(false);
}

void PrintJob::allTransmitted()
{
    offerWait(false);
    progress_.setText(tr(kAllSent));
    // Until the printer has the last byte of the frame, not only the 5 s.
    const int lastFrame = plan_.empty() ? 0 : plan_[std::min<std::size_t>(std::max(framesSent_, 1), plan_.size()) - 1];
    clock().wait(finishWaitMs(lastFrame));
    // Closing the window in the wait has ended the job already.
    if (aborted_ || !printing_ || printerLost())
        return;
    // The last segment's notice comes in this wait (firmware that continues
    // by itself): whatever the printer said until the port closes is read,
    // and a fault there is the job's, as after any other segment. Each read
    // takes a notice's buffer; a notice split between reads is still seen.
    QByteArray heard;
    for (int reads = 0; reads < kFinalReads && line_.inputCount() > 0; ++reads) {
        std::array<char, kNoticeBuffer> buffer{};
        const int got = line_.read(buffer.data(), std::min(line_.inputCount(), kNoticeBuffer - 1));
        if (got <= 0)
            break;
        heard += QByteArrayView(buffer.data(), qstrnlen(buffer.data(), got));
    }
    if (toWide(heard).contains(QStringLiteral("Ribbon"))) {
        ribbonFault();
        return;
    }
    line_.flushInput();
    progress_.hide();
    line_.close();
    endJob(true);
}

void PrintJob::ribbonFault()
{
    tell({tr("Ribbon is unavailing, Please replace a good one and try again"), appTitle()});
    line_.flushInput();
    line_.close();
    endJob(false);
}

void PrintJob::abort()
{
    if (!printing_ && !searching_)
        return;
    aborted_ = true;
    clock().interrupt();
    line_.close();
    progress_.hide();
    endJob(false);
}

void PrintJob::printCommand()
{
    if (printing_ || searching_)
        return;
    printing_ = true;
    aborted_ = false;
    clock().resume();
    emit printingChanged(true);
    // Whatever the last job ended with, this one starts from no wait.
    progress_.clearWaitState();
    progress_.setProgress(0, 0);
    progress_.setTimeLeft(-1);
    pagesConsumed = 0;
    fingerprint_.clear();
    snapshotTaken_ = false;

    // A text refused for its length may still stand in its cell: as before a
    // save, the operator hears of it before any of it is cut and sent.
    op_.focusPageTable();
    if (!mayCutOverlongPages(job_, op_, TextUse::Print)) {
        endJob(false);
        return;
    }
    chooseStart();
    if (!portFound && !findPrinterPort()) {
        progress_.hide();
        endJob(false);
        return;
    }
    // Every wait below lets the window run: closing it may end the job there.
    if (aborted_)
        return;
    if (!line_.open(portNumber, baudCode, modeCode)) {
        // Closing the window while the last job's end was leaving.
        if (aborted_)
            return;
        progress_.hide();
        const SerialLibrary &lib = line_.library();
        if (lib.lastFailure() == OpenFailure::Permission)
            tell({permissionText(lib.lastDevice()), promptCaption(), MessageIcon::Exclamation});
        else
            op_.prompt(tr("Open the serial port error!"));
        endJob(false);
        return;
    }
    const QString version = line_.queryVersion();
    if (aborted_ || printerLost())
        return;
    if (version.isEmpty()) {
        tell({tr(kNotConnected), appTitle(), MessageIcon::Warning});
        endJob(false);
        return;
    }
    const QString title = op_.windowTitle();
    if (!title.contains(QStringLiteral("FV1.000")))
        op_.setWindowTitle(title + version.right(12).left(10));
    const Firmware firmware = classifyFirmware(version);
    if (!firmware.known) {
        tell({tr(kNotConnected), appTitle(), MessageIcon::Question});
        endJob(false);
        return;
    }
    autoContinue = firmware.autoContinue;
    extendedFrame = firmware.extendedFrame;
    sentDensity = densityToSend(job_.settings.density, extendedFrame);

    setStep(tr("Print data is being processed..."));
    op_.focusPageTable();
    takeSnapshot();
    progress_.setProgress(0, pagesToSend_);
    setStep(tr("Reading the printer status..."));

    if (!line_.queryReady()) {
        if (aborted_ || printerLost())
            return;
        progress_.hide();
        tell(Message{tr("PC is busy now!")});
        endJob(false);
        return;
    }
    setStep(tr("Transmitting print data..."));
    line_.sendMode('D');
    const int visited = sendSegment(0);
    if (aborted_ || printerLost())
        return;
    if (visited == 0) {
        progress_.hide();
        tell(Message{tr("No Print Contents!")});
        line_.sendMode('H');
        line_.close();
        endJob(false);
        return;
    }
    if (pagesConsumed < pages_.size()) {
        progress_.setText(tr(autoContinue ? kAutoSegment : kManualSegment).arg(pagesConsumed - 1));
        // "Cancel" is offered from now until the next frame goes.
        offerWait(true);
        armPump(kFirstSegmentMs);
        return;
    }
    allTransmitted();
}

void PrintJob::printPump()
{
    clock().disarm();
    printTimerActive = false;
    if (!printing_ || printerLost())
        return;
    if (cancelled()) {
        endCancelled(false);
        return;
    }
    // Already on since the last frame went; on again after a poll.
    offerWait(true);

    // Each wait below lets the operator press "Cancel": the job ends there.
    bool modeD = false;
    const auto stop = [&] {
        if (aborted_ || !printing_)
            return true;
        if (printerLost())
            return true;
        if (!cancelled())
            return false;
        endCancelled(modeD);
        return true;
    };

    switch (progress_.waitState()) {
    case ProgressView::ContinuePressed:
        if (!line_.queryReady()) {
            if (!stop())
                armPump(kPollMs);
            return;
        }
        // Ready after "Continue": the printer has finished the last segment.
        segmentStart_ = pagesConsumed - 1;
        if (stop())
            return;
        progress_.setText(tr(kNextData));
        modeD = line_.sendMode('D');
        if (stop())
            return;
        clock().wait(1000);
        if (stop())
            return;
        break;
    case ProgressView::WaitingForPrinter: {
        if (line_.inputCount() < 6) {
            if (!printerLost())
                armPump(kPollMs);
            return;
        }
        clock().wait(200);
        if (stop())
            return;
        std::array<char, kNoticeBuffer> buffer{};
        const int got = line_.read(buffer.data(), std::min(line_.inputCount(), kNoticeBuffer - 1));
        const QString notice = toWide(QByteArrayView(buffer.data(), qstrnlen(buffer.data(), std::max(got, 0))));
        if (notice.contains(QStringLiteral("Ribbon"))) {
            ribbonFault();
            return;
        }
        segmentStart_ = pagesConsumed - 1;
        progress_.setText(tr(kNextData));
        modeD = line_.sendMode('D');
        if (stop())
            return;
        clock().wait(1000);
        if (stop())
            return;
        line_.flushInput();
        break;
    }
    default:
        armPump(kPollMs);
        return;
    }

    // A frame ends only where a page to print follows, so an empty one here
    // means the line would not take it.
    if (sendSegment(pagesConsumed - 1) == 0) {
        if (printerLost())
            return;
        line_.close();
        tell({tr("The print data could not be sent to the printer (%1).\rThe print job has been stopped.")
                  .arg(line_.library().lastDevice()),
              appTitle(), MessageIcon::Warning});
        endJob(false);
        return;
    }
    // The frame is out whole; a "Cancel" during its last wait ends the job here.
    modeD = false;
    if (stop())
        return;
    if (pagesConsumed < pages_.size()) {
        progress_.setText(tr(autoContinue ? kAutoSegment : kManualNextSegment).arg(pagesConsumed - 1));
        // A fresh wait for the next segment: "Continue" must be pressed again.
        offerWait(false);
        offerWait(true);
        armPump(autoContinue ? kNextSegmentMs : kFirstSegmentMs);
        return;
    }
    allTransmitted();
}

} // namespace vt

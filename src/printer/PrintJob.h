#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <vector>

namespace vt {

class Clock;
class Job;
class Operator;
class ProgressView;
class SerialLine;
struct Message;

// The Print command and its segment pump: finds the printer's port, checks
// the firmware and the printer's status, and sends the job frame by frame,
// the next frame when the printer says it has finished the last one (or the
// operator presses "Continue"). Talks to the person only through the
// Operator and the progress view; every wait goes through the clock.
class PrintJob : public QObject {
    Q_OBJECT
public:
    PrintJob(Job &job, SerialLine &line, Operator &op, ProgressView &progress, QObject *parent = nullptr);

    // Searches the printer's port (configured port first, then 1..99);
    // returns portFound.
    bool findPrinterPort();
    // Starts a job; the rest runs from the clock's armings through printPump.
    void printCommand();
    void printPump();

    // From the start of printCommand until the job ends.
    bool printing() const { return printing_; }
    // While the port search runs, on its own or for a job.
    bool searching() const { return searching_; }
    // Ends the job (or the search) at once without another word to the
    // operator (the window is closing).
    void abort();

    int portNumber = 0;
    int baudCode = 12;
    int modeCode = 3;
    bool portFound = false;
    int pagesConsumed = 0;
    bool autoContinue = false;
    bool extendedFrame = false;
    bool printTimerActive = false;
    // The density byte of the job in progress.
    std::uint8_t sentDensity = 0;
    // Pages before this index (0-based) are left out of every job, as if
    // unchecked (vt350-cli print --from-page). 0: the whole job, and Print
    // offers to resume a job that stopped.
    int startPage = 0;
    // Where the last job stopped: the first page (0-based) of the segment the
    // printer had not reported finished; -1 after a job that ended whole or
    // stopped before any of it was printed. Kept as well in the state folder
    // (PrintStopFile), so that the next Print of the same job offers it, in
    // this program or after a restart.
    int stoppedPage() const { return stoppedAt_; }
    // The folder of the kept resume points; empty: stateDirectory().
    QString stateFolder;
    // What Print does with a kept resume point of the job: asks (the window;
    // No gives the point up), takes it without a question (vt350-cli print
    // --resume), or prints every page and keeps the point until the job
    // ends whole (vt350-cli print without --resume: nobody said No).
    enum class ResumeChoice { Ask, Resume, Whole };
    ResumeChoice resumeChoice = ResumeChoice::Ask;

    static const char kNoPrinter[];

signals:
    void tryingPort(int port, const QString &device);
    // Print found a resume point of this job: the page (0-based) it would go on from.
    void resumePointFound(int page);
    // The time the job still takes, after each frame.
    void timeLeft(qint64 ms);
    void printingChanged(bool printing);
    // The job is over; `allSent` when every page went out.
    void finished(bool allSent);

private:
    void tell(const Message &message);
    void setStep(const QString &text);
    void armPump(int ms);
    void endJob(bool allSent);
    // Ends the job with a message when the printer went away; true then.
    bool printerLost();
    int sendSegment(int skip);
    void allTransmitted();
    // The printer's notice says the ribbon is unusable: ends the job with its message.
    void ribbonFault();
    void offerWait(bool on);
    bool cancelled() const;
    void endCancelled(bool modeDSent);
    void showSent();
    void takeSnapshot();
    // Resuming a job that stopped (PrintJobResume.cpp).
    void chooseStart();
    void noteEnd(bool allSent);

    QString appTitle() const;
    Clock &clock() const;

    Job &job_;
    SerialLine &line_;
    Operator &op_;
    ProgressView &progress_;
    bool printing_ = false;
    bool aborted_ = false;
    bool searching_ = false;
    int pagesToSend_ = 0;
    // The pages and settings as they were when Print was pressed: edits made
    // while the job runs do not reach its later segments.
    PageChain pages_;
    JobSettings settings_;
    // The bytes of each frame the job goes out in, and how many are out.
    std::vector<int> plan_;
    int framesSent_ = 0;
    // The first page of this job that is sent, the page the segment not yet
    // reported finished starts with, and where and in which job the last stop was.
    int from_ = 0;
    bool snapshotTaken_ = false;
    int firstPrintable_ = -1;
    int segmentStart_ = 0;
    QByteArray fingerprint_;
    int stoppedAt_ = -1;
    QByteArray stoppedFingerprint_;
    // The last stop could not be written to the state folder: only this object knows it.
    bool stopOnlyInMemory_ = false;
};

} // namespace vt

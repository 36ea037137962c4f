// Resuming a print that stopped: where it stopped, and the question at the
// next Print of the same job. The resume point is kept in the state folder
// too, so that it outlives the program.
#include "commands/Operator.h"
#include "files/PrintStopFile.h"
#include "model/Job.h"
#include "printer/PrintJob.h"
#include "printer/PrintResume.h"

namespace vt {

namespace {

PrintStopFile stopFile(const QString &folder)
{
    return folder.isEmpty() ? PrintStopFile() : PrintStopFile(folder);
}

} // namespace

void PrintJob::chooseStart()
{
    fingerprint_ = printFingerprint(job_);
    from_ = std::max(startPage, 0);
    if (from_ > 0)
        return;
    // Only a job that is still the same: an edit may have moved every page.
    int stop = -1;
    if (const auto kept = stopFile(stateFolder).find(fingerprint_, job_.pageCount()))
        stop = kept->page;
    else if (stopOnlyInMemory_ && stoppedAt_ > 0 && stoppedAt_ < job_.pageCount()
             && fingerprint_ == stoppedFingerprint_)
        stop = stoppedAt_;
    if (stop < 0)
        return;
    emit resumePointFound(stop);
    if (resumeChoice != ResumeChoice::Ask) {
        from_ = resumeChoice == ResumeChoice::Resume ? stop : 0;
        return;
    }
    Message question{resumeQuestion(stop + 1, job_.pageCount()), promptCaption(), MessageIcon::Question,
                     MessageButtons::YesNo};
    if (op_.showMessage(question) == Answer::Yes) {
        from_ = stop;
        return;
    }
    // Declined: the job starts over and its resume point is gone.
    stopFile(stateFolder).forget(fingerprint_);
    if (fingerprint_ == stoppedFingerprint_)
        stoppedAt_ = -1;
    stopOnlyInMemory_ = false;
}

void PrintJob::noteEnd(bool allSent)
{
    // Ended before it was a job (a text too long): the last stop still stands.
    if (fingerprint_.isEmpty())
        return;
    stoppedFingerprint_ = fingerprint_;
    if (allSent) {
        stoppedAt_ = -1;
    } else if (!snapshotTaken_) {
        // Nothing of this job went out: it stays where it would have begun.
        stoppedAt_ = from_ > 0 ? from_ : -1;
    } else {
        const int at = firstPrintablePage(pages_, segmentStart_);
        stoppedAt_ = at > firstPrintable_ ? at : -1;
    }
    PrintStopFile file = stopFile(stateFolder);
    if (allSent) {
        file.forget(fingerprint_);
        stopOnlyInMemory_ = false;
        return;
    }
    // Stopped before anything of it printed: an earlier point still stands
    // (a declined one is gone already).
    if (stoppedAt_ < 0)
        return;
    stopOnlyInMemory_ = !file.keep({fingerprint_, stoppedAt_, job_.pageCount()});
}

} // namespace vt

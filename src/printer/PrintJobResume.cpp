// Resuming a print that stopped: where it stopped, and the question at the
// next Print of the same job.
#include "commands/Operator.h"
#include "model/Job.h"
#include "printer/PrintJob.h"
#include "printer/PrintResume.h"

namespace vt {

void PrintJob::chooseStart()
{
    fingerprint_ = printFingerprint(job_);
    from_ = std::max(startPage, 0);
    if (from_ > 0 || stoppedAt_ < 0 || fingerprint_ != stoppedFingerprint_)
        return;
    // Only a job that is still the same: an edit may have moved every page.
    Message question{resumeQuestion(stoppedAt_ + 1, job_.pageCount()), QStringLiteral("Prompt"),
                     MessageIcon::Question, MessageButtons::YesNo};
    if (op_.showMessage(question) == Answer::Yes)
        from_ = stoppedAt_;
}

void PrintJob::noteEnd(bool allSent)
{
    // Ended before it was a job (a text too long): the last stop still stands.
    if (fingerprint_.isEmpty())
        return;
    stoppedFingerprint_ = fingerprint_;
    if (allSent) {
        stoppedAt_ = -1;
        return;
    }
    // Nothing of this job went out: it stays where it would have begun.
    if (!snapshotTaken_) {
        stoppedAt_ = from_ > 0 ? from_ : -1;
        return;
    }
    const int at = firstPrintablePage(pages_, segmentStart_);
    stoppedAt_ = at > firstPrintable_ ? at : -1;
}

} // namespace vt

#pragma once

#include "files/RecoveryStore.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace vt {

// Where a print stopped: the job's fingerprint (what the printer was given),
// the page (0-based) the unfinished segment began with, and the job's page
// count.
struct PrintStop {
    QByteArray fingerprint;
    int page = -1;
    int pageCount = 0;
};

// The resume points of print jobs that stopped, kept in the state folder so
// that a restart of the program (or of the PC) still offers to continue.
// One small file per job, `print-stop-<fingerprint>.json`, written
// atomically. A file that cannot be read, is not one of ours, names another
// job or a page the job does not have is ignored, never trusted.
class PrintStopFile {
public:
    explicit PrintStopFile(QString directory = stateDirectory());

    // The stop kept for the job with this fingerprint and page count.
    std::optional<PrintStop> find(const QByteArray &fingerprint, int pageCount) const;
    // Keeps `stop` (replacing the job's earlier one); false when it could not be written.
    bool keep(const PrintStop &stop);
    // The job finished, or its resume was declined: its file goes.
    void forget(const QByteArray &fingerprint);

    QString pathFor(const QByteArray &fingerprint) const;

    // At most this many jobs' stops are kept; the oldest go first.
    static constexpr int kMaxKept = 16;

private:
    QString directory_;
};

} // namespace vt

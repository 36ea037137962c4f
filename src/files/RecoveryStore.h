#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "files/RunLock.h"

#include <memory>
#include <vector>

namespace vt {

// The folder of recovery files: VT350_STATE_DIR when it is set, else the
// program's local data folder. Created when missing.
QString stateDirectory();

// A recovery file left behind by a program that has ended without saving:
// an ordinary document, the document it came from (empty: untitled) and
// when it was written.
// The text of a page table cell as the operator saw it: the document keeps
// at most 100 bytes a page, a cell may hold more (refused, still being typed).
struct RecoveryCell {
    int row = 0;
    int column = 0;
    QString text;
    bool operator==(const RecoveryCell &) const = default;
};

struct RecoveryFile {
    QString dataPath;
    QString documentPath;
    QDateTime writtenAt;
    std::vector<RecoveryCell> cells;
};

// The unsaved pages of one window, kept as `<id>.vtd` with a side file
// `<id>.info` in the state folder, guarded by a lock on `<id>.lock` that the
// system gives up when the program ends. The id is new for every window of
// every run, so no other window or program, before or after, has the same
// files, whatever its process id. Files are replaced atomically: a crash in
// the middle of a write leaves the previous recovery file.
class RecoveryStore {
public:
    explicit RecoveryStore(QString directory = stateDirectory());
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Writes the document bytes, then the side file; false when either
    // could not be written (the earlier pair then stays; errorString() says why).
    bool write(const QByteArray &document, const QString &documentPath, const QDateTime &writtenAt,
               const std::vector<RecoveryCell> &cells = {});
    // The pages were saved or given up: the files and the lock go.
    void discard();
    // Takes the lock without writing, as soon as there is something to keep.
    bool lock();
    // Why the last lock or write failed.
    QString errorString() const { return error_; }
    bool holdsFiles() const;
    QString dataPath() const;

    // Recovery files whose program is no longer running, newest first. Each
    // one's lock is taken over, so that a second program starting at the
    // same time does not offer it too; release() or remove() gives it up.
    std::vector<RecoveryFile> claimLeftovers();
    // Deletes a claimed file (No, or it has been restored and kept again).
    void remove(const RecoveryFile &file);
    // Gives up the claim of a file that was not dealt with; it is offered again next time.
    void release(const RecoveryFile &file);

private:
    QString pathOf(const QString &id, const char *suffix) const;

    QString directory_;
    QString id_;
    QString error_;
    RunLock lock_;
    std::vector<std::pair<QString, std::unique_ptr<RunLock>>> claimed_;
};

} // namespace vt

#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <memory>
#include <vector>

class QLockFile;

namespace vt {

// The folder of recovery files: VT350_STATE_DIR when it is set, else the
// program's local data folder. Created when missing.
QString stateDirectory();

// A recovery file left behind by a program that has ended without saving:
// an ordinary document, the document it came from (empty: untitled) and
// when it was written.
struct RecoveryFile {
    QString dataPath;
    QString documentPath;
    QDateTime writtenAt;
};

// The unsaved pages of one window, kept as `<id>.vtd` with a side file
// `<id>.info` in the state folder, guarded by `<id>.lock` holding the
// process id. Each window has its own id, so two windows (or two programs)
// never write over each other. Files are replaced atomically: a crash in
// the middle of a write leaves the previous recovery file.
class RecoveryStore {
public:
    explicit RecoveryStore(QString directory = stateDirectory());
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // Writes the document bytes, then the side file; false when either
    // could not be written (the earlier pair then stays).
    bool write(const QByteArray &document, const QString &documentPath, const QDateTime &writtenAt);
    // The pages were saved or given up: the files and the lock go.
    void discard();
    // Takes the lock without writing, as soon as there is something to keep.
    bool lock();
    bool holdsFiles() const;
    QString dataPath() const;

    // Recovery files whose program is no longer running, newest first. Each
    // one's lock is taken over, so that a second program starting at the
    // same time does not offer it too; release() or remove() gives it up.
    std::vector<RecoveryFile> claimLeftovers();
    // Deletes a claimed file (No, or it has been restored).
    void remove(const RecoveryFile &file);
    // Gives up the claim of a file that was not dealt with; it is offered again next time.
    void release(const RecoveryFile &file);

private:
    QString pathOf(const QString &id, const char *suffix) const;

    QString directory_;
    QString id_;
    std::unique_ptr<QLockFile> lock_;
    std::vector<std::pair<QString, std::unique_ptr<QLockFile>>> claimed_;
};

} // namespace vt

#pragma once

#include "files/RecoveryStore.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <optional>

namespace vt {

class Job;

// Keeps a window's unsaved pages in its recovery file: written at most the
// autosave delay (5 s, VT350_AUTOSAVE_MS) after the first change not yet
// written, on a thread of its own so that typing never waits for the disk,
// and removed once the job is saved or given up.
class RecoveryKeeper : public QObject {
    Q_OBJECT
public:
    explicit RecoveryKeeper(Job &job, QObject *parent = nullptr);
    ~RecoveryKeeper() override;

    static int autosaveDelayMs();

    // After every settled change: `job.modified` decides keep or remove.
    void jobChanged();
    // The document the pages belong to (empty: untitled).
    void setDocumentPath(const QString &path) { documentPath_ = path; }
    QString documentPath() const { return documentPath_; }
    // The cell being typed, if any: kept as typed, though not yet committed.
    void setOpenEdit(std::function<std::optional<RecoveryCell>()> openEdit) { openEdit_ = std::move(openEdit); }
    // Writes the unsaved pages now and waits until they are on disk (a
    // signal to end the program); true when they are there (or there is
    // nothing unsaved), false when the write failed.
    bool writeNow();
    // The pages are given up (closed without saving): the file goes.
    void discard();
    RecoveryStore &store() { return store_; }

signals:
    // A recovery file has been written (the path of its pages).
    void written(const QString &dataPath);
    // The pages cannot be kept (the lock or a write failed): said once a
    // run, so that nobody counts on a recovery that is not there.
    void failed(const QString &reason);

private:
    QByteArray documentBytes() const;
    std::vector<RecoveryCell> cells() const;
    void writeLater();
    // On the disk thread: reports a failure to the window's thread.
    void reportFailure();

    Job &job_;
    RecoveryStore store_;
    QThreadPool disk_;
    QTimer timer_;
    QString documentPath_;
    std::function<std::optional<RecoveryCell>()> openEdit_;
    bool keeping_ = false;
    bool failureReported_ = false;
};

} // namespace vt

#pragma once

#include "files/RecoveryStore.h"

#include <QObject>
#include <QThreadPool>
#include <QTimer>

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
    // Writes the unsaved pages now and waits until they are on disk (a
    // signal to end the program); nothing when there is nothing unsaved.
    void writeNow();
    // The pages are given up (closed without saving): the file goes.
    void discard();
    RecoveryStore &store() { return store_; }

signals:
    // A recovery file has been written (the path of its pages).
    void written(const QString &dataPath);

private:
    QByteArray documentBytes() const;
    void writeLater();

    Job &job_;
    RecoveryStore store_;
    QThreadPool disk_;
    QTimer timer_;
    QString documentPath_;
    bool keeping_ = false;
};

} // namespace vt

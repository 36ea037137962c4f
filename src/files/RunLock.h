#pragma once

#include <QString>

namespace vt {

// An exclusive lock on a file that the operating system itself gives up when
// the process holding it ends, however it ends (a kill, a crash, a power
// cut). Unlike a lock file that names a process id, it is never mistaken for
// the lock of a new process that happens to get the same id (a restarted
// container, where the program is process 1 again, or Windows, which hands
// out ids again quickly). Two locks in one process exclude each other too.
class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // Creates the file when missing and takes the lock without waiting;
    // false when another holder has it or the file cannot be made.
    bool tryLock(const QString &path);
    bool isLocked() const;
    // Gives the lock up; the file stays.
    void unlock();
    // Removes the file, then gives the lock up.
    void unlockAndRemove();
    // Why the last tryLock failed, for a message.
    QString errorString() const { return error_; }

private:
    QString path_;
    QString error_;
#ifdef _WIN32
    void *handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

} // namespace vt

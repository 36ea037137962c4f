#include "files/RunLock.h"

#include <QCoreApplication>
#include <QFile>

#ifdef _WIN32
#include "files/WindowsError.h"

#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vt {

RunLock::~RunLock() { unlock(); }

#ifdef _WIN32


bool RunLock::tryLock(const QString &path)
{
    unlock();
    // Shared for reading, writing and deleting, so that the lock, not the
    // open handle, is what excludes another holder.
    HANDLE h = CreateFileW(reinterpret_cast<const wchar_t *>(path.utf16()), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error_ = windowsErrorText(GetLastError());
        return false;
    }
    OVERLAPPED whole = {};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
        error_ = windowsErrorText(GetLastError());
        CloseHandle(h);
        return false;
    }
    handle_ = h;
    path_ = path;
    error_.clear();
    return true;
}

bool RunLock::isLocked() const { return handle_ != nullptr; }

void RunLock::unlock()
{
    if (!handle_)
        return;
    CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
}

void RunLock::unlockAndRemove()
{
    if (!handle_)
        return;
    // Deleted now, gone once the handle closes.
    DeleteFileW(reinterpret_cast<const wchar_t *>(path_.utf16()));
    unlock();
}

#else

bool RunLock::tryLock(const QString &path)
{
    unlock();
    const QByteArray name = QFile::encodeName(path);
    // A holder removes the file before it unlocks, so the file locked here
    // may have been removed meanwhile: then try the new one once more.
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            error_ = QString::fromLocal8Bit(std::strerror(errno));
            return false;
        }
        // flock, not fcntl: fcntl's locks belong to the process and would not
        // keep two windows of one program apart.
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            error_ = errno == EWOULDBLOCK ? QCoreApplication::translate("vt::RunLock", "held by a running program")
                                          : QString::fromLocal8Bit(std::strerror(errno));
            ::close(fd);
            return false;
        }
        struct stat locked = {}, named = {};
        if (::fstat(fd, &locked) == 0 && ::stat(name.constData(), &named) == 0 && locked.st_dev == named.st_dev
            && locked.st_ino == named.st_ino) {
            fd_ = fd;
            path_ = path;
            error_.clear();
            return true;
        }
        ::close(fd);
    }
    error_ = QCoreApplication::translate("vt::RunLock", "the lock file keeps changing");
    return false;
}

bool RunLock::isLocked() const { return fd_ >= 0; }

void RunLock::unlock()
{
    if (fd_ < 0)
        return;
    ::close(fd_);
    fd_ = -1;
}

void RunLock::unlockAndRemove()
{
    if (fd_ < 0)
        return;
    ::unlink(QFile::encodeName(path_).constData());
    unlock();
}

#endif

} // namespace vt

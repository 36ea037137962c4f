#include "EnterReader.h"

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <mutex>
#include <thread>

#ifdef Q_OS_WIN
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vt::cli {

namespace {

std::atomic<int> running{0};

// One read of the descriptor; false at its end or on a failure.
bool readSome(int fd, char *buffer, int size, int &got)
{
#ifdef Q_OS_WIN
    DWORD n = 0;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(fd));
    const bool ok = handle != INVALID_HANDLE_VALUE && ReadFile(handle, buffer, DWORD(size), &n, nullptr) && n > 0;
    got = int(n);
    return ok;
#else
    ssize_t n = 0;
    do {
        n = ::read(fd, buffer, std::size_t(size));
    } while (n < 0 && errno == EINTR);
    got = n > 0 ? int(n) : 0;
    return n > 0;
#endif
}

} // namespace

struct EnterReader::Shared {
    std::mutex mutex;
    // Cleared when the reader goes: the thread hands nothing over after that.
    QObject *receiver = nullptr;
    std::function<void(int, bool)> onInput;
};

EnterReader::EnterReader(int fd, QObject *receiver, std::function<void(int presses, bool end)> onInput)
    : shared_(std::make_shared<Shared>())
{
    shared_->receiver = receiver;
    shared_->onInput = std::move(onInput);
    ++running;
    std::thread([shared = shared_, fd] {
        char buffer[256];
        for (;;) {
            int got = 0;
            const bool ok = readSome(fd, buffer, int(sizeof buffer), got);
            const int presses = int(std::count(buffer, buffer + got, '\n'));
            {
                const std::lock_guard<std::mutex> lock(shared->mutex);
                if (!shared->receiver)
                    break;
                // Dropped by Qt if the receiver is deleted before it runs; the
                // check inside covers a reader that went before the receiver.
                QMetaObject::invokeMethod(
                    shared->receiver,
                    [shared, presses, ok] {
                        std::function<void(int, bool)> onInput;
                        {
                            const std::lock_guard<std::mutex> lock(shared->mutex);
                            if (!shared->receiver)
                                return;
                            onInput = shared->onInput;
                        }
                        onInput(presses, !ok);
                    },
                    Qt::QueuedConnection);
            }
            if (!ok)
                break;
        }
        --running;
    }).detach();
}

EnterReader::~EnterReader()
{
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->receiver = nullptr;
}

int EnterReader::threadsRunning()
{
    return running;
}

} // namespace vt::cli

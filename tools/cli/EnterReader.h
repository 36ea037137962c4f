#pragma once

#include <QObject>

#include <functional>
#include <memory>

namespace vt::cli {

// Reads a file descriptor (standard input) on a thread of its own and hands
// the count of Enters in each piece read, and the end of the input, to
// `onInput` on the receiver's thread. Used where the input cannot be watched
// by the event loop (a console or a pipe on Windows).
//
// The thread may stay blocked in its read after this object is gone: a
// console read cannot be called off. From then on it hands nothing over, and
// it ends at its next read.
class EnterReader {
public:
    EnterReader(int fd, QObject *receiver, std::function<void(int presses, bool end)> onInput);
    ~EnterReader();
    EnterReader(const EnterReader &) = delete;
    EnterReader &operator=(const EnterReader &) = delete;

    // Reading threads not yet ended, of every reader made so far.
    static int threadsRunning();

private:
    struct Shared;
    std::shared_ptr<Shared> shared_;
};

} // namespace vt::cli

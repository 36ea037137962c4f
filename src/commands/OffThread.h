#pragma once

#include <QCoreApplication>

#include <chrono>
#include <future>

namespace vt {

// Runs `work` on a worker thread and returns its result; meanwhile the
// window keeps painting, and input waits until the work is done.
// Without a window (the command-line tool) there is nothing to keep
// answering, and the work runs on the calling thread.
template <typename Work>
auto runOffThread(Work work)
{
    if (!QCoreApplication::instance() || !QCoreApplication::instance()->inherits("QGuiApplication"))
        return work();
    auto task = std::async(std::launch::async, std::move(work));
    while (task.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return task.get();
}

} // namespace vt

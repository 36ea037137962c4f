#include "printer/Clock.h"

#include <QEventLoop>

namespace vt {

EventLoopClock::EventLoopClock(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, [this] {
        // The callback may arm again; take it out first.
        auto callback = std::move(onTimeout_);
        onTimeout_ = nullptr;
        if (callback)
            callback();
    });
}

void EventLoopClock::wait(int ms)
{
    if (interrupted_ || ms <= 0)
        return;
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    timer.setTimerType(Qt::PreciseTimer);
    connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject *outer = currentLoop_;
    currentLoop_ = &loop;
    timer.start(realMs(ms));
    loop.exec();
    currentLoop_ = outer;
}

void EventLoopClock::arm(int ms, std::function<void()> onTimeout)
{
    onTimeout_ = std::move(onTimeout);
    timer_.start(realMs(ms));
}

void EventLoopClock::disarm()
{
    timer_.stop();
    onTimeout_ = nullptr;
}

void EventLoopClock::interrupt()
{
    interrupted_ = true;
    disarm();
    if (auto *loop = qobject_cast<QEventLoop *>(currentLoop_))
        loop->quit();
}

} // namespace vt

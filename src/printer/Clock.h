#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

namespace vt {

// Every wait of the print exchange goes through here, so that the window
// keeps painting while the printer takes its time, and so that tests can
// run a whole job without waiting the printer's real seconds.
class Clock {
public:
    virtual ~Clock() = default;

    // Lets `ms` milliseconds pass; events (paints, clicks, serial bytes) are
    // handled meanwhile.
    virtual void wait(int ms) = 0;
    // Calls `onTimeout` once, `ms` from now. A new arming replaces the last.
    virtual void arm(int ms, std::function<void()> onTimeout) = 0;
    virtual void disarm() = 0;
    virtual bool armed() const = 0;
    // Ends the wait in progress, and makes every later wait return at once
    // until resume(): the job is being abandoned.
    virtual void interrupt() = 0;
    virtual void resume() = 0;
    virtual bool interrupted() const = 0;
};

// The clock of the running program: a nested event loop ended by a precise
// timer, never a sleep on the calling thread.
class EventLoopClock : public QObject, public Clock {
    Q_OBJECT
public:
    explicit EventLoopClock(QObject *parent = nullptr);

    void wait(int ms) override;
    void arm(int ms, std::function<void()> onTimeout) override;
    void disarm() override;
    bool armed() const override { return timer_.isActive(); }
    void interrupt() override;
    void resume() override { interrupted_ = false; }
    bool interrupted() const override { return interrupted_; }

protected:
    // The real milliseconds that stand for `ms` of the exchange.
    virtual int realMs(int ms) const { return ms; }

private:
    QTimer timer_;
    std::function<void()> onTimeout_;
    bool interrupted_ = false;
    QObject *currentLoop_ = nullptr;
};

} // namespace vt

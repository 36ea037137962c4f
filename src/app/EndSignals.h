#pragma once

#include <QObject>

class QSocketNotifier;

namespace vt {

// Turns SIGTERM and SIGHUP (log-out, shutdown) into a Qt signal delivered
// by the event loop: the handler itself only writes a byte to a pipe, as
// nothing else is safe inside it. One per process.
class EndSignals : public QObject {
    Q_OBJECT
public:
    explicit EndSignals(QObject *parent = nullptr);
    ~EndSignals() override;

signals:
    void ending(int signalNumber);

private:
    void readSignal();

    QSocketNotifier *notifier_ = nullptr;
};

} // namespace vt

#pragma once

#include <QObject>
#include <QTimer>

namespace vt {

// Tells when an operator action has run its course: after a key, click,
// wheel turn or drop, once the window is back at its own event loop with no
// dialog or message open. One action then is one step of the undo history,
// however many questions it asked on the way.
class ActionWatcher : public QObject {
    Q_OBJECT
public:
    explicit ActionWatcher(QObject *parent = nullptr);

signals:
    void settled();
    // An action inside a dialog, a message or a nested event loop (a printer
    // search, a print): its changes are not settled yet, but may be worth
    // keeping already.
    void actedWhileBusy();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void check();

    QTimer timer_;
    bool eventSeen_ = false;
};

} // namespace vt

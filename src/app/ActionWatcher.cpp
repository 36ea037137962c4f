#include "app/ActionWatcher.h"

#include <QApplication>
#include <QEvent>
#include <QThread>

#include <utility>

namespace vt {

ActionWatcher::ActionWatcher(QObject *parent) : QObject(parent)
{
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, &ActionWatcher::check);
    qApp->installEventFilter(this);
}

bool ActionWatcher::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::Drop:
    case QEvent::Shortcut:
        eventSeen_ = true;
        if (!timer_.isActive()) {
            timer_.setInterval(0);
            timer_.start();
        }
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

void ActionWatcher::check()
{
    // Still inside a dialog, a message box or a menu: the action goes on.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget() || QThread::currentThread()->loopLevel() > 1) {
        if (std::exchange(eventSeen_, false))
            emit actedWhileBusy();
        timer_.setInterval(20);
        timer_.start();
        return;
    }
    eventSeen_ = false;
    emit settled();
}

} // namespace vt

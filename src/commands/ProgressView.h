#pragma once

#include <QCoreApplication>
#include <QString>

#include <functional>

namespace vt {

// The progress window as the job logic sees it: a message, and between
// print segments a wait for the operator ("Continue"/"Cancel") or for the
// printer ("Cancel" only). ProgressWindow is the window; tests use a fake.
// "about 45 s left", "about 2 min 5 s left".
inline QString timeLeftText(qint64 ms)
{
    const qint64 seconds = (ms + 999) / 1000;
    if (seconds < 60)
        return QCoreApplication::translate("vt::ProgressView", "about %1 s left").arg(seconds);
    return QCoreApplication::translate("vt::ProgressView", "about %1 min %2 s left")
        .arg(seconds / 60)
        .arg(seconds % 60);
}

class ProgressView {
public:
    enum WaitState { WaitingForOperator = 0, ContinuePressed = 1, CancelPressed = 2, WaitingForPrinter = 3 };

    virtual ~ProgressView() = default;

    virtual void setText(const QString &text) = 0;
    virtual void setManualWait(bool on) = 0;
    virtual void setAutoWait(bool on) = 0;
    virtual int waitState() const = 0;
    // A new print job starts from here: no wait, no buttons, waitState 0,
    // whatever the last job ended with.
    virtual void clearWaitState() = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    // Pages of the print job that have gone to the printer, of all to send.
    virtual void setProgress(int pagesSent, int pagesToSend) { (void)pagesSent; (void)pagesToSend; }
    // The time the job still takes, from now; negative when unknown.
    virtual void setTimeLeft(qint64 ms) { (void)ms; }

    // Called when "Cancel" is pressed, so that a job waiting on a timer
    // need not wait for its next tick to end.
    void setCancelListener(std::function<void()> listener) { cancelListener_ = std::move(listener); }

protected:
    void notifyCancel()
    {
        if (cancelListener_)
            cancelListener_();
    }

private:
    std::function<void()> cancelListener_;
};

} // namespace vt

#pragma once

#include <QString>

namespace vt {

// The progress window as the job logic sees it: a message, and between
// print segments a wait for the operator ("Continue"/"Cancel") or for the
// printer ("Cancel" only). ProgressWindow is the window; tests use a fake.
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
};

} // namespace vt

#pragma once

#include "commands/ProgressView.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vt {

// The small borderless window that says what a print job or an import is
// doing and, between print segments, offers "Continue" and "Cancel". It
// never calls back: it records the choice in waitState for the print timer.
class ProgressWindow : public QDialog, public ProgressView {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void setText(const QString &text) override;
    void setManualWait(bool on) override;
    void setAutoWait(bool on) override;
    int waitState() const override { return waitState_; }
    void clearWaitState() override;
    void show() override;
    void hide() override;
    // A bar of pages sent against pages to send; hidden while there are none.
    void setProgress(int pagesSent, int pagesToSend) override;
    // Counts down under the bar from the estimate, a second at a time.
    void setTimeLeft(qint64 ms) override;
    QProgressBar *progressBar() const { return bar_; }

    QString message() const { return message_; }
    bool manualWait() const { return manualWait_; }
    bool autoWait() const { return autoWait_; }

    QPushButton *continueButton() const { return continueButton_; }
    QPushButton *cancelButton() const { return cancelButton_; }

protected:
    void showEvent(QShowEvent *event) override;
    // Escape and closing the window: "Cancel" when it is offered, else nothing.
    void reject() override;

private:
    void onContinue();
    void onCancel();
    void showButtons(bool continueShown, bool cancelShown);
    void fitContents();

    QPushButton *continueButton_ = nullptr;
    QPushButton *cancelButton_ = nullptr;
    QLabel *text_ = nullptr;
    QProgressBar *bar_ = nullptr;
    QTimer countdown_;
    QElapsedTimer finish_;
    qint64 timeLeftMs_ = 0;
    void showTimeLeft();
    QString message_ = tr("Print data is being processed...");
    bool manualWait_ = false;
    bool autoWait_ = false;
    int waitState_ = WaitingForOperator;
};

} // namespace vt

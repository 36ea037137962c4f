#pragma once

#include "commands/ProgressView.h"

#include <QObject>

#include <cstdio>
#include <memory>

class QSocketNotifier;

namespace vt::cli {

class EnterReader;

// The progress window on a terminal: each message on its own line of
// stderr, pages sent as "pages sent: N of M". "Continue" is the Enter key,
// or given in advance with `autoContinue`; Ctrl+C stops the program.
class TerminalProgress : public QObject, public ProgressView {
    Q_OBJECT
public:
    explicit TerminalProgress(bool autoContinue, std::FILE *out = stderr);
    ~TerminalProgress() override;

    void setText(const QString &text) override;
    void setManualWait(bool on) override;
    void setAutoWait(bool on) override;
    int waitState() const override { return state_; }
    void clearWaitState() override;
    void show() override {}
    void hide() override {}
    void setProgress(int pagesSent, int pagesToSend) override;
    void setTimeLeft(qint64 ms) override;

private:
    void onInput();
    // Counts the Enters read; `end` when standard input has closed.
    void takeInput(int presses, bool end);
    // Uses up one Enter typed so far; at the end of input, cancels instead.
    bool takePress();

    bool autoContinue_;
    std::FILE *out_;
    QSocketNotifier *input_ = nullptr;
    std::unique_ptr<EnterReader> reader_;
    bool manual_ = false;
    bool auto_ = false;
    int state_ = WaitingForOperator;
    int lastSent_ = -1;
    int presses_ = 0;
    bool endOfInput_ = false;
};

} // namespace vt::cli

#include "TerminalProgress.h"
#include "CliText.h"

#include "EnterReader.h"

#include "ConsoleText.h"

#include <QSocketNotifier>

#include <algorithm>

#ifndef Q_OS_WIN
#include <unistd.h>
#endif

namespace vt::cli {

TerminalProgress::~TerminalProgress() = default;

TerminalProgress::TerminalProgress(bool autoContinue, std::FILE *out) : autoContinue_(autoContinue), out_(out)
{
    if (autoContinue_)
        return;
#ifdef Q_OS_WIN
    // A console or a pipe cannot be watched by a notifier on Windows: a thread
    // reads standard input for the whole run and hands each piece over.
    reader_ = std::make_unique<EnterReader>(0, this, [this](int presses, bool end) { takeInput(presses, end); });
#else
    input_ = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    input_->setEnabled(false);
    connect(input_, &QSocketNotifier::activated, this, &TerminalProgress::onInput);
#endif
}

void TerminalProgress::setText(const QString &text)
{
    if (text.isEmpty())
        return;
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' '));
    writeText(out_, line + QLatin1Char('\n'));
    std::fflush(out_);
}

void TerminalProgress::setManualWait(bool on)
{
    if (on == manual_)
        return;
    manual_ = on;
    if (!on) {
        if (input_)
            input_->setEnabled(false);
        return;
    }
    state_ = WaitingForOperator;
    if (autoContinue_) {
        state_ = ContinuePressed;
        return;
    }
    if (takePress())
        return;
    say(out_, QCoreApplication::translate("vt350-cli", "Press Enter to continue (Ctrl+C stops).\n"));
    std::fflush(out_);
    if (input_)
        input_->setEnabled(true);
}

bool TerminalProgress::takePress()
{
    if (presses_ > 0) {
        --presses_;
        state_ = ContinuePressed;
        return true;
    }
    if (endOfInput_) {
        // Nobody is left to press Enter: as "Cancel".
        state_ = CancelPressed;
        manual_ = auto_ = false;
        return true;
    }
    return false;
}

void TerminalProgress::onInput()
{
#ifndef Q_OS_WIN
    char buffer[256];
    const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
    if (n <= 0)
        takeInput(0, true);
    else
        takeInput(int(std::count(buffer, buffer + n, '\n')), false);
#endif
}

void TerminalProgress::takeInput(int presses, bool end)
{
    // Each Enter is one press, also when typed ahead.
    presses_ += presses;
    if (end) {
        endOfInput_ = true;
        if (input_)
            input_->setEnabled(false);
    }
    if (manual_ && state_ == WaitingForOperator && takePress() && input_)
        input_->setEnabled(false);
}

void TerminalProgress::setAutoWait(bool on)
{
    if (on == auto_)
        return;
    auto_ = on;
    if (on)
        state_ = WaitingForPrinter;
}

void TerminalProgress::clearWaitState()
{
    manual_ = auto_ = false;
    state_ = WaitingForOperator;
    lastSent_ = -1;
    if (input_)
        input_->setEnabled(false);
}

void TerminalProgress::setProgress(int pagesSent, int pagesToSend)
{
    if (pagesSent == lastSent_ || pagesToSend <= 0)
        return;
    lastSent_ = pagesSent;
    say(out_, QCoreApplication::translate("vt350-cli", "pages sent: %1 of %2\n").arg(pagesSent).arg(pagesToSend));
    std::fflush(out_);
}

void TerminalProgress::setTimeLeft(qint64 ms)
{
    if (ms < 0)
        return;
    writeText(out_, timeLeftText(ms) + QLatin1Char('\n'));
    std::fflush(out_);
}

} // namespace vt::cli

#include "render/Fonts.h"
#include "widgets/ProgressWindow.h"

#include "commands/Operator.h"
#include "render/Colors.h"

#include <QEnterEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace vt {

namespace {

// The window's width; 298 dialog units of the original template at its
// System font.
constexpr int kWidth = 447;
constexpr int kMarginX = 8;

// A push button, raised on every platform's style, whose caption turns red
// under the pointer.
class HoverButton : public QPushButton {
public:
    HoverButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
    {
        setFlat(false);
        setAutoDefault(false);
        setMinimumWidth(88);
        setAutoFillBackground(false);
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::TabFocus);
        setCaptionColour(Qt::black);
    }

protected:
    void enterEvent(QEnterEvent *event) override
    {
        setCaptionColour(QColor(255, 0, 0));
        QPushButton::enterEvent(event);
    }
    void leaveEvent(QEvent *event) override
    {
        setCaptionColour(Qt::black);
        QPushButton::leaveEvent(event);
    }

private:
    void setCaptionColour(const QColor &colour)
    {
        QPalette p = palette();
        p.setColor(QPalette::ButtonText, colour);
        p.setColor(QPalette::Button, backgroundColor());
        setPalette(p);
    }
};

// Words of one paragraph in lines no wider than `width`, the greedy way.
QStringList wrapped(const QStringList &words, const QFontMetrics &metrics, int width)
{
    QStringList lines;
    for (const QString &word : words) {
        if (!lines.isEmpty() && metrics.horizontalAdvance(lines.last() + QLatin1Char(' ') + word) <= width)
            lines.last() += QLatin1Char(' ') + word;
        else
            lines << word;
    }
    return lines;
}

// Breaks each line of `text` that is wider than `width` into as few lines
// as the greedy way takes, but as even as they can be: the narrowest width
// that still needs no more lines. A sentence then never leaves its last
// word alone on a line when the words before can share it.
QString evenLines(const QString &text, const QFontMetrics &metrics, int width)
{
    QStringList out;
    for (const QString &line : text.split(QLatin1Char('\n'))) {
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (metrics.horizontalAdvance(line.trimmed()) <= width || words.size() < 2) {
            out << line;
            continue;
        }
        const qsizetype count = wrapped(words, metrics, width).size();
        int lo = 1;
        int hi = width;
        while (lo < hi) {
            const int mid = lo + (hi - lo) / 2;
            if (wrapped(words, metrics, mid).size() <= count)
                hi = mid;
            else
                lo = mid + 1;
        }
        out << wrapped(words, metrics, hi);
    }
    return out.join(QLatin1Char('\n'));
}

} // namespace

ProgressWindow::ProgressWindow(QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool)
{
    setObjectName(QStringLiteral("progressDialog"));
    setAccessibleName(tr("Progress"));
    setModal(false);

    QPalette background = palette();
    background.setColor(QPalette::Window, backgroundColor());
    setPalette(background);
    setAutoFillBackground(true);

    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("message"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);
    text_->setTextFormat(Qt::PlainText);
    text_->setFont(fonts::systemFont(16));
    QPalette blue = text_->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    text_->setPalette(blue);
    text_->setAttribute(Qt::WA_TranslucentBackground);

    continueButton_ = new HoverButton(tr("Continue"), this);
    continueButton_->setObjectName(QStringLiteral("continueButton"));
    cancelButton_ = new HoverButton(tr("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancelButton"));
    connect(continueButton_, &QPushButton::clicked, this, &ProgressWindow::onContinue);
    connect(cancelButton_, &QPushButton::clicked, this, &ProgressWindow::onCancel);
    // The buttons keep their place while hidden, so the window does not jump.
    for (QPushButton *button : {continueButton_, cancelButton_}) {
        QSizePolicy policy = button->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        button->setSizePolicy(policy);
    }

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(continueButton_);
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMarginX, 6, kMarginX, 6);
    layout->addWidget(text_, 1);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("pagesSent"));
    bar_->setFormat(QStringLiteral("%v / %m"));
    bar_->setMaximumHeight(14);
    bar_->hide();
    layout->addWidget(bar_);
    countdown_.setInterval(1000);
    connect(&countdown_, &QTimer::timeout, this, &ProgressWindow::showTimeLeft);
    layout->addLayout(buttons);

    showButtons(false, false);
    text_->setText(evenLines(message_, text_->fontMetrics(), kWidth - 2 * kMarginX - 2));
    fitContents();
}

void ProgressWindow::fitContents()
{
    // 298 x 41 dialog units of the original template at its System font is
    // the least; the window grows to hold every line of the message, the
    // bar and the buttons.
    constexpr int kLeastHeight = 85;
    layout()->activate();
    const int height = std::max(kLeastHeight, layout()->totalHeightForWidth(kWidth));
    if (size() != QSize(kWidth, height)) {
        const QPoint centre = geometry().center();
        setFixedSize(kWidth, height);
        if (isVisible())
            move(centre - rect().center());
    }
}

void ProgressWindow::setText(const QString &text)
{
    message_ = text;
    // A pixel to spare: the label measures its lines a little differently.
    text_->setText(evenLines(shownText(message_), text_->fontMetrics(), kWidth - 2 * kMarginX - 2));
    fitContents();
    text_->repaint();
}

void ProgressWindow::setProgress(int pagesSent, int pagesToSend)
{
    const bool changes = bar_->isHidden() == (pagesToSend > 0);
    bar_->setVisible(pagesToSend > 0);
    bar_->setRange(0, std::max(pagesToSend, 1));
    bar_->setValue(std::clamp(pagesSent, 0, std::max(pagesToSend, 1)));
    if (changes)
        fitContents();
}

void ProgressWindow::setTimeLeft(qint64 ms)
{
    if (ms < 0) {
        countdown_.stop();
        bar_->setFormat(QStringLiteral("%v / %m"));
        return;
    }
    finish_.start();
    timeLeftMs_ = ms;
    showTimeLeft();
    countdown_.start();
}

void ProgressWindow::showTimeLeft()
{
    const qint64 left = std::max<qint64>(0, timeLeftMs_ - finish_.elapsed());
    bar_->setFormat(QStringLiteral("%v / %m, ") + timeLeftText(left));
    if (left == 0)
        countdown_.stop();
}

void ProgressWindow::showButtons(bool continueShown, bool cancelShown)
{
    // setVisible on a child of a hidden window only records the wish;
    // isHidden() reflects it either way.
    continueButton_->setVisible(continueShown);
    cancelButton_->setVisible(cancelShown);
}

void ProgressWindow::setManualWait(bool on)
{
    if (on == manualWait_)
        return;
    manualWait_ = on;
    if (on) {
        waitState_ = WaitingForOperator;
        showButtons(true, true);
    } else {
        showButtons(false, false);
    }
}

void ProgressWindow::setAutoWait(bool on)
{
    if (on == autoWait_)
        return;
    autoWait_ = on;
    if (on) {
        waitState_ = WaitingForPrinter;
        showButtons(false, true);
    } else {
        showButtons(false, false);
    }
}

void ProgressWindow::clearWaitState()
{
    manualWait_ = autoWait_ = false;
    waitState_ = WaitingForOperator;
    showButtons(false, false);
}

void ProgressWindow::onContinue()
{
    // "Cancel" stays until the next segment has gone: the printer may not be
    // ready yet, and the operator may change his mind meanwhile.
    showButtons(false, true);
    waitState_ = ContinuePressed;
}

void ProgressWindow::onCancel()
{
    showButtons(false, false);
    waitState_ = CancelPressed;
    manualWait_ = autoWait_ = false;
    hide();
    notifyCancel();
}

void ProgressWindow::reject()
{
    // The dialog's own Escape would hide the window and leave waitState as it
    // is: a job waiting for "Continue" would then wait with nothing to press.
    if (!cancelButton_->isHidden())
        onCancel();
}

void ProgressWindow::show()
{
    QDialog::show();
    raise();
}

void ProgressWindow::hide()
{
    QDialog::hide();
}

void ProgressWindow::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    const QRect area = parentWidget() ? parentWidget()->window()->frameGeometry()
                                      : (screen() ? screen()->availableGeometry() : QRect());
    if (area.isValid())
        move(area.center() - rect().center());
}

} // namespace vt

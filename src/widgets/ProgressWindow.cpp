#include "render/Fonts.h"
#include "widgets/ProgressWindow.h"

#include "commands/Operator.h"
#include "render/Colors.h"

#include <QEnterEvent>
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

// A flat push button whose caption turns red under the pointer.
class HoverButton : public QPushButton {
public:
    HoverButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
    {
        setFlat(true);
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
    layout->setContentsMargins(8, 6, 8, 6);
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
    text_->setText(message_);
    fitContents();
}

void ProgressWindow::fitContents()
{
    // 298 x 41 dialog units of the original template at its System font is
    // the least; the window grows to hold every line of the message, the
    // bar and the buttons.
    constexpr int kWidth = 447;
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
    text_->setText(shownText(message_));
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

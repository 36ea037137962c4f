#include "widgets/PreviewPane.h"

#include "widgets/LabelStripView.h"

#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <cmath>

namespace vt {

namespace {

// Bar positions stay well inside an int so that steps added to them cannot
// overflow.
constexpr std::int64_t kBarLimit = INT_MAX / 2;

} // namespace

PreviewPane::PreviewPane(QWidget *parent)
    : QWidget(parent)
    , view_(new LabelStripView)
    , bar_(new QScrollBar(Qt::Horizontal))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(view_, 1);
    layout->addWidget(bar_);
    bar_->setRange(0, 0);
    bar_->setSingleStep(1);
    // The strip moves when the thumb is released, not while it is dragged.
    bar_->setTracking(false);
    connect(bar_, &QScrollBar::actionTriggered, this, &PreviewPane::barAction);
    connect(bar_, &QScrollBar::valueChanged, this, &PreviewPane::barMoved);

    // First look soon after start, then twice a second.
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, [this] {
        followStrip();
        timer_.start(500);
    });
    timer_.start(100);
}

void PreviewPane::showPages(const PageChain &chain, const JobSettings &settings)
{
    view_->strip().setPages(chain, settings);
    view_->update();
}

void PreviewPane::setTapeWidth(double millimetres)
{
    view_->strip().setTapeWidth(millimetres);
    view_->update();
}

void PreviewPane::followStrip()
{
    const int dpi = view_->dpi();
    const std::int64_t strip = view_->strip().contentWidth(dpi);
    const std::int64_t marker = view_->strip().markerX(dpi);
    const int shown = width();
    if (strip != 0 && strip > shown) {
        if (strip == shownWidth_ && marker == shownMarker_)
            return;
        shownWidth_ = strip;
        shownMarker_ = marker;
        setRange(strip, shown / 10);
        scrollTo(marker);
    } else if (range_ != 0 || view_->origin() != 0) {
        // A strip that fits, after a longer one or in a wider pane: show it
        // from its start rather than leave it scrolled out of view.
        shownWidth_ = 0;
        shownMarker_ = 0;
        setRange(0, shown / 10);
        scrollTo(0);
    }
}

void PreviewPane::setRange(std::int64_t range, int page)
{
    range_ = range;
    pageStep_ = page;
    const QSignalBlocker block(bar_);
    bar_->setRange(0, toBar(range));
    bar_->setPageStep(std::max(1, toBar(page)));
}

void PreviewPane::scrollTo(std::int64_t x)
{
    // The strip may start left of the bar's range (the first page brought to
    // 20 pixels from the edge puts the origin below 0); the bar's steps then
    // move it from there by what they move the bar.
    offset_ = x - std::clamp<std::int64_t>(x, 0, range_);
    view_->setOrigin(x);
    const QSignalBlocker block(bar_);
    bar_->setValue(toBar(x - offset_));
}

int PreviewPane::toBar(std::int64_t x) const
{
    if (range_ <= kBarLimit)
        return int(x);
    return int(std::llround(double(x) * kBarLimit / double(range_)));
}

std::int64_t PreviewPane::fromBar(int value) const
{
    if (range_ <= kBarLimit)
        return value;
    return std::llround(double(value) * double(range_) / kBarLimit);
}

void PreviewPane::barAction(int action)
{
    const std::int64_t at = view_->origin() - offset_;
    std::int64_t to = at;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub: to = at - 1; break;
    case QAbstractSlider::SliderSingleStepAdd: to = at + 1; break;
    case QAbstractSlider::SliderPageStepSub: to = at - pageStep_; break;
    case QAbstractSlider::SliderPageStepAdd: to = at + pageStep_; break;
    case QAbstractSlider::SliderToMinimum: to = 0; break;
    case QAbstractSlider::SliderToMaximum: to = range_; break;
    default: return; // the thumb: handled when it is released
    }
    // A step that would leave the range does nothing.
    if (to < 0 || to > range_)
        to = at;
    view_->setOrigin(to + offset_);
    bar_->setSliderPosition(toBar(to));
}

void PreviewPane::barMoved(int value)
{
    // Steps arrive here too, already placed to the pixel; only a released
    // thumb moves the strip from here.
    if (value != toBar(view_->origin() - offset_))
        view_->setOrigin(fromBar(value) + offset_);
}

} // namespace vt

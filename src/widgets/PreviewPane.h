#pragma once

#include <QTimer>
#include <QWidget>

#include <cstdint>

class QScrollBar;

namespace vt {

class LabelStripView;
class PageChain;
struct JobSettings;

// The strip of labels under the page table with its horizontal scroll bar.
// A timer follows the strip's length: when it outgrows the pane, the scroll
// range becomes the strip's width and the current page is scrolled to 20
// pixels from the left.
//
// The scroll bar holds an int; when the strip is longer than that, bar
// positions stand for proportionally longer steps while the strip itself is
// placed to the pixel.
class PreviewPane : public QWidget {
    Q_OBJECT
public:
    explicit PreviewPane(QWidget *parent = nullptr);

    // Shows a copy of the pages as the last page build left them.
    void showPages(const PageChain &chain, const JobSettings &settings);
    // Takes effect with the next paint.
    void setTapeWidth(double millimetres);

    LabelStripView *view() const { return view_; }
    QScrollBar *scrollBar() const { return bar_; }
    std::int64_t scrollRange() const { return range_; }

    // One step of the timer: fits the scroll range to the strip and brings
    // the current page into view when either changed.
    void followStrip();

private:
    void setRange(std::int64_t range, int page);
    void scrollTo(std::int64_t x);
    void barAction(int action);
    void barMoved(int value);
    int toBar(std::int64_t x) const;
    std::int64_t fromBar(int value) const;


    LabelStripView *view_ = nullptr;
    QScrollBar *bar_ = nullptr;
    QTimer timer_;
    std::int64_t range_ = 0; // scroll range in pixels, from 0
    std::int64_t offset_ = 0; // origin less the bar's position
    std::int64_t pageStep_ = 0;
    std::int64_t shownWidth_ = 0;
    std::int64_t shownMarker_ = 0;
};

} // namespace vt

#pragma once

#include "render/LabelStrip.h"

#include <QWidget>

#include <cstdint>

namespace vt {

// Shows the label strip from a 64-bit x position on. Only the labels in view
// are drawn; the widget's backing store is the off-screen buffer, so a paint
// reaches the screen in one step and the strip does not flicker.
class LabelStripView : public QWidget {
    Q_OBJECT
public:
    explicit LabelStripView(QWidget *parent = nullptr);

    LabelStrip &strip() { return strip_; }
    const LabelStrip &strip() const { return strip_; }

    std::int64_t origin() const { return origin_; }
    void setOrigin(std::int64_t x);

    // The resolution the strip is laid out at: the screen's, unless pinned.
    int dpi() const;
    void pinDpi(int dpi) { pinnedDpi_ = dpi; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    LabelStrip strip_;
    std::int64_t origin_ = 0;
    int pinnedDpi_ = 0;
};

} // namespace vt

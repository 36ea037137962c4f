#pragma once

#include "layout/LabelExpansion.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

namespace vt {

class PageChain;
struct JobSettings;

// The job as the printer lays it out along the medium: every label one after
// another on a yellow band as wide as the medium, each with its frame or
// underline and a cut mark, and a red triangle over the current page.
//
// It draws from a copy of the pages taken by setPages, so it never reads a
// page that was freed since. Label positions are computed once per copy and
// resolution, per page (its run of label widths and its repeat), so a paint
// finds the labels in view by a search over the pages and draws only those,
// whatever the length of the job. Positions are 64-bit: the largest job is
// longer than 2^31 pixels.
class LabelStrip {
public:
    LabelStrip();
    ~LabelStrip();

    // Pixels across the band for a medium width, at a resolution.
    static int bandHeight(double tapeWidthMm, int dpi);
    // Requested character height in pixels of font size 1..6; 0 for others.
    static int characterHeight(int fontSize, int dpi);

    // Copies the pages as the last page build left them, with the job's
    // alignment.
    void setPages(const PageChain &chain, const JobSettings &settings);
    void setTapeWidth(double millimetres) { tapeWidthMm_ = millimetres; }
    double tapeWidthMm() const { return tapeWidthMm_; }

    const JobLabels &labels() const { return labels_; }

    // Width of the drawn strip: 10 pixels before the first label's cut mark
    // area and 10 after the last.
    std::int64_t contentWidth(int dpi) const;
    // 20 pixels before the current page's place; 0 without a current page.
    std::int64_t markerX(int dpi) const;
    // Left edge of label `index` of the job, or -1 when there is none.
    std::int64_t labelLeft(std::int64_t index, int dpi) const;

    // A label in view, in the coordinates of the painted area.
    struct Shown {
        std::int64_t index = 0; // over the whole job
        int page = 0;
        QRect rect;             // the label rectangle (text, frame)
        int cutX = 0;           // the cut mark after it
        int fontPixels = 0;     // requested character height
        QString line1;          // as drawn (marks named)
        QString line2;
        bool twoLines = false;
    };
    // The labels that touch an area of `width` × `height` pixels showing the
    // strip from x = originX, in strip order.
    std::vector<Shown> labelsInView(std::int64_t originX, int width, int height, int dpi) const;

    // Draws the strip from x = originX onto `area` of the painter.
    void paint(QPainter &painter, const QRect &area, std::int64_t originX, int dpi) const;

private:
    struct Page {
        char frame = 'N';
        int fontSize = 0;
        bool current = false;
        int lengthDots = 0; // 0: the label is as wide as its text
    };
    struct Geometry;
    const Geometry &geometry(int dpi) const;
    Shown shown(const Geometry &g, int page, std::int64_t label, std::int64_t originX,
                               int centre) const;

    JobLabels labels_;
    std::vector<Page> pages_;
    bool leftAligned_ = false;
    double tapeWidthMm_ = 9.0;
    mutable std::unique_ptr<Geometry> geometry_;
};

// The medium width shown for the job's material and size, in millimetres;
// none for a size the table does not know (the shown width is kept).
std::optional<double> previewTapeWidth(const JobSettings &settings);

} // namespace vt

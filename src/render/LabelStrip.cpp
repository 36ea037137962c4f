#include "render/LabelStrip.h"

#include "model/JobSettings.h"
#include "model/MarkText.h"
#include "model/PageChain.h"
#include "render/Colors.h"
#include "render/Fonts.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <cmath>

namespace vt {

namespace {

constexpr double kMmPerInch = 25.4;
constexpr int kPrinterDpi = 300;
constexpr int kStartX = 10;      // xCursor before the first label
constexpr int kInset = 4;        // from the cursor to a label, from a label to its cut mark
constexpr int kGap = 2 * kInset; // between consecutive labels
constexpr int kEndRoom = 10;     // after the last cut mark
constexpr int kMarkerBack = 20;  // the current page is scrolled to this far from the left
constexpr int kDefaultHeight96 = 9;
const QColor kBandColour(255, 255, 0);
const QColor kMarkColour(255, 0, 0);

// Character heights of font sizes 1..6 in printer dots.
constexpr int kHeightDots[7] = {0, 16, 24, 32, 40, 48, 64};

// The label face is asked for characters as wide as they are high, as the
// printer prints them; the shipped face is about half as wide, so it is
// stretched by the ratio of its height to its average character width.
int stretchForSquareCharacters()
{
    static const int stretch = [] {
        const QFont probe = fonts::systemFont(1000);
        const int average = QFontMetrics(probe).averageCharWidth();
        return average > 0 ? std::clamp(int(std::lround(100000.0 / average)), 100, 400) : 100;
    }();
    return stretch;
}

QFont labelFont(int pixels)
{
    QFont font = fonts::systemFont(std::max(pixels, 1));
    font.setStretch(stretchForSquareCharacters());
    return font;
}

// The label text as drawn: no font has glyphs for the marks, so they appear
// by the names the page table gives them.
QString drawnText(const QString &text) { return visibleMarks(text); }

bool hasTabularDigits(const QFontMetrics &metrics)
{
    const int zero = metrics.horizontalAdvance(QLatin1Char('0'));
    for (char d = '1'; d <= '9'; ++d)
        if (metrics.horizontalAdvance(QLatin1Char(d)) != zero)
            return false;
    return true;
}

// Numbers alike in sign and digit count.
int digitClass(int value)
{
    int digits = 1;
    for (int rest = std::abs(value); rest >= 10; rest /= 10)
        ++digits;
    return value < 0 ? -digits : digits;
}

// A number of a digit class.
int sampleOf(int digitClass)
{
    int value = 1;
    for (int d = 1; d < std::abs(digitClass); ++d)
        value *= 10;
    return digitClass < 0 ? -value : value;
}

QString zeroDigits(QString text)
{
    for (QChar &c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            c = QLatin1Char('0');
    return text;
}

} // namespace

struct LabelStrip::Geometry {
    struct PageSpan {
        std::int64_t left = 0;     // the cursor when the page starts
        std::int64_t runWidth = 0; // one run of labels with their gaps
        std::int64_t width = 0;    // all its labels: repeat × runWidth
        // Cursor offset of each run position, then the run's end; empty when
        // every label of the run has labelWidth.
        std::vector<int> runLeft;
        int labelWidth = 0;        // when uniform
        int textHeight = 0;        // t for one line, T for two
        int fontPixels = 0;
        QFont font;

        int widthAt(int j) const
        {
            return runLeft.empty() ? labelWidth : runLeft[std::size_t(j) + 1] - runLeft[std::size_t(j)] - kGap;
        }
        std::int64_t offsetAt(int j) const
        {
            return runLeft.empty() ? std::int64_t(j) * (labelWidth + kGap) : runLeft[std::size_t(j)];
        }
    };

    int dpi = 0;
    std::vector<PageSpan> pages;
    std::vector<std::int64_t> ends; // right end of each page's labels, for the search
    std::int64_t contentWidth = 0;
    std::int64_t markerX = 0;
    int currentPage = -1;
};

LabelStrip::LabelStrip() = default;
LabelStrip::~LabelStrip() = default;

int LabelStrip::bandHeight(double tapeWidthMm, int dpi)
{
    return int(dpi * tapeWidthMm / kMmPerInch);
}

int LabelStrip::characterHeight(int fontSize, int dpi)
{
    if (fontSize < 1 || fontSize > 6)
        return 0;
    return dpi * kHeightDots[fontSize] / kPrinterDpi;
}

void LabelStrip::setPages(const PageChain &chain, const JobSettings &settings)
{
    labels_ = JobLabels(chain);
    pages_.clear();
    pages_.reserve(std::size_t(chain.size()));
    for (const PageRecord *record = chain.head(); record; record = chain.next(record))
        pages_.push_back({record->frame, record->fontSize, record->isCurrent != 0,
                          record->autoLength ? 0 : int(record->adjustedLengthDots)});
    leftAligned_ = settings.alignment != 0;
    geometry_.reset();
}

const LabelStrip::Geometry &LabelStrip::geometry(int dpi) const
{
    if (geometry_ && geometry_->dpi == dpi)
        return *geometry_;
    auto g = std::make_unique<Geometry>();
    g->dpi = dpi;
    g->pages.resize(pages_.size());
    g->ends.resize(pages_.size());
    std::int64_t cursor = kStartX;
    // A page without a font size of its own keeps the height of the page before.
    int pixels = (kDefaultHeight96 * dpi + 48) / 96;
    QFont font = labelFont(pixels);
    for (std::size_t i = 0; i < pages_.size(); ++i) {
        const Page &page = pages_[i];
        const PageLabels &labels = labels_.page(int(i));
        Geometry::PageSpan &span = g->pages[i];
        span.left = cursor;
        if (page.current) {
            g->markerX = cursor - kMarkerBack;
            g->currentPage = int(i);
        }
        if (labels.count() > 0) {
            if (const int h = characterHeight(page.fontSize, dpi); h > 0 && h != pixels) {
                pixels = h;
                font = labelFont(pixels);
            }
            span.fontPixels = pixels;
            span.font = font;
            const QFontMetrics metrics(font);
            span.textHeight = metrics.height();
            if (page.lengthDots != 0) {
                span.labelWidth = page.lengthDots * dpi / kPrinterDpi;
            } else {
                auto measure = [&](const QString &text) {
                    if (!labels.twoLines())
                        return metrics.horizontalAdvance(drawnText(text));
                    const LabelLines lines = splitLabel(text);
                    return std::max(metrics.horizontalAdvance(drawnText(lines.line1)),
                                    metrics.horizontalAdvance(drawnText(lines.line2)));
                };
                if (labels.kind() == PageLabels::Kind::Plain) {
                    span.labelWidth = measure(labels.runText(0));
                } else {
                    // Only the number changes along a run, so each width is
                    // measured once per value or, with digits of one width,
                    // once per digit count: three for a run of 0..999.
                    const bool byDigits = hasTabularDigits(metrics)
                                          && (labels.kind() == PageLabels::Kind::Decimal
                                              || labels.kind() == PageLabels::Kind::Padded);
                    auto keyOf = [byDigits](int value) { return byDigits ? digitClass(value) : value; };
                    const auto [low, high] = labels.valueRange();
                    const int firstKey = keyOf(low);
                    const int keys = keyOf(high) - firstKey + 1;
                    std::vector<int> widthOf;
                    if (keys <= labels.runLength()) {
                        widthOf.resize(std::size_t(keys), -1);
                        for (int key = firstKey; key < firstKey + keys; ++key)
                            if (key != 0 || !byDigits)
                                widthOf[std::size_t(key - firstKey)] =
                                    measure(labels.withNumber(byDigits ? zeroDigits(labels.numberFor(sampleOf(key)))
                                                                       : labels.numberFor(key)));
                    }
                    auto widthAt = [&](int j) {
                        const int value = labels.valueAt(j);
                        return widthOf.empty() ? measure(labels.runText(j))
                                               : widthOf[std::size_t(keyOf(value) - firstKey)];
                    };
                    span.labelWidth = widthAt(0);
                    const bool uniform = !widthOf.empty()
                                         && std::all_of(widthOf.begin(), widthOf.end(), [&](int w) {
                                                return w < 0 || w == span.labelWidth;
                                            });
                    if (!uniform) {
                        span.runLeft.resize(std::size_t(labels.runLength()) + 1);
                        for (int j = 0; j < labels.runLength(); ++j)
                            span.runLeft[std::size_t(j) + 1] = span.runLeft[std::size_t(j)] + widthAt(j) + kGap;
                    }
                }
            }
            span.runWidth = span.runLeft.empty() ? std::int64_t(labels.runLength()) * (span.labelWidth + kGap)
                                                 : span.runLeft.back();
            span.width = span.runWidth * (labels.count() / labels.runLength());
        }
        cursor += span.width;
        g->ends[i] = cursor;
    }
    g->contentWidth = cursor + kEndRoom;
    geometry_ = std::move(g);
    return *geometry_;
}

std::int64_t LabelStrip::contentWidth(int dpi) const
{
    return geometry(dpi).contentWidth;
}

std::int64_t LabelStrip::markerX(int dpi) const
{
    return geometry(dpi).markerX;
}

std::int64_t LabelStrip::labelLeft(std::int64_t index, int dpi) const
{
    const JobLabels::Place place = labels_.locate(index);
    if (place.page < 0)
        return -1;
    const Geometry::PageSpan &span = geometry(dpi).pages[std::size_t(place.page)];
    const int runLength = labels_.page(place.page).runLength();
    return span.left + (place.label / runLength) * span.runWidth + span.offsetAt(int(place.label % runLength))
           + kInset;
}

LabelStrip::Shown LabelStrip::shown(const Geometry &g, int page, std::int64_t label, std::int64_t originX,
                                    int centre) const
{
    const Geometry::PageSpan &span = g.pages[std::size_t(page)];
    const PageLabels &labels = labels_.page(page);
    const int j = labels.runIndex(label);
    const std::int64_t left =
        span.left + (label / labels.runLength()) * span.runWidth + span.offsetAt(j) + kInset - originX;
    const int width = span.widthAt(j);
    Shown s;
    s.index = labels_.firstLabelOf(page) + label;
    s.page = page;
    s.fontPixels = span.fontPixels;
    s.twoLines = labels.twoLines();
    const int top = s.twoLines ? centre - span.textHeight : centre - span.textHeight / 2;
    const int height = s.twoLines ? 2 * span.textHeight : span.textHeight;
    s.rect = QRect(int(left), top, width, height);
    s.cutX = int(left) + width + kInset;
    const QString text = labels.runText(j);
    if (s.twoLines) {
        const LabelLines lines = splitLabel(text);
        s.line1 = drawnText(lines.line1);
        s.line2 = drawnText(lines.line2);
    } else {
        s.line1 = drawnText(text);
    }
    return s;
}

std::vector<LabelStrip::Shown> LabelStrip::labelsInView(std::int64_t originX, int width, int height,
                                                        int dpi) const
{
    std::vector<Shown> out;
    const Geometry &g = geometry(dpi);
    if (labels_.count() == 0 || width <= 0)
        return out;
    const int band = bandHeight(tapeWidthMm_, dpi);
    const int centre = ((height - band) / 2 + (height + band) / 2) / 2;
    const std::int64_t viewEnd = originX + width;
    // The first page whose labels reach into the view, then the first of its
    // labels that does.
    auto page = int(std::lower_bound(g.ends.begin(), g.ends.end(), originX) - g.ends.begin());
    if (page >= int(g.pages.size()))
        return out;
    std::int64_t label = 0;
    {
        const Geometry::PageSpan &span = g.pages[std::size_t(page)];
        const PageLabels &labels = labels_.page(page);
        if (originX > span.left && span.width > 0) {
            const std::int64_t offset = originX - span.left;
            const std::int64_t run = offset / span.runWidth;
            const std::int64_t within = offset % span.runWidth;
            const auto &lefts = span.runLeft;
            const int j = lefts.empty() ? int(within / (span.labelWidth + kGap))
                                        : int(std::upper_bound(lefts.begin(), lefts.end(), int(within)) - lefts.begin()) - 1;
            // From the label before, whose cut mark may stand at the view's edge.
            label = std::clamp<std::int64_t>(run * labels.runLength() + j - 1, 0, labels.count() - 1);
        }
    }
    for (; page < int(g.pages.size()) && g.pages[std::size_t(page)].left < viewEnd; ++page, label = 0) {
        const std::int64_t count = labels_.page(page).count();
        for (; label < count; ++label) {
            Shown s = shown(g, page, label, originX, centre);
            if (s.rect.left() - kInset >= width)
                break;
            if (s.cutX >= 0)
                out.push_back(std::move(s));
        }
    }
    return out;
}

void LabelStrip::paint(QPainter &painter, const QRect &area, std::int64_t originX, int dpi) const
{
    const Geometry &g = geometry(dpi);
    painter.save();
    painter.setClipRect(area);
    painter.translate(area.topLeft());
    painter.setRenderHint(QPainter::Antialiasing, false);
    const int width = area.width();
    const int height = area.height();
    painter.fillRect(QRect(0, 0, width, height), backgroundColor());

    const int band = bandHeight(tapeWidthMm_, dpi);
    const int bandTop = (height - band) / 2;
    const int bandBottom = (height + band) / 2;
    const int centre = (bandTop + bandBottom) / 2;
    // The band runs under the whole strip, and on to the view's end when the
    // strip is shorter than the view.
    const std::int64_t bandLeft = std::max<std::int64_t>(5 - originX, 0);
    const std::int64_t bandRight = std::max(g.contentWidth, originX + width) - 5 - originX;
    if (bandRight > bandLeft)
        painter.fillRect(QRect(int(bandLeft), bandTop, int(std::min<std::int64_t>(bandRight, width) - bandLeft),
                               bandBottom - bandTop),
                         kBandColour);

    painter.setPen(QPen(Qt::black, 0));
    const int flags = Qt::AlignVCenter | Qt::TextSingleLine | (leftAligned_ ? Qt::AlignLeft : Qt::AlignHCenter);
    bool markDrawn = g.currentPage < 0;
    auto drawMark = [&] {
        markDrawn = true;
        const std::int64_t x = g.markerX + kMarkerBack - originX;
        if (x + 30 < 0 || x > width)
            return;
        const QPolygon triangle({QPoint(int(x), 10), QPoint(int(x) + 30, 10), QPoint(int(x) + 15, 25)});
        painter.setBrush(kMarkColour);
        painter.drawPolygon(triangle);
        painter.setBrush(Qt::NoBrush);
    };

    int fontPage = -1;
    for (const Shown &s : labelsInView(originX, width, height, dpi)) {
        // The triangle goes over the labels before its page and under its own.
        if (!markDrawn && s.page >= g.currentPage)
            drawMark();
        if (s.page != fontPage) {
            painter.setFont(g.pages[std::size_t(s.page)].font);
            fontPage = s.page;
        }
        const QRect &r = s.rect;
        if (s.twoLines) {
            const int half = r.height() / 2;
            painter.drawText(QRect(r.left(), r.top(), r.width(), half), flags, s.line1);
            painter.drawText(QRect(r.left(), r.top() + half, r.width(), half), flags, s.line2);
        } else {
            painter.drawText(r, flags, s.line1);
        }
        const int right = r.left() + r.width();
        const int bottom = r.top() + r.height();
        switch (pages_[std::size_t(s.page)].frame) {
        case 'F':
            painter.drawPolyline(QPolygon({QPoint(r.left(), r.top()), QPoint(right, r.top()), QPoint(right, bottom),
                                           QPoint(r.left(), bottom), QPoint(r.left(), r.top())}));
            break;
        case 'L': painter.drawLine(r.left(), bottom, right - 1, bottom); break;
        default: break;
        }
        painter.drawLine(s.cutX, centre - 8, s.cutX, centre + 7);
    }
    if (!markDrawn)
        drawMark();
    painter.restore();
}

std::optional<double> previewTapeWidth(const JobSettings &settings)
{
    const int size = settings.sizeIndex;
    if (settings.materialCode[0] == 'L')
        return size >= 0 && size <= 2 ? std::optional<double>(6.0 + 3.0 * size) : std::nullopt;
    static const double tube[4] = {5.0, 6.5, 8.0, 10.0};
    return size >= 0 && size <= 3 ? std::optional<double>(tube[size]) : std::nullopt;
}

} // namespace vt

#pragma once

#include "model/PageRecord.h"

#include <QString>

#include <cstdint>
#include <utility>
#include <vector>

namespace vt {

class PageChain;

// The labels one page prints: its run of numbered labels (one label when the
// page is not numbered), `repeat` times in a row. Label k is computed
// directly from k, so a page of 100 000 labels is never walked. Holds copies,
// not the record: it stays valid when the page is freed.
class PageLabels {
public:
    enum class Kind { Plain, Decimal, Padded, Upper, Lower };

    PageLabels() = default;
    explicit PageLabels(const PageRecord &page);

    // Checked and holding text: only such a page prints anything.
    bool prints() const { return prints_; }
    // repeat × run length; 0 when the page prints nothing.
    std::int64_t count() const { return prints_ ? std::int64_t(repeat_) * runLength_ : 0; }
    // Labels in one run: serialCount when numbered, else 1.
    int runLength() const { return runLength_; }
    Kind kind() const { return kind_; }
    bool twoLines() const { return twoLines_; }

    // Position in the run of label k.
    int runIndex(std::int64_t k) const { return int(k % runLength_); }
    // The number's value at run position j (a character code for letters).
    int valueAt(int j) const;
    // The least and the greatest value of the run; every value between
    // occurs in it.
    std::pair<int, int> valueRange() const;
    // The number at run position j, as it is written into the label.
    QString numberText(int j) const { return numberFor(valueAt(j)); }
    QString numberFor(int value) const;
    // The label text with `number` in place of the mark (the text itself
    // when the page has no mark). Line 2 follows U+001A on two-line pages.
    QString withNumber(const QString &number) const;
    // Label k's text.
    QString text(std::int64_t k) const { return runText(runIndex(k)); }
    QString runText(int j) const { return withNumber(numberText(j)); }

private:
    QString text_; // stripped of blanks at both ends, mark still in place
    int markAt_ = -1;
    Kind kind_ = Kind::Plain;
    int start_ = 0;
    int end_ = 0;
    int runLength_ = 1;
    int repeat_ = 0;
    bool prints_ = false;
    bool twoLines_ = false;
};

// Line 1 and line 2 of a label text; line 2 is empty without a separator.
struct LabelLines {
    QString line1;
    QString line2;
};
LabelLines splitLabel(const QString &text);

// Every label of a job in page order, found by its index through a search
// over the pages, never by walking labels.
class JobLabels {
public:
    JobLabels() = default;
    explicit JobLabels(const PageChain &chain);

    struct Place {
        int page = -1;       // index in the chain, -1 when out of range
        std::int64_t label = 0; // label within the page
    };

    int pageCount() const { return int(pages_.size()); }
    const PageLabels &page(int index) const { return pages_[std::size_t(index)]; }
    std::int64_t count() const { return firstOf_.empty() ? 0 : firstOf_.back(); }
    // Index over the job of the first label of a page.
    std::int64_t firstLabelOf(int page) const { return firstOf_[std::size_t(page)]; }
    Place locate(std::int64_t index) const;
    QString text(std::int64_t index) const;

private:
    std::vector<PageLabels> pages_;
    std::vector<std::int64_t> firstOf_; // pages + 1 entries
};

} // namespace vt

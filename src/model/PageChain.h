#pragma once

#include "model/JobSettings.h"
#include "model/PageRecord.h"

#include <memory>
#include <vector>

namespace vt {

// Sets a page's repeat count together with the two texts stored beside it.
void setPageRepeat(PageRecord &page, int repeat);

// The pages of a job in page order. Records keep their addresses for as long
// as they are in the chain, so a PageRecord* stays valid until it is removed.
class PageChain {
public:
    // Gives a record the values of a new page under the given job settings.
    static void resetPage(PageRecord &record, const JobSettings &job);

    // Makes the first record of an empty chain.
    PageRecord *createFirstPage(const JobSettings &job);
    // Makes a record directly after `after` (appends when `after` is null).
    PageRecord *insertPageAfter(PageRecord *after, const JobSettings &job);
    // Walks `index` steps from the head, stopping at the last record.
    PageRecord *pageAt(int index) const;
    // Removes the record; returns its successor, else its predecessor, else null.
    PageRecord *removePage(PageRecord *record);
    void clear() { pages_.clear(); }

    PageRecord *head() const { return pages_.empty() ? nullptr : pages_.front().get(); }
    PageRecord *last() const { return pages_.empty() ? nullptr : pages_.back().get(); }
    PageRecord *next(const PageRecord *record) const;
    PageRecord *prev(const PageRecord *record) const;
    int indexOf(const PageRecord *record) const;
    int size() const { return static_cast<int>(pages_.size()); }
    bool empty() const { return pages_.empty(); }

    PageRecord &operator[](int index) { return *pages_[static_cast<std::size_t>(index)]; }
    const PageRecord &operator[](int index) const { return *pages_[static_cast<std::size_t>(index)]; }

private:
    std::vector<std::unique_ptr<PageRecord>> pages_;
};

} // namespace vt

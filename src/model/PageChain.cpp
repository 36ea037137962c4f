#include "model/PageChain.h"

#include "model/Digits.h"

#include <algorithm>

namespace vt {

void setPageRepeat(PageRecord &page, int repeat)
{
    page.repeat = static_cast<std::uint16_t>(repeat);
    page.repeatDigits = formatDigits(repeat, 4);
    page.repeatText = decimalText(repeat);
}

void PageChain::resetPage(PageRecord &record, const JobSettings &job)
{
    // PageRecord's own defaults give the rest: automatic length, full zoom,
    // mode 'N', selected for print, not current.
    record = PageRecord{};
    record.materialCode = job.materialCode;
    record.sizeCode = job.sizeCode;
    record.lengthCode = job.defaultLengthCode;
    setPageRepeat(record, job.defaultRepeat);
    record.lengthDots = 25 * kDotsPerMm;
    record.adjustedLengthDots = 25 * kDotsPerMm;
    record.autoFontSize = job.defaultAutoFontSize;
    record.fontSize = job.defaultFontSize;
    if (job.defaultAutoLength == 0) {
        record.autoLength = 0;
        record.lengthDots = static_cast<std::int16_t>(job.defaultLengthMm * kDotsPerMm);
    }
    record.frame = job.defaultFrame;
    record.direction = job.defaultDirection;
}

PageRecord *PageChain::createFirstPage(const JobSettings &job)
{
    return insertPageAfter(nullptr, job);
}

PageRecord *PageChain::insertPageAfter(PageRecord *after, const JobSettings &job)
{
    auto record = std::make_unique<PageRecord>();
    resetPage(*record, job);
    const int at = after ? indexOf(after) + 1 : size();
    auto it = pages_.insert(pages_.begin() + std::clamp(at, 0, size()), std::move(record));
    return it->get();
}

PageRecord *PageChain::pageAt(int index) const
{
    if (pages_.empty())
        return nullptr;
    return pages_[static_cast<std::size_t>(std::clamp(index, 0, size() - 1))].get();
}

PageRecord *PageChain::removePage(PageRecord *record)
{
    const int index = indexOf(record);
    if (index < 0)
        return nullptr;
    pages_.erase(pages_.begin() + index);
    if (index < size())
        return pages_[static_cast<std::size_t>(index)].get();
    return index > 0 ? pages_[static_cast<std::size_t>(index - 1)].get() : nullptr;
}

PageRecord *PageChain::next(const PageRecord *record) const
{
    const int index = indexOf(record);
    return index >= 0 && index + 1 < size() ? pages_[static_cast<std::size_t>(index + 1)].get() : nullptr;
}

PageRecord *PageChain::prev(const PageRecord *record) const
{
    const int index = indexOf(record);
    return index > 0 ? pages_[static_cast<std::size_t>(index - 1)].get() : nullptr;
}

int PageChain::indexOf(const PageRecord *record) const
{
    for (std::size_t i = 0; i < pages_.size(); ++i)
        if (pages_[i].get() == record)
            return static_cast<int>(i);
    return -1;
}

} // namespace vt

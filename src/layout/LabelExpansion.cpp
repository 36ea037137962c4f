#include "layout/LabelExpansion.h"

#include "model/CodePage.h"
#include "model/Digits.h"
#include "model/PageChain.h"

#include <algorithm>

namespace vt {

PageLabels::PageLabels(const PageRecord &page)
{
    prints_ = page.selected != 0 && page.textLength != 0;
    repeat_ = page.repeat;
    twoLines_ = page.twoLines != 0;
    const int length = std::min<int>(page.textLength, kMaxTextBytes);
    text_ = toWide(QByteArrayView(reinterpret_cast<const char *>(page.text.data()), length)).trimmed();
    if (page.numbered == 0)
        return;
    // A serialCount that wrapped below 1 stands for no label at all.
    runLength_ = std::max<int>(page.serialCount, 0);
    if (runLength_ == 0)
        prints_ = false;
    for (int i = 0; i < text_.size(); ++i)
        if (text_[i].unicode() < 0x100 && ctl::isNumberCode(std::uint8_t(text_[i].unicode()))) {
            markAt_ = i;
            break;
        }
    // Without its mark (cut off with the text's end) every label shows the text.
    if (markAt_ < 0)
        return;
    if (page.numberDecimal || page.numberPadded) {
        kind_ = page.numberDecimal ? Kind::Decimal : Kind::Padded;
        start_ = parseDecimal(page.serialStart);
        end_ = parseDecimal(page.serialEnd);
    } else if (page.numberUpper || page.numberLower) {
        kind_ = page.numberUpper ? Kind::Upper : Kind::Lower;
        start_ = static_cast<unsigned char>(page.serialStart[0]);
        end_ = static_cast<unsigned char>(page.serialEnd[0]);
    } else {
        markAt_ = -1;
    }
}

int PageLabels::valueAt(int j) const
{
    // The value steps from the start towards the end, one per label; once
    // there, each further step goes one below the end and back again.
    const int distance = std::abs(end_ - start_);
    if (j <= distance)
        return start_ <= end_ ? start_ + j : start_ - j;
    return (j - distance) % 2 == 1 ? end_ - 1 : end_;
}

std::pair<int, int> PageLabels::valueRange() const
{
    const int last = std::min(runLength_ - 1, std::abs(end_ - start_));
    int low = std::min(start_, valueAt(last));
    const int high = std::max(start_, valueAt(last));
    if (runLength_ - 1 > last) // it goes one below the end and back
        low = std::min(low, end_ - 1);
    return {low, high};
}

QString PageLabels::numberFor(int v) const
{
    switch (kind_) {
    case Kind::Plain: return {};
    case Kind::Decimal: return QString::number(v);
    case Kind::Padded: return v < 0 ? QString::number(v) : QString::number(v).rightJustified(3, QLatin1Char('0'));
    case Kind::Upper:
    case Kind::Lower: return v > 0 && v <= 0xFFFF ? QString(QChar(char16_t(v))) : QString();
    }
    return {};
}

QString PageLabels::withNumber(const QString &number) const
{
    if (markAt_ < 0)
        return text_;
    QString out = text_;
    out.replace(markAt_, 1, number);
    return out;
}

LabelLines splitLabel(const QString &text)
{
    const qsizetype at = text.indexOf(QChar(ctl::lineSeparator));
    if (at < 0)
        return {text, {}};
    return {text.left(at), text.mid(at + 1)};
}

JobLabels::JobLabels(const PageChain &chain)
{
    pages_.reserve(std::size_t(chain.size()));
    firstOf_.reserve(std::size_t(chain.size()) + 1);
    std::int64_t first = 0;
    for (const PageRecord *page = chain.head(); page; page = chain.next(page)) {
        pages_.emplace_back(*page);
        firstOf_.push_back(first);
        first += pages_.back().count();
    }
    firstOf_.push_back(first);
}

JobLabels::Place JobLabels::locate(std::int64_t index) const
{
    if (index < 0 || index >= count())
        return {};
    // The last page whose first label is at or before the index; pages
    // without labels share their first index with the next page.
    const auto after = std::upper_bound(firstOf_.begin(), firstOf_.end() - 1, index);
    const int page = int(after - firstOf_.begin()) - 1;
    return {page, index - firstOf_[std::size_t(page)]};
}

QString JobLabels::text(std::int64_t index) const
{
    const Place place = locate(index);
    return place.page < 0 ? QString() : page(place.page).text(place.label);
}

} // namespace vt

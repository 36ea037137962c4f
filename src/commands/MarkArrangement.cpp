#include "commands/MarkArrangement.h"

#include "model/PageRecord.h"

#include <QHash>

#include <algorithm>

namespace vt {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }

} // namespace

NaturalOrder::NaturalOrder(const QLocale &locale) : collator_(locale) {}

NaturalOrder::Key NaturalOrder::key(const QString &text) const
{
    Key key;
    for (qsizetype i = 0; i < text.size();) {
        const bool digits = isDigit(text[i]);
        qsizetype end = i;
        while (end < text.size() && isDigit(text[end]) == digits)
            ++end;
        Key::Run run;
        run.isDigits = digits;
        if (digits) {
            qsizetype first = i;
            while (first + 1 < end && text[first] == u'0')
                ++first;
            run.digits = text.mid(first, end - first);
        } else {
            run.text = text.mid(i, end - i);
        }
        key.runs.push_back(std::move(run));
        i = end;
    }
    return key;
}

int NaturalOrder::compare(const Key &a, const Key &b) const
{
    const std::size_t n = std::min(a.runs.size(), b.runs.size());
    for (std::size_t i = 0; i < n; ++i) {
        const Key::Run &x = a.runs[i];
        const Key::Run &y = b.runs[i];
        if (x.isDigits != y.isDigits)
            return x.isDigits ? -1 : 1; // digits before text, as in a collation
        int c = 0;
        if (x.isDigits) {
            c = x.digits.size() != y.digits.size() ? (x.digits.size() < y.digits.size() ? -1 : 1)
                                                    : x.digits.compare(y.digits);
        } else {
            c = collator_.compare(x.text, y.text);
        }
        if (c != 0)
            return c < 0 ? -1 : 1;
    }
    return a.runs.size() == b.runs.size() ? 0 : a.runs.size() < b.runs.size() ? -1 : 1;
}

int NaturalOrder::compare(const QString &a, const QString &b) const { return compare(key(a), key(b)); }

std::vector<ArrangedPage> arrangePages(std::vector<ArrangedPage> pages, const TableChoice &choice,
                                       const QLocale &locale)
{
    if (choice.merge) {
        std::vector<ArrangedPage> merged;
        std::vector<long> totals;
        QHash<QString, std::size_t> first;
        for (ArrangedPage &p : pages) {
            const QString lines = p.page.line1 + QChar(u'\n') + p.page.line2;
            const auto found = first.constFind(lines);
            if (found == first.cend()) {
                first.insert(lines, merged.size());
                totals.push_back(p.page.repeat);
                merged.push_back(std::move(p));
                continue;
            }
            ArrangedPage &into = merged[*found];
            totals[*found] += p.page.repeat;
            into.origin.rows.insert(into.origin.rows.end(), p.origin.rows.begin(), p.origin.rows.end());
            if (into.origin.end != p.origin.end)
                into.origin.end = WireEnd::Both;
        }
        pages.clear();
        for (std::size_t i = 0; i < merged.size(); ++i) {
            for (long left = totals[i]; left > 0; left -= kMaxRepeat) {
                ArrangedPage part = merged[i];
                part.page.repeat = static_cast<int>(std::min<long>(left, kMaxRepeat));
                pages.push_back(std::move(part));
            }
        }
    }
    if (choice.sort == TableChoice::Sort::Natural) {
        const NaturalOrder order(locale);
        struct Keyed {
            NaturalOrder::Key line1, line2;
            std::size_t at;
        };
        std::vector<Keyed> keys;
        keys.reserve(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i)
            keys.push_back({order.key(pages[i].page.line1), order.key(pages[i].page.line2), i});
        std::stable_sort(keys.begin(), keys.end(), [&order](const Keyed &a, const Keyed &b) {
            const int c = order.compare(a.line1, b.line1);
            return c != 0 ? c < 0 : order.compare(a.line2, b.line2) < 0;
        });
        std::vector<ArrangedPage> sorted;
        sorted.reserve(pages.size());
        for (const Keyed &k : keys)
            sorted.push_back(std::move(pages[k.at]));
        pages = std::move(sorted);
    }
    return pages;
}

} // namespace vt

#pragma once

#include "commands/TableImport.h"

#include <QCollator>
#include <QLocale>

#include <vector>

namespace vt {

// Natural order of marks: runs of digits compare by their value ("-X1:2"
// before "-X1:10"), the text between them by the collation of the language
// (pinyin order for Chinese, as the system's collator gives it).
class NaturalOrder {
public:
    explicit NaturalOrder(const QLocale &locale = QLocale());
    // Negative, zero or positive, as a comes before, with or after b.
    int compare(const QString &a, const QString &b) const;

    // A text cut into its runs, made once for many comparisons.
    struct Key {
        struct Run {
            QString digits; // without leading zeros; empty for a text run
            bool isDigits = false;
            QString text; // a text run
        };
        std::vector<Run> runs;
    };
    Key key(const QString &text) const;
    // Text runs through the collator itself: sort keys of the Windows
    // collator do not order as it compares.
    int compare(const Key &a, const Key &b) const;

private:
    QCollator collator_;
};

// A page of a table with where it came from.
struct ArrangedPage {
    ImportedPage page;
    PageOrigin origin;
    int bytes = 0; // as stored
};

// Merges pages of the same two lines into one at the place of the first, its
// repeat the sum of theirs (a sum over the printer's most becomes pages of
// that many and the rest), then sorts them in natural order of their lines
// (ties keep their order), each when `choice` asks for it.
std::vector<ArrangedPage> arrangePages(std::vector<ArrangedPage> pages, const TableChoice &choice,
                                       const QLocale &locale = QLocale());

} // namespace vt

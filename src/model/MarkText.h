#pragma once

#include <QString>

namespace vt {

// The short name of the mark a character stands for ("sup", "sub",
// "n:0-999", "n:000-999", "n:A-Z", "n:a-z", "sym:01".."sym:77"); empty for
// an ordinary character. No font shows the marks, so they are named instead.
QString markName(QChar c);

// The text with every mark written as «name», as the page table shows it.
QString visibleMarks(const QString &text);

// The text with every mark said in words, for screen readers.
QString spokenMarks(const QString &text);

} // namespace vt

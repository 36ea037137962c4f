#include "files/XlsxSheet.h"

#include <charconv>
#include <cstring>
#include <limits>
#include <string>

namespace vt {

namespace {

template <typename Int>
bool parseDigits(std::string_view v, Int &out)
{
    Int n = 0;
    for (const char c : v) {
        if (c < '0' || c > '9' || n > (std::numeric_limits<Int>::max() - 9) / 10)
            return false;
        n = n * 10 + (c - '0');
    }
    if (v.empty())
        return false;
    out = n;
    return true;
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r'))
        s.remove_suffix(1);
    return s;
}

// A string of the workbook with its "_xHHHH_" escapes decoded.
QString ooxmlString(std::string_view utf8)
{
    const QString s = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return utf8.find("_x") == std::string_view::npos ? s : decodeOoxmlEscapes(s);
}

class SharedStringsParser : public XmlStream {
public:
    explicit SharedStringsParser(XlsxBook &book) : book_(book) {}

protected:
    void startElement(std::string_view name, std::span<const XmlAttribute>) override
    {
        if (name == "rPh")
            ++phonetic_; // a reading aid, not shown in the cell
        else if (name == "t")
            inText_ = phonetic_ == 0;
        else if (name == "si")
            text_.clear();
    }
    void endElement(std::string_view name) override
    {
        if (name == "rPh") {
            --phonetic_;
        } else if (name == "t") {
            inText_ = false;
        } else if (name == "si") {
            book_.strings += ooxmlString(text_);
            book_.stringEnds.push_back(book_.strings.size());
        }
    }
    void characters(std::string_view text) override
    {
        if (inText_)
            text_.append(text);
    }

private:
    XlsxBook &book_;
    std::string text_;
    int phonetic_ = 0;
    bool inText_ = false;
};

enum class Type { Number, Shared, Inline, Boolean, Text };

// The "t" of a cell: n (or none), s, inlineStr, b; str (a formula's text),
// e (an error) and d (a date as text) show their value as it is.
Type typeOf(std::string_view v)
{
    return v == "s" ? Type::Shared : v == "inlineStr" ? Type::Inline : v == "b" ? Type::Boolean
         : v.empty() || v == "n" ? Type::Number : Type::Text;
}

class SheetParser : public XmlStream {
public:
    SheetParser(const XlsxBook &book, const RowSink &sink) : book_(book), sink_(sink) {}
    bool beyondColumns = false;

protected:
    void startElement(std::string_view name, std::span<const XmlAttribute> attributes) override
    {
        if (name == "c" && inRow_) {
            startCell(attributes);
        } else if (column_ >= 0 && name == "v") {
            collecting_ = Value;
        } else if (column_ >= 0 && name == "rPh") {
            ++phonetic_;
        } else if (column_ >= 0 && name == "t" && phonetic_ == 0) {
            collecting_ = Inline;
        } else if (name == "row" && inSheetData_) {
            const std::string_view *r = attribute(attributes, "r");
            qint64 number = 0;
            const bool ok = r && parseDigits(*r, number);
            row_.number = ok && number > row_.number ? number : row_.number + 1;
            if (row_.number > kMaxSheetRows) {
                stop();
                return;
            }
            row_.cells.clear();
            inRow_ = true;
        } else if (name == "sheetData") {
            inSheetData_ = true;
        }
    }

    void endElement(std::string_view name) override
    {
        if (name == "v" || name == "t") {
            collecting_ = None;
        } else if (name == "c" && column_ >= 0) {
            endCell();
        } else if (name == "rPh") {
            --phonetic_;
        } else if (name == "row" && inRow_) {
            inRow_ = false;
            if (!sink_(row_))
                stop();
        } else if (name == "sheetData") {
            stop();
        }
    }

    void characters(std::string_view text) override
    {
        if (collecting_ == Value)
            value_.append(text);
        else if (collecting_ == Inline)
            inline_.append(text);
    }

private:
    void startCell(std::span<const XmlAttribute> attributes)
    {
        column_ = static_cast<int>(row_.cells.size());
        type_ = Type::Number;
        style_ = 0;
        value_.clear();
        inline_.clear();
        for (const XmlAttribute &a : attributes) {
            if (a.name.size() != 1)
                continue;
            const std::string_view v = a.value;
            if (a.name[0] == 'r') {
                int column = 0;
                int letters = 0;
                for (const char c : v) {
                    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
                        break;
                    column = std::min(column * 26 + ((c | 0x20) - 'a' + 1), kMaxSheetColumns + 1);
                    ++letters;
                }
                if (column > kMaxSheetColumns) {
                    // Past XFD: no spreadsheet writes that, and putting it
                    // in the next free column would show it where it is not.
                    beyondColumns = true;
                    stop();
                    return;
                }
                if (letters > 0)
                    column_ = column - 1;
            } else if (a.name[0] == 't') {
                type_ = typeOf(v);
            } else if (a.name[0] == 's') {
                parseDigits(v, style_);
            }
        }
    }

    QString cellText() const
    {
        const NumberFormat *format = style_ >= 0 && static_cast<std::size_t>(style_) < book_.formats.size()
                                         ? &book_.formats[static_cast<std::size_t>(style_)]
                                         : nullptr;
        if (type_ == Type::Number) {
            const std::string_view v = trimmed(value_);
            double number = 0;
            if (v.empty() || std::from_chars(v.data(), v.data() + v.size(), number).ec != std::errc())
                return QString::fromUtf8(value_.data(), static_cast<qsizetype>(value_.size()));
            return format ? format->number(number, book_.date1904) : generalNumberText(number);
        }
        if (type_ == Type::Shared) {
            // No index, or not a number, is no string at all: not the first one.
            const std::string_view v = trimmed(value_);
            qint64 index = -1;
            if (v.empty() || std::from_chars(v.data(), v.data() + v.size(), index).ec != std::errc())
                return {};
            // Wire lists repeat their strings: a string made once is shared
            // by the cells after it instead of copied out of the book again.
            std::pair<qint64, QString> &cached = recent_[static_cast<std::size_t>(index) % recent_.size()];
            if (cached.first != index)
                cached = {index, book_.sharedString(index)};
            return format ? format->text(cached.second) : cached.second;
        }
        if (type_ == Type::Inline) {
            const QString s = ooxmlString(inline_);
            return format ? format->text(s) : s;
        }
        if (type_ == Type::Boolean) {
            const std::string_view v = trimmed(value_);
            return v == "1" || v == "true" ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        }
        // str (a formula's text), e (an error), d (a date as text)
        return ooxmlString(value_);
    }

    void endCell()
    {
        if (column_ >= kMaxSheetColumns) { // cells without a reference past the last column
            column_ = -1;
            return;
        }
        QString text = cellText();
        if (column_ >= row_.cells.size()) {
            while (row_.cells.size() < column_)
                row_.cells.append(QString());
            row_.cells.append(std::move(text));
        } else {
            row_.cells[column_] = std::move(text);
        }
        column_ = -1;
    }

    const XlsxBook &book_;
    const RowSink &sink_;
    TableRow row_;
    bool inSheetData_ = false;
    bool inRow_ = false;
    // The cell being read; its buffers are kept from cell to cell.
    int column_ = -1;
    int style_ = 0;
    Type type_ = Type::Number;
    std::string value_, inline_;
    mutable std::vector<std::pair<qint64, QString>> recent_ = std::vector<std::pair<qint64, QString>>(4096, {-1, {}});
    enum { None, Value, Inline } collecting_ = None;
    int phonetic_ = 0;
};

} // namespace

QString XlsxBook::sharedString(qint64 index) const
{
    if (index < 0 || index >= static_cast<qint64>(stringEnds.size()))
        return {};
    const qsizetype end = stringEnds[static_cast<std::size_t>(index)];
    const qsizetype start = index == 0 ? 0 : stringEnds[static_cast<std::size_t>(index - 1)];
    return strings.mid(start, end - start);
}

XmlStream::End readXlsxSharedStrings(QIODevice &device, XlsxBook &book)
{
    SharedStringsParser parser(book);
    return parser.parse(device);
}

XmlStream::End readXlsxSheet(QIODevice &device, const XlsxBook &book, const RowSink &sink, bool &beyondColumns)
{
    SheetParser parser(book, sink);
    const XmlStream::End end = parser.parse(device);
    beyondColumns = parser.beyondColumns;
    return end;
}

} // namespace vt

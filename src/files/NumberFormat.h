#pragma once

#include <QString>

#include <memory>
#include <vector>

namespace vt {

// A spreadsheet number format code ("0000", "#,##0.00", "yyyy-mm-dd",
// "0.0;\(0.0\);"zero"", ...), parsed once and applied to many cells, so a
// cell reads as the spreadsheet shows it. English month and day names, '.'
// and ',' as the separators, whatever the machine's locale.
class NumberFormat {
public:
    // General.
    NumberFormat();
    explicit NumberFormat(QStringView code);
    // Out of line: Section is known only where formats are parsed.
    ~NumberFormat();
    NumberFormat(const NumberFormat &);
    NumberFormat &operator=(const NumberFormat &);
    NumberFormat(NumberFormat &&) noexcept;
    NumberFormat &operator=(NumberFormat &&) noexcept;

    bool isGeneral() const { return !sections_ || sections_->empty(); }
    // A number (a date or time being its serial) as the cell shows it; the
    // 1904 date system counts days from 1904-01-01.
    QString number(double value, bool date1904 = false) const;
    // A text cell: the format's text section around it, if it has one.
    QString text(const QString &value) const;

    enum class Kind : unsigned char;
    struct Token {
        Kind kind;
        QString text; // a literal, or the digits of a fixed denominator
    };
    struct Section;

private:
    const Section *numberSection(double value, bool &withMinus) const;
    // Shared by copies: a workbook's styles can name one long code in
    // thousands of cell formats.
    std::shared_ptr<const std::vector<Section>> sections_;
    int textSection_ = -1;
};

// The code of a built-in format (numFmtId 0 to 49) as Excel shows it in the
// United States; General for an id that names none.
QString builtinNumberFormat(int id);

// "_x000D_" escapes of OOXML strings decoded ("_x005F_" is the underscore).
QString decodeOoxmlEscapes(const QString &text);

} // namespace vt

#pragma once

// The parsed form of a number format, shared by its parser and its renderers.
#include "files/NumberFormat.h"

namespace vt {

enum class NumberFormat::Kind : unsigned char {
    Literal, Comma, Zero, Hash, Question, Point, Exponent, Slash, Text, General,
    Year2, Year4, Month, Month2, MonthShort, MonthLong, MonthLetter, Day, Day2, DayShort, DayLong,
    Hour, Hour2, Minute, Minute2, Second, Second2, SubSecond, AmPm,
    ElapsedHours, ElapsedMinutes, ElapsedSeconds,
};

using Kind = NumberFormat::Kind;
using Token = NumberFormat::Token;

struct NumberFormat::Section {
    std::vector<Token> tokens;
    enum class Op { None, Less, LessEq, Greater, GreaterEq, Equal, NotEqual } op = Op::None;
    double operand = 0;
    bool date = false;
    bool text = false;
    bool generalOnly = false;
    bool grouping = false;
    bool exponent = false;
    bool fraction = false;
    bool hours12 = false;
    int shift = 0; // powers of ten: +2 for each '%', -3 for each scaling ','
    int subsecondDigits = 0;

    bool matches(double v) const
    {
        switch (op) {
        case Op::None: return true;
        case Op::Less: return v < operand;
        case Op::LessEq: return v <= operand;
        case Op::Greater: return v > operand;
        case Op::GreaterEq: return v >= operand;
        case Op::Equal: return v == operand;
        case Op::NotEqual: return v != operand;
        }
        return true;
    }
};

using Section = NumberFormat::Section;

// The digits of a number section for |value|; `zero` when it rounds to 0.
QString renderNumber(const Section &s, double magnitude, bool &zero);
// A date or time section for a serial day number; false when the serial is
// not a date the spreadsheet can show.
bool renderDate(const Section &s, double serial, bool date1904, QString &out);

} // namespace vt

// Number and date sections applied to a value.
#include "files/NumberFormatParts.h"
#include "files/TableReader.h"

#include <QDate>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace vt {

namespace {

bool isPlaceholder(Kind k) { return k == Kind::Zero || k == Kind::Hash || k == Kind::Question; }

// A magnitude as the spreadsheet keeps it: 15 significant decimal digits.
// The value is 0.d1d2d3... × 10^point; no digits is zero.
struct Digits {
    std::string d;
    int point = 0;

    explicit Digits(double magnitude)
    {
        if (magnitude == 0)
            return;
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.14e", magnitude);
        d.assign(1, buf[0]);
        d.append(buf + 2, 14);
        point = std::atoi(std::strchr(buf, 'e') + 1) + 1;
        trim();
    }
    void trim()
    {
        while (!d.empty() && d.back() == '0')
            d.pop_back();
        if (d.empty())
            point = 0;
    }
    // Keeps `decimals` places after the point, half away from zero, as the
    // spreadsheet rounds (2.675 to 2.68: decimal digits, not binary ones).
    void round(int decimals)
    {
        const int keep = point + decimals;
        if (keep >= static_cast<int>(d.size()))
            return;
        if (keep < 0) {
            d.clear();
            point = 0;
            return;
        }
        const bool up = d[static_cast<std::size_t>(keep)] >= '5';
        d.resize(static_cast<std::size_t>(keep));
        if (up) {
            int i = keep - 1;
            while (i >= 0 && d[static_cast<std::size_t>(i)] == '9')
                d[static_cast<std::size_t>(i--)] = '0';
            if (i < 0) {
                d.insert(d.begin(), '1');
                ++point;
            } else {
                ++d[static_cast<std::size_t>(i)];
            }
        }
        trim();
    }
    bool zero() const { return d.empty(); }
    // The digits before the point, without leading zeros ("" for none).
    std::string integer() const
    {
        if (point <= 0)
            return {};
        std::string i = d.substr(0, static_cast<std::size_t>(point));
        i.resize(static_cast<std::size_t>(point), '0');
        return i;
    }
    char fractionDigit(int k) const
    {
        const int at = point + k;
        return at >= 0 && at < static_cast<int>(d.size()) ? d[static_cast<std::size_t>(at)] : '0';
    }
};

// Fills digit placeholders right to left: the integer part of a number,
// of an exponent, of a fraction's parts. Digits beyond the placeholders go
// in front of the first.
class IntegerFill {
public:
    IntegerFill(std::string digits, int placeholders, bool grouping)
        : digits_(std::move(digits)), count_(placeholders), grouping_(grouping) {}

    void next(Kind k, QString &out)
    {
        const int len = static_cast<int>(digits_.size());
        if (index_ == 0 && count_ > 0)
            for (int p = len - 1; p >= count_; --p)
                put(digits_[static_cast<std::size_t>(len - 1 - p)], p, out);
        const int p = count_ - 1 - index_++;
        // A placeholder past the ones counted (after a fraction's
        // denominator, a second exponent) has no digit of its own.
        if (p >= 0 && p < len)
            put(digits_[static_cast<std::size_t>(len - 1 - p)], p, out);
        else if (k == Kind::Zero)
            put('0', p, out);
        else if (k == Kind::Question)
            out += u' ';
    }

private:
    void put(char digit, int p, QString &out)
    {
        out += QLatin1Char(digit);
        if (grouping_ && p > 0 && p % 3 == 0)
            out += u',';
    }
    std::string digits_;
    int count_;
    bool grouping_;
    int index_ = 0;
};

// Placeholders between `from` and the first token of kind `stop`.
int countPlaceholders(const std::vector<Token> &tokens, std::size_t from, Kind stop, Kind stop2)
{
    int n = 0;
    for (std::size_t i = from; i < tokens.size() && tokens[i].kind != stop && tokens[i].kind != stop2; ++i)
        n += isPlaceholder(tokens[i].kind);
    return n;
}

// The best fraction num/den for `x` with a denominator of at most
// `maxDen`; the smallest denominator of equally close ones. The numerator
// stays a double: without a whole part, x can be any magnitude.
std::pair<double, long long> closestFraction(double x, long long maxDen)
{
    double bestNum = 0;
    long long bestDen = 1;
    double bestError = x;
    for (long long den = 1; den <= maxDen; ++den) {
        const double num = std::round(x * static_cast<double>(den));
        const double error = std::fabs(x - num / static_cast<double>(den));
        if (error < bestError - 1e-12) {
            bestError = error;
            bestNum = num;
            bestDen = den;
        }
    }
    return {bestNum, bestDen};
}

// A whole number's digits, 15 significant ones as for any other number.
std::string wholeDigits(double v)
{
    return v == 0 ? std::string("0") : Digits(v).integer();
}

QString renderFraction(const Section &s, double magnitude, bool &zero)
{
    const std::vector<Token> &t = s.tokens;
    std::size_t slash = 0;
    while (t[slash].kind != Kind::Slash)
        ++slash;
    // The numerator is the run of placeholders right before the slash; one before it is the whole part.
    std::size_t numStart = slash;
    while (numStart > 0 && isPlaceholder(t[numStart - 1].kind))
        --numStart;
    const int wholeCount = countPlaceholders(t, 0, Kind::Slash, Kind::Slash) - static_cast<int>(slash - numStart);
    const bool fixedDen = t[slash + 1].kind == Kind::Literal;
    const int denCount = countPlaceholders(t, slash + 1, Kind::Literal, Kind::Literal);

    double whole = wholeCount > 0 ? std::floor(magnitude) : 0;
    double num = 0;
    long long den = 1;
    if (fixedDen) {
        den = std::max(1LL, t[slash + 1].text.toLongLong());
        num = std::round((magnitude - whole) * static_cast<double>(den));
    } else {
        long long maxDen = 1;
        for (int i = 0; i < denCount && maxDen <= 9999; ++i)
            maxDen *= 10;
        std::tie(num, den) = closestFraction(magnitude - whole, std::min(maxDen - 1, 9999LL));
    }
    // A huge value over a huge fixed denominator: no numerator to show.
    if (!std::isfinite(num)) {
        zero = false;
        return generalNumberText(magnitude);
    }
    if (wholeCount > 0 && num == static_cast<double>(den)) {
        whole += 1;
        num = 0;
    }
    zero = whole == 0 && num == 0;
    IntegerFill wholeFill(whole > 0 || num == 0 ? wholeDigits(whole) : std::string(), wholeCount, s.grouping);
    IntegerFill numFill(wholeDigits(num),
                        static_cast<int>(slash - numStart), false);
    IntegerFill denFill(std::to_string(den), denCount, false);
    // A whole number keeps the fraction's room blank: "2    " for "# ?/?".
    const bool blankFraction = wholeCount > 0 && num == 0;
    std::size_t wholeEnd = 0, denEnd = slash + 1;
    for (std::size_t i = 0; i < numStart; ++i)
        if (isPlaceholder(t[i].kind))
            wholeEnd = i + 1;
    while (!fixedDen && denEnd + 1 < t.size() && isPlaceholder(t[denEnd + 1].kind))
        ++denEnd;
    QString out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        const Token &k = t[i];
        if (blankFraction && i >= wholeEnd && i <= denEnd)
            out += QString(k.kind == Kind::Literal ? k.text.size() : 1, u' ');
        else if (isPlaceholder(k.kind))
            (i < numStart ? wholeFill : i < slash ? numFill : denFill).next(k.kind, out);
        else if (k.kind == Kind::Slash)
            out += u'/';
        else if (k.kind == Kind::Literal)
            out += k.text;
    }
    return out.trimmed().isEmpty() ? QStringLiteral("0") : out;
}

QString renderExponent(const Section &s, double magnitude, bool &zero)
{
    const std::vector<Token> &t = s.tokens;
    const int intCount = std::max(1, countPlaceholders(t, 0, Kind::Point, Kind::Exponent));
    int decimals = 0;
    for (std::size_t i = 0; i < t.size() && t[i].kind != Kind::Exponent; ++i)
        if (t[i].kind == Kind::Point)
            decimals = countPlaceholders(t, i + 1, Kind::Exponent, Kind::Exponent);
    // "##0.0E+0" keeps the exponent a multiple of three (engineering notation).
    const bool engineering = intCount > 1 && t[0].kind == Kind::Hash;
    const auto exponentOf = [&](int e10) {
        return engineering ? (e10 >= 0 ? e10 / intCount : -((-e10 + intCount - 1) / intCount)) * intCount
                           : e10 - intCount + 1;
    };
    Digits x(magnitude);
    int exponent = 0;
    if (!x.zero()) {
        const Digits exact = x;
        exponent = exponentOf(exact.point - 1);
        x.point -= exponent;
        x.round(decimals);
        // Rounding up may carry into one more digit (9.999 to 10.00): a new exponent.
        if (x.point + exponent != exact.point) {
            exponent = exponentOf(x.point + exponent - 1);
            x = exact;
            x.point -= exponent;
            x.round(decimals);
        }
    }
    zero = x.zero();
    if (zero)
        exponent = 0;
    int expPlaceholders = 0;
    for (std::size_t i = 0; i < t.size(); ++i)
        if (t[i].kind == Kind::Exponent)
            expPlaceholders = countPlaceholders(t, i + 1, Kind::Point, Kind::Point);
    IntegerFill mantissa(x.integer(), countPlaceholders(t, 0, Kind::Point, Kind::Exponent), s.grouping);
    const std::string expDigits = std::to_string(std::abs(exponent));
    IntegerFill exp(expDigits == "0" ? std::string() : expDigits, expPlaceholders, false);
    int k = 0;
    QString out;
    enum { Int, Frac, Exp } part = Int;
    for (const Token &tok : t) {
        if (tok.kind == Kind::Point) {
            part = Frac;
            out += u'.';
        } else if (tok.kind == Kind::Exponent) {
            part = Exp;
            out += u'E';
            if (exponent < 0)
                out += u'-';
            else if (tok.text == u"+")
                out += u'+';
        } else if (isPlaceholder(tok.kind)) {
            if (part == Int)
                mantissa.next(tok.kind, out);
            else if (part == Frac)
                out += QLatin1Char(x.fractionDigit(k++));
            else
                exp.next(tok.kind, out);
        } else if (tok.kind == Kind::Literal) {
            out += tok.text;
        }
    }
    return out;
}

} // namespace

QString renderNumber(const Section &s, double magnitude, bool &zero)
{
    if (s.fraction)
        return renderFraction(s, magnitude, zero);
    if (s.exponent)
        return renderExponent(s, magnitude, zero);
    const std::vector<Token> &t = s.tokens;
    std::vector<Kind> decimals;
    bool afterPoint = false;
    for (const Token &tok : t) {
        afterPoint = afterPoint || tok.kind == Kind::Point;
        if (afterPoint && isPlaceholder(tok.kind))
            decimals.push_back(tok.kind);
    }
    Digits x(magnitude);
    x.point += s.shift;
    x.round(static_cast<int>(decimals.size()));
    zero = x.zero();
    // Trailing zeros show only where a '0' asks for them.
    int lastShown = -1;
    for (int k = 0; k < static_cast<int>(decimals.size()); ++k)
        if (x.fractionDigit(k) != '0' || decimals[static_cast<std::size_t>(k)] != Kind::Hash)
            lastShown = k;
    IntegerFill integer(x.integer(), countPlaceholders(t, 0, Kind::Point, Kind::Point), s.grouping);
    QString out;
    int k = 0;
    afterPoint = false;
    for (const Token &tok : t) {
        if (tok.kind == Kind::Point) {
            // With no decimal left to show, no point either ("0.###" shows 2 as "2").
            if (lastShown >= 0 && !afterPoint)
                out += u'.';
            afterPoint = true;
        } else if (isPlaceholder(tok.kind)) {
            if (!afterPoint) {
                integer.next(tok.kind, out);
            } else {
                if (k <= lastShown)
                    out += QLatin1Char(x.fractionDigit(k));
                else if (tok.kind == Kind::Question)
                    out += u' ';
                ++k;
            }
        } else if (tok.kind == Kind::Literal) {
            out += tok.text;
        } else if (tok.kind == Kind::General) {
            out += generalNumberText(magnitude);
        }
    }
    return out;
}

bool renderDate(const Section &s, double serial, bool date1904, QString &out)
{
    // Days after 9999-12-31 have no date.
    if (serial >= (date1904 ? 2957004.0 : 2958466.0))
        return false;
    qint64 unitsPerSecond = 1;
    for (int i = 0; i < s.subsecondDigits; ++i)
        unitsPerSecond *= 10;
    // Rounded to what is shown of the seconds; minutes and hours then follow
    // from the rounded time, never rounded themselves.
    const qint64 perDay = 86400 * unitsPerSecond;
    const qint64 units = std::llround(serial * static_cast<double>(perDay));
    const qint64 days = units / perDay;
    const qint64 inDay = units % perDay;
    const qint64 seconds = inDay / unitsPerSecond;
    const qint64 fraction = inDay % unitsPerSecond;

    int year = 1900, month = 2, day = 29, weekday = 3; // the 1900 leap day the spreadsheet counts
    if (date1904 || days != 60) {
        const QDate date = date1904 ? QDate(1904, 1, 1).addDays(days)
                           : days < 60 ? QDate(1899, 12, 31).addDays(days) : QDate(1899, 12, 30).addDays(days);
        year = date.year();
        month = date.month();
        day = date.day();
        weekday = date.dayOfWeek() % 7;
    }
    static const char *const months[] = {"January", "February", "March", "April", "May", "June", "July",
                                         "August", "September", "October", "November", "December"};
    static const char *const weekdays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    const int hour = static_cast<int>(seconds / 3600);
    const int minute = static_cast<int>(seconds / 60 % 60);
    const int second = static_cast<int>(seconds % 60);
    const int shownHour = s.hours12 ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    const qint64 totalSeconds = days * 86400 + seconds;
    const auto num = [&out](qint64 v, int width) { out += QStringLiteral("%1").arg(v, width, 10, QLatin1Char('0')); };
    out.clear();
    for (const Token &t : s.tokens) {
        switch (t.kind) {
        case Kind::Literal: out += t.text; break;
        case Kind::Year2: num(year % 100, 2); break;
        case Kind::Year4: num(year, 4); break;
        case Kind::Month: num(month, 1); break;
        case Kind::Month2: num(month, 2); break;
        case Kind::MonthShort: out += QLatin1StringView(months[month - 1], 3); break;
        case Kind::MonthLong: out += QLatin1StringView(months[month - 1]); break;
        case Kind::MonthLetter: out += QLatin1Char(months[month - 1][0]); break;
        case Kind::Day: num(day, 1); break;
        case Kind::Day2: num(day, 2); break;
        case Kind::DayShort: out += QLatin1StringView(weekdays[weekday], 3); break;
        case Kind::DayLong: out += QLatin1StringView(weekdays[weekday]); break;
        case Kind::Hour: num(shownHour, 1); break;
        case Kind::Hour2: num(shownHour, 2); break;
        case Kind::Minute: num(minute, 1); break;
        case Kind::Minute2: num(minute, 2); break;
        case Kind::Second: num(second, 1); break;
        case Kind::Second2: num(second, 2); break;
        case Kind::SubSecond:
            out += u'.';
            num(fraction, s.subsecondDigits);
            break;
        case Kind::AmPm: {
            const bool pm = hour >= 12;
            // LibreOffice shows "A/P" in small letters, as "a/p".
            if (t.text.size() == 5)
                out += pm ? QStringLiteral("PM") : QStringLiteral("AM");
            else
                out += pm ? u'p' : u'a';
            break;
        }
        case Kind::ElapsedHours: num(totalSeconds / 3600, static_cast<int>(t.text.size())); break;
        case Kind::ElapsedMinutes: num(totalSeconds / 60, static_cast<int>(t.text.size())); break;
        case Kind::ElapsedSeconds: num(totalSeconds, static_cast<int>(t.text.size())); break;
        default: break;
        }
    }
    return true;
}

} // namespace vt

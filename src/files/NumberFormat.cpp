#include "files/NumberFormat.h"

#include "files/NumberFormatParts.h"
#include "files/TableReader.h"

#include <QDate>

#include <cmath>

namespace vt {


namespace {

bool isPlaceholder(Kind k) { return k == Kind::Zero || k == Kind::Hash || k == Kind::Question; }
bool isDateKind(Kind k) { return k >= Kind::Year2; }

void appendLiteral(Section &s, QStringView text)
{
    if (!s.tokens.empty() && s.tokens.back().kind == Kind::Literal)
        s.tokens.back().text += text;
    else
        s.tokens.push_back({Kind::Literal, text.toString()});
}

// "[...]": a condition, a currency text, an elapsed-time unit; colours and
// locale tags change nothing in the text.
void parseBracket(Section &s, QStringView in)
{
    if (in.startsWith(u'$')) {
        const qsizetype dash = in.indexOf(u'-');
        appendLiteral(s, in.mid(1, dash < 0 ? -1 : dash - 1));
        return;
    }
    if (!in.isEmpty() && (in[0] == u'<' || in[0] == u'>' || in[0] == u'=')) {
        using Op = Section::Op;
        const bool two = in.size() > 1 && (in[1] == u'=' || in[1] == u'>');
        const QStringView op = in.left(two ? 2 : 1);
        s.op = op == u"<" ? Op::Less : op == u"<=" ? Op::LessEq : op == u">" ? Op::Greater
             : op == u">=" ? Op::GreaterEq : op == u"<>" ? Op::NotEqual : Op::Equal;
        s.operand = in.mid(op.size()).trimmed().toDouble();
        return;
    }
    const QString lower = in.toString().toLower();
    if (!lower.isEmpty() && lower.count(lower[0]) == lower.size()) {
        const char16_t c = lower[0].unicode();
        const Kind k = c == u'h' ? Kind::ElapsedHours : c == u'm' ? Kind::ElapsedMinutes
                     : c == u's' ? Kind::ElapsedSeconds : Kind::Literal;
        if (k != Kind::Literal)
            s.tokens.push_back({k, QString(lower.size(), u'0')});
    }
}

Kind dateKind(char16_t letter, qsizetype run)
{
    switch (letter) {
    case u'y': return run <= 2 ? Kind::Year2 : Kind::Year4;
    case u'm': return run == 1 ? Kind::Month : run == 2 ? Kind::Month2 : run == 3 ? Kind::MonthShort
                    : run == 4 ? Kind::MonthLong : Kind::MonthLetter;
    case u'd': return run == 1 ? Kind::Day : run == 2 ? Kind::Day2 : run == 3 ? Kind::DayShort : Kind::DayLong;
    case u'h': return run == 1 ? Kind::Hour : Kind::Hour2;
    default: return run == 1 ? Kind::Second : Kind::Second2;
    }
}

bool isSecond(Kind k) { return k == Kind::Second || k == Kind::Second2 || k == Kind::ElapsedSeconds; }
bool isHour(Kind k) { return k == Kind::Hour || k == Kind::Hour2 || k == Kind::ElapsedHours; }

// 'm' is a minute after an hour or before a second, a month otherwise.
void resolveMinutes(Section &s)
{
    std::vector<std::size_t> dated;
    for (std::size_t i = 0; i < s.tokens.size(); ++i)
        if (isDateKind(s.tokens[i].kind) && s.tokens[i].kind != Kind::SubSecond && s.tokens[i].kind != Kind::AmPm)
            dated.push_back(i);
    for (std::size_t j = 0; j < dated.size(); ++j) {
        Token &t = s.tokens[dated[j]];
        if (t.kind != Kind::Month && t.kind != Kind::Month2)
            continue;
        const bool afterHour = j > 0 && isHour(s.tokens[dated[j - 1]].kind);
        const bool beforeSecond = j + 1 < dated.size() && isSecond(s.tokens[dated[j + 1]].kind);
        if (afterHour || beforeSecond)
            t.kind = t.kind == Kind::Month ? Kind::Minute : Kind::Minute2;
    }
}

Section parseSection(QStringView code)
{
    Section s;
    const qsizetype n = code.size();
    bool placeholders = false;
    for (qsizetype i = 0; i < n;) {
        const char16_t c = code[i].unicode();
        const char16_t lower = QChar::toLower(c);
        const QStringView rest = code.mid(i);
        if (c == u'"') {
            qsizetype end = code.indexOf(u'"', i + 1);
            if (end < 0)
                end = n;
            appendLiteral(s, code.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == u'\\' || c == u'_' || c == u'*') {
            // "_x" leaves the width of x blank; "*x" repeats x to fill the
            // column, which a text without width shows as nothing.
            if (c == u'\\' && i + 1 < n)
                appendLiteral(s, code.mid(i + 1, 1));
            else if (c == u'_')
                appendLiteral(s, u" ");
            i += 2;
        } else if (c == u'[') {
            qsizetype end = code.indexOf(u']', i);
            if (end < 0)
                end = n;
            parseBracket(s, code.mid(i + 1, end - i - 1));
            i = end + 1;
        } else if (c == u'0' || c == u'#' || c == u'?') {
            s.tokens.push_back({c == u'0' ? Kind::Zero : c == u'#' ? Kind::Hash : Kind::Question, {}});
            placeholders = true;
            ++i;
        } else if (c == u'.' && !s.tokens.empty() && isSecond(s.tokens.back().kind) && i + 1 < n && code[i + 1] == u'0') {
            qsizetype zeros = 0;
            while (i + 1 + zeros < n && code[i + 1 + zeros] == u'0')
                ++zeros;
            s.subsecondDigits = static_cast<int>(std::min<qsizetype>(zeros, 3));
            s.tokens.push_back({Kind::SubSecond, {}});
            i += 1 + zeros;
        } else if (c == u'.') {
            s.tokens.push_back({Kind::Point, {}});
            ++i;
        } else if (c == u',') {
            s.tokens.push_back({Kind::Comma, {}});
            ++i;
        } else if (c == u'%') {
            s.shift += 2;
            appendLiteral(s, u"%");
            ++i;
        } else if (lower == u'e' && placeholders && i + 1 < n && (code[i + 1] == u'+' || code[i + 1] == u'-')) {
            s.tokens.push_back({Kind::Exponent, code.mid(i + 1, 1).toString()});
            s.exponent = true;
            i += 2;
        } else if (c == u'/') {
            s.tokens.push_back({Kind::Slash, {}});
            ++i;
        } else if (c == u'@') {
            s.tokens.push_back({Kind::Text, {}});
            s.text = true;
            ++i;
        } else if (rest.startsWith(u"General", Qt::CaseInsensitive)) {
            s.tokens.push_back({Kind::General, {}});
            i += 7;
        } else if (rest.startsWith(u"AM/PM", Qt::CaseInsensitive) || rest.startsWith(u"A/P", Qt::CaseInsensitive)) {
            const qsizetype len = rest.startsWith(u"AM/PM", Qt::CaseInsensitive) ? 5 : 3;
            s.tokens.push_back({Kind::AmPm, rest.left(len).toString()});
            s.hours12 = true;
            i += len;
        } else if (lower == u'y' || lower == u'm' || lower == u'd' || lower == u'h' || lower == u's') {
            qsizetype run = 1;
            while (i + run < n && QChar::toLower(code[i + run].unicode()) == lower)
                ++run;
            s.tokens.push_back({dateKind(lower, run), {}});
            i += run;
        } else {
            appendLiteral(s, code.mid(i, 1));
            ++i;
        }
    }
    resolveMinutes(s);
    for (const Token &t : s.tokens)
        s.date = s.date || isDateKind(t.kind);

    // A comma between digit placeholders groups thousands; after the last
    // one it divides by a thousand.
    std::vector<Token> tokens;
    bool digitsBefore = false;
    for (std::size_t i = 0; i < s.tokens.size(); ++i) {
        const Token &t = s.tokens[i];
        if (t.kind == Kind::Comma) {
            const bool digitAfter = i + 1 < s.tokens.size() && isPlaceholder(s.tokens[i + 1].kind);
            if (!s.date && digitsBefore && digitAfter)
                s.grouping = true;
            else if (!s.date && digitsBefore)
                s.shift -= 3;
            else
                tokens.push_back({Kind::Literal, QStringLiteral(",")});
            continue;
        }
        digitsBefore = digitsBefore || isPlaceholder(t.kind);
        if (t.kind == Kind::Slash) {
            const bool before = i > 0 && isPlaceholder(s.tokens[i - 1].kind);
            const bool after = i + 1 < s.tokens.size()
                && (isPlaceholder(s.tokens[i + 1].kind)
                    || (s.tokens[i + 1].kind == Kind::Literal && s.tokens[i + 1].text.front().isDigit()));
            if (before && after && !s.date) {
                s.fraction = true;
                tokens.push_back(t);
            } else {
                tokens.push_back({Kind::Literal, QStringLiteral("/")});
            }
            continue;
        }
        tokens.push_back(t);
    }
    // Literals side by side become one.
    std::vector<Token> merged;
    for (Token &t : tokens) {
        if (t.kind == Kind::Literal && !merged.empty() && merged.back().kind == Kind::Literal)
            merged.back().text += t.text;
        else
            merged.push_back(std::move(t));
    }
    tokens = std::move(merged);
    s.tokens = std::move(tokens);
    s.generalOnly = s.tokens.size() == 1 && s.tokens[0].kind == Kind::General;
    return s;
}

} // namespace

NumberFormat::NumberFormat() = default;
NumberFormat::~NumberFormat() = default;
NumberFormat::NumberFormat(const NumberFormat &) = default;
NumberFormat &NumberFormat::operator=(const NumberFormat &) = default;
NumberFormat::NumberFormat(NumberFormat &&) noexcept = default;
NumberFormat &NumberFormat::operator=(NumberFormat &&) noexcept = default;

NumberFormat::NumberFormat(QStringView code)
{
    if (code.trimmed().compare(u"General", Qt::CaseInsensitive) == 0 || code.trimmed().isEmpty())
        return;
    std::vector<Section> sections;
    qsizetype start = 0;
    bool quoted = false;
    for (qsizetype i = 0; i <= code.size(); ++i) {
        if (i < code.size()) {
            const QChar c = code[i];
            if (c == u'"')
                quoted = !quoted;
            else if (c == u'\\' && !quoted && i + 1 < code.size()) // a '\' at the end escapes nothing
                ++i;
            if (quoted || c != u';')
                continue;
        }
        sections.push_back(parseSection(code.mid(start, i - start)));
        start = i + 1;
    }
    if (sections.size() >= 4)
        textSection_ = 3;
    else if (sections.back().text)
        textSection_ = static_cast<int>(sections.size()) - 1;
    sections_ = std::make_shared<const std::vector<Section>>(std::move(sections));
}

const Section *NumberFormat::numberSection(double value, bool &withMinus) const
{
    const std::vector<Section> &sections = *sections_;
    const int count = std::min<int>(textSection_ >= 0 ? textSection_ : static_cast<int>(sections.size()), 3);
    withMinus = value < 0;
    if (count == 0)
        return nullptr;
    const Section &first = sections[0];
    if (first.op != Section::Op::None || (count > 1 && sections[1].op != Section::Op::None)) {
        // Conditions: the first section that matches, the last one otherwise.
        for (int i = 0; i < count; ++i) {
            const Section &s = sections[i];
            if (s.op == Section::Op::None || s.matches(value)) {
                // "[<0]" stands for the negative section, which shows no sign of its own.
                if ((s.op == Section::Op::Less || s.op == Section::Op::LessEq) && s.operand <= 0)
                    withMinus = false;
                return s.op == Section::Op::None && i + 1 < count && sections[i + 1].op != Section::Op::None
                           && sections[i + 1].matches(value) ? &sections[i + 1] : &s;
            }
        }
        return nullptr;
    }
    if (count == 1)
        return &first;
    withMinus = false;
    if (value > 0 || (value == 0 && count == 2))
        return &first;
    if (value < 0)
        return &sections[1];
    return &sections[2];
}

QString NumberFormat::number(double value, bool date1904) const
{
    if (!std::isfinite(value) || isGeneral())
        return generalNumberText(value);
    bool withMinus = false;
    const Section *s = numberSection(value, withMinus);
    if (!s || (s->generalOnly && !withMinus))
        return generalNumberText(value);
    const double magnitude = std::fabs(value);
    QString shown;
    if (s->date) {
        if (value < 0 || !renderDate(*s, magnitude, date1904, shown))
            return generalNumberText(value);
        return shown;
    }
    bool zero = false;
    shown = renderNumber(*s, magnitude, zero);
    if (withMinus && !zero)
        shown.prepend(u'-');
    return shown;
}

QString NumberFormat::text(const QString &value) const
{
    if (textSection_ < 0)
        return value;
    QString shown;
    for (const Token &t : (*sections_)[static_cast<std::size_t>(textSection_)].tokens) {
        if (t.kind == Kind::Text)
            shown += value;
        else if (t.kind == Kind::Literal)
            shown += t.text;
    }
    return shown;
}

QString builtinNumberFormat(int id)
{
    static const char *const codes[50] = {
        "General", "0", "0.00", "#,##0", "#,##0.00",
        "\"$\"#,##0_);\\(\"$\"#,##0\\)", "\"$\"#,##0_);[Red]\\(\"$\"#,##0\\)",
        "\"$\"#,##0.00_);\\(\"$\"#,##0.00\\)", "\"$\"#,##0.00_);[Red]\\(\"$\"#,##0.00\\)",
        "0%", "0.00%", "0.00E+00", "# ?/?", "# ?\?/??", "m/d/yyyy", "d-mmm-yy", "d-mmm", "mmm-yy",
        "h:mm AM/PM", "h:mm:ss AM/PM", "h:mm", "h:mm:ss", "m/d/yyyy h:mm",
        nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
        nullptr, nullptr, nullptr, // 23-36: East Asian dates, shown as General elsewhere
        "#,##0_);(#,##0)", "#,##0_);[Red](#,##0)", "#,##0.00_);(#,##0.00)", "#,##0.00_);[Red](#,##0.00)",
        "_(* #,##0_);_(* \\(#,##0\\);_(* \"-\"_);_(@_)",
        "_(\"$\"* #,##0_);_(\"$\"* \\(#,##0\\);_(\"$\"* \"-\"_);_(@_)",
        "_(* #,##0.00_);_(* \\(#,##0.00\\);_(* \"-\"??_);_(@_)",
        "_(\"$\"* #,##0.00_);_(\"$\"* \\(#,##0.00\\);_(\"$\"* \"-\"??_);_(@_)",
        "mm:ss", "[h]:mm:ss", "mm:ss.0", "##0.0E+0", "@",
    };
    if (id < 0 || id >= 50 || !codes[id])
        return QStringLiteral("General");
    return QString::fromUtf8(codes[id]);
}

QString decodeOoxmlEscapes(const QString &text)
{
    qsizetype at = text.indexOf(QLatin1StringView("_x"));
    if (at < 0)
        return text;
    QString out;
    qsizetype from = 0;
    for (; at >= 0; at = text.indexOf(QLatin1StringView("_x"), at)) {
        bool ok = false;
        const ushort code = at + 7 <= text.size() && text[at + 6] == u'_' ? text.mid(at + 2, 4).toUShort(&ok, 16) : 0;
        if (!ok) {
            ++at;
            continue;
        }
        out += QStringView(text).mid(from, at - from);
        out += QChar(code);
        at += 7;
        from = at;
    }
    out += QStringView(text).mid(from);
    return out;
}

} // namespace vt

#include "model/MarkText.h"

#include "model/PageRecord.h"

#include <QCoreApplication>

namespace vt {

namespace {

struct MarkNames {
    QString shortName; // as the table shows it
    QString words;     // as a screen reader says it
};

MarkNames namesOf(QChar c)
{
    const char16_t u = c.unicode();
    switch (u) {
    case mark::superscript: return {QStringLiteral("sup"), QCoreApplication::translate("vt::MarkText", "superscript")};
    case mark::subscript: return {QStringLiteral("sub"), QCoreApplication::translate("vt::MarkText", "subscript")};
    case mark::numberDecimal:
        return {QStringLiteral("n:0-999"), QCoreApplication::translate("vt::MarkText", "serial number 0 to 999")};
    case mark::numberPadded:
        return {QStringLiteral("n:000-999"), QCoreApplication::translate("vt::MarkText", "serial number 000 to 999")};
    case mark::numberUpper:
        return {QStringLiteral("n:A-Z"), QCoreApplication::translate("vt::MarkText", "serial letter A to Z")};
    case mark::numberLower:
        return {QStringLiteral("n:a-z"), QCoreApplication::translate("vt::MarkText", "serial letter a to z")};
    }
    if (u >= mark::firstSymbol && u <= mark::lastSymbol) {
        const int number = u - mark::firstSymbol + 1;
        return {QStringLiteral("sym:%1").arg(number, 2, 10, QLatin1Char('0')),
                QCoreApplication::translate("vt::MarkText", "symbol %1").arg(number)};
    }
    return {};
}

} // namespace

QString markName(QChar c)
{
    return namesOf(c).shortName;
}

QString visibleMarks(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const QString name = markName(c);
        if (name.isEmpty())
            out += c;
        else
            out += QChar(0xAB) + name + QChar(0xBB);
    }
    return out;
}

QString spokenMarks(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        const QString word = namesOf(c).words;
        if (word.isEmpty()) {
            out += c;
        } else {
            if (!out.isEmpty() && !out.endsWith(QLatin1Char(' ')))
                out += QLatin1Char(' ');
            out += word + QLatin1Char(' ');
        }
    }
    return out.trimmed();
}

} // namespace vt

#include "document/MarkText.h"

#include "document/PageRecord.h"

namespace vt {

QString markName(QChar c)
{
    const char16_t u = c.unicode();
    switch (u) {
    case mark::superscript: return QStringLiteral("sup");
    case mark::subscript: return QStringLiteral("sub");
    case mark::numberDecimal: return QStringLiteral("n:0-999");
    case mark::numberPadded: return QStringLiteral("n:000-999");
    case mark::numberUpper: return QStringLiteral("n:A-Z");
    case mark::numberLower: return QStringLiteral("n:a-z");
    }
    if (u >= mark::firstSymbol && u <= mark::lastSymbol)
        return QStringLiteral("sym:%1").arg(u - mark::firstSymbol + 1, 2, 10, QLatin1Char('0'));
    return {};
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
        const char16_t u = c.unicode();
        QString word;
        switch (u) {
        case mark::superscript: word = QStringLiteral("superscript"); break;
        case mark::subscript: word = QStringLiteral("subscript"); break;
        case mark::numberDecimal: word = QStringLiteral("serial number 0 to 999"); break;
        case mark::numberPadded: word = QStringLiteral("serial number 000 to 999"); break;
        case mark::numberUpper: word = QStringLiteral("serial letter A to Z"); break;
        case mark::numberLower: word = QStringLiteral("serial letter a to z"); break;
        default:
            if (u >= mark::firstSymbol && u <= mark::lastSymbol)
                word = QStringLiteral("symbol %1").arg(u - mark::firstSymbol + 1);
        }
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

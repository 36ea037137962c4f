#include "files/XlsStream.h"

namespace vt::xlsstream {

void append(QByteArray &out, char tag, QByteArrayView payload)
{
    out += tag;
    out += QByteArray::number(payload.size());
    out += ':';
    out += payload;
}

Next next(const QByteArray &data, qsizetype &pos, Record &record)
{
    // At most 10 digits: no payload comes near 10^10 bytes.
    constexpr qsizetype kMaxDigits = 10;
    if (pos >= data.size())
        return Next::More;
    qint64 length = 0;
    qsizetype at = pos + 1;
    for (; at < data.size() && data[at] != ':'; ++at) {
        const char c = data[at];
        if (c < '0' || c > '9' || at - pos > kMaxDigits)
            return Next::Bad;
        length = length * 10 + (c - '0');
    }
    if (at >= data.size())
        return Next::More;
    if (at == pos + 1)
        return Next::Bad;
    if (length > data.size() - at - 1)
        return Next::More;
    record.tag = data[pos];
    record.payload = data.mid(at + 1, length);
    pos = at + 1 + length;
    return Next::Record;
}

} // namespace vt::xlsstream

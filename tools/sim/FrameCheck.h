#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QStringList>

namespace vt::sim {

// Decodes one data frame (from 0x02 'A' through 'E') into its header fields
// and page records, each with its raw bytes in hex, and lists every way in
// which it breaks the frame rules. `extendedFrame`: the header carries the
// copies byte.
struct CheckedFrame {
    QJsonObject json;
    QStringList violations;
    int pages = 0;
};
CheckedFrame checkFrame(const QByteArray &frame, bool extendedFrame);

} // namespace vt::sim

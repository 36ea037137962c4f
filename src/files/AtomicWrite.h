#pragma once

#include <QByteArray>
#include <QString>

namespace vt {

// Writes `bytes` beside `path` and moves them over it only once all of them
// are on disk, so a failure (a full disk included) leaves the earlier file
// as it was. False with the reason in `error` otherwise.
bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error = nullptr);

} // namespace vt

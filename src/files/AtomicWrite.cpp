#include "files/AtomicWrite.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace vt {

bool writeFileAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    // Unbuffered: a buffered write reports every byte taken, and the flush at
    // commit does not notice a short write (a full disk), so a cut file
    // would replace the good one.
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size()
        && file.commit())
        return true;
    if (error) {
        *error = file.errorString();
        if (file.error() == QFileDevice::NoError || file.error() == QFileDevice::UnspecifiedError || error->isEmpty())
            *error = QCoreApplication::translate("vt::AtomicWrite", "the new file could not be completed.");
    }
    return false;
}

} // namespace vt

#include "files/Config.h"

#include <QDir>
#include <QStandardPaths>

namespace vt {

QString configDirectory()
{
    QString dir = qEnvironmentVariable("VT350_CONFIG_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir().mkpath(dir);
    return dir;
}

} // namespace vt

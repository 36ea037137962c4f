#include "files/RecentFiles.h"

#include "files/Config.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace vt {

namespace {
const QString kKey = QStringLiteral("Recent/Files");
}

RecentFiles::RecentFiles(QString iniPath) : iniPath_(std::move(iniPath))
{
    if (iniPath_.isEmpty())
        iniPath_ = QDir(configDirectory()).filePath(QStringLiteral("recent-files.ini"));
}

QStringList RecentFiles::paths() const
{
    const QSettings settings(iniPath_, QSettings::IniFormat);
    QStringList list = settings.value(kKey).toStringList();
    list.removeAll(QString());
    return list.mid(0, kMaxFiles);
}

void RecentFiles::add(const QString &path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMaxFiles));
}

void RecentFiles::remove(const QString &path)
{
    QStringList list = paths();
    if (list.removeAll(QFileInfo(path).absoluteFilePath()) > 0)
        store(list);
}

void RecentFiles::store(const QStringList &paths)
{
    QSettings settings(iniPath_, QSettings::IniFormat);
    settings.setValue(kKey, paths);
}

} // namespace vt

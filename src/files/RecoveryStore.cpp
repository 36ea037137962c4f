#include "files/RecoveryStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSaveFile>
#include <QSettings>
#include <QStandardPaths>

#include <algorithm>
#include <atomic>

namespace vt {

namespace {

constexpr char kData[] = ".vtd";
constexpr char kInfo[] = ".info";
constexpr char kLock[] = ".lock";

// Windows of one process are told apart by a counter beside the process id.
std::atomic<int> nextWindow{1};

bool writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

std::unique_ptr<QLockFile> newLock(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // A lock is stale only when its process has gone, however old it is: a
    // program may well run for days with unsaved pages.
    lock->setStaleLockTime(0);
    return lock;
}

} // namespace

QString stateDirectory()
{
    QString dir = qEnvironmentVariable("VT350_STATE_DIR");
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) + QStringLiteral("/recovery");
    QDir().mkpath(dir);
    return dir;
}

RecoveryStore::RecoveryStore(QString directory)
    : directory_(std::move(directory)),
      id_(QStringLiteral("%1-%2").arg(QCoreApplication::applicationPid()).arg(nextWindow++))
{
    QDir().mkpath(directory_);
}

RecoveryStore::~RecoveryStore() = default;

QString RecoveryStore::pathOf(const QString &id, const char *suffix) const
{
    return QDir(directory_).filePath(id + QLatin1String(suffix));
}

QString RecoveryStore::dataPath() const { return pathOf(id_, kData); }

bool RecoveryStore::holdsFiles() const { return QFileInfo::exists(dataPath()); }

bool RecoveryStore::lock()
{
    if (lock_ && lock_->isLocked())
        return true;
    lock_ = newLock(pathOf(id_, kLock));
    return lock_->tryLock(0);
}

bool RecoveryStore::write(const QByteArray &document, const QString &documentPath, const QDateTime &writtenAt)
{
    if (!lock())
        return false;
    QByteArray info;
    info += "document=" + documentPath.toUtf8() + '\n';
    info += "written=" + writtenAt.toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    return writeAtomically(dataPath(), document) && writeAtomically(pathOf(id_, kInfo), info);
}

void RecoveryStore::discard()
{
    QFile::remove(dataPath());
    QFile::remove(pathOf(id_, kInfo));
    lock_.reset(); // unlocks and removes the lock file
}

std::vector<RecoveryFile> RecoveryStore::claimLeftovers()
{
    std::vector<RecoveryFile> found;
    const QDir dir(directory_);
    for (const QFileInfo &data : dir.entryInfoList({QStringLiteral("*.vtd")}, QDir::Files)) {
        const QString id = data.completeBaseName();
        if (id == id_ || std::any_of(claimed_.begin(), claimed_.end(), [&](const auto &c) { return c.first == id; }))
            continue;
        auto claim = newLock(pathOf(id, kLock));
        // Held by a running program (this one's other windows included): not ours to offer.
        if (!claim->tryLock(0))
            continue;
        RecoveryFile file{data.filePath(), {}, data.lastModified()};
        QFile info(pathOf(id, kInfo));
        if (info.open(QIODevice::ReadOnly)) {
            while (!info.atEnd()) {
                const QString line = QString::fromUtf8(info.readLine()).chopped(1);
                if (line.startsWith(QLatin1String("document=")))
                    file.documentPath = line.mid(9);
                else if (line.startsWith(QLatin1String("written="))) {
                    const QDateTime at = QDateTime::fromString(line.mid(8), Qt::ISODateWithMs);
                    if (at.isValid())
                        file.writtenAt = at;
                }
            }
        }
        found.push_back(file);
        claimed_.emplace_back(id, std::move(claim));
    }
    // Locks of programs that ended before writing anything are only litter.
    for (const QFileInfo &lockInfo : dir.entryInfoList({QStringLiteral("*.lock")}, QDir::Files)) {
        const QString id = lockInfo.completeBaseName();
        if (id == id_ || QFileInfo::exists(pathOf(id, kData)))
            continue;
        auto stale = newLock(lockInfo.filePath());
        if (stale->tryLock(0))
            stale->unlock();
    }
    std::sort(found.begin(), found.end(), [](const RecoveryFile &a, const RecoveryFile &b) {
        return a.writtenAt > b.writtenAt;
    });
    return found;
}

void RecoveryStore::remove(const RecoveryFile &file)
{
    const QString id = QFileInfo(file.dataPath).completeBaseName();
    QFile::remove(file.dataPath);
    QFile::remove(pathOf(id, kInfo));
    release(file);
}

void RecoveryStore::release(const RecoveryFile &file)
{
    const QString id = QFileInfo(file.dataPath).completeBaseName();
    std::erase_if(claimed_, [&](const auto &c) { return c.first == id; });
}

} // namespace vt

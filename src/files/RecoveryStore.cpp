#include "files/RecoveryStore.h"

#include "files/AtomicWrite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include <algorithm>
#include <set>

namespace vt {

namespace {

constexpr char kData[] = ".vtd";
constexpr char kInfo[] = ".info";
constexpr char kLock[] = ".lock";

bool writeAtomically(const QString &path, const QByteArray &bytes, QString &error)
{
    QString reason;
    if (writeFileAtomically(path, bytes, &reason))
        return true;
    error = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), reason);
    return false;
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
      id_(QUuid::createUuid().toString(QUuid::WithoutBraces))
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
    if (lock_.isLocked())
        return true;
    QDir().mkpath(directory_);
    const QString path = pathOf(id_, kLock);
    if (lock_.tryLock(path))
        return true;
    error_ = QStringLiteral("%1: %2").arg(QDir::toNativeSeparators(path), lock_.errorString());
    return false;
}

bool RecoveryStore::write(const QByteArray &document, const QString &documentPath, const QDateTime &writtenAt,
                          const std::vector<RecoveryCell> &cells)
{
    if (!lock())
        return false;
    QByteArray info;
    info += "document=" + documentPath.toUtf8() + '\n';
    info += "written=" + writtenAt.toUTC().toString(Qt::ISODateWithMs).toUtf8() + '\n';
    // One line a cell whatever it holds.
    for (const RecoveryCell &cell : cells)
        info += "cell=" + QByteArray::number(cell.row) + ',' + QByteArray::number(cell.column) + ','
                + cell.text.toUtf8().toPercentEncoding() + '\n';
    return writeAtomically(dataPath(), document, error_) && writeAtomically(pathOf(id_, kInfo), info, error_);
}

void RecoveryStore::discard()
{
    // Only this window's own files: no other window or run shares its id.
    QFile::remove(dataPath());
    QFile::remove(pathOf(id_, kInfo));
    lock_.unlockAndRemove();
}

std::vector<RecoveryFile> RecoveryStore::claimLeftovers()
{
    std::vector<RecoveryFile> found;
    const QDir dir(directory_);
    const auto isOurs = [&](const QString &id) {
        return id == id_ || std::any_of(claimed_.begin(), claimed_.end(), [&](const auto &c) { return c.first == id; });
    };
    for (const QFileInfo &data : dir.entryInfoList({QStringLiteral("*.vtd")}, QDir::Files)) {
        const QString id = data.completeBaseName();
        if (isOurs(id))
            continue;
        auto claim = std::make_unique<RunLock>();
        // Held by a running program (this one's other windows included): not ours to offer.
        if (!claim->tryLock(pathOf(id, kLock)))
            continue;
        RecoveryFile file{data.filePath(), {}, data.lastModified(), {}};
        QFile info(pathOf(id, kInfo));
        if (info.open(QIODevice::ReadOnly)) {
            while (!info.atEnd()) {
                const QString line = QString::fromUtf8(info.readLine()).chopped(1);
                if (line.startsWith(QLatin1String("document=")))
                    file.documentPath = line.mid(9);
                else if (line.startsWith(QLatin1String("cell="))) {
                    const QStringList parts = line.mid(5).split(QLatin1Char(','));
                    bool rowOk = false, columnOk = false;
                    RecoveryCell cell{parts.value(0).toInt(&rowOk), parts.value(1).toInt(&columnOk), {}};
                    if (parts.size() == 3 && rowOk && columnOk) {
                        cell.text = QString::fromUtf8(QByteArray::fromPercentEncoding(parts[2].toLatin1()));
                        file.cells.push_back(cell);
                    }
                }
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
    // Locks and side files of programs that ended before writing pages (or
    // while removing them) are only litter.
    std::set<QString> litter;
    for (const QFileInfo &left : dir.entryInfoList({QStringLiteral("*.lock"), QStringLiteral("*.info")}, QDir::Files)) {
        const QString id = left.completeBaseName();
        if (!isOurs(id) && !QFileInfo::exists(pathOf(id, kData)))
            litter.insert(id);
    }
    for (const QString &id : litter) {
        RunLock stale;
        if (stale.tryLock(pathOf(id, kLock)) && !QFileInfo::exists(pathOf(id, kData))) {
            QFile::remove(pathOf(id, kInfo));
            stale.unlockAndRemove();
        }
    }
    std::sort(found.begin(), found.end(), [](const RecoveryFile &a, const RecoveryFile &b) {
        return a.writtenAt > b.writtenAt;
    });
    return found;
}

void RecoveryStore::remove(const RecoveryFile &file)
{
    const QString id = QFileInfo(file.dataPath).completeBaseName();
    const auto claim = std::find_if(claimed_.begin(), claimed_.end(), [&](const auto &c) { return c.first == id; });
    // Only a file this store has claimed: another program may be offering the rest.
    if (claim == claimed_.end())
        return;
    QFile::remove(file.dataPath);
    QFile::remove(pathOf(id, kInfo));
    claim->second->unlockAndRemove();
    claimed_.erase(claim);
}

void RecoveryStore::release(const RecoveryFile &file)
{
    const QString id = QFileInfo(file.dataPath).completeBaseName();
    std::erase_if(claimed_, [&](const auto &c) { return c.first == id; });
}

} // namespace vt

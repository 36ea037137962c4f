#include "files/RecoveryStore.h"

#include "common/Files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace vt;
using namespace vt::test;

namespace {

QStringList filesIn(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files, QDir::Name);
}

const QDateTime kMorning = QDateTime(QDate(2026, 3, 4), QTime(8, 15, 30, 250), Qt::UTC);
const QDateTime kNoon = QDateTime(QDate(2026, 3, 4), QTime(12, 0), Qt::UTC);

} // namespace

TEST(RecoveryStore, EachWindowKeepsItsOwnFilesAndALiveOneIsNeverOffered)
{
    QTemporaryDir dir;
    auto first = std::make_unique<RecoveryStore>(dir.path());
    auto second = std::make_unique<RecoveryStore>(dir.path());
    ASSERT_TRUE(first->write("first pages", QStringLiteral("/jobs/a.vtd"), kMorning));
    ASSERT_TRUE(second->write("second pages", QString(), kNoon));
    ASSERT_NE(first->dataPath(), second->dataPath());
    EXPECT_EQ(readAll(first->dataPath()), "first pages");
    EXPECT_EQ(readAll(second->dataPath()), "second pages");
    // A later write replaces the window's own file, nobody else's.
    ASSERT_TRUE(first->write("first, typed on", QStringLiteral("/jobs/a.vtd"), kMorning));
    EXPECT_EQ(readAll(first->dataPath()), "first, typed on");
    EXPECT_EQ(readAll(second->dataPath()), "second pages");

    // Both programs still run: nothing to offer, not even to a third.
    RecoveryStore third(dir.path());
    EXPECT_TRUE(third.claimLeftovers().empty());

    // They end without saving: newest first, with their document and time.
    const QString firstData = first->dataPath();
    first.reset();
    second.reset();
    std::vector<RecoveryFile> left = third.claimLeftovers();
    ASSERT_EQ(left.size(), 2u);
    EXPECT_TRUE(left[0].documentPath.isEmpty());
    EXPECT_EQ(left[0].writtenAt, kNoon);
    EXPECT_EQ(left[1].dataPath, firstData);
    EXPECT_EQ(left[1].documentPath, "/jobs/a.vtd");
    EXPECT_EQ(left[1].writtenAt, kMorning) << "milliseconds and zone survive the side file";

    // Claimed by one starting program, they are not offered by another.
    RecoveryStore fourth(dir.path());
    EXPECT_TRUE(fourth.claimLeftovers().empty());
    // One refused (deleted), one left for later: only that one is offered again.
    third.remove(left[0]);
    third.release(left[1]);
    const std::vector<RecoveryFile> again = fourth.claimLeftovers();
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].dataPath, firstData);
    fourth.remove(again[0]);
    EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(' ').toStdString();
}

TEST(RecoveryStore, DiscardRemovesEverythingAndAFailedWriteKeepsTheEarlierFile)
{
    QTemporaryDir dir;
    RecoveryStore store(dir.path());
    EXPECT_FALSE(store.holdsFiles());
    ASSERT_TRUE(store.lock());
    EXPECT_EQ(filesIn(dir.path()).size(), 1u) << "the lock alone, before anything is written";
    ASSERT_TRUE(store.write("pages", QString(), kNoon));
    EXPECT_TRUE(store.holdsFiles());
    EXPECT_EQ(filesIn(dir.path()).size(), 3u);

    // The folder becomes unwritable: the write fails and the pages written before stay.
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    if (QFile(dir.filePath("probe")).open(QIODevice::WriteOnly)) {
        QFile::remove(dir.filePath("probe"));
    } else {
        EXPECT_FALSE(store.write("more pages", QString(), kNoon));
        EXPECT_EQ(readAll(store.dataPath()), "pages");
    }
    QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    store.discard();
    EXPECT_FALSE(store.holdsFiles());
    EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(' ').toStdString();
}

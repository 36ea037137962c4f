#include "files/RecoveryStore.h"

#include "common/Files.h"

#include <QDir>
#include <QFile>
#include <QCoreApplication>
#include <QLockFile>
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

#ifdef Q_OS_UNIX
    {
        // The disk is full, as far as this process can tell: the write
        // fails, says why, and the pages written before stay.
        FileSizeLimit full(8);
        EXPECT_FALSE(store.write("more pages", QString(), kNoon));
        EXPECT_FALSE(store.errorString().isEmpty());
    }
    EXPECT_EQ(readAll(store.dataPath()), "pages");
#endif

    store.discard();
    EXPECT_FALSE(store.holdsFiles());
    EXPECT_TRUE(filesIn(dir.path()).isEmpty()) << filesIn(dir.path()).join(' ').toStdString();
}

TEST(RecoveryStore, AnotherRunsFilesAreOfferedAndNeverTakenWhateverItsProcessId)
{
    // A run that had this very process id (a restarted container, where the
    // program is process 1 again; Windows, which hands ids out again soon)
    // ended without saving. Its lock file names this process and program.
    QTemporaryDir dir;
    const QString id = QStringLiteral("%1-1").arg(QCoreApplication::applicationPid());
    writeAll(dir.filePath(id + ".vtd"), "earlier run");
    writeAll(dir.filePath(id + ".info"), "document=/jobs/w.vtd\nwritten=2026-03-04T12:00:00.000Z\ncell=0,3,X1%C2%B2\n");
    {
        QLockFile earlier(dir.filePath(id + ".lock"));
        ASSERT_TRUE(earlier.tryLock(0));
        // Left behind as a killed program leaves it.
        earlier.setStaleLockTime(0);
        QFile copy(dir.filePath(id + ".lock"));
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        const QByteArray content = copy.readAll();
        earlier.unlock();
        writeAll(dir.filePath(id + ".lock"), content);
    }

    RecoveryStore store(dir.path());
    ASSERT_TRUE(store.write("this run", QString(), kNoon));
    EXPECT_EQ(readAll(dir.filePath(id + ".vtd")), "earlier run") << "another run's file is never written over";
    const std::vector<RecoveryFile> left = store.claimLeftovers();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].documentPath, "/jobs/w.vtd");
    EXPECT_EQ(left[0].cells, (std::vector<RecoveryCell>{{0, 3, QStringLiteral("X1\u00b2")}}));

    // Discarding this run's pages leaves the other run's alone.
    store.discard();
    EXPECT_EQ(filesIn(dir.path()), QStringList({id + ".info", id + ".lock", id + ".vtd"}));

    // A folder that cannot be made (a file stands in its path): the lock
    // fails with a reason instead of pretending to keep anything.
    RecoveryStore nowhere(dir.filePath(id + ".vtd") + QStringLiteral("/recovery"));
    EXPECT_FALSE(nowhere.write("pages", QString(), kNoon));
    EXPECT_TRUE(nowhere.errorString().contains(QStringLiteral("recovery"))) << nowhere.errorString().toStdString();
}

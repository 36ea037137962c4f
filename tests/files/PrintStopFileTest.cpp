#include "files/PrintStopFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;

namespace {

QByteArray fingerprintOf(int n)
{
    return QCryptographicHash::hash(QByteArray::number(n), QCryptographicHash::Sha256);
}

} // namespace

TEST(PrintStopFile, KeepsFindsAndForgetsTheStopOfOneJob)
{
    QTemporaryDir dir;
    PrintStopFile store(dir.path());
    const QByteArray a = fingerprintOf(1);
    const QByteArray b = fingerprintOf(2);
    EXPECT_FALSE(store.find(a, 200));
    ASSERT_TRUE(store.keep({a, 153, 200}));
    ASSERT_TRUE(store.keep({b, 51, 120}));
    const auto found = store.find(a, 200);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->page, 153);
    EXPECT_EQ(found->pageCount, 200);
    EXPECT_EQ(found->fingerprint, a);
    EXPECT_FALSE(store.find(a, 199)) << "a job of another size is another job";
    EXPECT_EQ(PrintStopFile(dir.path()).find(b, 120)->page, 51) << "read back by another object, as after a restart";
    // Replaced, not added to.
    ASSERT_TRUE(store.keep({a, 102, 200}));
    EXPECT_EQ(store.find(a, 200)->page, 102);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2) << "no temporary file is left";
    store.forget(a);
    EXPECT_FALSE(store.find(a, 200));
    EXPECT_TRUE(store.find(b, 120)) << "another job's stop stays";
    store.forget(QByteArray()); // nothing, and no crash

    // Whatever else is found under a job's name is not its stop.
    const QString path = store.pathFor(a);
    const QByteArray hex = a.toHex();
    const auto withFields = [&](const QByteArray &fields) {
        return "{\"format\":\"vt350-print-stop\",\"fingerprint\":\"" + hex + "\"," + fields + "}";
    };
    const QList<QByteArray> bad{
        QByteArray(),
        QByteArray("\x00\xff\xfe garbage", 12),
        withFields("\"version\":1,\"page\":15"),
        "{\"format\":\"vt350-print-stop\",\"fingerprint\":\"" + b.toHex() + "\",\"version\":1,\"page\":153,\"pages\":200}",
        QByteArray(withFields("\"version\":1,\"page\":153,\"pages\":200")).replace("vt350-print-stop", "other"),
        withFields("\"version\":2,\"page\":153,\"pages\":200"),
        withFields("\"version\":1,\"page\":250,\"pages\":200"),
        withFields("\"version\":1,\"page\":-3,\"pages\":200"),
        withFields("\"version\":1,\"page\":1.5,\"pages\":200"),
        withFields("\"version\":1,\"page\":\"153\",\"pages\":200"),
        withFields("\"version\":1,\"page\":0,\"pages\":200"),
        "[1,2,3]",
        withFields("\"version\":1,\"page\":153,\"pages\":200,\"pad\":\"" + QByteArray(8000, 'x') + "\""),
    };
    for (const QByteArray &bytes : bad) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        EXPECT_FALSE(store.find(a, 200)) << bytes.left(120).toStdString();
    }
    QFile::remove(path);
    QDir().mkpath(path); // a folder where the file would be
    EXPECT_FALSE(store.find(a, 200));
}

TEST(PrintStopFile, AnUnwritableFolderIsReportedAndOldStopsArePrunedBeyondTheLimit)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("not-a-folder");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(PrintStopFile(file).keep({fingerprintOf(1), 5, 10}));

    PrintStopFile store(dir.path());
    for (int i = 0; i < PrintStopFile::kMaxKept + 4; ++i)
        ASSERT_TRUE(store.keep({fingerprintOf(i), 5, 10}));
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("print-stop-*.json")}, QDir::Files).size(),
              PrintStopFile::kMaxKept);
    EXPECT_TRUE(store.find(fingerprintOf(PrintStopFile::kMaxKept + 3), 10)) << "the newest stays";
}

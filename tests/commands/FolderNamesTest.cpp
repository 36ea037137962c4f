#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "commands/TableCommands.h"
#include "common/Files.h"
#include "common/ScriptedOperator.h"
#include "files/RecentFiles.h"
#include "files/RecoveryStore.h"
#include "printer/SerialConfig.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace vt;

// The operators' files live in folders named in Chinese, under a user name in
// Chinese. Every file operation takes such a path and one with a character
// beyond the first 65536 (a surrogate pair in UTF-16, in no ANSI code page):
// on Windows a path that passes through the ANSI code page anywhere fails here.
namespace {

const QString kFixtures = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/");

// Folder, then file name.
const std::pair<QString, QString> kPlaces[] = {{QStringLiteral("线号/张三 的表"), QStringLiteral("线号表")},
                                               {QStringLiteral("\U0001F50C 插头"), QStringLiteral("标记\U0001F50C")}};

struct Session {
    Job job;
    vt::test::ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};
    TableCommands tables{job, op, documents};
    Session() { pages.add(); }
    QString cell(int row, int column) const { return job.model.cellText(row, column); }
    std::string messages() const { return op.messages.empty() ? "" : op.messages.back().text.toStdString(); }
};

TableChoice firstTwoColumns(bool header)
{
    TableChoice c;
    c.header = header;
    c.repeat.clear();
    return c;
}

// An environment variable holding any text (qputenv takes the ANSI code page
// on Windows).
void setEnvironment(const char *name, const QString &value)
{
#ifdef Q_OS_WIN
    _wputenv_s(QString::fromLatin1(name).toStdWString().c_str(), value.toStdWString().c_str());
#else
    qputenv(name, value.toUtf8());
#endif
}

} // namespace

TEST(FolderNames, EveryFileOperationTakesAnyUnicodePath)
{
    QTemporaryDir root;
    for (const auto &[name, stem] : kPlaces) {
        SCOPED_TRACE(stem.toStdString());
        const QString folder = root.filePath(name);
        ASSERT_TRUE(QDir().mkpath(folder));
        const QString base = folder + QLatin1Char('/') + stem;

        // Import Table of each workbook format, written by LibreOffice.
        for (const QString suffix : {QStringLiteral(".xlsx"), QStringLiteral(".ods"), QStringLiteral(".xls")}) {
            SCOPED_TRACE(suffix.toStdString());
            ASSERT_TRUE(QFile::copy(kFixtures + QStringLiteral("wirelist") + suffix, base + suffix));
            Session s;
            ASSERT_TRUE(s.tables.importTable(base + suffix, firstTwoColumns(true))) << s.messages();
            EXPECT_EQ(s.cell(0, ColLine1), QStringLiteral("X1:1"));
            EXPECT_EQ(s.cell(2, ColLine2), QStringLiteral("变压器:L"));
        }

        // Import and Import Table of text, Save, then Open of what was saved.
        const QString csv = base + QStringLiteral(".csv");
        vt::test::writeAll(csv, "X1:1;K1:A1;2\nPE\n");
        Session s;
        ASSERT_TRUE(s.documents.importPath(csv)) << s.messages();
        EXPECT_EQ(s.job.chain[0].repeat, 2);
        ASSERT_TRUE(s.tables.importTable(csv, firstTwoColumns(false))) << s.messages();
        ASSERT_TRUE(s.documents.saveTo(base)) << s.messages();
        const QString saved = base + QStringLiteral(".vtd");
        ASSERT_TRUE(QFile::exists(saved));
        Session opened;
        ASSERT_TRUE(opened.documents.openPath(saved)) << opened.messages();
        EXPECT_EQ(opened.job.pageCount(), 2);
        EXPECT_EQ(opened.cell(0, ColLine2), QStringLiteral("K1:A1"));

        // The split's parts beside the name chosen.
        QStringList written;
        ASSERT_TRUE(s.tables.splitTable(csv, firstTwoColumns(false), base + QStringLiteral("-分"), &written))
            << s.messages();
        EXPECT_EQ(written, QStringList{base + QStringLiteral("-分-1.vtd")});
        EXPECT_TRUE(QFile::exists(written.value(0)));

        // The recent files, the recovery files and ConSet.InI kept in such a folder.
        const QString ini = folder + QStringLiteral("/最近.ini");
        RecentFiles(ini).add(saved);
        EXPECT_EQ(RecentFiles(ini).paths(), QStringList{saved});
        const QString state = folder + QStringLiteral("/恢复");
        auto store = std::make_unique<RecoveryStore>(state);
        ASSERT_TRUE(store->write(vt::test::readAll(saved), saved, QDateTime::currentDateTimeUtc()))
            << store->errorString().toStdString();
        store.reset();
        RecoveryStore next(state);
        const std::vector<RecoveryFile> left = next.claimLeftovers();
        ASSERT_EQ(left.size(), 1u);
        EXPECT_EQ(left[0].documentPath, saved);
        EXPECT_EQ(vt::test::readAll(left[0].dataPath), vt::test::readAll(saved));

        const QString config = qEnvironmentVariable("VT350_CONFIG_DIR");
        setEnvironment("VT350_CONFIG_DIR", folder);
        storeConfiguredPort(7);
        const int port = configuredPort();
        const bool kept = QFile::exists(folder + QStringLiteral("/ConSet.InI"));
        setEnvironment("VT350_CONFIG_DIR", config);
        EXPECT_EQ(port, 7);
        EXPECT_TRUE(kept);
    }
}

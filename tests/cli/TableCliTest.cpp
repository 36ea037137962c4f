#include "cli/CliRun.h"
#include "common/Files.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using vt::test::cli;

namespace {
const QString kWires = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/wirelist.xlsx");
}

TEST(TableCli, ConvertAndShowTakeTableOptions)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("wires.vtd");
    auto r = cli({"convert", kWires, out, "--sheet", "Wires", "--header", "--line1", "{Source}-{Target}", "--line2",
                  "Wire", "--repeat", ""});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    r = cli({"show", out});
    ASSERT_EQ(r.exitCode, 0);
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[2].startsWith(QStringLiteral("3\t电源-变压器:L\t103\t1\t"))) << lines[2].toStdString();

    // Without options a workbook gives columns A, B, C of every row; the
    // header row is then a page too. --sheet counts from 1.
    r = cli({"show", kWires, "--sheet", "2"});
    ASSERT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith(QStringLiteral("1\tSecond sheet\t2\t1\t"))) << r.out.toStdString();

    r = cli({"show", kWires, "--sheet", "3"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed().toStdString(),
              QStringLiteral("Can not import %1: it has no sheet \"3\"; the job is unchanged.")
                  .arg(QDir::toNativeSeparators(kWires))
                  .toStdString());
    EXPECT_EQ(cli({"show", kWires, "--separator", "|"}).exitCode, 2);
}

TEST(TableCli, SplitWritesNumberedJobs)
{
    QTemporaryDir dir;
    QFile in(dir.filePath("many.tsv"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    for (int i = 1; i <= 401; ++i)
        in.write("W" + QByteArray::number(i) + "\tx\n");
    in.close();
    const auto r = cli({"convert", in.fileName(), dir.filePath("jobs"), "--split"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts),
              QStringList({dir.filePath("jobs-1.vtd"), dir.filePath("jobs-2.vtd"), dir.filePath("jobs-3.vtd")}));
    const auto last = cli({"show", dir.filePath("jobs-3.vtd")});
    EXPECT_TRUE(last.out.startsWith(QStringLiteral("1\tW401\tx\t"))) << last.out.toStdString();
}

// A second split of the same name replaces nothing without --force.
TEST(TableCli, SplitReplacesPartsOnlyWithForce)
{
    QTemporaryDir dir;
    const QString table = dir.filePath("few.tsv");
    vt::test::writeAll(table, "NEW\tx\n");
    vt::test::writeAll(dir.filePath("jobs-1.vtd"), "old");
    auto r = cli({"convert", table, dir.filePath("jobs"), "--split"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_EQ(r.err.trimmed().toStdString(),
              QStringLiteral("vt350-cli: %1 already exists; --force replaces it")
                  .arg(QDir::toNativeSeparators(dir.filePath("jobs-1.vtd")))
                  .toStdString());
    EXPECT_EQ(vt::test::readAll(dir.filePath("jobs-1.vtd")), "old");

    r = cli({"convert", table, dir.filePath("jobs"), "--split", "--force"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(cli({"show", dir.filePath("jobs-1.vtd")}).out.startsWith("1\tNEW\tx\t"));
    EXPECT_TRUE(cli({"--help"}).out.contains("--force"));
}

// Both ends of every wire from a list LibreOffice wrote: each page with the
// rows it came from and its end; a saved profile comes back in a later run
// and the options given change it.
TEST(TableCli, BothEndsMergedAndSortedWithTheirRowsAndProfiles)
{
    const QString wires = QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/wires-ends.xlsx");
    QTemporaryDir config;
    auto r = cli({"show", wires, "--header", "--line1", "{From}", "--line2", "W{Wire}", "--repeat", "", "--ends", "each",
                  "--far-line1", "{To}", "--far-line2", "W{Wire}", "--merge", "--sort", "natural", "--json",
                  "--save-profile", "线号 both ends"},
                 {}, 60000, config.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray pages = QJsonDocument::fromJson(r.bytes).array();
    QStringList shown;
    for (const QJsonValue &v : pages) {
        const QJsonObject page = v.toObject();
        QStringList rows;
        for (const QJsonValue &row : page.value("rows").toArray())
            rows << QString::number(row.toInt());
        shown << QStringLiteral("%1/%2 x%3 %4 [%5]")
                     .arg(page.value("line1").toString(), page.value("line2").toString())
                     .arg(page.value("repeat").toInt())
                     .arg(page.value("end").toString(), rows.join(','));
    }
    EXPECT_EQ(shown, QStringList({"-K3:A1/W7 x2 far [3,4]", "-K3:A2/W15 x1 near [6]", "-K10:A1/W12 x1 far [2]",
                                  "-X1:1/W15 x1 far [6]", "-X1:2/W7 x2 near [3,4]", "-X1:3/W x1 near [5]",
                                  "-X1:10/W12 x1 near [2]"}));
    EXPECT_TRUE(r.err.contains(QStringLiteral("Row 5, far end: empty"))) << r.err.toStdString();

    r = cli({"show", wires, "--profile", "线号 both ends", "--sort", "sheet"}, {}, 60000, config.path());
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList firstLines;
    for (const QString &line : r.out.split('\n', Qt::SkipEmptyParts))
        firstLines << line.section('\t', 1, 1);
    EXPECT_EQ(firstLines, QStringList({"-X1:10", "-K10:A1", "-X1:2", "-K3:A1", "-X1:3", "-K3:A2", "-X1:1"}));
    EXPECT_EQ(cli({"show", wires, "--profile", "none such"}, {}, 60000, config.path()).exitCode, 2);
    EXPECT_EQ(cli({"show", wires, "--ends", "both"}).exitCode, 2);
}

// Every command takes, and names, a file in a folder named in Chinese or with
// an emoji (in no ANSI code page); its messages come out as UTF-8 through a
// pipe, as on every system.
TEST(TableCli, FilesInFoldersNamedInAnyScript)
{
    QTemporaryDir root;
    for (const QString &name : {QStringLiteral("线号/线号表"), QStringLiteral("\U0001F50C插头/标记\U0001F50C")}) {
        SCOPED_TRACE(name.toStdString());
        const QString base = root.filePath(name);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(base).path()));
        vt::test::writeAll(base + ".csv", "X1:1;K1:A1;2\n");
        for (const char *suffix : {".xlsx", ".ods", ".xls", ".csv"}) {
            SCOPED_TRACE(suffix);
            const QString in = base + suffix;
            if (QString::fromLatin1(suffix) != ".csv")
                ASSERT_TRUE(QFile::copy(QStringLiteral(VT350_SOURCE_DIR "/tests/files/fixtures/wirelist") + suffix, in));
            auto r = cli({"show", in});
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(r.out.contains(QStringLiteral("X1:1\tK1:A1\t"))) << r.out.toStdString();
            const QString out = base + "-" + QString::fromLatin1(suffix + 1) + ".vtd";
            r = cli({"convert", in, out});
            ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
            EXPECT_TRUE(QFile::exists(out));
        }
        // The path named back in a message, on standard output, and in a refusal.
        auto r = cli({"convert", base + ".xlsx", base + "-部分", "--split", "--header"});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        EXPECT_EQ(r.out.toStdString(), (base + "-部分-1.vtd\n").toStdString());
        r = cli({"show", base + ".doc"});
        EXPECT_EQ(r.err.toStdString(),
                  QStringLiteral("vt350-cli: %1.doc: not a .vtd, .csv or table file (.xlsx, .ods, .xls, .tsv, .txt)\n")
                      .arg(base)
                      .toStdString());
        vt::test::writeAll(base + "-坏.xlsx", "PK\3\4 not a whole workbook");
        r = cli({"show", base + "-坏.xlsx"});
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_TRUE(r.err.contains(QDir::toNativeSeparators(base + "-坏.xlsx"))) << r.err.toStdString();
    }
}

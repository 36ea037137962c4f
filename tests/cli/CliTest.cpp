#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "common/Files.h"
#include "common/ScriptedOperator.h"
#include "cli/CliRun.h"
#include "files/DocumentFile.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using namespace vt::test;
using vt::test::readAll;
using vt::test::writeAll;

TEST(Cli, HelpDescribesTheDocumentCommands)
{
    const CliRun r = cli({"--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("convert IN OUT.vtd"));
    EXPECT_TRUE(r.out.contains("show IN [--json]"));
    EXPECT_TRUE(r.out.contains("{sup}"));
    EXPECT_NE(cli({}).exitCode, 0);
    EXPECT_NE(cli({"convert", "only-one"}).exitCode, 0);
}

// Refused and named as an over-long line is, never saved with '?'.
TEST(Cli, ConvertRefusesCharactersItCannotPrint)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("in.csv"), QStringLiteral("X1\u00B2;A\u2713B;1\nok\n").toUtf8());
    CliRun r = cli({"convert", dir.filePath("in.csv"), dir.filePath("out.vtd")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), QStringLiteral("1 line holds characters that cannot be printed; it was not imported.\n"
                                              "  Line 1: X1\u00B2: \"\u00B2\" (U+00B2) cannot be printed; "
                                              "A\u2713B: \"\u2713\" (U+2713) cannot be printed"));
    r = cli({"show", dir.filePath("out.vtd")});
    EXPECT_EQ(r.out.split('\n', Qt::SkipEmptyParts).size(), 1);
    EXPECT_TRUE(r.out.startsWith("1\tok\t")) << r.out.toStdString();

    // Nothing else in the file: nothing is written, as for a file of over-long lines.
    writeAll(dir.filePath("only.csv"), QStringLiteral("X1\u00B2;A\u2713B;1\n").toUtf8());
    r = cli({"show", dir.filePath("only.csv")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(r.err.contains(QStringLiteral("\"\u2713\" (U+2713) cannot be printed")));
}

TEST(Cli, ConvertImportsOrOpensThenSaves)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("in.csv"), "A1;B2;5\nsecond\n" + QByteArray(101, 'x') + "\n");
    CliRun r = cli({"convert", dir.filePath("in.csv"), dir.filePath("out")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.err.trimmed(), "Have 1 Pages exceeds the limits,Page length is 100.\n"
                               "  Line 3: 101 bytes, over 100 with the separator");
    const QByteArray saved = readAll(dir.filePath("out.vtd"));
    const DocumentContent content = readDocument(saved, JobSettings{});
    ASSERT_TRUE(content.ok);
    ASSERT_EQ(content.pages.size(), 2u);
    EXPECT_EQ(content.pages[0].textLength, 5);
    EXPECT_EQ(content.pages[0].repeat, 5);
    EXPECT_EQ(content.pages[0].fontSize, 3);

    // A document converts to the same bytes.
    r = cli({"convert", dir.filePath("out.vtd"), dir.filePath("copy.VTD")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(readAll(dir.filePath("copy.VTD")), saved);

    // Failures: exit status and a reason on stderr; nothing is written.
    r = cli({"convert", dir.filePath("missing.csv"), dir.filePath("x.vtd")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(r.err.trimmed(), "Can not open file!");
    EXPECT_FALSE(QFile::exists(dir.filePath("x.vtd")));

    writeAll(dir.filePath("bad.vtd"), saved.chopped(3));
    r = cli({"convert", dir.filePath("bad.vtd"), dir.filePath("x.vtd")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("bad.vtd"));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.vtd")));

    r = cli({"convert", dir.filePath("in.txt"), dir.filePath("x.vtd")});
    EXPECT_NE(r.exitCode, 0);

    // "out" completes to out.vtd, which exists: left alone.
    r = cli({"convert", dir.filePath("in.csv"), dir.filePath("out")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_EQ(readAll(dir.filePath("out.vtd")), saved);
    // Named whole, an existing file is replaced.
    writeAll(dir.filePath("old.vtd"), "old");
    r = cli({"convert", dir.filePath("in.csv"), dir.filePath("old.vtd")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(readAll(dir.filePath("old.vtd")), saved);
}

TEST(Cli, ShowListsPagesWithReadableMarksAndLengths)
{
    QTemporaryDir dir;
    Job job;
    vt::test::ScriptedOperator op;
    PageCommands pages(job, op);
    DocumentCommands documents(job, op, pages);
    pages.add();
    job.model.setCellText(0, ColLine1, QStringLiteral("X") + QChar(mark::superscript) + QStringLiteral("2{"));
    job.model.setCellText(0, ColLine2, QStringLiteral("No") + QChar(mark::numberPadded));
    pages.add();
    job.model.setCellText(1, ColLine1, QString(QChar(mark::firstSymbol + 4)) + QStringLiteral("电缆"));
    ASSERT_TRUE(documents.saveTo(dir.filePath("job.vtd")));
    const PageRecord &first = job.chain[0];

    CliRun r = cli({"show", dir.filePath("job.vtd")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QStringList lines = r.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    const QStringList fields = lines[0].split('\t');
    ASSERT_EQ(fields.size(), 13);
    EXPECT_EQ(fields[0], "1");
    EXPECT_EQ(fields[1], "X{sup}2{{");
    EXPECT_EQ(fields[2], "No{n:000-999}");
    EXPECT_EQ(fields[3], "1");
    EXPECT_EQ(fields[5], "None");
    EXPECT_EQ(fields[6], "Horizontal");
    EXPECT_EQ(fields[7], "100%");
    EXPECT_EQ(fields[8], "Au");
    EXPECT_EQ(fields[9], QString::number(first.lengthDots));
    EXPECT_EQ(fields[10], QString::number(first.line1Dots));
    EXPECT_EQ(fields[11], QString::number(first.line2Dots));
    EXPECT_EQ(fields[12], QString::number(first.printCount));
    EXPECT_TRUE(lines[1].startsWith(QStringLiteral("2\t{sym:05}电缆\t\t")));

    r = cli({"show", dir.filePath("job.vtd"), "--json"});
    ASSERT_EQ(r.exitCode, 0);
    const QJsonArray array = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 2);
    EXPECT_EQ(array[0].toObject()["line2"].toString(), "No{n:000-999}");
    EXPECT_EQ(array[0].toObject()["lengthDots"].toInt(), first.lengthDots);
    EXPECT_EQ(array[1].toObject()["page"].toInt(), 2);

    EXPECT_NE(cli({"show", dir.filePath("nothing.vtd")}).exitCode, 0);
}

// The language comes from VT350_LANG, else from the locale; the messages of
// the job logic are translated as well as the tool's own.
TEST(Cli, SpeaksChineseWhenAskedOrWhenTheLocaleIsChinese)
{
    QTemporaryDir dir;
    writeAll(dir.filePath("in.csv"), "A1;B2;5\n" + QByteArray(101, 'x') + "\n");
    const QStringList convert{"convert", dir.filePath("in.csv")};
    const QStringList unknown{"show", dir.filePath("in.xyz")};
    int runs = 0;
    const auto run = [&](QStringList args, const char *language, const char *locale) {
        // Each conversion writes a new file.
        if (args.first() == "convert")
            args << dir.filePath(QStringLiteral("out%1").arg(++runs));
        qputenv("VT350_LANG", language);
        qputenv("LC_ALL", locale);
        qunsetenv("LANGUAGE");
        const CliRun r = cli(args);
        qputenv("VT350_LANG", "en");
        qunsetenv("LC_ALL");
        return r.err.trimmed().toStdString();
    };
    const std::string chinese = "有 1 页超出限制，页长为 100。\n  第 2 行：101 字节，连同分隔符超过 100";
    const std::string english = "Have 1 Pages exceeds the limits,Page length is 100.\n"
                            "  Line 2: 101 bytes, over 100 with the separator";
    EXPECT_EQ(run(convert, "zh_CN", "C"), chinese);
    EXPECT_EQ(run(unknown, "zh_CN", "C"),
              QStringLiteral("vt350-cli: %1：不是 .vtd、.csv 或表格文件（.xlsx、.ods、.xls、.tsv、.txt）")
                  .arg(dir.filePath("in.xyz"))
                  .toStdString());
#ifndef Q_OS_WIN // Windows takes its language from the system, not from LC_ALL
    EXPECT_EQ(run(convert, "", "zh_CN.UTF-8"), chinese);
#endif
    EXPECT_EQ(run(convert, "en", "zh_CN.UTF-8"), english);
    EXPECT_EQ(run(convert, "", "C"), english);
}

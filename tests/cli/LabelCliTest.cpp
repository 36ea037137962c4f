#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "cli/CliRun.h"
#include "common/ScriptedOperator.h"
#include "layout/PageLayout.h"
#include "render/LabelStrip.h"

#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vt;
using namespace vt::test;

namespace {

// A numbered two-line page, a repeated page and an empty page, saved as a
// document (which keeps no check boxes: every page read is checked).
struct SampleJob {
    QTemporaryDir dir;
    Job job;
    vt::test::ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};
    QString path = dir.filePath("sample.vtd");

    SampleJob()
    {
        pages.add();
        job.model.setCellText(0, ColLine1, QStringLiteral("  X") + QChar(mark::superscript) + "2");
        job.model.setCellText(0, ColLine2, QStringLiteral("No.") + QChar(mark::numberDecimal));
        setAscii(job.chain[0].serialStart, "9");
        setAscii(job.chain[0].serialEnd, "11");
        pages.add();
        job.model.setCellText(1, ColLine1, QStringLiteral("电缆{A}"));
        setPageRepeat(job.chain[1], 2);
        pages.add();
        job.refreshPage(1);
        EXPECT_TRUE(documents.saveTo(path));
    }
};

// The job as the tool reads it: a started job, then the file opened.
struct Loaded {
    Job job;
    vt::test::ScriptedOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};

    explicit Loaded(const QString &path)
    {
        pages.add();
        EXPECT_TRUE(documents.openPath(path));
        buildPrintRecords(job, false);
    }
};

} // namespace

TEST(LabelCli, ShowLabelsListsEveryPrintedLabel)
{
    SampleJob sample;
    CliRun r = cli({"show", sample.path, "--labels"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.toStdString(), "X{sup}2\tNo.9\n"
                     "X{sup}2\tNo.10\n"
                     "X{sup}2\tNo.11\n"
                     "电缆{{A}\n"
                     "电缆{{A}\n");

    r = cli({"show", "--json", sample.path, "--labels"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonArray array = QJsonDocument::fromJson(r.out.toUtf8()).array();
    ASSERT_EQ(array.size(), 5);
    EXPECT_EQ(array[2].toObject()["page"].toInt(), 1);
    EXPECT_EQ(array[2].toObject()["line2"].toString(), "No.11");
    EXPECT_EQ(array[4].toObject()["page"].toInt(), 2);
    EXPECT_EQ(array[4].toObject()["line1"].toString(), "电缆{{A}");
    EXPECT_EQ(array[4].toObject()["line2"].toString(), "");
}

TEST(LabelCli, PreviewDrawsTheStripWithTheWindowsDrawing)
{
    SampleJob sample;
    const QString png = sample.dir.filePath("strip.png");
    CliRun r = cli({"preview", sample.path, "-o", png});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();

    // The same strip drawn here, at 96 pixels per inch.
    Loaded loaded(sample.path);
    LabelStrip strip;
    strip.setPages(loaded.job.chain, loaded.job.settings);
    QImage whole(png);
    ASSERT_FALSE(whole.isNull());
    EXPECT_EQ(whole.width(), strip.contentWidth(96));
    QImage expected(whole.size(), QImage::Format_RGB32);
    {
        QPainter painter(&expected);
        strip.paint(painter, expected.rect(), 0, 96);
    }
    EXPECT_EQ(whole.convertToFormat(QImage::Format_RGB32), expected);

    // From label 3 on, 50 pixels: that label stands where the first one does.
    r = cli({"preview", sample.path, "-o", png, "--from", "3", "--width", "50"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QImage part(png);
    ASSERT_EQ(part.width(), 50);
    const std::int64_t origin = strip.labelLeft(3, 96) - 14;
    EXPECT_EQ(part.convertToFormat(QImage::Format_RGB32), expected.copy(int(origin), 0, 50, expected.height()));

    r = cli({"preview", sample.path, "-o", png, "--from", "5"});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("0 to 4")) << r.err.toStdString();
    EXPECT_EQ(cli({"preview", sample.path}).exitCode, 2);

    // No page with text: nothing to show.
    for (int row = 0; row < 2; ++row) {
        sample.job.model.setCellText(row, ColLine1, {});
        sample.job.model.setCellText(row, ColLine2, {});
    }
    ASSERT_TRUE(sample.documents.saveTo(sample.path));
    r = cli({"preview", sample.path, "-o", png});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_TRUE(r.err.contains("nothing to show")) << r.err.toStdString();
}

#include "app/MainWindow.h"
#include "app/WindowFixture.h"
#include "common/Files.h"
#include "files/RecentFiles.h"
#include "widgets/LabelStripView.h"
#include "widgets/PreviewPane.h"

#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using namespace vt;

// What a user of a desktop program expects beyond the toolbar: undo, the
// recent files, files dropped on the window.
namespace {

struct DesktopUseTest : vt::test::WindowFixture {
    QTemporaryDir dir;

    void SetUp() override
    {
        WindowFixture::SetUp();
        for (const QString &path : RecentFiles().paths())
            RecentFiles().remove(path);
        showActive();
    }
    // Lets the window see the action as finished.
    void settle() { QTest::qWait(30); }
    void typeFirstLine(int row, const QString &text)
    {
        clickCell(row, ColLine1);
        QTest::keyClicks(editor(), text);
        QTest::keyClick(editor(), Qt::Key_Enter);
        QTest::keyClick(editor(), Qt::Key_Escape);
        settle();
    }
    QStringList recentMenuTexts()
    {
        QStringList texts;
        for (QMenu *menu : window->findChildren<QMenu *>())
            if (menu->title() == "Open &Recent")
                for (QAction *a : menu->actions())
                    texts << a->text();
        return texts;
    }
    bool drag(const QString &path, bool drop)
    {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &enter);
        if (!enter.isAccepted() || !drop)
            return enter.isAccepted();
        QDropEvent dropped(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(window.get(), &dropped);
        QCoreApplication::processEvents();
        return true;
    }
};

} // namespace

TEST_F(DesktopUseTest, UndoAndRedoFollowTheActionsBackToTheUnchangedJob)
{
    typeFirstLine(0, "X1"); // Enter also added page 2
    ASSERT_EQ(window->job().pageCount(), 2);
    QTest::keyClick(window.get(), Qt::Key_Delete, Qt::ControlModifier);
    settle();
    ASSERT_EQ(window->job().pageCount(), 1);
    EXPECT_TRUE(window->job().modified);

    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(cell(0, ColLine1), "X1");
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->job().pageCount(), 1);
    EXPECT_EQ(cell(0, ColLine1), "");
    EXPECT_FALSE(window->job().modified) << "undone to the job as it started";

    // Closing now asks nothing.
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(script.messages.empty());
    showActive();

    QTest::keyClick(window.get(), Qt::Key_Y, Qt::ControlModifier);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->job().pageCount(), 1);
    EXPECT_EQ(cell(0, ColLine1), "X1");
    EXPECT_TRUE(window->job().modified);

    // A setting rule is a step too; every list and the strip show the job
    // as it was before it.
    const std::vector<ControlId> lists = {ControlId::Material, ControlId::MaterialParameter, ControlId::Density,
                                          ControlId::CutSetting, ControlId::Spacing, ControlId::Arrange};
    const auto shown = [&] {
        QStringList texts;
        for (ControlId id : lists)
            texts << qobject_cast<QComboBox *>(window->control(id))->currentText();
        return texts;
    };
    const QStringList before = shown();
    ASSERT_EQ(before.at(2), "3") << "density at start-up";
    const LabelStrip &strip = window->previewPane()->view()->strip();
    const double band = strip.tapeWidthMm();
    auto *material = qobject_cast<QComboBox *>(window->control(ControlId::Material));
    material->setFocus();
    QTest::keyClick(material, Qt::Key_Up); // Label -> Tube
    settle();
    ASSERT_EQ(window->job().settings.materialIndex, Tube);
    ASSERT_NE(strip.tapeWidthMm(), band);
    QTest::keyClick(window.get(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window->job().settings.materialIndex, Label);
    EXPECT_EQ(shown(), before);
    EXPECT_EQ(strip.tapeWidthMm(), band);
    EXPECT_EQ(window->job().chain[0].materialCode, JobSettings{}.materialCode);
    auto *sizes = qobject_cast<QComboBox *>(window->control(ControlId::MaterialParameter));
    EXPECT_EQ(sizes->count(), sizeEntriesFor(Label).size());
}

TEST_F(DesktopUseTest, DroppedAndRecentFilesOpenAfterTheUnsavedChangesQuestion)
{
    const QString csv = dir.filePath("marks.csv");
    vt::test::writeAll(csv, "L1;N;3\nPE\n");
    EXPECT_FALSE(drag(dir.filePath("notes.txt"), false));

    typeFirstLine(0, "X1");
    script.answers = {Answer::Cancel};
    ASSERT_TRUE(drag(csv, true));
    EXPECT_EQ(script.messageTexts(),
              QStringList{"The pages have been changed since they were last saved.\n"
                          "Save them before opening marks.csv?"});
    EXPECT_EQ(cell(0, ColLine1), "X1") << "Cancel keeps the job";

    script.messages.clear();
    script.answers = {Answer::No};
    ASSERT_TRUE(drag(csv, true));
    ASSERT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(cell(1, ColLine1), "PE");

    script.fileNames = {dir.filePath("job")};
    window->saveDocument();
    EXPECT_EQ(recentMenuTexts(), QStringList({"&1 job.vtd", "&2 marks.csv"}));

    // The list outlives the window; a file that is gone leaves it.
    window = std::make_unique<MainWindow>();
    window->setMessageSink(&script);
    script.messages.clear();
    ASSERT_EQ(recentMenuTexts().size(), 2);
    ASSERT_TRUE(window->openFile(dir.filePath("job.vtd")));
    EXPECT_TRUE(script.messages.empty());
    EXPECT_EQ(window->job().pageCount(), 2);
    EXPECT_FALSE(window->job().modified);

    QFile::remove(csv);
    EXPECT_FALSE(window->openFile(csv));
    EXPECT_EQ(recentMenuTexts(), QStringList{"&1 job.vtd"});
}

// The same in folders named in Chinese and with an emoji (in no ANSI code
// page): the name in the question and in the menu, the file reopened from it.
TEST_F(DesktopUseTest, FilesInFoldersNamedInAnyScriptDropSaveAndReopen)
{
    for (const QString &name : {QStringLiteral("线号/线号表"), QStringLiteral("\U0001F50C插头/标记\U0001F50C")}) {
        SCOPED_TRACE(name.toStdString());
        const QString base = dir.filePath(name);
        const QString stem = QFileInfo(base).fileName();
        ASSERT_TRUE(QDir().mkpath(QFileInfo(base).path()));
        vt::test::writeAll(base + ".csv", "L1;N;3\n");
        typeFirstLine(0, "X1");
        script.messages.clear();
        script.answers = {Answer::No};
        ASSERT_TRUE(drag(base + ".csv", true));
        EXPECT_EQ(script.messageTexts(), QStringList{"The pages have been changed since they were last saved.\n"
                                                     "Save them before opening " + stem + ".csv?"});
        ASSERT_EQ(cell(0, ColLine1), "L1");

        script.fileNames = {base};
        window->saveDocument();
        ASSERT_TRUE(QFile::exists(base + ".vtd"));
        EXPECT_EQ(recentMenuTexts().value(0).toStdString(), ("&1 " + stem + ".vtd").toStdString());
        window = std::make_unique<MainWindow>();
        window->setMessageSink(&script);
        script.messages.clear();
        for (QMenu *menu : window->findChildren<QMenu *>())
            if (menu->title() == "Open &Recent")
                menu->actions().value(0)->trigger();
        EXPECT_TRUE(script.messages.empty());
        EXPECT_EQ(cell(0, ColLine1), "L1");
        EXPECT_FALSE(window->job().modified);
        showActive();
    }
}

// Ctrl+C then Ctrl+V on the page table: a CR inside a cell stays inside it
// (pasted, it is a blank as any line break in a cell), so the page copied
// comes back as one page.
TEST_F(DesktopUseTest, CopiedPageWithACarriageReturnPastesAsOnePage)
{
    PageTableModel &model = window->job().model;
    model.setCellText(0, ColLine1, QStringLiteral("X1\rK2"));
    model.setCellText(0, ColLine2, QStringLiteral("W7"));
    model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
    table().setFocus();
    QTest::keyClick(&table(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("\"X1\rK2\"\tW7\t1\n"));
    QTest::keyClick(&table(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(window->job().pageCount(), 2);
    EXPECT_EQ(cell(1, ColLine1), QStringLiteral("X1 K2"));
    EXPECT_EQ(cell(1, ColLine2), QStringLiteral("W7"));
    EXPECT_TRUE(script.messages.empty());
}

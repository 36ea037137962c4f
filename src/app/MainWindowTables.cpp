// The main window's Import Table: file, dialog, unsaved changes, then the
// table commands.
#include "app/MainWindow.h"
#include "app/TableClipboard.h"
#include "commands/ClipboardCommands.h"
#include "commands/OffThread.h"
#include "commands/TableCommands.h"
#include "widgets/ImportTableDialog.h"
#include "widgets/PageTable.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace vt {

namespace {

QString tableFilter()
{
    return MainWindow::tr("Tables (*.xlsx *.ods *.xls *.csv *.tsv *.txt);;Excel (*.xlsx *.xls);;OpenDocument (*.ods);;"
                          "Text (*.csv *.tsv *.txt)");
}

// The choice of the last Import Table, offered again by the next one.
TableChoice &lastChoice()
{
    static TableChoice choice;
    return choice;
}

} // namespace

void MainWindow::addTableImport(QMenu *file)
{
    QAction *action = file->addAction(tr("Import &Table..."), this, &MainWindow::importTable);
    action->setObjectName(QStringLiteral("actionImportTable"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    action->setShortcutContext(Qt::WindowShortcut);
    addAction(action);

    // The page table is made after the menus: its clipboard keys once it is there.
    QMetaObject::invokeMethod(
        this,
        [this] {
            new TableClipboard(pageTable_, std::make_unique<ClipboardCommands>(job_, operator_, commands_),
                               [this] { return !refusedWhilePrinting(); });
        },
        Qt::QueuedConnection);
}

void MainWindow::importTable()
{
    if (refusedWhilePrinting())
        return;
    const QString path = operator_.askOpenFileName(QString(), tableFilter());
    if (!path.isEmpty())
        importTableFile(path);
}

bool MainWindow::importTableFile(const QString &path, bool askAboutChanges)
{
    if (refusedWhilePrinting())
        return false;
    // Opening a large workbook reads its shared strings: off the window's thread.
    const TableOptions options = lastChoice().options;
    const QString problem = runOffThread([&] {
        QString why;
        openTable(path, options, why);
        return why;
    });
    if (!problem.isEmpty()) {
        operator_.prompt(cannotImportText(path, problem));
        return false;
    }
    TableChoice start = lastChoice();
    ImportTableDialog dialog(path, start, this);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    lastChoice() = dialog.choice();
    if (askAboutChanges && !mayDiscardChanges(tr("importing %1").arg(QFileInfo(path).fileName())))
        return false;

    TableCommands tables(job_, operator_, *documents_);
    if (!dialog.split())
        return tables.importContent(path, dialog.content());
    const QString name = operator_.askSaveFileName(QFileInfo(path).completeBaseName(), QStringLiteral("VTD(*.vtd)"));
    if (name.isEmpty())
        return false;
    QStringList written;
    if (!tables.splitTable(path, dialog.choice(), name, &written) || written.isEmpty())
        return false;
    return documents_->openPath(written.first());
}

} // namespace vt

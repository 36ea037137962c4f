// The main window's undo history, recent files and dropped files.
#include "app/ActionWatcher.h"
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "files/TableReader.h"
#include "render/LabelStrip.h"
#include "widgets/PreviewPane.h"
#include "widgets/PageTable.h"

#include <QAction>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>

namespace vt {

namespace {

bool isJobFile(const QString &path)
{
    return path.endsWith(QStringLiteral(".vtd"), Qt::CaseInsensitive)
           || path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) || isWorkbookName(path);
}

// The one local document or text file being dragged, if that is what it is.
QString droppedFile(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
    return isJobFile(path) ? path : QString();
}

} // namespace

void MainWindow::createSessionMenus()
{
    QMenu *file = menuBar()->addMenu(tr("&File"));
    for (const char *name : {"actionOpen", "actionSave", "actionImport"})
        if (auto *action = toolBar_->findChild<QAction *>(QLatin1String(name)))
            file->addAction(action);
    addTableImport(file);
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    file->addSeparator();
    if (auto *exit = toolBar_->findChild<QAction *>(QStringLiteral("actionExit")))
        file->addAction(exit);

    QMenu *edit = menuBar()->addMenu(tr("&Edit"));
    undoAction_ = edit->addAction(tr("&Undo"), this, &MainWindow::undo);
    undoAction_->setShortcut(QKeySequence::Undo);
    redoAction_ = edit->addAction(tr("&Redo"), this, &MainWindow::redo);
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
    for (QAction *action : {undoAction_, redoAction_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setEnabled(false);
    }

    setAcceptDrops(true);
    refreshRecentMenu();
}

void MainWindow::startHistory()
{
    history_ = std::make_unique<JobHistory>(job_);
    documents_->onFile = [this](DocumentCommands::FileEvent event, const QString &path) { fileDone(event, path); };
    auto *watcher = new ActionWatcher(this);
    connect(watcher, &ActionWatcher::settled, this, &MainWindow::recordAction);
    // Typed while a question or the printer search is open: kept for
    // recovery as soon as any change, not only once the action settles.
    connect(watcher, &ActionWatcher::actedWhileBusy, this, [this] {
        if (job_.modified)
            recovery_->jobChanged();
    });
}

void MainWindow::recordAction()
{
    history_->record();
    updateHistoryActions();
}

void MainWindow::undo() { stepHistory(&JobHistory::undo); }
void MainWindow::redo() { stepHistory(&JobHistory::redo); }

void MainWindow::stepHistory(bool (JobHistory::*step)())
{
    if (refusedWhilePrinting())
        return;
    // A cell being typed is part of the step before.
    if (pageTable_->isEditing())
        pageTable_->commitEditor();
    history_->record();
    if ((history_.get()->*step)()) {
        // A new job's 9 shows as "3", as at start-up: the only way back to
        // it is undoing the operator's own choice.
        showJobSettings(operator_, job_.settings, kStartDensityEntry);
        if (const std::optional<double> width = previewTapeWidth(job_.settings))
            previewPane_->setTapeWidth(*width);
        if (operator_.readEdit(ControlId::CopiesEdit) != job_.settings.copies)
            operator_.setEdit(ControlId::CopiesEdit, job_.settings.copies);
        // The page controls show the current page again.
        if (job_.currentIndex >= 0)
            cellCommit_.pageTableMessage(tablemsg::rowChosen, job_.currentIndex, pageTable_->getCurrentColumn());
    }
    updateHistoryActions();
}

void MainWindow::updateHistoryActions()
{
    undoAction_->setEnabled(history_->canUndo());
    redoAction_->setEnabled(history_->canRedo());
    recovery_->jobChanged();
}

void MainWindow::fileDone(DocumentCommands::FileEvent event, const QString &path)
{
    using FileEvent = DocumentCommands::FileEvent;
    // The job now is the file's: the saved state against which changes count.
    if (event == FileEvent::Saved || event == FileEvent::Opened)
        recovery_->setDocumentPath(path);
    if (event == FileEvent::Saved || event == FileEvent::Opened)
        history_->markSaved();
    else
        history_->record();
    updateHistoryActions();
    recentFiles_.add(path);
    refreshRecentMenu();
}

void MainWindow::refreshRecentMenu()
{
    recentMenu_->clear();
    const QStringList paths = recentFiles_.paths();
    for (int i = 0; i < paths.size(); ++i) {
        const QString path = paths.at(i);
        const QString label = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName());
        QAction *action = recentMenu_->addAction(label, this, [this, path] { openFile(path); });
        action->setToolTip(QDir::toNativeSeparators(path));
        action->setStatusTip(QDir::toNativeSeparators(path));
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

bool MainWindow::openFile(const QString &path)
{
    if (refusedWhilePrinting())
        return false;
    if (!mayDiscardChanges(tr("opening %1").arg(QFileInfo(path).fileName())))
        return false;
    const bool opened = openAtStart(path);
    if (!opened && !QFileInfo::exists(path)) {
        recentFiles_.remove(path);
        refreshRecentMenu();
    }
    return opened;
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QString path = droppedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // Opened after the drop has finished, so that the file manager is not
    // kept waiting while questions are asked.
    QMetaObject::invokeMethod(this, [this, path] { openFile(path); }, Qt::QueuedConnection);
}

} // namespace vt

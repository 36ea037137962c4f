// The main window's recovery of unsaved pages after the program ended
// without saving them.
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"
#include "printer/PrintJob.h"
#include "widgets/CellEditor.h"
#include "widgets/PageTable.h"
#include "widgets/ProgressWindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <utility>

namespace vt {

namespace {

QString recoveryQuestion(const RecoveryFile &file)
{
    const QString name = file.documentPath.isEmpty() ? MainWindow::tr("Untitled")
                                                     : QFileInfo(file.documentPath).fileName();
    const QString when = file.writtenAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return MainWindow::tr("The pages of %1 were not saved when the program last ended (%2). Restore them?\r"
                          "No deletes them; Cancel keeps them for the next start.")
        .arg(name, when);
}

} // namespace

void MainWindow::startRecovery()
{
    recovery_ = std::make_unique<RecoveryKeeper>(job_);
    recovery_->setOpenEdit([this]() -> std::optional<RecoveryCell> {
        const CellEditor *editor = pageTable_->currentEditor();
        if (!editor)
            return std::nullopt;
        return RecoveryCell{editor->row(), editor->column(), editor->text()};
    });
    connect(recovery_.get(), &RecoveryKeeper::failed, this, [this](const QString &reason) {
        operator_.showMessage({MainWindow::tr("The unsaved pages cannot be kept in case the program ends "
                                              "unexpectedly (%1). Save the job to keep them.")
                                   .arg(reason),
                               promptCaption(), MessageIcon::Warning});
    });
}

void MainWindow::startUpWhenShown(const QString &file)
{
    startUp_ = StartUp{true, file};
    searchWhenPainted_ = true;
}

void MainWindow::endBySignal(int signalNumber)
{
    ending_ = true;
    recovery_->writeNow();
    QCoreApplication::exit(128 + signalNumber);
}

void MainWindow::runStartUp()
{
    // One step at a time, each alone on the screen: the pages left unsaved,
    // then the printer, then the file asked for.
    const StartUp steps = std::exchange(startUp_, StartUp{});
    const bool restored = steps.offerRecovery && offerRecovery();
    if (ending_)
        return;
    if (!printJob_->printing() && !printJob_->searching()) {
        printJob_->findPrinterPort();
        progressDialog_->hide();
    }
    if (ending_ || steps.file.isEmpty())
        return;
    // Restored pages are unsaved: the file asks before it replaces them.
    if (restored)
        openFile(steps.file);
    else
        openAtStart(steps.file);
}

RecoveryKeeper &MainWindow::recovery() { return *recovery_; }

bool MainWindow::offerRecovery()
{
    RecoveryStore &store = recovery_->store();
    const std::vector<RecoveryFile> files = store.claimLeftovers();
    bool restored = false;
    bool answered = true;
    for (const RecoveryFile &file : files) {
        if (restored || !answered || ending_) {
            // One job a window: the others are offered at the next start.
            store.release(file);
            continue;
        }
        Message question{recoveryQuestion(file), promptCaption(), MessageIcon::Question, MessageButtons::YesNoCancel};
        const Answer answer = operator_.showMessage(question);
        // Only No gives the pages up. Cancel, Escape, or the program ending
        // while it asks keep them for the next start.
        if (answer == Answer::No) {
            store.remove(file);
            continue;
        }
        if (answer != Answer::Yes) {
            answered = false;
            store.release(file);
            continue;
        }
        // Opened as pages not yet saved: the file read is not the document.
        auto onFile = std::exchange(documents_->onFile, nullptr);
        restored = documents_->openPath(file.dataPath);
        documents_->onFile = std::move(onFile);
        if (!restored) {
            store.release(file);
            continue;
        }
        // The cells as they were seen, longer than a page keeps or half typed.
        for (const RecoveryCell &cell : file.cells)
            if (cell.row < job_.model.rowCount() && (cell.column == ColLine1 || cell.column == ColLine2))
                job_.model.setCellText(cell.row, cell.column, cell.text);
        recovery_->setDocumentPath(file.documentPath);
        recordAction();
        // Kept again under this window's name before the old file goes; when
        // that fails the old file stays, claimed by this run until it ends.
        if (recovery_->writeNow())
            store.remove(file);
    }
    return restored;
}

} // namespace vt

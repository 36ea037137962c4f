// The main window's recovery of unsaved pages after the program ended
// without saving them.
#include "app/MainWindow.h"
#include "app/RecoveryKeeper.h"

#include <QFileInfo>

#include <utility>

namespace vt {

namespace {

QString recoveryQuestion(const RecoveryFile &file)
{
    const QString name = file.documentPath.isEmpty() ? QStringLiteral("Untitled")
                                                     : QFileInfo(file.documentPath).fileName();
    const QString when = file.writtenAt.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return QStringLiteral("The pages of %1 were not saved when the program last ended (%2). Restore them?")
        .arg(name, when);
}

} // namespace

void MainWindow::startRecovery()
{
    recovery_ = std::make_unique<RecoveryKeeper>(job_);
}

RecoveryKeeper &MainWindow::recovery() { return *recovery_; }

bool MainWindow::offerRecovery()
{
    RecoveryStore &store = recovery_->store();
    const std::vector<RecoveryFile> files = store.claimLeftovers();
    bool restored = false;
    for (const RecoveryFile &file : files) {
        if (restored) {
            // One job a window: the others are offered at the next start.
            store.release(file);
            continue;
        }
        Message question{recoveryQuestion(file), QStringLiteral("Prompt"), MessageIcon::Question,
                         MessageButtons::YesNo};
        if (operator_.showMessage(question) != Answer::Yes) {
            store.remove(file);
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
        recovery_->setDocumentPath(file.documentPath);
        recordAction();
        // Kept again under this window's name before the old file goes.
        recovery_->writeNow();
        store.remove(file);
    }
    return restored;
}

} // namespace vt

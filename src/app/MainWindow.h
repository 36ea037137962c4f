#pragma once

#include "app/WindowOperator.h"
#include "commands/CellCommit.h"
#include "commands/DocumentCommands.h"
#include "commands/JobHistory.h"
#include "commands/PageCommands.h"
#include "commands/PageTableProtocol.h"
#include "commands/SettingRules.h"
#include "files/RecentFiles.h"
#include "model/Job.h"

#include <QMainWindow>

#include <memory>

class QAction;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QDragEnterEvent;
class QDropEvent;
class QPushButton;
class QRadioButton;
class QToolBar;

namespace vt {

class EventLoopClock;
class PageTable;
class PrintJob;
class PreviewPane;
class ProgressWindow;
class RecoveryKeeper;
class SerialLibrary;
class SerialLine;

// The main window: the job's settings, the page table and the strip under it,
// with the toolbar commands. Owns the job for the whole run.
// The Density list's entry at start-up ("3"), while the job's stored density
// is still the 9 a new job starts with.
inline constexpr int kStartDensityEntry = 2;

class MainWindow : public QMainWindow, public PageTableOwner {
    Q_OBJECT
public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    Job &job() { return job_; }
    Operator &windowOperator() { return operator_; }
    // Messages and file names go to `sink` instead of dialogs (null: dialogs).
    void setMessageSink(Operator *sink) { operator_.setMessageSink(sink); }

    PageTable *pageTable() const { return pageTable_; }
    QFrame *bottomStatic() const { return bottomStatic_; }
    PreviewPane *previewPane() const { return previewPane_; }
    QToolBar *toolBar() const { return toolBar_; }
    QWidget *control(ControlId id) const { return operator_.control(id); }

    int pageTableMessage(unsigned message, int row, int column) override;

    // Opens a document (.vtd) or imports a text file (.csv) given on the
    // command line; false, after telling the operator, when nothing was read.
    bool openAtStart(const QString &path);
    ProgressWindow *progressDialog() const { return progressDialog_; }
    PrintJob &printJob() const { return *printJob_; }
    SerialLine &serialPort() const { return *serialPort_; }
    // Searches the printer's port once the window has been painted.
    void searchPrinterPortWhenShown() { searchWhenPainted_ = true; }
    // Start-up once the window has been painted, one step after the other:
    // the pages a program that ended left unsaved, the printer search, then
    // `file` (named on the command line) if any.
    void startUpWhenShown(const QString &file);
    // SIGTERM or SIGHUP: the unsaved pages are kept, then the program ends.
    void endBySignal(int signalNumber);
    // The rules of the settings controls; the label strip follows their
    // tapeWidthChanged.
    SettingRules &settingRules() { return rules_; }

    // Values of the bound edits as last read by Exit or a settings rule.
    int lengthValue = 25;
    int repeatValue = 1;
    int copiesValue = 1;

public slots:
    // Document, import and printing commands; print does nothing yet.
    void openDocument();
    void saveDocument();
    void importCsv();
    // Import Table (MainWindowTables.cpp): a workbook or delimited text file
    // through its dialog; a file dropped or named at start skips the file dialog.
    void importTable();
    bool importTableFile(const QString &path, bool askAboutChanges = true);
    void printView();
    void print();

    void addPage();
    void deletePage();
    void supscript();
    void subscript();
    // Exit: the bound edits must hold integers, then the window closes.
    void exitCommand();
    void showAbout();

    // The settings controls run their rules.
    void materialChanged(int index);
    void materialParameterChanged(int index);
    void cutSettingChanged(int index);
    void spacingChanged(int index);
    void arrangeChanged(int index);
    void densityChanged(int index);
    void copiesTextChanged(const QString &text);
    void fontSizeChanged(int index);
    void zoomChanged(int index);
    void frameChanged(int index);
    void directionChanged(int index);
    void automaticClicked();
    void specifyClicked();
    void lengthTextChanged(const QString &text);
    void lengthSetClicked();
    void repeatSetClicked();
    void setNumberClicked();
    void localFontClicked();
    void computerFontClicked();
    void fontListChanged(int index);

    // Undo and redo of the job, one operator action a step.
    void undo();
    void redo();
    // Takes the job as it is after an action: an undo step when it changed.
    void recordAction();
    // A file from the recent list or dropped on the window: asks about
    // unsaved changes, then opens or imports it.
    bool openFile(const QString &path);
    JobHistory &history() { return *history_; }
    // Offers the unsaved pages a program that has ended left behind
    // (MainWindowRecovery.cpp); true when some were restored.
    bool offerRecovery();
    RecoveryKeeper &recovery();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void createToolBar();
    QWidget *createControls();
    QComboBox *addList(ControlId id, const QStringList &entries);
    void setInitialState();
    void makeColumns();
    // Asks before unsaved changes are discarded ("Save them before closing?",
    // or before what `before` names); true when the job may go.
    bool mayDiscardChanges(const QString &before = {});

    // Undo, redo, recent files and dropped files (MainWindowSession.cpp).
    void createSessionMenus();
    void addTableImport(QMenu *file);
    void startHistory();
    void fileDone(DocumentCommands::FileEvent event, const QString &path);
    void refreshRecentMenu();
    void stepHistory(bool (JobHistory::*step)());
    void updateHistoryActions();
    // Open, Import and the page commands wait until a print job is over.
    bool refusedWhilePrinting();
    void startRecovery();
    void runStartUp();

    Job job_;
    WindowOperator operator_{this};
    CellCommit cellCommit_{job_, operator_};
    SettingRules rules_{job_, operator_, {lengthValue, repeatValue, copiesValue}};
    PageCommands commands_{job_, operator_, this};
    ProgressWindow *progressDialog_ = nullptr;
    std::unique_ptr<DocumentCommands> documents_;
    std::unique_ptr<EventLoopClock> clock_;
    std::unique_ptr<SerialLibrary> serialLibrary_;
    std::unique_ptr<SerialLine> serialPort_;
    std::unique_ptr<PrintJob> printJob_;
    bool searchWhenPainted_ = false;
    struct StartUp {
        bool offerRecovery = false;
        QString file;
    } startUp_;
    bool ending_ = false;

    QToolBar *toolBar_ = nullptr;
    PageTable *pageTable_ = nullptr;
    QFrame *bottomStatic_ = nullptr;
    PreviewPane *previewPane_ = nullptr;
    QGroupBox *choiceFontGroup_ = nullptr;

    std::unique_ptr<JobHistory> history_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    RecentFiles recentFiles_;
    QMenu *recentMenu_ = nullptr;
    QAction *undoAction_ = nullptr;
    QAction *redoAction_ = nullptr;
};

} // namespace vt

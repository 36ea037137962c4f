#include "app/MainWindow.h"
#include "files/TableReader.h"

#include "app/AboutDialog.h"
#include "app/RecoveryKeeper.h"
#include "printer/Clock.h"
#include "printer/PrintJob.h"
#include "printer/SerialLibrary.h"
#include "printer/SerialLine.h"
#include "commands/Numbering.h"
#include "render/Colors.h"
#include "render/Fonts.h"
#include "layout/PageLayout.h"
#include "render/LabelStrip.h"
#include "widgets/PageTable.h"
#include "widgets/PreviewPane.h"
#include "widgets/ProgressWindow.h"
#include "widgets/WrappingRow.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

// The icons live in the static ui library, whose resources are not
// registered on their own.
static void initResources() { Q_INIT_RESOURCE(resources); }

namespace vt {

namespace {

QStringList numbers(int from, int to)
{
    QStringList out;
    for (int i = from; i <= to; ++i)
        out << QString::number(i);
    return out;
}

QLabel *buddyLabel(const QString &caption, QWidget *control)
{
    auto *label = new QLabel(caption);
    label->setBuddy(control);
    return label;
}

} // namespace

MainWindow::MainWindow(QWidget *parent) : QMainWindow(parent)
{
    initResources();
    setWindowTitle(tr("Vt350 Tube Printer_P1.03"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/vt350.png")));
    setFont(fonts::windowFont(9));
    QPalette pal = palette();
    pal.setColor(QPalette::Window, backgroundColor());
    setPalette(pal);
    setAutoFillBackground(true);

    // The progress window exists, hidden, for the whole run.
    progressDialog_ = new ProgressWindow(this);
    documents_ = std::make_unique<DocumentCommands>(job_, operator_, commands_, progressDialog_);
    clock_ = std::make_unique<EventLoopClock>();
    serialLibrary_ = std::make_unique<SerialLibrary>();
    serialPort_ = std::make_unique<SerialLine>(*serialLibrary_, *clock_);
    printJob_ = std::make_unique<PrintJob>(job_, *serialPort_, operator_, *progressDialog_);
    connect(printJob_.get(), &PrintJob::tryingPort, this, [this](int port, const QString &device) {
        progressDialog_->setText(
            tr("Looking for the printer on port %1 (%2)...").arg(port).arg(QDir::toNativeSeparators(device)));
        progressDialog_->show();
    });

    createToolBar();
    createSessionMenus();
    QMenu *help = menuBar()->addMenu(tr("&Help"));
    QAction *about = help->addAction(tr("About KetraTest(&A)..."), this, &MainWindow::showAbout);
    about->setShortcut(QKeySequence(Qt::Key_F1));
    about->setShortcutContext(Qt::WindowShortcut);

    setCentralWidget(createControls());
    setInitialState();
    makeColumns();
    // The first page is part of a new job, not a change to it.
    commands_.add();
    job_.modified = false;
    startRecovery();
    startHistory();
    resize(1100, 720);
}

MainWindow::~MainWindow()
{
    // A job still pending ends here, port closed, without a word.
    printJob_->abort();
    // The table and an open editor go first, while the job they report to lives.
    pageTable_->setOwner(nullptr);
    delete takeCentralWidget();
}

void MainWindow::createToolBar()
{
    toolBar_ = addToolBar(tr("Commands"));
    toolBar_->setObjectName(QStringLiteral("commandBar"));
    toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolBar_->setIconSize(QSize(32, 32));
    toolBar_->setFloatable(false);

    // Every command has a key as well, so the window works without a mouse.
    // The marks use Alt: Ctrl combinations belong to an open cell editor.
    struct Slot {
        const char *label;
        const char *icon;
        void (MainWindow::*handler)();
        QKeySequence keys;
    };
    const Slot commands[] = {
        {QT_TR_NOOP("Open"), "open", &MainWindow::openDocument, QKeySequence(Qt::CTRL | Qt::Key_O)},
        {QT_TR_NOOP("Save"), "save", &MainWindow::saveDocument, QKeySequence(Qt::CTRL | Qt::Key_S)},
        {nullptr, nullptr, nullptr, {}},
        {QT_TR_NOOP("Import"), "import", &MainWindow::importCsv, QKeySequence(Qt::CTRL | Qt::Key_I)},
        {nullptr, nullptr, nullptr, {}},
        {QT_TR_NOOP("Add"), "add", &MainWindow::addPage, QKeySequence(Qt::Key_Insert)},
        {QT_TR_NOOP("Delete"), "delete", &MainWindow::deletePage, QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {nullptr, nullptr, nullptr, {}},
        {QT_TR_NOOP("Supscript"), "supscript", &MainWindow::supscript, QKeySequence(Qt::ALT | Qt::Key_Up)},
        {QT_TR_NOOP("Subscript"), "subscript", &MainWindow::subscript, QKeySequence(Qt::ALT | Qt::Key_Down)},
        {nullptr, nullptr, nullptr, {}},
        {QT_TR_NOOP("PrintView"), "printview", &MainWindow::printView, QKeySequence(Qt::Key_F5)},
        {QT_TR_NOOP("Print"), "print", &MainWindow::print, QKeySequence(Qt::CTRL | Qt::Key_P)},
        {nullptr, nullptr, nullptr, {}},
        {QT_TR_NOOP("Exit"), "exit", &MainWindow::exitCommand, QKeySequence(Qt::CTRL | Qt::Key_Q)},
    };
    for (const Slot &slot : commands) {
        if (!slot.label) {
            toolBar_->addSeparator();
            continue;
        }
        // The object name stays English whatever language the window speaks.
        const QString label = tr(slot.label);
        QAction *action = toolBar_->addAction(
            QIcon(QStringLiteral(":/icons/%1.png").arg(QLatin1String(slot.icon))), label);
        action->setObjectName(QStringLiteral("action") + QLatin1String(slot.label));
        action->setShortcut(slot.keys);
        const QString keys = slot.keys.toString(QKeySequence::NativeText);
        action->setToolTip(QStringLiteral("%1 (%2)").arg(label, keys));
        connect(action, &QAction::triggered, this, slot.handler);
        QWidget *button = toolBar_->widgetForAction(action);
        button->setFixedSize(72, 72);
        button->setAccessibleName(label);
        button->setAccessibleDescription(keys);
    }
}

QComboBox *MainWindow::addList(ControlId id, const QStringList &entries)
{
    auto *combo = new QComboBox;
    combo->addItems(entries);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    operator_.addControl(id, combo);
    return combo;
}

QWidget *MainWindow::createControls()
{
    auto *central = new QWidget;
    central->setAutoFillBackground(true);
    auto *grid = new QGridLayout(central);
    grid->setContentsMargins(5, 2, 5, 5);
    grid->setHorizontalSpacing(5);
    grid->setVerticalSpacing(3);

    // File Information: the job-wide settings in one row.
    auto *fileGroup = new QGroupBox(tr("File Information"));
    auto *fileLayout = new QHBoxLayout(fileGroup);
    fileLayout->setContentsMargins(6, 2, 6, 4);
    auto *fileRow = new WrappingRow;
    fileLayout->addWidget(fileRow);
    const auto addField = [&](const QString &caption, QWidget *control) {
        auto *field = new QWidget;
        auto *pair = new QHBoxLayout(field);
        pair->setContentsMargins(0, 0, 4, 0);
        pair->addWidget(buddyLabel(caption, control));
        pair->addWidget(control);
        fileRow->addGroup(field);
    };
    QComboBox *material = addList(ControlId::Material, {tr("Tube"), tr("Label"), tr("Heat Shrink Tube")});
    QComboBox *materialParameter = addList(ControlId::MaterialParameter, {});
    materialParameter->setMinimumContentsLength(5);
    QComboBox *cutSetting = addList(ControlId::CutSetting, {tr("Nil"), tr("Half-cut"), tr("Cutting Line")});
    QComboBox *spacing = addList(ControlId::Spacing, {});
    spacing->setMinimumContentsLength(2);
    QComboBox *arrange = addList(ControlId::Arrange, {tr("Center"), tr("Left Alignment")});
    QComboBox *density = addList(ControlId::Density, numbers(1, 6));
    auto *copies = new QLineEdit;
    copies->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), copies));
    copies->setFixedWidth(40);
    operator_.addControl(ControlId::CopiesEdit, copies);
    addField(tr("Material:"), material);
    addField(tr("Material Parameter:"), materialParameter);
    addField(tr("Cut Setting:"), cutSetting);
    addField(tr("Spacing:"), spacing);
    addField(tr("Arrange:"), arrange);
    addField(tr("Density:"), density);
    addField(tr("Copies:"), copies);
    grid->addWidget(fileGroup, 0, 0, 1, 2);

    // Left column: scope, page settings, the hidden font source, the picture.
    auto *left = new QVBoxLayout;
    left->setSpacing(3);

    auto *typeSet = new QGroupBox(tr("Type Set"));
    auto *typeRow = new QHBoxLayout(typeSet);
    typeRow->setContentsMargins(6, 2, 6, 4);
    auto *currentPage = new QRadioButton(tr("Current Page"));
    auto *followingPage = new QRadioButton(tr("Following Page"));
    typeRow->addWidget(currentPage);
    typeRow->addWidget(followingPage);
    operator_.addControl(ControlId::CurrentPage, currentPage);
    operator_.addControl(ControlId::FollowingPage, followingPage);
    left->addWidget(typeSet);

    auto *pageInfo = new QGroupBox(tr("Page Information"));
    auto *pageLayout = new QVBoxLayout(pageInfo);
    pageLayout->setContentsMargins(6, 2, 6, 6);
    auto *lengthGroup = new QGroupBox(tr("Length"));
    auto *lengthGrid = new QGridLayout(lengthGroup);
    lengthGrid->setContentsMargins(6, 2, 6, 4);
    auto *automatic = new QRadioButton(tr("Automatic"));
    auto *specify = new QRadioButton(tr("Specify"));
    auto *lengthEdit = new QLineEdit;
    lengthEdit->setAccessibleName(tr("Specified length in mm"));
    auto *lengthSet = new QPushButton(tr("Set"));
    lengthSet->setAccessibleName(tr("Set length"));
    // A small button beside a wide edit.
    lengthSet->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    lengthGrid->addWidget(automatic, 0, 0);
    lengthGrid->addWidget(specify, 0, 1);
    lengthGrid->addWidget(lengthEdit, 1, 0);
    lengthGrid->addWidget(lengthSet, 1, 1);
    lengthGrid->setColumnStretch(0, 1);
    operator_.addControl(ControlId::Automatic, automatic);
    operator_.addControl(ControlId::Specify, specify);
    operator_.addControl(ControlId::LengthEdit, lengthEdit);
    operator_.addControl(ControlId::LengthSet, lengthSet);
    pageLayout->addWidget(lengthGroup);

    auto *form = new QGridLayout;
    form->setVerticalSpacing(4);
    auto *repeatEdit = new QLineEdit;
    repeatEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), repeatEdit));
    auto *repeatSet = new QPushButton(tr("Set"));
    repeatSet->setAccessibleName(tr("Set repeat"));
    repeatSet->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    operator_.addControl(ControlId::RepeatEdit, repeatEdit);
    operator_.addControl(ControlId::RepeatSet, repeatSet);
    form->addWidget(buddyLabel(tr("Repeat:"), repeatEdit), 0, 0);
    form->addWidget(repeatEdit, 0, 1);
    form->addWidget(repeatSet, 0, 2);
    const auto addPageList = [&](int row, const QString &caption, ControlId id, const QStringList &entries) {
        QComboBox *combo = addList(id, entries);
        form->addWidget(buddyLabel(caption, combo), row, 0);
        form->addWidget(combo, row, 1, 1, 2);
        return combo;
    };
    QComboBox *fontSize = addPageList(1, tr("Font Size:"), ControlId::FontSize,
                                      QStringList{tr("Auto Size")} + numbers(1, 6));
    QComboBox *zoom = addPageList(2, tr("Zoom:"), ControlId::Zoom, {"100%", "50%"});
    QComboBox *frame = addPageList(3, tr("Frame:"), ControlId::Frame, {tr("None"), tr("Frame"), tr("Underline")});
    QComboBox *direction = addPageList(4, tr("Direction:"), ControlId::Direction, {tr("Horizontal"), tr("Vertical")});
    form->setColumnStretch(1, 1);
    pageLayout->addLayout(form);
    auto *setNumber = new QPushButton(tr("Set Number"));
    operator_.addControl(ControlId::SetNumber, setNumber);
    pageLayout->addWidget(setNumber);
    left->addWidget(pageInfo);

    // The font source is kept but not shown.
    choiceFontGroup_ = new QGroupBox(tr("Choice Font"));
    auto *fontLayout = new QGridLayout(choiceFontGroup_);
    auto *localFont = new QRadioButton(tr("Local Font"));
    auto *computerFont = new QRadioButton(tr("Computer Font"));
    auto *fontList = new QComboBox;
    fontList->setAccessibleName(tr("Computer font"));
    fontList->setEnabled(false);
    fontLayout->addWidget(localFont, 0, 0);
    fontLayout->addWidget(computerFont, 0, 1);
    fontLayout->addWidget(fontList, 1, 0, 1, 2);
    operator_.addControl(ControlId::LocalFont, localFont);
    operator_.addControl(ControlId::ComputerFont, computerFont);
    operator_.addControl(ControlId::FontList, fontList);
    choiceFontGroup_->setVisible(false);
    left->addWidget(choiceFontGroup_);

    auto *picture = new QLabel;
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/decoration.png")));
    picture->setAccessibleName(tr("Vt350 tube marks"));
    picture->setAlignment(Qt::AlignCenter);
    left->addWidget(picture);
    left->addStretch(1);
    grid->addLayout(left, 1, 0);

    pageTable_ = new PageTable;
    grid->addWidget(pageTable_, 1, 1);

    bottomStatic_ = new QFrame;
    bottomStatic_->setObjectName(QStringLiteral("bottomStatic"));
    bottomStatic_->setFrameShape(QFrame::StyledPanel);
    bottomStatic_->setFrameShadow(QFrame::Sunken);
    bottomStatic_->setMinimumHeight(73);
    bottomStatic_->setAccessibleName(tr("Label strip"));
    grid->addWidget(bottomStatic_, 2, 0, 1, 2);
    // The preview strip lies over the bottom frame and follows its size.
    previewPane_ = new PreviewPane;
    auto *previewLayout = new QVBoxLayout(bottomStatic_);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->addWidget(previewPane_);
    connect(&rules_, &SettingRules::tapeWidthChanged, previewPane_, &PreviewPane::setTapeWidth);

    // Kept from the dialog's template; it does nothing.
    auto *button1 = new QPushButton(QStringLiteral("Button1"), central);
    button1->setVisible(false);

    // The table keeps its height beside the settings; the strip under it
    // takes whatever the window grows by.
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 0);
    grid->setRowStretch(2, 1);

    // Settings rules. A list's rule runs when the operator chooses an entry,
    // also the one it already shows (Following Page then passes the current
    // page's value on); selections made from code run none.
    connect(material, &QComboBox::activated, this, &MainWindow::materialChanged);
    connect(materialParameter, &QComboBox::activated, this, &MainWindow::materialParameterChanged);
    connect(cutSetting, &QComboBox::activated, this, &MainWindow::cutSettingChanged);
    connect(spacing, &QComboBox::activated, this, &MainWindow::spacingChanged);
    connect(arrange, &QComboBox::activated, this, &MainWindow::arrangeChanged);
    connect(density, &QComboBox::activated, this, &MainWindow::densityChanged);
    connect(copies, &QLineEdit::textChanged, this, &MainWindow::copiesTextChanged);
    connect(fontSize, &QComboBox::activated, this, &MainWindow::fontSizeChanged);
    connect(zoom, &QComboBox::activated, this, &MainWindow::zoomChanged);
    connect(frame, &QComboBox::activated, this, &MainWindow::frameChanged);
    connect(direction, &QComboBox::activated, this, &MainWindow::directionChanged);
    connect(automatic, &QRadioButton::clicked, this, &MainWindow::automaticClicked);
    connect(specify, &QRadioButton::clicked, this, &MainWindow::specifyClicked);
    connect(lengthEdit, &QLineEdit::textChanged, this, &MainWindow::lengthTextChanged);
    connect(lengthSet, &QPushButton::clicked, this, &MainWindow::lengthSetClicked);
    connect(repeatSet, &QPushButton::clicked, this, &MainWindow::repeatSetClicked);
    connect(setNumber, &QPushButton::clicked, this, &MainWindow::setNumberClicked);
    connect(localFont, &QRadioButton::clicked, this, &MainWindow::localFontClicked);
    connect(computerFont, &QRadioButton::clicked, this, &MainWindow::computerFontClicked);
    connect(fontList, &QComboBox::currentIndexChanged, this, &MainWindow::fontListChanged);
    return central;
}

void MainWindow::setInitialState()
{
    Operator &op = operator_;
    op.setEdit(ControlId::RepeatEdit, repeatValue);
    op.setEdit(ControlId::LengthEdit, lengthValue);
    op.setEdit(ControlId::CopiesEdit, copiesValue);

    op.setControlChecked(ControlId::LocalFont, true);
    op.setControlChecked(ControlId::CurrentPage, true);
    op.enableControl(ControlId::ComputerFont, false);
    op.setControlChecked(ControlId::Automatic, true);
    op.enableControl(ControlId::LengthEdit, false);
    op.enableControl(ControlId::LengthSet, false);

    // Shown only: the stored settings keep their own start values (density 9).
    op.selectListEntry(ControlId::Arrange, 0);
    op.fillList(ControlId::Spacing, numbers(0, 20));
    op.selectListEntry(ControlId::Spacing, 1);
    op.selectListEntry(ControlId::Material, 1);
    op.fillList(ControlId::MaterialParameter, sizeEntriesFor(Label));
    op.selectListEntry(ControlId::MaterialParameter, 1);
    op.selectListEntry(ControlId::Frame, 0);
    op.selectListEntry(ControlId::FontSize, 4);
    op.selectListEntry(ControlId::Zoom, 0);
    op.selectListEntry(ControlId::Density, kStartDensityEntry);
    op.selectListEntry(ControlId::CutSetting, 1);
    op.selectListEntry(ControlId::Direction, 0);

    pageTable_->setFont(fonts::systemFont(12));
}

void MainWindow::makeColumns()
{
    // The table gives the columns their widths as it takes the model.
    pageTable_->setPageModel(&job_.model);
    pageTable_->setOwner(this);
    operator_.setPageTable(pageTable_);
    pageTable_->setColors(backgroundColor(), Qt::black);
    pageTable_->setHeaderCheckState(2);
    job_.currentIndex = -1;

    connect(&job_, &Job::rowSelected, pageTable_, [this](int row) { pageTable_->selectRow(row); });
    connect(pageTable_, &PageTable::headerColumnClicked, this, [this](int column) {
        commands_.headerClicked(column);
        pageTable_->setHeaderCheckState(job_.model.headerCheckState());
    });
    // A row's check box decides whether the page is printed: a change to the job.
    connect(&job_.model, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                if (roles.contains(Qt::CheckStateRole))
                    job_.modified = true;
            });
}

int MainWindow::pageTableMessage(unsigned message, int row, int column)
{
    return cellCommit_.pageTableMessage(message, row, column);
}

bool MainWindow::refusedWhilePrinting()
{
    if (printJob_->printing())
        operator_.prompt(tr("A print job is in progress. Please wait until it has finished."));
    else if (printJob_->searching())
        operator_.prompt(tr("The printer is being looked for. Please wait a moment."));
    else
        return false;
    return true;
}

void MainWindow::addPage()
{
    if (!refusedWhilePrinting())
        commands_.add();
}
void MainWindow::deletePage()
{
    if (!refusedWhilePrinting())
        commands_.deletePage();
}
void MainWindow::supscript()
{
    if (!refusedWhilePrinting())
        commands_.supscript();
}
void MainWindow::subscript()
{
    if (!refusedWhilePrinting())
        commands_.subscript();
}

void MainWindow::openDocument()
{
    if (!refusedWhilePrinting())
        documents_->openDocument();
}
void MainWindow::saveDocument() { documents_->saveDocument(); }
void MainWindow::importCsv()
{
    if (!refusedWhilePrinting())
        documents_->importCsv();
}

bool MainWindow::openAtStart(const QString &path)
{
    if (path.endsWith(QStringLiteral(".vtd"), Qt::CaseInsensitive))
        return documents_->openPath(path);
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
        return documents_->importPath(path);
    if (isWorkbookName(path))
        return importTableFile(path, false);
    operator_.prompt(
        tr("%1 is neither a document (.vtd) nor a text file to import (.csv).").arg(QDir::toNativeSeparators(path)));
    return false;
}
void MainWindow::printView()
{
    pageTable_->setFocus();
    buildPrintRecords(job_, false);
    if (const std::optional<double> width = previewTapeWidth(job_.settings))
        previewPane_->setTapeWidth(*width);
    // The pane keeps a copy: it never draws from pages freed later.
    previewPane_->showPages(job_.chain, job_.settings);
}
void MainWindow::print()
{
    if (!refusedWhilePrinting())
        printJob_->printCommand();
}

void MainWindow::paintEvent(QPaintEvent *event)
{
    QMainWindow::paintEvent(event);
    if (!searchWhenPainted_)
        return;
    searchWhenPainted_ = false;
    // After this paint has reached the screen: the search takes seconds.
    QTimer::singleShot(0, this, &MainWindow::runStartUp);
}

void MainWindow::materialChanged(int index) { rules_.materialChanged(index); }
void MainWindow::materialParameterChanged(int index) { rules_.materialParameterChanged(index); }
void MainWindow::cutSettingChanged(int index) { rules_.cutSettingChanged(index); }
void MainWindow::spacingChanged(int index) { rules_.spacingChanged(index); }
void MainWindow::arrangeChanged(int index) { rules_.arrangeChanged(index); }
void MainWindow::densityChanged(int index) { rules_.densityChanged(index); }
void MainWindow::copiesTextChanged(const QString &) { rules_.copiesChanged(); }
void MainWindow::fontSizeChanged(int index) { rules_.fontSizeChanged(index); }
void MainWindow::zoomChanged(int index) { rules_.zoomChanged(index); }
void MainWindow::frameChanged(int index) { rules_.frameChanged(index); }
void MainWindow::directionChanged(int index) { rules_.directionChanged(index); }
void MainWindow::automaticClicked() { rules_.automaticClicked(); }
void MainWindow::specifyClicked() { rules_.specifyClicked(); }
void MainWindow::lengthTextChanged(const QString &text) { rules_.lengthTextChanged(text); }
void MainWindow::lengthSetClicked() { rules_.lengthSetClicked(); }
void MainWindow::repeatSetClicked() { rules_.repeatSetClicked(); }
void MainWindow::setNumberClicked() { setNumberCommand(job_, operator_); }
void MainWindow::localFontClicked() { rules_.localFontClicked(); }
void MainWindow::computerFontClicked() { rules_.computerFontClicked(); }
void MainWindow::fontListChanged(int) {}

void MainWindow::showAbout()
{
    AboutDialog about(this);
    about.exec();
}

void MainWindow::exitCommand()
{
    // The bound edits are read back first; one without an integer keeps the window open.
    if (rules_.readBoundEdits())
        close();
}

bool MainWindow::mayDiscardChanges(const QString &before)
{
    // An edit still open belongs to the job being closed.
    if (pageTable_->isEditing())
        pageTable_->commitEditor();
    if (!job_.modified)
        return true;
    Message question;
    //: %1 is "closing" or an action such as "opening FILE".
    question.text = tr("The pages have been changed since they were last saved.\n"
                       "Save them before %1?")
                        .arg(before.isEmpty() ? tr("closing") : before);
    question.buttons = MessageButtons::YesNoCancel;
    switch (operator_.showMessage(question)) {
    case Answer::Yes:
        saveDocument();
        // A save that failed or was cancelled keeps the window open.
        return !job_.modified;
    case Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!mayDiscardChanges()) {
        event->ignore();
        return;
    }
    // Closing ends a job in progress; the print timer and the port go with it.
    printJob_->abort();
    // Saved, or given up after the question: nothing left to recover.
    recovery_->discard();
    event->accept();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    // Escape closes the window, as a dialog's cancel does; an open cell editor
    // takes its own Escape.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !pageTable_->isEditing()) {
        close();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

} // namespace vt

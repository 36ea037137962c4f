#pragma once

#include "commands/Operator.h"
#include "commands/PageCommands.h"
#include "model/Job.h"

#include <QCoreApplication>
#include <QString>

#include <functional>
#include <vector>

namespace vt {

class ProgressView;
struct DocumentContent;
struct CsvContent;
struct ImportedPage;

// Save, Open and Import of the main window, without widgets. The window's
// toolbar calls the dialog commands; the command line calls the path forms.
class DocumentCommands {
    Q_DECLARE_TR_FUNCTIONS(vt::DocumentCommands)

public:
    DocumentCommands(Job &job, Operator &op, PageCommands &pages, ProgressView *progress = nullptr);

    // Toolbar commands: ask for the file, then do the work.
    void saveDocument();
    void openDocument();
    void importCsv();

    // The work after the file dialog. Each returns true when the job (or the
    // file) was changed; every failure has been told to the operator.
    // saveTo replaces a file of the name as given without a question (the
    // caller chose it); Save asks about any file it would replace, as the
    // window's dialog does not.
    bool saveTo(const QString &chosenPath);
    bool openPath(const QString &path);
    // Import without the confirmation; reports refused lines at the end,
    // those too long and those with characters that cannot be printed.
    bool importPath(const QString &path);

    // Replaces the job's pages with `pages` (at most a job's worth), as
    // Import does once its file has been read; `path` is the file told to
    // onFile. The pages must not be empty.
    void replacePages(const std::vector<ImportedPage> &pages, const QString &path);

    // Told after each file that was saved, opened (replacing the job or
    // appended to it) or imported, with the file's path.
    enum class FileEvent { Saved, Opened, Appended, Imported };
    std::function<void(FileEvent, const QString &)> onFile;

    // Lines refused for their length in the last import.
    int rejectedRows() const { return rejectedRows_; }

    // The name a document is saved under: ".vtd" appended unless the name
    // already ends in it, in any case; the rest keeps its case.
    static QString completedDocumentName(const QString &chosenPath);

private:
    bool save(const QString &chosenPath, bool askAboutChosenName);
    bool importRows(const QString &path);
    void putImportedPage(int pageNumber, const QString &line1, const QString &line2, int repeat);
    bool jobHasContent() const;
    void clearPages();
    void selectHeader(const DocumentContent &content);
    void appendPages(const DocumentContent &content, int count);

    Job &job_;
    Operator &op_;
    PageCommands &pages_;
    ProgressView *progress_;
    int rejectedRows_ = 0;
    QString rejectedDetails_;
    int unprintableRows_ = 0; // lines refused for characters the page cannot hold
    QString unprintableDetails_;
};

} // namespace vt

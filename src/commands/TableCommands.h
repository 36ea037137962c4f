#pragma once

#include "commands/DocumentCommands.h"
#include "commands/TableImport.h"

#include <functional>

#include <QCoreApplication>

namespace vt {

// Import Table: the job from a sheet of a workbook or a delimited text file,
// through the same page filling as Import, or the rows split into several
// documents of at most a job's worth of pages each.
class TableCommands {
    Q_DECLARE_TR_FUNCTIONS(vt::TableCommands)

public:
    TableCommands(Job &job, Operator &op, DocumentCommands &documents) : job_(job), op_(op), documents_(documents) {}

    // Reads the whole sheet, then replaces the job; the rows refused are
    // reported in one message with a line each in its details. False, with
    // the job unchanged, for a bad file or a sheet without a usable row.
    bool importTable(const QString &path, const TableChoice &choice);
    // The same with a content already read (the dialog's).
    bool importContent(const QString &path, const TableContent &content);

    // Given the parts of a split that already exist; true replaces them.
    using MayReplace = std::function<bool(const QStringList &existing)>;

    // Writes the sheet's pages in order to NAME-1.vtd, NAME-2.vtd, ... (NAME
    // is `name` without ".vtd"), each with at most a job's pages and the
    // job's settings. Parts that exist already are named and replaced only
    // when `mayReplace` (by default: the operator, asked once) agrees;
    // otherwise nothing is written. The paths written go to `written`. The
    // job itself is left as it was.
    bool splitTable(const QString &path, const TableChoice &choice, const QString &name, QStringList *written,
                    const MayReplace &mayReplace = {});

    // The name of part `part` (from 1) of a split.
    static QString splitPartName(const QString &name, int part);

    // Where each page of the last table imported came from.
    const std::vector<PageOrigin> &lastOrigins() const { return lastOrigins_; }

private:
    bool usable(const QString &path, const TableContent &content);
    bool askToReplace(const QStringList &existing);
    void reportRefusals(const QString &path, const TableContent &content);

    Job &job_;
    Operator &op_;
    DocumentCommands &documents_;
    std::vector<PageOrigin> lastOrigins_;
};

// "Can not import FILE: WHY; the job is unchanged."
QString cannotImportText(const QString &path, const QString &why);

} // namespace vt

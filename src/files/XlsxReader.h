#pragma once

#include "files/WorkbookXml.h"
#include "files/XlsxSheet.h"

#include <QMap>

namespace vt {

// An Office Open XML workbook (.xlsx): the workbook part for the sheets,
// the shared strings and the cell styles' number formats, each sheet
// streamed row by row.
class XlsxReader : public ZipWorkbook {
public:
    // Reads the workbook's list of sheets, its shared strings and styles;
    // check problem() after.
    explicit XlsxReader(std::unique_ptr<ZipArchive> archive);
    // Whether the archive holds a workbook part at all.
    bool isWorkbook() const { return isWorkbook_; }

    QStringList sheetNames() const override { return names_; }
    bool readSheet(int index, const RowSink &sink) override;

private:
    struct Relations {
        QMap<QString, QString> targets; // by id
        QString sharedStrings, styles;
    };
    bool readRelations(const QString &part, Relations &relations);
    bool readWorkbook(const QString &part);
    bool readStyles(const QString &part);
    bool readSharedStrings(const QString &part);
    bool xmlEnded(XmlStream::End end, bool beyondColumns = false);

    bool isWorkbook_ = false;
    QStringList names_;
    QStringList sheetParts_;
    XlsxBook book_;
};

} // namespace vt

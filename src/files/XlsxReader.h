#pragma once

#include "files/WorkbookXml.h"

#include <QMap>

#include <vector>

namespace vt {

// An Office Open XML workbook (.xlsx): the workbook part for the sheets,
// the shared strings, each sheet streamed row by row.
class XlsxReader : public ZipWorkbook {
public:
    // Reads the workbook's list of sheets and its shared strings; check
    // problem() after.
    explicit XlsxReader(std::unique_ptr<ZipArchive> archive);
    // Whether the archive holds a workbook part at all.
    bool isWorkbook() const { return isWorkbook_; }

    QStringList sheetNames() const override { return names_; }
    bool readSheet(int index, const RowSink &sink) override;

private:
    bool readRelations(const QString &part, QMap<QString, QString> &targets, QString *sharedStrings);
    bool readWorkbook(const QString &part);
    bool readSharedStrings(const QString &part);
    QString sharedString(qint64 index) const;

    bool isWorkbook_ = false;
    QStringList names_;
    QStringList sheetParts_;
    // Every shared string in one buffer: a million short strings would
    // otherwise take a heap block each.
    QString strings_;
    std::vector<qsizetype> stringEnds_;
};

} // namespace vt

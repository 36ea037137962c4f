#pragma once

#include "files/TableReader.h"

#include <QTemporaryFile>

namespace vt {

// An Excel 97-2003 workbook (.xls) through libfreexl, which reads the file
// by its path.
class XlsReader : public TableReader {
public:
    explicit XlsReader(const QString &path);
    // For bytes in memory: written to a temporary file first.
    explicit XlsReader(const QByteArray &bytes);
    ~XlsReader() override;

    QStringList sheetNames() const override { return names_; }
    bool readSheet(int index, const RowSink &sink) override;

private:
    void open(const QString &path);

    QTemporaryFile copy_;
    const void *handle_ = nullptr;
    QStringList names_;
};

} // namespace vt

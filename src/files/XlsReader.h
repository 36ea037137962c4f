#pragma once

#include "files/TableReader.h"

#include <QTemporaryFile>

namespace vt {

// An Excel 97-2003 workbook (.xls), read by libfreexl in a separate process
// (the vt350-xls program beside this one): a crafted file that upsets
// libfreexl ends that process, and here it is only a file that cannot be read.
class XlsReader : public TableReader {
public:
    explicit XlsReader(const QString &path);
    // For bytes in memory: written to a temporary file first.
    explicit XlsReader(const QByteArray &bytes);

    QStringList sheetNames() const override { return names_; }
    bool readSheet(int index, const RowSink &sink) override;

    // The reader program: by default vt350-xls in the folder of the running
    // program (tests and fuzzing name the one they built).
    static void setProgram(const QString &path);
    static QString program();
    // How long one run may take before it is stopped (ms; 60 s by default).
    static void setTimeLimit(int ms);

private:
    bool run(const QStringList &arguments, const RowSink *sink);

    QString path_;
    QTemporaryFile copy_;
    QStringList names_;
};

} // namespace vt

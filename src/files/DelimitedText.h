#pragma once

#include "files/TableReader.h"

class QIODevice;

namespace vt {

// Comma, semicolon or tab separated text with quoting as RFC 4180 has it:
// a field in double quotes may hold the separator, a line break and a
// doubled quote. Encoding as Import decides it: UTF-8 (with or without a
// byte-order mark) when the whole file is valid UTF-8, else code page 936.
// Rows are numbered by record, as a spreadsheet opening the file shows them.
class DelimitedText : public TableReader {
public:
    DelimitedText(const QString &path, const TableOptions &options);
    DelimitedText(const QByteArray &bytes, const TableOptions &options);

    QStringList sheetNames() const override { return {sheetName_}; }
    bool readSheet(int index, const RowSink &sink) override;

    char separator() const { return separator_; }
    bool isUtf8() const { return utf8_; }

private:
    std::unique_ptr<QIODevice> device() const;
    void inspect(const TableOptions &options);

    QString path_;
    QByteArray bytes_;
    QString sheetName_;
    char separator_ = ',';
    bool utf8_ = true;
};

// The separator of the first records of `sample`: the one that splits the
// most of them into more than one field; tab, then semicolon, then comma on
// a tie, and comma when none splits any.
char detectSeparator(QByteArrayView sample);

} // namespace vt

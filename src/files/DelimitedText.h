#pragma once

#include "files/TableReader.h"

class QIODevice;

namespace vt {

// Comma, semicolon or tab separated text with quoting as RFC 4180 has it:
// a field in double quotes may hold the separator, a line break and a
// doubled quote. Encoding as Import decides it: UTF-8 (with or without a
// byte-order mark) when the whole file is valid UTF-8, else code page 936;
// and UTF-16 after its byte-order mark, as spreadsheet programs save
// "Unicode Text".
// Rows are numbered by record, as a spreadsheet opening the file shows them.
class DelimitedText : public TableReader {
public:
    DelimitedText(const QString &path, const TableOptions &options);
    DelimitedText(const QByteArray &bytes, const TableOptions &options);

    QStringList sheetNames() const override { return {sheetName_}; }
    bool readSheet(int index, const RowSink &sink) override;

    enum class Encoding { Utf8, CodePage936, Utf16LE, Utf16BE };

    char separator() const { return separator_; }
    Encoding encoding() const { return encoding_; }

private:
    std::unique_ptr<QIODevice> device() const;
    void inspect(const TableOptions &options);

    QString path_;
    QByteArray bytes_;
    QString sheetName_;
    char separator_ = ',';
    Encoding encoding_ = Encoding::Utf8;
};

// The separator of the first records of `sample`: the one that splits the
// most of them into more than one field; tab, then semicolon, then comma on
// a tie, and comma when none splits any.
char detectSeparator(QByteArrayView sample);

// Whether bytes begin with a UTF-16 byte-order mark (not UTF-32's).
bool startsAsUtf16(QByteArrayView head);

} // namespace vt

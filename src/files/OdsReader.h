#pragma once

#include "files/WorkbookXml.h"

namespace vt {

// An OpenDocument spreadsheet (.ods): every sheet is a table of content.xml,
// whose cells hold the text the spreadsheet shows.
class OdsReader : public ZipWorkbook {
public:
    explicit OdsReader(std::unique_ptr<ZipArchive> archive);
    bool isSpreadsheet() const { return isSpreadsheet_; }

    QStringList sheetNames() const override { return names_; }
    bool readSheet(int index, const RowSink &sink) override;

private:
    bool isSpreadsheet_ = false;
    QStringList names_;
};

} // namespace vt

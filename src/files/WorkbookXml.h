#pragma once

#include "files/TableReader.h"
#include "files/ZipArchive.h"

#include <QXmlStreamReader>

namespace vt {

// What .xlsx and .ods share: a zip archive of XML parts, each read as a
// stream with the refusals every part gets.
class ZipWorkbook : public TableReader {
protected:
    explicit ZipWorkbook(std::unique_ptr<ZipArchive> archive) : archive_(std::move(archive)) {}

    // The next token of a part; false at its end or at a fault, after which
    // failedXml() names the fault.
    bool next(QXmlStreamReader &xml);
    // Records why a part stopped early (damaged, too large, entities).
    bool failedXml(const QXmlStreamReader &xml);
    // Records the archive's own problem; false when there is one.
    bool archiveOk();

    std::unique_ptr<ZipArchive> archive_;
    bool entities_ = false;
};

// The clause for a problem of the archive.
QString zipProblemText(ZipArchive::Problem problem);

// The texts of the problems every reader shares.
namespace tableproblem {
QString damaged();
QString encrypted();
QString entities();
} // namespace tableproblem

} // namespace vt

#include "files/WorkbookXml.h"

#include <QCoreApplication>

namespace vt {

namespace tableproblem {
QString damaged()
{
    return QCoreApplication::translate("vt::TableReader", "the workbook is damaged or cut short");
}
QString encrypted()
{
    return QCoreApplication::translate("vt::TableReader", "the workbook is encrypted (protected by a password)");
}
QString entities()
{
    return QCoreApplication::translate("vt::TableReader",
                                       "its XML declares entities, which no workbook needs (refused)");
}
} // namespace tableproblem

QString zipProblemText(ZipArchive::Problem problem)
{
    switch (problem) {
    case ZipArchive::Problem::None: return {};
    case ZipArchive::Problem::NotZip:
    case ZipArchive::Problem::Damaged: return tableproblem::damaged();
    case ZipArchive::Problem::Encrypted: return tableproblem::encrypted();
    case ZipArchive::Problem::TooLarge:
        return QCoreApplication::translate("vt::TableReader", "its parts would unpack to more than %1 MB (refused)")
            .arg(ZipArchive::kMaxUnpackedBytes / (1024 * 1024));
    }
    return tableproblem::damaged();
}

bool ZipWorkbook::next(QXmlStreamReader &xml)
{
    if (xml.atEnd())
        return false;
    const QXmlStreamReader::TokenType token = xml.readNext();
    // Entity declarations are how XML bombs and external reads start; a
    // workbook part never has any.
    if (token == QXmlStreamReader::DTD && !xml.entityDeclarations().isEmpty()) {
        entities_ = true;
        return false;
    }
    return token != QXmlStreamReader::Invalid && token != QXmlStreamReader::EndDocument;
}

bool ZipWorkbook::archiveOk()
{
    if (archive_->problem() == ZipArchive::Problem::None)
        return true;
    return fail(zipProblemText(archive_->problem()));
}

bool ZipWorkbook::failedXml(const QXmlStreamReader &xml)
{
    if (!archiveOk())
        return false;
    if (entities_)
        return fail(tableproblem::entities());
    if (xml.hasError())
        return fail(tableproblem::damaged());
    return true;
}

} // namespace vt

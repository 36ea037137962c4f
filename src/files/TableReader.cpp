#include "files/TableReader.h"

#include "files/DelimitedText.h"
#include "files/OdsReader.h"
#include "files/WorkbookXml.h"
#include "files/XlsReader.h"
#include "files/XlsxReader.h"

#include <QCoreApplication>
#include <QFile>

#include <charconv>
#include <cmath>

namespace vt {

namespace {

bool isZip(QByteArrayView head) { return head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"); }
bool isCompoundFile(QByteArrayView head) { return head.startsWith("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"); }

// An encrypted .xlsx or .ods is not a zip: the office programs wrap it in a
// compound file with a stream of this name.
bool holdsEncryptedPackage(const QByteArray &bytes)
{
    static const QByteArray name = QByteArray("E\0n\0c\0r\0y\0p\0t\0e\0d\0P\0a\0c\0k\0a\0g\0e\0", 32);
    return bytes.contains(name);
}

QString notA(TableFormat format)
{
    switch (format) {
    case TableFormat::Xlsx:
        return QCoreApplication::translate("vt::TableReader", "it is not an Excel workbook (.xlsx)");
    case TableFormat::Ods:
        return QCoreApplication::translate("vt::TableReader", "it is not an OpenDocument spreadsheet (.ods)");
    case TableFormat::Xls:
        return QCoreApplication::translate("vt::TableReader", "it is not an Excel 97-2003 workbook (.xls)");
    case TableFormat::Text:
        return QCoreApplication::translate("vt::TableReader", "it is a workbook or an archive, not text");
    }
    return {};
}

template <typename MakeZip, typename MakeXls, typename MakeText>
std::unique_ptr<TableReader> openAs(TableFormat format, const QByteArray &head, const MakeZip &makeZip,
                                    const MakeXls &makeXls, const MakeText &makeText,
                                    const std::function<QByteArray()> &whole, QString &problem)
{
    std::unique_ptr<TableReader> reader;
    switch (format) {
    case TableFormat::Xlsx:
    case TableFormat::Ods:
        if (isCompoundFile(head) && holdsEncryptedPackage(whole())) {
            problem = tableproblem::encrypted();
            return nullptr;
        }
        if (!isZip(head)) {
            problem = notA(format);
            return nullptr;
        }
        if (format == TableFormat::Xlsx) {
            auto xlsx = std::make_unique<XlsxReader>(makeZip());
            if (xlsx->problem().isEmpty() && !xlsx->isWorkbook())
                problem = notA(format);
            reader = std::move(xlsx);
        } else {
            auto ods = std::make_unique<OdsReader>(makeZip());
            if (ods->problem().isEmpty() && !ods->isSpreadsheet())
                problem = notA(format);
            reader = std::move(ods);
        }
        break;
    case TableFormat::Xls:
        if (!isCompoundFile(head)) {
            problem = notA(format);
            return nullptr;
        }
        reader = makeXls();
        break;
    case TableFormat::Text:
        // UTF-16 text has NULs; after its byte-order mark it is text all the same.
        if (isZip(head) || isCompoundFile(head) || (head.contains('\0') && !startsAsUtf16(head))) {
            problem = notA(format);
            return nullptr;
        }
        reader = makeText();
        break;
    }
    if (problem.isEmpty())
        problem = reader->problem();
    if (!problem.isEmpty())
        return nullptr;
    return reader;
}

} // namespace

std::optional<TableFormat> tableFormatOfName(const QString &path)
{
    const auto ends = [&](const char *suffix) { return path.endsWith(QLatin1StringView(suffix), Qt::CaseInsensitive); };
    if (ends(".xlsx"))
        return TableFormat::Xlsx;
    if (ends(".ods"))
        return TableFormat::Ods;
    if (ends(".xls"))
        return TableFormat::Xls;
    if (ends(".csv") || ends(".tsv") || ends(".txt"))
        return TableFormat::Text;
    return std::nullopt;
}

bool isWorkbookName(const QString &path)
{
    const std::optional<TableFormat> format = tableFormatOfName(path);
    return format && *format != TableFormat::Text;
}

std::unique_ptr<TableReader> openTable(const QString &path, const TableOptions &options, QString &problem)
{
    problem.clear();
    const std::optional<TableFormat> format = tableFormatOfName(path);
    QFile file(path);
    if (!format) {
        problem = QCoreApplication::translate("vt::TableReader",
                                              "it is not a table file (.xlsx, .ods, .xls, .csv, .tsv, .txt)");
        return nullptr;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        problem = file.errorString();
        return nullptr;
    }
    const QByteArray head = file.read(4096);
    const auto whole = [&file] {
        file.seek(0);
        return file.read(16 * 1024 * 1024);
    };
    return openAs(
        *format, head, [&] { return std::make_unique<ZipArchive>(path); },
        [&] { return std::make_unique<XlsReader>(path); },
        [&] { return std::make_unique<DelimitedText>(path, options); }, whole, problem);
}

std::unique_ptr<TableReader> openTable(const QByteArray &bytes, TableFormat format, const TableOptions &options,
                                       QString &problem)
{
    problem.clear();
    return openAs(
        format, bytes.left(4096), [&] { return std::make_unique<ZipArchive>(bytes); },
        [&] { return std::make_unique<XlsReader>(bytes); },
        [&] { return std::make_unique<DelimitedText>(bytes, options); }, [&] { return bytes; }, problem);
}

QString generalNumberText(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("#NUM!");
    if (value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<qint64>(value));
    // The shortest text that reads back as the value is the 15-digit one
    // whenever it has no more digits (a double holds 15 decimal digits),
    // and far cheaper to find: a million cells of a sheet are mostly these.
    const double magnitude = std::fabs(value);
    if (magnitude >= 1e-4 && magnitude < 1e15) {
        char buf[32];
        const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        int digits = 0;
        bool leading = true;
        for (const char *c = buf; c < r.ptr; ++c) {
            if (*c >= '1' && *c <= '9')
                leading = false;
            digits += !leading && *c >= '0' && *c <= '9';
        }
        if (r.ec == std::errc() && digits <= 15)
            return QString::fromLatin1(buf, r.ptr - buf);
    }
    return QString::number(value, 'g', 15).toUpper();
}

QString generalNumberText(const QString &xmlNumber)
{
    bool ok = false;
    const double value = xmlNumber.trimmed().toDouble(&ok);
    return ok ? generalNumberText(value) : xmlNumber;
}

int columnIndex(QStringView letters)
{
    if (letters.isEmpty() || letters.size() > 3)
        return -1;
    int index = 0;
    for (const QChar c : letters) {
        const char16_t u = c.toUpper().unicode();
        if (u < u'A' || u > u'Z')
            return -1;
        index = index * 26 + (u - u'A' + 1);
    }
    return index <= kMaxSheetColumns ? index - 1 : -1;
}

QString columnLetters(int index)
{
    QString letters;
    for (int n = index + 1; n > 0; n = (n - 1) / 26)
        letters.prepend(QChar(u'A' + (n - 1) % 26));
    return letters;
}

} // namespace vt

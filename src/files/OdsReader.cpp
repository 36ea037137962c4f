#include "files/OdsReader.h"

#include <algorithm>

namespace vt {

namespace {

const QString kContent = QStringLiteral("content.xml");

QStringView attribute(const QXmlStreamReader &xml, QLatin1StringView name)
{
    for (const QXmlStreamAttribute &a : xml.attributes())
        if (a.name() == name)
            return a.value();
    return {};
}

// A repeat count, capped where no sheet reaches, so sums of them cannot overflow.
qint64 repeatCount(const QXmlStreamReader &xml, QLatin1StringView name, qint64 cap)
{
    bool ok = false;
    const qint64 n = attribute(xml, name).toLongLong(&ok);
    return ok && n > 0 ? std::min(n, cap) : 1;
}

bool isXmlSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The shown text of one cell: its paragraphs joined by line breaks, with
// the spaces, tabs and breaks the paragraph marks; notes left out. White
// space in the paragraph's own characters is layout of the XML: a run of it
// is one space, and none at the paragraph's start or end.
class CellText {
public:
    // Called with the cell as the current start element; leaves the reader
    // on the cell's end element.
    template <typename Next>
    static QString read(QXmlStreamReader &xml, Next next)
    {
        QString text;
        int depth = 0;
        int paragraphs = 0;
        // The last character came from collapsed white space (or the paragraph has just begun).
        bool afterSpace = true;
        const auto endParagraph = [&] {
            if (afterSpace && text.endsWith(QLatin1Char(' ')))
                text.chop(1);
        };
        while (next(xml)) {
            if (xml.isStartElement()) {
                ++depth;
                const QStringView name = xml.name();
                if (name == QLatin1StringView("annotation")) {
                    xml.skipCurrentElement();
                    --depth;
                } else if (name == QLatin1StringView("p") && depth == 1) {
                    if (paragraphs++ > 0) {
                        endParagraph();
                        text += QLatin1Char('\n');
                    }
                    afterSpace = true;
                } else if (name == QLatin1StringView("s")) {
                    bool ok = false;
                    const int c = attribute(xml, QLatin1StringView("c")).toInt(&ok);
                    text += QString(ok && c > 0 ? std::min(c, 1000) : 1, QLatin1Char(' '));
                    afterSpace = false;
                } else if (name == QLatin1StringView("tab")) {
                    text += QLatin1Char('\t');
                    afterSpace = false;
                } else if (name == QLatin1StringView("line-break")) {
                    text += QLatin1Char('\n');
                    afterSpace = false;
                }
            } else if (xml.isEndElement()) {
                if (depth-- == 0)
                    break;
            } else if (xml.isCharacters() && depth > 0) {
                for (const QChar c : xml.text()) {
                    if (!isXmlSpace(c)) {
                        text += c;
                        afterSpace = false;
                    } else if (!afterSpace) {
                        text += QLatin1Char(' ');
                        afterSpace = true;
                    }
                }
            }
        }
        endParagraph();
        return text;
    }
};

} // namespace

OdsReader::OdsReader(std::unique_ptr<ZipArchive> archive) : ZipWorkbook(std::move(archive))
{
    if (!archiveOk())
        return;
    const QString mimetype = QStringLiteral("mimetype");
    const QByteArray mime = archive_->contains(mimetype) ? archive_->readAll(mimetype) : QByteArray();
    if (!archive_->contains(kContent) || !mime.startsWith("application/vnd.oasis.opendocument.spreadsheet")) {
        archiveOk();
        return;
    }
    isSpreadsheet_ = true;
    // An encrypted package keeps its parts' names; only the manifest says so.
    const QString manifest = QStringLiteral("META-INF/manifest.xml");
    if (archive_->contains(manifest) && archive_->readAll(manifest).contains("encryption-data")) {
        fail(tableproblem::encrypted());
        return;
    }
    std::unique_ptr<QIODevice> device = archive_->open(kContent);
    if (!device) {
        archiveOk();
        return;
    }
    QXmlStreamReader xml(device.get());
    while (next(xml)) {
        if (xml.isStartElement() && xml.name() == QLatin1StringView("table")
            && xml.namespaceUri().endsWith(QLatin1StringView(":table:1.0"))) {
            names_ << attribute(xml, QLatin1StringView("name")).toString();
            xml.skipCurrentElement();
        }
    }
    failedXml(xml);
}

bool OdsReader::readSheet(int index, const RowSink &sink)
{
    if (!problem_.isEmpty())
        return false;
    if (index < 0 || index >= names_.size())
        return fail(tableproblem::damaged());
    std::unique_ptr<QIODevice> device = archive_->open(kContent);
    if (!device)
        return archiveOk();
    QXmlStreamReader xml(device.get());
    const auto step = [this](QXmlStreamReader &x) { return next(x); };

    int table = -1;
    bool inTable = false;
    qint64 rowNumber = 0;
    TableRow row;
    qint64 rowRepeat = 1;
    qint64 pendingEmpty = 0; // empty cells not yet put: only kept when text follows
    while (next(xml)) {
        if (xml.isStartElement()) {
            const QStringView name = xml.name();
            if (name == QLatin1StringView("table") && xml.namespaceUri().endsWith(QLatin1StringView(":table:1.0"))) {
                if (++table != index) {
                    xml.skipCurrentElement();
                    continue;
                }
                inTable = true;
            } else if (inTable && name == QLatin1StringView("table-row")) {
                row.cells.clear();
                pendingEmpty = 0;
                rowRepeat = repeatCount(xml, QLatin1StringView("number-rows-repeated"), kMaxSheetRows);
            } else if (inTable && (name == QLatin1StringView("table-cell")
                                   || name == QLatin1StringView("covered-table-cell"))) {
                const qint64 repeat = repeatCount(xml, QLatin1StringView("number-columns-repeated"), kMaxSheetColumns);
                const QString text = CellText::read(xml, step);
                if (text.isEmpty()) {
                    pendingEmpty = std::min<qint64>(pendingEmpty + repeat, kMaxSheetColumns);
                    continue;
                }
                for (qint64 i = 0; i < pendingEmpty && row.cells.size() < kMaxSheetColumns; ++i)
                    row.cells.append(QString());
                pendingEmpty = 0;
                for (qint64 i = 0; i < repeat && row.cells.size() < kMaxSheetColumns; ++i)
                    row.cells.append(text);
            } else if (inTable && name == QLatin1StringView("shapes")) {
                xml.skipCurrentElement();
            }
        } else if (xml.isEndElement()) {
            const QStringView name = xml.name();
            if (inTable && name == QLatin1StringView("table-row")) {
                if (row.cells.isEmpty()) {
                    // LibreOffice ends a sheet with a million repeated empty rows.
                    rowNumber = std::min(rowNumber + rowRepeat, kMaxSheetRows + 1);
                    continue;
                }
                for (qint64 i = 0; i < rowRepeat; ++i) {
                    row.number = ++rowNumber;
                    if (row.number > kMaxSheetRows)
                        return true;
                    if (!sink(row))
                        return true;
                }
            } else if (inTable && name == QLatin1StringView("table")) {
                break;
            }
        }
    }
    return failedXml(xml);
}

} // namespace vt

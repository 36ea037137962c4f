#include "files/XlsxReader.h"

#include <QMap>

namespace vt {

namespace {

// A relationship's target, relative to the folder of the part that names
// it unless it starts at the archive's root.
QString resolve(const QString &fromPart, const QString &target)
{
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    QString folder = fromPart.left(fromPart.lastIndexOf(QLatin1Char('/')) + 1);
    QString rest = target;
    while (rest.startsWith(QStringLiteral("../"))) {
        rest = rest.mid(3);
        folder.chop(1);
        folder = folder.left(folder.lastIndexOf(QLatin1Char('/')) + 1);
    }
    return folder + rest;
}

QString relsOf(const QString &part)
{
    const qsizetype slash = part.lastIndexOf(QLatin1Char('/'));
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) + QStringLiteral(".rels");
}

QStringView attribute(const QXmlStreamReader &xml, QLatin1StringView name)
{
    for (const QXmlStreamAttribute &a : xml.attributes())
        if (a.name() == name)
            return a.value();
    return {};
}

// "B12" to column 1; -1 when the reference has no letters.
int referenceColumn(QStringView ref)
{
    qsizetype letters = 0;
    while (letters < ref.size() && ref[letters].isLetter())
        ++letters;
    return letters == 0 ? -1 : columnIndex(ref.left(letters));
}

} // namespace

XlsxReader::XlsxReader(std::unique_ptr<ZipArchive> archive) : ZipWorkbook(std::move(archive))
{
    if (!archiveOk())
        return;
    QString workbook = QStringLiteral("xl/workbook.xml");
    if (archive_->contains(QStringLiteral("_rels/.rels"))) {
        QXmlStreamReader xml(archive_->readAll(QStringLiteral("_rels/.rels")));
        while (next(xml))
            if (xml.isStartElement() && xml.name() == QLatin1StringView("Relationship")
                && attribute(xml, QLatin1StringView("Type")).endsWith(QLatin1StringView("/officeDocument")))
                workbook = resolve(QString(), attribute(xml, QLatin1StringView("Target")).toString());
        if (!failedXml(xml))
            return;
    }
    if (!archive_->contains(workbook))
        return;
    isWorkbook_ = true;

    QMap<QString, QString> targets;
    QString sharedStrings;
    if (!readRelations(workbook, targets, &sharedStrings) || !readWorkbook(workbook))
        return;
    for (QString &part : sheetParts_)
        part = targets.value(part);
    if (!sharedStrings.isEmpty())
        readSharedStrings(sharedStrings);
}

bool XlsxReader::readRelations(const QString &part, QMap<QString, QString> &targets, QString *sharedStrings)
{
    const QString rels = relsOf(part);
    if (!archive_->contains(rels))
        return true;
    QXmlStreamReader xml(archive_->readAll(rels));
    while (next(xml)) {
        if (!xml.isStartElement() || xml.name() != QLatin1StringView("Relationship"))
            continue;
        const QString target = resolve(part, attribute(xml, QLatin1StringView("Target")).toString());
        targets.insert(attribute(xml, QLatin1StringView("Id")).toString(), target);
        if (attribute(xml, QLatin1StringView("Type")).endsWith(QLatin1StringView("/sharedStrings")))
            *sharedStrings = target;
    }
    return failedXml(xml);
}

bool XlsxReader::readWorkbook(const QString &part)
{
    QXmlStreamReader xml(archive_->readAll(part));
    while (next(xml)) {
        if (xml.isStartElement() && xml.name() == QLatin1StringView("sheet")) {
            names_ << attribute(xml, QLatin1StringView("name")).toString();
            sheetParts_ << attribute(xml, QLatin1StringView("id")).toString();
        }
    }
    return failedXml(xml);
}

bool XlsxReader::readSharedStrings(const QString &part)
{
    std::unique_ptr<QIODevice> device = archive_->open(part);
    if (!device)
        return archiveOk();
    QXmlStreamReader xml(device.get());
    int phonetic = 0; // <rPh> holds a reading aid, not shown in the cell
    bool inText = false;
    while (next(xml)) {
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1StringView("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1StringView("t"))
                inText = phonetic == 0;
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1StringView("rPh"))
                --phonetic;
            else if (xml.name() == QLatin1StringView("t"))
                inText = false;
            else if (xml.name() == QLatin1StringView("si"))
                stringEnds_.push_back(strings_.size());
        } else if (inText && xml.isCharacters()) {
            strings_ += xml.text();
        }
    }
    return failedXml(xml);
}

QString XlsxReader::sharedString(qint64 index) const
{
    if (index < 0 || index >= static_cast<qint64>(stringEnds_.size()))
        return {};
    const qsizetype end = stringEnds_[static_cast<std::size_t>(index)];
    const qsizetype start = index == 0 ? 0 : stringEnds_[static_cast<std::size_t>(index - 1)];
    return strings_.mid(start, end - start);
}

bool XlsxReader::readSheet(int index, const RowSink &sink)
{
    if (!problem_.isEmpty())
        return false;
    if (index < 0 || index >= sheetParts_.size() || sheetParts_[index].isEmpty()
        || !archive_->contains(sheetParts_[index]))
        return fail(tableproblem::damaged());
    std::unique_ptr<QIODevice> device = archive_->open(sheetParts_[index]);
    if (!device)
        return archiveOk();
    QXmlStreamReader xml(device.get());
    // The sheet is by far the largest part: no namespace bookkeeping for it,
    // element names are compared without their prefix.
    xml.setNamespaceProcessing(false);
    const auto localName = [&xml] {
        const QStringView name = xml.name();
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        return colon < 0 ? name : name.mid(colon + 1);
    };

    TableRow row;
    bool inRow = false;
    bool inSheetData = false;
    // The cell being read.
    int column = -1;
    QStringView type;
    QString typeText, value, inlineText;
    enum { None, Value, Inline } collecting = None;
    int phonetic = 0;

    while (next(xml)) {
        if (xml.isStartElement()) {
            const QStringView name = localName();
            if (name == QLatin1StringView("sheetData")) {
                inSheetData = true;
            } else if (inSheetData && name == QLatin1StringView("row")) {
                bool ok = false;
                const qint64 number = attribute(xml, QLatin1StringView("r")).toLongLong(&ok);
                row.number = ok && number > row.number ? number : row.number + 1;
                if (row.number > kMaxSheetRows)
                    break;
                row.cells.clear();
                inRow = true;
            } else if (inRow && name == QLatin1StringView("c")) {
                const int at = referenceColumn(attribute(xml, QLatin1StringView("r")));
                column = at >= 0 ? at : static_cast<int>(row.cells.size());
                // resize(0) keeps the buffers: a million cells, not a million allocations.
                const QStringView t = attribute(xml, QLatin1StringView("t"));
                typeText.resize(0);
                typeText.append(t);
                value.resize(0);
                inlineText.resize(0);
            } else if (column >= 0 && name == QLatin1StringView("v")) {
                collecting = Value;
            } else if (column >= 0 && name == QLatin1StringView("rPh")) {
                ++phonetic;
            } else if (column >= 0 && name == QLatin1StringView("t") && phonetic == 0) {
                collecting = Inline;
            }
        } else if (xml.isCharacters()) {
            if (collecting == Value)
                value += xml.text();
            else if (collecting == Inline)
                inlineText += xml.text();
        } else if (xml.isEndElement()) {
            const QStringView name = localName();
            if (name == QLatin1StringView("v") || name == QLatin1StringView("t")) {
                collecting = None;
            } else if (name == QLatin1StringView("rPh")) {
                --phonetic;
            } else if (name == QLatin1StringView("c") && column >= 0) {
                type = typeText;
                QString text;
                if (type == QLatin1StringView("s"))
                    text = sharedString(value.trimmed().toLongLong());
                else if (type == QLatin1StringView("inlineStr"))
                    text = inlineText;
                else if (type == QLatin1StringView("b"))
                    text = value.trimmed() == QLatin1StringView("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                else if (type.isEmpty() || type == QLatin1StringView("n"))
                    text = generalNumberText(value);
                else // str (a formula's text), e (an error), d (a date as text)
                    text = value;
                if (column < kMaxSheetColumns && column >= row.cells.size()) {
                    while (row.cells.size() < column)
                        row.cells.append(QString());
                    row.cells.append(text);
                } else if (column < row.cells.size()) {
                    row.cells[column] = text;
                }
                column = -1;
            } else if (name == QLatin1StringView("row") && inRow) {
                inRow = false;
                if (!sink(row))
                    return true;
            } else if (name == QLatin1StringView("sheetData")) {
                break;
            }
        }
    }
    return failedXml(xml);
}

} // namespace vt

#include "files/XlsxReader.h"

#include <QUrl>

namespace vt {

namespace {

// A relationship's target as a member name: relative to the folder of the
// part that names it unless it starts at the archive's root, written as a
// URI ("%20", "./", "../") and by some programs with '\' between folders.
QString resolve(const QString &fromPart, const QString &target)
{
    QString path = QUrl::fromPercentEncoding(target.toUtf8());
    path.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (!path.startsWith(QLatin1Char('/')))
        path.prepend(fromPart.left(fromPart.lastIndexOf(QLatin1Char('/')) + 1));
    QStringList kept;
    for (const QString &segment : path.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("..")) {
            if (!kept.isEmpty())
                kept.removeLast();
        }
        else if (segment != QLatin1String("."))
            kept << segment;
    }
    return kept.join(QLatin1Char('/'));
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

bool isTrue(QStringView value) { return value == QLatin1StringView("1") || value == QLatin1StringView("true"); }

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

    Relations relations;
    if (!readRelations(workbook, relations) || !readWorkbook(workbook))
        return;
    for (QString &part : sheetParts_)
        part = relations.targets.value(part);
    if (!relations.styles.isEmpty() && archive_->contains(relations.styles) && !readStyles(relations.styles))
        return;
    if (!relations.sharedStrings.isEmpty() && archive_->contains(relations.sharedStrings))
        readSharedStrings(relations.sharedStrings);
}

bool XlsxReader::readRelations(const QString &part, Relations &relations)
{
    const QString rels = relsOf(part);
    if (!archive_->contains(rels))
        return true;
    QXmlStreamReader xml(archive_->readAll(rels));
    while (next(xml)) {
        if (!xml.isStartElement() || xml.name() != QLatin1StringView("Relationship")
            || attribute(xml, QLatin1StringView("TargetMode")) == QLatin1StringView("External"))
            continue;
        const QString target = resolve(part, attribute(xml, QLatin1StringView("Target")).toString());
        relations.targets.insert(attribute(xml, QLatin1StringView("Id")).toString(), target);
        const QStringView type = attribute(xml, QLatin1StringView("Type"));
        if (type.endsWith(QLatin1StringView("/sharedStrings")))
            relations.sharedStrings = target;
        else if (type.endsWith(QLatin1StringView("/styles")))
            relations.styles = target;
    }
    return failedXml(xml);
}

bool XlsxReader::readWorkbook(const QString &part)
{
    QXmlStreamReader xml(archive_->readAll(part));
    while (next(xml)) {
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1StringView("sheet")) {
            names_ << attribute(xml, QLatin1StringView("name")).toString();
            sheetParts_ << attribute(xml, QLatin1StringView("id")).toString();
        } else if (xml.name() == QLatin1StringView("workbookPr")) {
            book_.date1904 = isTrue(attribute(xml, QLatin1StringView("date1904")));
        }
    }
    return failedXml(xml);
}

// The number format of each cell style: cellXfs names a numFmtId, which is
// one of numFmts or a built-in one.
bool XlsxReader::readStyles(const QString &part)
{
    QXmlStreamReader xml(archive_->readAll(part));
    QMap<int, QString> codes;
    std::vector<int> xfIds;
    bool inCellXfs = false;
    while (next(xml)) {
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1StringView("numFmt"))
                codes.insert(attribute(xml, QLatin1StringView("numFmtId")).toInt(),
                             attribute(xml, QLatin1StringView("formatCode")).toString());
            else if (xml.name() == QLatin1StringView("cellXfs"))
                inCellXfs = true;
            else if (inCellXfs && xml.name() == QLatin1StringView("xf"))
                xfIds.push_back(attribute(xml, QLatin1StringView("numFmtId")).toInt());
        } else if (xml.isEndElement() && xml.name() == QLatin1StringView("cellXfs")) {
            inCellXfs = false;
        }
    }
    // Parsed once per format, however many styles share it.
    QMap<int, NumberFormat> formats;
    for (const int id : xfIds) {
        auto found = formats.find(id);
        if (found == formats.end())
            found = formats.insert(id, NumberFormat(codes.contains(id) ? codes.value(id) : builtinNumberFormat(id)));
        book_.formats.push_back(*found);
    }
    return failedXml(xml);
}

bool XlsxReader::readSharedStrings(const QString &part)
{
    std::unique_ptr<QIODevice> device = archive_->open(part);
    if (!device)
        return archiveOk();
    return xmlEnded(readXlsxSharedStrings(*device, book_));
}

bool XlsxReader::xmlEnded(XmlStream::End end, bool beyondColumns)
{
    if (!archiveOk())
        return false;
    if (end == XmlStream::End::Entities)
        return fail(tableproblem::entities());
    if (end == XmlStream::End::Damaged || beyondColumns)
        return fail(tableproblem::damaged());
    return true;
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
    bool beyondColumns = false;
    const XmlStream::End end = readXlsxSheet(*device, book_, sink, beyondColumns);
    return xmlEnded(end, beyondColumns);
}

} // namespace vt

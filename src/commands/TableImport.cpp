#include "commands/TableImport.h"

#include "commands/MarkArrangement.h"
#include "files/ReadAhead.h"
#include "layout/PageLayout.h"
#include "model/CodePage.h"
#include "model/PageRecord.h"

#include <QCoreApplication>

#include <algorithm>

namespace vt {

namespace {

int columnOf(const QString &name, const QStringList &headers)
{
    int at = static_cast<int>(headers.indexOf(name));
    if (at < 0) {
        for (qsizetype i = 0; i < headers.size() && at < 0; ++i)
            if (headers[i].compare(name, Qt::CaseInsensitive) == 0)
                at = static_cast<int>(i);
    }
    // Letters only in capitals: "Pn" mistyped for a header "Pin" must not
    // quietly become column PN.
    return at >= 0 || name != name.toUpper() ? at : columnIndex(name);
}

bool allDigits(const QString &text)
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool hasText(const QStringList &cells)
{
    return std::any_of(cells.begin(), cells.end(), [](const QString &c) { return !c.trimmed().isEmpty(); });
}

} // namespace

std::optional<CellTemplate> CellTemplate::parse(const QString &text, const QStringList &headers, QString &problem)
{
    CellTemplate t;
    const QString whole = text.trimmed();
    if (whole.isEmpty())
        return t;
    if (!whole.contains(QLatin1Char('{'))) {
        const int column = columnOf(whole, headers);
        if (column >= 0)
            t.parts_.push_back(Part{QString(), column});
        else if (allDigits(whole))
            t.parts_.push_back(Part{whole, -1});
        else {
            problem = QCoreApplication::translate("vt::TableImport",
                                                  "there is no column \"%1\" (text around columns goes in a template, "
                                                  "such as {A}-{B})")
                          .arg(whole);
            return std::nullopt;
        }
        return t;
    }
    // A template keeps its blanks: they are part of the mark. "{{" and "}}"
    // are the braces themselves.
    QString literal;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if ((c == u'{' || c == u'}') && i + 1 < text.size() && text[i + 1] == c) {
            literal += c;
            ++i;
            continue;
        }
        if (c != u'{') {
            literal += c;
            continue;
        }
        const qsizetype close = text.indexOf(QLatin1Char('}'), i + 1);
        if (close < 0) {
            problem = QCoreApplication::translate("vt::TableImport",
                                                  "\"%1\" has a \"{\" without its \"}\" (a brace itself is written {{)")
                          .arg(text.mid(i));
            return std::nullopt;
        }
        const QString name = text.mid(i + 1, close - i - 1);
        const int column = columnOf(name, headers);
        if (column < 0) {
            problem = QCoreApplication::translate("vt::TableImport", "there is no column \"%1\"").arg(name);
            return std::nullopt;
        }
        if (!literal.isEmpty())
            t.parts_.push_back(Part{literal, -1});
        literal.clear();
        t.parts_.push_back(Part{QString(), column});
        i = close;
    }
    if (!literal.isEmpty())
        t.parts_.push_back(Part{literal, -1});
    return t;
}

QString CellTemplate::apply(const QStringList &cells) const
{
    QString out;
    for (const Part &part : parts_)
        out += part.column < 0 ? part.text : part.column < cells.size() ? cells[part.column] : QString();
    return out;
}

bool CellTemplate::namesColumns() const
{
    return std::any_of(parts_.begin(), parts_.end(), [](const Part &p) { return p.column >= 0; });
}

bool CellTemplate::namesFilledColumn(const QStringList &cells) const
{
    return std::any_of(parts_.begin(), parts_.end(), [&](const Part &p) {
        return p.column >= 0 && p.column < cells.size() && !cells[p.column].trimmed().isEmpty();
    });
}

QStringList missingColumns(const TableChoice &choice, const QStringList &headers, int columnCount)
{
    QStringList fields{choice.line1, choice.line2, choice.repeat};
    if (choice.ends == TableChoice::Ends::Each)
        fields << choice.farLine1 << choice.farLine2 << choice.farRepeat;
    QStringList names;
    for (const QString &field : fields) {
        if (!field.contains(QLatin1Char('{'))) {
            if (const QString whole = field.trimmed(); !whole.isEmpty() && !allDigits(whole))
                names << whole;
            continue;
        }
        for (qsizetype i = 0; i < field.size(); ++i) {
            if (field[i] != u'{')
                continue;
            if (i + 1 < field.size() && field[i + 1] == u'{') {
                ++i;
                continue;
            }
            const qsizetype close = field.indexOf(QLatin1Char('}'), i + 1);
            if (close < 0)
                break;
            names << field.mid(i + 1, close - i - 1);
            i = close;
        }
    }
    QStringList missing;
    for (const QString &name : names) {
        const int column = columnOf(name, headers);
        if ((column < 0 || column >= columnCount) && !missing.contains(name))
            missing << name;
    }
    return missing;
}

QString pageLineText(const QString &cell)
{
    QString out = cell;
    for (QChar &c : out) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\t')
            c = QLatin1Char(' ');
        else if (u < 0x20 || u == 0x7F)
            c = QLatin1Char('?');
    }
    return out;
}

QString unprintableLines(const QString &line1, const QString &line2)
{
    QString note1 = unprintableNote(line1);
    QString note2 = unprintableNote(line2);
    if (note1.isEmpty() || note2.isEmpty())
        return note1.isEmpty() ? note2 : note1;
    return note1 + QStringLiteral("; ") + note2;
}

int chosenSheet(const TableChoice &choice, const QStringList &sheets, QString &problem)
{
    int sheet = choice.sheet;
    if (!choice.sheetName.isEmpty()) {
        sheet = static_cast<int>(sheets.indexOf(choice.sheetName));
        if (sheet < 0 && choice.sheetNameOrFirst)
            sheet = 0;
        if (sheet < 0)
            sheet = choice.sheetName.toInt() - 1;
        if (sheet < 0 || sheet >= sheets.size()) {
            problem = QCoreApplication::translate("vt::TableImport", "it has no sheet \"%1\"").arg(choice.sheetName);
            return -1;
        }
    }
    if (sheet < 0 || sheet >= sheets.size()) {
        problem = QCoreApplication::translate("vt::TableImport", "it has no sheet %1").arg(sheet + 1);
        return -1;
    }
    return sheet;
}

namespace {

// The three fields of one end, made ready for the rows.
struct EndFields {
    std::optional<CellTemplate> line1, line2, repeat;
};

// Turns the sheet's rows, one by one, into pages and refusals. In the
// sheet's order the pages past the limit are only counted as they come;
// pages to be arranged (both ends, merged, sorted) are gathered first.
class RowsToPages {
public:
    RowsToPages(const TableChoice &choice, qint64 keep, TableContent &content)
        : choice_(choice), keep_(keep), content_(content), headerTaken_(!choice.header)
    {
    }
    // The fields without a header row; false with the content's problem.
    bool start() { return !headerTaken_ || compile({}); }
    // False to stop: the header named a column that is not there.
    bool take(const TableRow &row);
    // After the last row: the gathered pages arranged and kept up to the limit.
    void finish();

private:
    bool compile(const QStringList &headers);
    bool compileEnd(EndFields &fields, const QString &line1, const QString &line2, const QString &repeat,
                    const QStringList &headers);
    bool isMark(const TableRow &row, const EndFields &fields, const ImportedPage &page) const;
    // The row's page for one end, its repeat left at 0; nothing when refused.
    std::optional<ImportedPage> pageOf(const TableRow &row, const EndFields &fields, WireEnd end, int &bytes);
    int repeatOf(const TableRow &row, const EndFields &fields) const;
    void keep(ImportedPage page, PageOrigin origin, int bytes);
    void refuse(qint64 row, int bytes, TableRefusal::Reason reason, qint64 &count, QString note = {},
                WireEnd end = WireEnd::None);

    const TableChoice &choice_;
    const qint64 keep_;
    TableContent &content_;
    bool headerTaken_;
    EndFields near_, far_;
    std::vector<ArrangedPage> gathered_, farGathered_;
};

bool RowsToPages::compileEnd(EndFields &fields, const QString &line1, const QString &line2, const QString &repeat,
                             const QStringList &headers)
{
    fields.line1 = CellTemplate::parse(line1, headers, content_.problem);
    if (fields.line1)
        fields.line2 = CellTemplate::parse(line2, headers, content_.problem);
    if (fields.line2)
        fields.repeat = CellTemplate::parse(repeat, headers, content_.problem);
    return fields.repeat.has_value();
}

bool RowsToPages::compile(const QStringList &headers)
{
    if (!compileEnd(near_, choice_.line1, choice_.line2, choice_.repeat, headers))
        return false;
    if (choice_.ends != TableChoice::Ends::Each)
        return true;
    if (compileEnd(far_, choice_.farLine1, choice_.farLine2, choice_.farRepeat, headers))
        return true;
    content_.problem = QCoreApplication::translate("vt::TableImport", "the far end's fields: %1").arg(content_.problem);
    return false;
}

void RowsToPages::refuse(qint64 row, int bytes, TableRefusal::Reason reason, qint64 &count, QString note, WireEnd end)
{
    if (count++ < TableContent::kMaxListed)
        content_.refused.push_back(TableRefusal{row, bytes, reason, std::move(note), end});
}

bool RowsToPages::isMark(const TableRow &row, const EndFields &fields, const ImportedPage &page) const
{
    // "W{Wire}" of a row without a wire is the template's text, not a mark;
    // "{Source} {Target}" of a row without both is a blank. The lines'
    // columns decide; a repeat count alone makes no mark unless the lines
    // name no column at all.
    const bool linesNameColumns = fields.line1->namesColumns() || fields.line2->namesColumns();
    const bool filled = linesNameColumns
                            ? fields.line1->namesFilledColumn(row.cells) || fields.line2->namesFilledColumn(row.cells)
                            : !fields.repeat->namesColumns() || fields.repeat->namesFilledColumn(row.cells);
    return filled && !(page.line1.trimmed().isEmpty() && page.line2.trimmed().isEmpty());
}

std::optional<ImportedPage> RowsToPages::pageOf(const TableRow &row, const EndFields &fields, WireEnd end, int &bytes)
{
    ImportedPage page;
    page.line1 = pageLineText(fields.line1->apply(row.cells));
    page.line2 = pageLineText(fields.line2->apply(row.cells));
    bytes = 0;
    if (!isMark(row, fields, page)) {
        refuse(row.number, 0, TableRefusal::Empty, content_.empty, {}, end);
        return std::nullopt;
    }
    bytes = storedTextLength(page.line1, page.line2, false);
    if (bytes > kMaxTextBytes) {
        refuse(row.number, bytes, TableRefusal::TooLong, content_.tooLong, {}, end);
        return std::nullopt;
    }
    if (QString note = unprintableLines(page.line1, page.line2); !note.isEmpty()) {
        refuse(row.number, bytes, TableRefusal::Unprintable, content_.unprintable, std::move(note), end);
        return std::nullopt;
    }
    return page;
}

int RowsToPages::repeatOf(const TableRow &row, const EndFields &fields) const
{
    const QByteArray text = fields.repeat->apply(row.cells).toUtf8();
    return static_cast<int>(std::clamp<long>(repeatFieldValue(text), kMinRepeat, kMaxRepeat));
}

void RowsToPages::keep(ImportedPage page, PageOrigin origin, int bytes)
{
    if (static_cast<qint64>(content_.pages.size()) >= keep_) {
        refuse(origin.rows.front(), bytes, TableRefusal::BeyondPageLimit, content_.beyondLimit, {}, origin.end);
        return;
    }
    content_.pageRows.push_back(origin.rows.front());
    content_.pages.push_back(std::move(page));
    content_.pageOrigins.push_back(std::move(origin));
}

bool RowsToPages::take(const TableRow &row)
{
    if (!hasText(row.cells))
        return true;
    content_.columnCount = std::max(content_.columnCount, static_cast<int>(row.cells.size()));
    if (!headerTaken_) {
        headerTaken_ = true;
        for (const QString &name : row.cells)
            content_.headers << name.trimmed();
        return compile(content_.headers);
    }
    ++content_.rows;
    int bytes = 0;
    if (!choice_.arranges()) {
        std::optional<ImportedPage> page = pageOf(row, near_, WireEnd::None, bytes);
        if (!page)
            return true;
        ++content_.usable;
        // Past the limit the repeat is not needed: a large sheet is mostly that.
        if (static_cast<qint64>(content_.pages.size()) < keep_)
            page->repeat = repeatOf(row, near_);
        keep(std::move(*page), PageOrigin{{row.number}, WireEnd::None}, bytes);
        return true;
    }
    const bool each = choice_.ends == TableChoice::Ends::Each;
    const WireEnd nearEnd = each ? WireEnd::Near : WireEnd::None;
    if (std::optional<ImportedPage> page = pageOf(row, near_, nearEnd, bytes)) {
        page->repeat = repeatOf(row, near_);
        gathered_.push_back({std::move(*page), PageOrigin{{row.number}, nearEnd}, bytes});
    }
    if (each) {
        if (std::optional<ImportedPage> page = pageOf(row, far_, WireEnd::Far, bytes)) {
            page->repeat = repeatOf(row, far_);
            std::vector<ArrangedPage> &into = choice_.order == TableChoice::Order::ByEnd ? farGathered_ : gathered_;
            into.push_back({std::move(*page), PageOrigin{{row.number}, WireEnd::Far}, bytes});
        }
    }
    return true;
}

void RowsToPages::finish()
{
    if (!choice_.arranges())
        return;
    std::vector<ArrangedPage> pages = std::move(gathered_);
    pages.insert(pages.end(), std::make_move_iterator(farGathered_.begin()), std::make_move_iterator(farGathered_.end()));
    farGathered_.clear();
    pages = arrangePages(std::move(pages), choice_);
    content_.arranged = true;
    content_.usable = static_cast<qint64>(pages.size());
    for (ArrangedPage &p : pages)
        keep(std::move(p.page), std::move(p.origin), p.bytes);
}

} // namespace

TableContent readTable(TableReader &reader, const TableChoice &choice, qint64 keep, const std::atomic_bool *stop)
{
    TableContent content;
    content.sheets = reader.sheetNames();
    const int sheet = chosenSheet(choice, content.sheets, content.problem);
    if (sheet < 0)
        return content;
    content.sheet = sheet;
    RowsToPages pages(choice, keep, content);
    if (!pages.start())
        return content;
    bool stopped = false;
    const bool read = readSheetAhead(reader, sheet, [&](const TableRow &row) {
        if (stop && stop->load(std::memory_order_relaxed)) {
            stopped = true;
            return false;
        }
        return pages.take(row);
    });
    if (!read)
        content.problem = reader.problem();
    else if (stopped)
        content.problem = QCoreApplication::translate("vt::TableImport", "the reading was stopped");
    else if (content.problem.isEmpty())
        pages.finish();
    return content;
}

TableContent readTable(const QString &path, const TableChoice &choice, qint64 keep, const std::atomic_bool *stop)
{
    QString problem;
    std::unique_ptr<TableReader> reader = openTable(path, choice.options, problem);
    if (!reader) {
        TableContent content;
        content.problem = problem;
        return content;
    }
    return readTable(*reader, choice, keep, stop);
}

namespace {

// "Row 12", "Row 12, near end", "Row 12, far end"
QString rowName(const TableRefusal &r)
{
    switch (r.end) {
    case WireEnd::Near: return QCoreApplication::translate("vt::TableImport", "Row %1, near end").arg(r.row);
    case WireEnd::Far: return QCoreApplication::translate("vt::TableImport", "Row %1, far end").arg(r.row);
    case WireEnd::Both: return QCoreApplication::translate("vt::TableImport", "Row %1, both ends").arg(r.row);
    case WireEnd::None: break;
    }
    return QCoreApplication::translate("vt::TableImport", "Row %1").arg(r.row);
}

} // namespace

QString describeRefusals(const TableContent &content)
{
    QStringList lines;
    for (const TableRefusal &r : content.refused) {
        const QString row = rowName(r);
        switch (r.reason) {
        case TableRefusal::TooLong:
            lines << QCoreApplication::translate("vt::TableImport", "%1: %2 bytes, over %3 with the separator")
                         .arg(row)
                         .arg(r.bytes)
                         .arg(kMaxTextBytes);
            break;
        case TableRefusal::Empty: lines << QCoreApplication::translate("vt::TableImport", "%1: empty").arg(row); break;
        case TableRefusal::BeyondPageLimit:
            lines << QCoreApplication::translate("vt::TableImport", "%1: beyond the %2-page limit").arg(row).arg(kMaxPages);
            break;
        case TableRefusal::Unprintable:
            lines << QCoreApplication::translate("vt::TableImport", "%1: %2").arg(row, r.note);
            break;
        }
    }
    const qint64 total = content.tooLong + content.empty + content.unprintable + content.beyondLimit;
    if (total > lines.size())
        lines << QCoreApplication::translate("vt::TableImport", "... and %1 more rows").arg(total - lines.size());
    return lines.join(QLatin1Char('\n'));
}

std::vector<PreviewRow> previewRows(const TableContent &content, int limit)
{
    std::vector<PreviewRow> rows;
    std::size_t page = 0;
    std::size_t refusal = 0;
    while (static_cast<int>(rows.size()) < limit && (page < content.pages.size() || refusal < content.refused.size())) {
        // Arranged pages are not in sheet order: they come first, in their own.
        const bool takePage = refusal >= content.refused.size()
                              || (page < content.pages.size()
                                  && (content.arranged || content.pageRows[page] < content.refused[refusal].row));
        PreviewRow line;
        if (takePage) {
            line.row = content.pageRows[page];
            line.page = static_cast<int>(page) + 1;
            if (page < content.pageOrigins.size())
                line.origin = content.pageOrigins[page];
            line.content = content.pages[page++];
        } else {
            const TableRefusal &r = content.refused[refusal++];
            line.row = r.row;
            switch (r.reason) {
            case TableRefusal::TooLong:
                line.refusal =
                    QCoreApplication::translate("vt::TableImport", "%1 bytes, over %2").arg(r.bytes).arg(kMaxTextBytes);
                break;
            case TableRefusal::Empty: line.refusal = QCoreApplication::translate("vt::TableImport", "empty"); break;
            case TableRefusal::BeyondPageLimit:
                line.refusal =
                    QCoreApplication::translate("vt::TableImport", "beyond the %1-page limit").arg(kMaxPages);
                break;
            case TableRefusal::Unprintable: line.refusal = r.note; break;
            }
            line.origin.end = r.end;
            if (r.end == WireEnd::Near || r.end == WireEnd::Far)
                line.refusal = (r.end == WireEnd::Near ? QCoreApplication::translate("vt::TableImport", "near end: %1")
                                                       : QCoreApplication::translate("vt::TableImport", "far end: %1"))
                                   .arg(line.refusal);
        }
        rows.push_back(std::move(line));
    }
    return rows;
}

QString previewSummary(const TableContent &content)
{
    static const char *const counts[2][2] = {
        {QT_TRANSLATE_NOOP("vt::TableImport", "%1 rows: %2 pages"),
         QT_TRANSLATE_NOOP("vt::TableImport", "%1 rows: %2 page")},
        {QT_TRANSLATE_NOOP("vt::TableImport", "%1 row: %2 pages"),
         QT_TRANSLATE_NOOP("vt::TableImport", "%1 row: %2 page")},
    };
    QString text = QCoreApplication::translate("vt::TableImport", counts[content.rows == 1][content.pages.size() == 1])
                       .arg(content.rows)
                       .arg(content.pages.size());
    if (const qint64 refused = content.tooLong + content.empty + content.unprintable; refused > 0)
        text += QCoreApplication::translate("vt::TableImport", ", %1 refused").arg(refused);
    if (content.beyondLimit > 0)
        text += QCoreApplication::translate("vt::TableImport", ", %1 beyond the %2-page limit")
                    .arg(content.beyondLimit)
                    .arg(kMaxPages);
    return text;
}

QString refusalSummary(const TableContent &content, const QString &shownPath, const QString &givenVerb)
{
    //: What was done to the rows, as in "3 rows of wires.xlsx were not imported".
    const QString verb = givenVerb.isEmpty() ? QCoreApplication::translate("vt::TableImport", "imported") : givenVerb;
    const qint64 total = content.tooLong + content.empty + content.unprintable + content.beyondLimit;
    if (total == 0)
        return {};
    QStringList parts;
    if (content.tooLong > 0)
        parts << QCoreApplication::translate("vt::TableImport", "%1 over %2 bytes")
                     .arg(content.tooLong)
                     .arg(kMaxTextBytes);
    if (content.empty > 0)
        parts << QCoreApplication::translate("vt::TableImport", "%1 empty").arg(content.empty);
    if (content.unprintable > 0)
        parts << QCoreApplication::translate("vt::TableImport", "%1 with characters that cannot be printed")
                     .arg(content.unprintable);
    if (content.beyondLimit > 0)
        parts << QCoreApplication::translate("vt::TableImport", "%1 beyond the %2-page limit")
                     .arg(content.beyondLimit)
                     .arg(kMaxPages);
    return (total == 1 ? QCoreApplication::translate("vt::TableImport", "%1 row of %2 was not %3: %4.")
                       : QCoreApplication::translate("vt::TableImport", "%1 rows of %2 were not %3: %4."))
        .arg(total)
        .arg(shownPath, verb, parts.join(QStringLiteral(", ")));
}

} // namespace vt

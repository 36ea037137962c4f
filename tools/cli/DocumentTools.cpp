#include "DocumentTools.h"
#include "CliText.h"

#include "ConsoleText.h"

#include "LabelTools.h"
#include "TableArgs.h"
#include "TerminalOperator.h"

#include "commands/DocumentCommands.h"
#include "commands/PageCommands.h"
#include "commands/TableCommands.h"
#include "files/TableReader.h"
#include "layout/PageLayout.h"
#include "model/Job.h"
#include "model/MarkText.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace vt::cli {

const char kDocumentHelp[] = QT_TRANSLATE_NOOP(
    "vt350-cli",
    "  convert IN OUT.vtd\n"
    "            start from a new job (one empty page, start-up settings), open IN\n"
    "            when it ends in .vtd or import it when it ends in .csv, then save\n"
    "            the job as OUT (\".vtd\" is appended when OUT does not end in it;\n"
    "            an existing OUT is replaced, an existing file of the completed\n"
    "            name is left alone). Messages go to stderr, one per line. Exit 0\n"
    "            when OUT was written.\n"
    "  show IN [--json] [table options]\n"
    "            read IN (.vtd or .csv, as convert does) and print one line per\n"
    "            page, fields separated by tabs:\n"
    "              page, 1st line, 2nd line, repeat, font size, frame, direction,\n"
    "              zoom, length code, lengthDots, line1Dots, line2Dots, printCount\n"
    "            Lengths are those Save would write (in printer dots, 12 per mm).\n"
    "            With --json the same fields as a JSON array of objects; pages of a\n"
    "            table also with the sheet rows they came from (\"rows\") and, with\n"
    "            --ends each, the end they mark (\"end\": near, far, or both when\n"
    "            merged from either).\n"
    "            Marks in the text are written as:\n"
    "              {sup} {sub}        superscript, subscript mark\n"
    "              {n:0-999} {n:000-999} {n:A-Z} {n:a-z}   serial number\n"
    "              {sym:NN}           electrical symbol NN (01..77)\n"
    "              {xHH}              a control character, {{ a literal '{'\n");

QString readableText(const QString &cell)
{
    QString out;
    out.reserve(cell.size());
    for (const QChar c : cell) {
        const char16_t u = c.unicode();
        if (u == u'{') {
            out += QStringLiteral("{{");
            continue;
        }
        if (const QString name = markName(c); !name.isEmpty())
            out += u'{' + name + u'}';
        else if (u < 0x20 || u == 0x7F)
            out += QStringLiteral("{x%1}").arg(QString::number(u, 16).toUpper().rightJustified(2, QLatin1Char('0')));
        else
            out += c;
    }
    return out;
}

namespace {

enum class InputKind { Document, Csv, Table, Unknown };

// A .csv is read by Import's own rules unless a table option is given.
InputKind kindOf(const QString &path, bool tableOptions)
{
    if (path.endsWith(QStringLiteral(".vtd"), Qt::CaseInsensitive))
        return InputKind::Document;
    if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) && !tableOptions)
        return InputKind::Csv;
    if (tableFormatOfName(path))
        return InputKind::Table;
    return InputKind::Unknown;
}

// The job as the program starts it, with everything needed to act on it.
struct Session {
    Job job;
    TerminalOperator op;
    PageCommands pages{job, op};
    DocumentCommands documents{job, op, pages};
    TableCommands tables{job, op, documents};

    Session() { pages.add(); }

    // Opens or imports as the window would on its start-up job.
    bool load(const QString &path, const TableArgs &table = {})
    {
        switch (kindOf(path, table.given)) {
        case InputKind::Document: return documents.openPath(path);
        case InputKind::Csv: return documents.importPath(path);
        case InputKind::Table: return tables.importTable(path, table.choice);
        case InputKind::Unknown: break;
        }
        say(stderr,
            QCoreApplication::translate(
                "vt350-cli", "vt350-cli: %1: not a .vtd, .csv or table file (.xlsx, .ods, .xls, .tsv, .txt)\n")
                .arg(path));
        return false;
    }
};

} // namespace

namespace {

QString endText(WireEnd end)
{
    switch (end) {
    case WireEnd::Near: return QStringLiteral("near");
    case WireEnd::Far: return QStringLiteral("far");
    case WireEnd::Both: return QStringLiteral("both");
    case WireEnd::None: break;
    }
    return {};
}

} // namespace

int withBuiltJob(const QString &path, const std::function<int(Job &)> &run)
{
    Session session;
    if (!session.load(path))
        return 1;
    buildPrintRecords(session.job, false);
    return run(session.job);
}

int convertCommand(const QStringList &arguments)
{
    QStringList args = arguments;
    TableArgs table;
    QString error;
    if (!takeTableArgs(args, table, error)) {
        say(stderr, QCoreApplication::translate("vt350-cli", "vt350-cli: %1\n").arg(error));
        return 2;
    }
    if (args.size() != 2) {
        say(stderr, QCoreApplication::translate("vt350-cli", "usage: vt350-cli convert IN OUT.vtd [table options]\n"));
        return 2;
    }
    Session session;
    if (table.split || table.choice.split) {
        if (kindOf(args[0], true) != InputKind::Table) {
            say(stderr,
                QCoreApplication::translate(
                    "vt350-cli", "vt350-cli: --split takes a table file (.xlsx, .ods, .xls, .csv, .tsv, .txt)\n"));
            return 2;
        }
        // No one to ask here: existing parts stay unless --force says otherwise.
        const auto mayReplace = [force = table.force](const QStringList &existing) {
            if (!force) {
                QStringList names;
                for (const QString &path : existing)
                    names << QDir::toNativeSeparators(path);
                say(stderr,
                    (existing.size() == 1 ? QCoreApplication::translate(
                         "vt350-cli", "vt350-cli: %1 already exists; --force replaces it\n")
                                          : QCoreApplication::translate(
                                              "vt350-cli", "vt350-cli: %1 already exist; --force replaces them\n"))
                        .arg(names.join(QStringLiteral(", "))));
            }
            return force;
        };
        QStringList written;
        const bool ok = session.tables.splitTable(args[0], table.choice, args[1], &written, mayReplace);
        for (const QString &path : written)
            writeText(stdout, path + QLatin1Char('\n'));
        return ok ? 0 : 1;
    }
    if (table.force) {
        say(stderr, QCoreApplication::translate("vt350-cli", "vt350-cli: --force goes with --split\n"));
        return 2;
    }
    if (!session.load(args[0], table))
        return 1;
    return session.documents.saveTo(args[1]) ? 0 : 1;
}

int showCommand(const QStringList &arguments)
{
    QStringList args = arguments;
    TableArgs table;
    QString error;
    if (!takeTableArgs(args, table, error) || table.split) {
        say(stderr,
            QCoreApplication::translate("vt350-cli", "vt350-cli: %1\n")
                .arg(table.split ? QCoreApplication::translate("vt350-cli", "show takes no --split") : error));
        return 2;
    }
    const bool json = args.contains(QStringLiteral("--json"));
    const bool labels = args.contains(QStringLiteral("--labels"));
    QStringList rest = args;
    rest.removeAll(QStringLiteral("--json"));
    rest.removeAll(QStringLiteral("--labels"));
    if (rest.size() != 1) {
        say(stderr, QCoreApplication::translate("vt350-cli", "usage: vt350-cli show IN [--labels] [--json]\n"));
        return 2;
    }
    if (labels)
        return withBuiltJob(rest[0], [json](Job &job) {
            writeLabels(job, json, stdout);
            return std::fflush(stdout) == 0 ? 0 : 1;
        });
    Session session;
    if (!session.load(rest[0], table))
        return 1;
    Job &job = session.job;
    buildPrintRecords(job, false);

    QJsonArray array;
    QByteArray text;
    for (int row = 0; row < job.pageCount() && row < job.chain.size(); ++row) {
        const PageRecord &page = job.chain[row];
        const QString line1 = readableText(job.model.cellText(row, ColLine1));
        const QString line2 = readableText(job.model.cellText(row, ColLine2));
        const QString lengthCode = QString::fromLatin1(asciiView(page.lengthCode));
        if (json) {
            array.append(QJsonObject{
                {QStringLiteral("page"), row + 1},
                {QStringLiteral("line1"), line1},
                {QStringLiteral("line2"), line2},
                {QStringLiteral("repeat"), page.repeat},
                {QStringLiteral("fontSize"), page.fontSize},
                {QStringLiteral("frame"), frameText(page.frame)},
                {QStringLiteral("direction"), directionText(page.direction)},
                {QStringLiteral("zoom"), zoomText(page.halfZoom != 0)},
                {QStringLiteral("lengthCode"), lengthCode},
                {QStringLiteral("lengthDots"), page.lengthDots},
                {QStringLiteral("line1Dots"), page.line1Dots},
                {QStringLiteral("line2Dots"), page.line2Dots},
                {QStringLiteral("printCount"), page.printCount},
            });
            // A table's page: the sheet rows it came from and the end it marks.
            if (const auto &origins = session.tables.lastOrigins(); row < static_cast<int>(origins.size())) {
                QJsonObject object = array.last().toObject();
                QJsonArray rows;
                for (const qint64 r : origins[row].rows)
                    rows.append(r);
                object.insert(QStringLiteral("rows"), rows);
                if (const QString end = endText(origins[row].end); !end.isEmpty())
                    object.insert(QStringLiteral("end"), end);
                array.replace(array.size() - 1, object);
            }
            continue;
        }
        const QStringList fields{QString::number(row + 1),
                                 line1,
                                 line2,
                                 QString::number(page.repeat),
                                 QString::number(page.fontSize),
                                 frameText(page.frame),
                                 directionText(page.direction),
                                 zoomText(page.halfZoom != 0),
                                 lengthCode,
                                 QString::number(page.lengthDots),
                                 QString::number(page.line1Dots),
                                 QString::number(page.line2Dots),
                                 QString::number(page.printCount)};
        text += fields.join(QLatin1Char('\t')).toUtf8() + '\n';
    }
    if (json)
        text = QJsonDocument(array).toJson(QJsonDocument::Indented);
    writeUtf8(stdout, text);
    // Flushed here, so that a failed write is the exit status.
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace vt::cli

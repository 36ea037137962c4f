#include "files/XlsReader.h"

#include "files/WorkbookXml.h"
#include "files/XlsStream.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QProcess>

#include <atomic>
#include <mutex>

namespace vt {

namespace {

std::mutex programLock;
std::atomic_int timeLimit = 60000;
QString &programPath()
{
    static QString path;
    return path;
}

QString cannotBeRead(const QString &why)
{
    return QCoreApplication::translate("vt::TableReader", "it cannot be read (%1)").arg(why);
}

// The reader's reason for a file it could not read, as the operator is told it.
QString refusal(const QByteArray &reason)
{
    if (reason == "encrypted")
        return tableproblem::encrypted();
    if (reason == "unreadable")
        return QCoreApplication::translate("vt::TableReader", "it can not be read");
    // Spreadsheet programs open these; saved again by one, the file reads here.
    if (reason == "biff5")
        return QCoreApplication::translate("vt::TableReader",
                                           "it is an Excel 5.0/95 workbook, which this program cannot read; "
                                           "open it in a spreadsheet program and save it as .xlsx");
    if (reason.startsWith("named "))
        return QCoreApplication::translate(
                   "vt::TableReader",
                   "it is an Excel 97-2003 workbook that keeps its sheets under the name \"%1\", "
                   "which this program cannot read; open it in a spreadsheet program and save it as .xlsx")
            .arg(QString::fromUtf8(reason.mid(6)));
    if (reason == "no workbook")
        return QCoreApplication::translate("vt::TableReader",
                                           "it is not an Excel 97-2003 workbook (.xls) but a document of another kind");
    return tableproblem::damaged();
}

} // namespace

void XlsReader::setTimeLimit(int ms) { timeLimit = ms; }

void XlsReader::setProgram(const QString &path)
{
    const std::lock_guard lock(programLock);
    programPath() = path;
}

QString XlsReader::program()
{
    {
        const std::lock_guard lock(programLock);
        if (!programPath().isEmpty())
            return programPath();
    }
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("vt350-xls"));
}

XlsReader::XlsReader(const QString &path) : path_(path) { run({path_}, nullptr); }

XlsReader::XlsReader(const QByteArray &bytes)
{
    if (!copy_.open() || copy_.write(bytes) != bytes.size() || !copy_.flush()) {
        fail(QCoreApplication::translate("vt::TableReader", "a temporary copy could not be written"));
        return;
    }
    path_ = copy_.fileName();
    run({path_}, nullptr);
}

bool XlsReader::readSheet(int index, const RowSink &sink)
{
    if (!problem_.isEmpty())
        return false;
    if (index < 0 || index >= names_.size())
        return fail(tableproblem::damaged());
    return run({path_, QString::number(index)}, &sink);
}

// Runs the reader program and takes its records as they come: the sheet
// names, and with `sink` the rows. A run that ends without its end record
// (a crash), runs too long or writes what is not a record is a file that
// cannot be read.
bool XlsReader::run(const QStringList &arguments, const RowSink *sink)
{
    QProcess reader;
    reader.setStandardErrorFile(QProcess::nullDevice());
    reader.setStandardInputFile(QProcess::nullDevice());
    reader.start(program(), arguments, QIODevice::ReadOnly);
    if (!reader.waitForStarted())
        return fail(cannotBeRead(
            QCoreApplication::translate("vt::TableReader", "the .xls reader %1 did not start").arg(program())));
    const QDeadlineTimer deadline(timeLimit.load());
    QStringList names;
    TableRow row;
    bool wanted = true;
    const auto deliver = [&] {
        if (sink && wanted && row.number > 0 && !row.cells.isEmpty())
            wanted = (*sink)(row);
        row = TableRow{};
    };
    QByteArray data;
    qsizetype pos = 0;
    bool ended = false;
    QString problem;
    while (!ended && problem.isEmpty() && wanted) {
        xlsstream::Record record;
        const xlsstream::Next next = xlsstream::next(data, pos, record);
        if (next == xlsstream::Next::Bad) {
            problem = cannotBeRead(
                QCoreApplication::translate("vt::TableReader", "the .xls reader wrote what is not a record"));
            break;
        }
        if (next == xlsstream::Next::More) {
            data.remove(0, pos);
            pos = 0;
            if (reader.bytesAvailable() == 0 && reader.state() == QProcess::NotRunning) {
                problem = cannotBeRead(QCoreApplication::translate("vt::TableReader", "the .xls reader failed on it"));
                break;
            }
            if (reader.bytesAvailable() == 0 && !reader.waitForReadyRead(static_cast<int>(deadline.remainingTime()))
                && reader.state() != QProcess::NotRunning) {
                problem = cannotBeRead(QCoreApplication::translate("vt::TableReader", "reading it took too long"));
                break;
            }
            data += reader.readAllStandardOutput();
            continue;
        }
        switch (record.tag) {
        case 'S': names << QString::fromUtf8(record.payload); break;
        case 'R': {
            deliver();
            bool number = false;
            row.number = record.payload.toLongLong(&number);
            if (!number || row.number <= 0 || row.number > kMaxSheetRows)
                problem = cannotBeRead(
                    QCoreApplication::translate("vt::TableReader", "the .xls reader wrote a bad row"));
            break;
        }
        case 'C': {
            const qsizetype blank = record.payload.indexOf(' ');
            bool number = false;
            const int column = record.payload.left(blank).toInt(&number);
            if (blank < 0 || !number || column < row.cells.size() || column >= kMaxSheetColumns || row.number == 0) {
                problem = cannotBeRead(
                    QCoreApplication::translate("vt::TableReader", "the .xls reader wrote a bad cell"));
                break;
            }
            while (row.cells.size() < column)
                row.cells.append(QString());
            row.cells.append(QString::fromUtf8(record.payload.mid(blank + 1)));
            break;
        }
        case 'E': problem = refusal(record.payload); break;
        case 'Z': ended = true; break;
        default:
            problem = cannotBeRead(
                QCoreApplication::translate("vt::TableReader", "the .xls reader wrote what is not a record"));
            break;
        }
    }
    if (ended)
        deliver();
    if (reader.state() != QProcess::NotRunning) {
        reader.kill();
        reader.waitForFinished();
    }
    if (!problem.isEmpty())
        return fail(problem);
    if (!sink)
        names_ = names;
    return true;
}

} // namespace vt

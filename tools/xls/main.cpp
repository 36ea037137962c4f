// vt350-xls FILE [SHEET]: reads an Excel 97-2003 workbook with libfreexl and
// writes its sheet names, and the rows of sheet SHEET (from 0), to standard
// output as files/XlsStream.h describes. The programs run it as a separate
// process: libfreexl has memory faults on crafted files, and a fault here
// ends this process only, never the operator's window.
#include "files/TableReader.h"
#include "files/XlsKind.h"
#include "files/XlsStream.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <freexl.h>

#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>

// libfreexl opens its file with fopen, which on Windows reads the name in
// the ANSI code page: a folder named in Chinese on an English system, or a
// name with an emoji anywhere, could not be opened. This program is linked
// with --wrap=fopen, so that fopen here takes UTF-8.
extern "C" FILE *__wrap_fopen(const char *name, const char *mode)
{
    return _wfopen(QString::fromUtf8(name).toStdWString().c_str(), QString::fromLatin1(mode).toStdWString().c_str());
}
#endif

using namespace vt;

namespace {

QByteArray out;

void flush()
{
    std::fwrite(out.constData(), 1, static_cast<std::size_t>(out.size()), stdout);
    out.clear();
}

int finish(const QByteArray &problem)
{
    if (!problem.isEmpty())
        xlsstream::append(out, 'E', problem);
    xlsstream::append(out, 'Z', {});
    flush();
    std::fflush(stdout);
    return problem.isEmpty() ? 0 : 1;
}

QByteArray cellText(const FreeXL_CellValue &cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT: return QByteArray::number(cell.value.int_value);
    case FREEXL_CELL_DOUBLE: return generalNumberText(cell.value.double_value).toUtf8();
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
    case FREEXL_CELL_DATE:
    case FREEXL_CELL_DATETIME:
    case FREEXL_CELL_TIME: return cell.value.text_value ? QByteArray(cell.value.text_value) : QByteArray();
    default: return {};
    }
}

// Why libfreexl refused a file: what the file is when it is a workbook
// that spreadsheet programs open, else damaged.
QByteArray refusal(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "unreadable";
    const XlsKind kind = xlsKind(file);
    switch (kind.kind) {
    case XlsKind::Biff5: return "biff5";
    case XlsKind::Biff8:
        return kind.stream == QLatin1String("Workbook") ? QByteArray("damaged") : "named " + kind.stream.toUtf8();
    case XlsKind::NoWorkbook: return "no workbook";
    case XlsKind::Unknown: break;
    }
    return "damaged";
}

// The file named on the command line, whatever its characters.
QString pathArgument(char **argv)
{
#ifdef _WIN32
    (void)argv;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    const QString path = wide && count > 1 ? QString::fromWCharArray(wide[1]) : QString();
    LocalFree(wide);
    return path;
#else
    return QFile::decodeName(argv[1]);
#endif
}

// The name as libfreexl's fopen takes it.
QByteArray nameForFreexl(const QString &path)
{
#ifdef _WIN32
    return path.toUtf8();
#else
    return QFile::encodeName(path);
#endif
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: vt350-xls FILE [SHEET]\n");
        return 2;
    }
    const QString path = pathArgument(argv);
    const void *book = nullptr;
    const int status = freexl_open(nameForFreexl(path).constData(), &book);
    if (status != FREEXL_OK)
        return finish(status == FREEXL_FILE_NOT_FOUND ? QByteArray("unreadable") : refusal(path));
    unsigned int info = 0;
    if (freexl_get_info(book, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED)
        return finish("encrypted");
    unsigned int sheets = 0;
    if (freexl_get_info(book, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK)
        return finish(refusal(path));
    for (unsigned int i = 0; i < sheets && i < 0xFFFF; ++i) {
        const char *name = nullptr;
        freexl_get_worksheet_name(book, static_cast<unsigned short>(i), &name);
        xlsstream::append(out, 'S', name ? QByteArrayView(name) : QByteArrayView());
    }
    if (argc == 3) {
        bool number = false;
        const int index = QByteArray(argv[2]).toInt(&number);
        if (!number || index < 0 || static_cast<unsigned int>(index) >= sheets
            || freexl_select_active_worksheet(book, static_cast<unsigned short>(index)) != FREEXL_OK)
            return finish(refusal(path));
        unsigned int rows = 0;
        unsigned short columns = 0;
        if (freexl_worksheet_dimensions(book, &rows, &columns) != FREEXL_OK)
            return finish(refusal(path));
        for (unsigned int r = 0; r < rows && r < kMaxSheetRows; ++r) {
            bool started = false;
            for (unsigned short c = 0; c < columns && c < kMaxSheetColumns; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(book, r, c, &cell) != FREEXL_OK)
                    return finish(refusal(path));
                const QByteArray text = cellText(cell);
                if (text.isEmpty())
                    continue;
                if (!started)
                    xlsstream::append(out, 'R', QByteArray::number(r + 1));
                started = true;
                xlsstream::append(out, 'C', QByteArray::number(c) + ' ' + text);
            }
            if (out.size() > (1 << 20))
                flush();
        }
    }
    freexl_close(book);
    return finish({});
}

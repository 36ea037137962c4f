#include "files/XlsReader.h"

#include "files/WorkbookXml.h"

#include <QFile>

#include <freexl.h>

namespace vt {

XlsReader::XlsReader(const QString &path) { open(path); }

XlsReader::XlsReader(const QByteArray &bytes)
{
    if (!copy_.open() || copy_.write(bytes) != bytes.size() || !copy_.flush()) {
        fail(QStringLiteral("a temporary copy could not be written"));
        return;
    }
    open(copy_.fileName());
}

XlsReader::~XlsReader()
{
    if (handle_)
        freexl_close(handle_);
}

void XlsReader::open(const QString &path)
{
    const int status = freexl_open(QFile::encodeName(path).constData(), &handle_);
    if (status != FREEXL_OK) {
        handle_ = nullptr;
        fail(status == FREEXL_FILE_NOT_FOUND ? QStringLiteral("it can not be read") : tableproblem::damaged());
        return;
    }
    unsigned int info = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_PASSWORD, &info) == FREEXL_OK && info == FREEXL_BIFF_OBFUSCATED) {
        fail(tableproblem::encrypted());
        return;
    }
    unsigned int sheets = 0;
    if (freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &sheets) != FREEXL_OK) {
        fail(tableproblem::damaged());
        return;
    }
    for (unsigned int i = 0; i < sheets && i < 0xFFFF; ++i) {
        const char *name = nullptr;
        freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name);
        names_ << (name ? QString::fromUtf8(name) : QString());
    }
}

bool XlsReader::readSheet(int index, const RowSink &sink)
{
    if (!handle_ || !problem_.isEmpty())
        return false;
    if (index < 0 || index >= names_.size()
        || freexl_select_active_worksheet(handle_, static_cast<unsigned short>(index)) != FREEXL_OK)
        return fail(tableproblem::damaged());
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_worksheet_dimensions(handle_, &rows, &columns) != FREEXL_OK)
        return fail(tableproblem::damaged());
    TableRow row;
    for (unsigned int r = 0; r < rows && r < kMaxSheetRows; ++r) {
        row.number = r + 1;
        row.cells.clear();
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            if (freexl_get_cell_value(handle_, r, c, &cell) != FREEXL_OK)
                return fail(tableproblem::damaged());
            QString text;
            switch (cell.type) {
            case FREEXL_CELL_INT: text = QString::number(cell.value.int_value); break;
            case FREEXL_CELL_DOUBLE: text = generalNumberText(cell.value.double_value); break;
            case FREEXL_CELL_TEXT:
            case FREEXL_CELL_SST_TEXT:
            case FREEXL_CELL_DATE:
            case FREEXL_CELL_DATETIME:
            case FREEXL_CELL_TIME: text = QString::fromUtf8(cell.value.text_value); break;
            default: break;
            }
            if (text.isEmpty())
                continue;
            while (row.cells.size() < c)
                row.cells.append(QString());
            row.cells.append(text);
        }
        if (!row.cells.isEmpty() && !sink(row))
            return true;
    }
    return true;
}

} // namespace vt

// The table readers take any bytes as any format (the first byte chooses
// which): they must neither crash nor give a row out of order, a row number
// past a sheet's last or more columns than a sheet can have.
// .xls goes through the reader process vt350-xls of the same build folder
// (run.sh builds it): libfreexl's own faults end that process and come back
// as a file that cannot be read; what is fuzzed here is our side of it.
#include "files/TableReader.h"
#include "files/XlsReader.h"

#include <QDir>
#include <QFileInfo>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    const QDir fuzzDir = QFileInfo(QString::fromLocal8Bit((*argv)[0])).absoluteDir();
    vt::XlsReader::setProgram(fuzzDir.filePath(QStringLiteral("../tools/vt350-xls")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace vt;
    if (size < 1)
        return 0;
    const TableFormat formats[] = {TableFormat::Xlsx, TableFormat::Ods, TableFormat::Text, TableFormat::Xls};
    const TableFormat format = formats[data[0] % 4];
    const QByteArray bytes = QByteArray(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    QString problem;
    std::unique_ptr<TableReader> reader = openTable(bytes, format, TableOptions{}, problem);
    if (!reader) {
        if (problem.isEmpty())
            std::abort();
        return 0;
    }
    const int sheets = static_cast<int>(reader->sheetNames().size());
    for (int sheet = 0; sheet < sheets && sheet < 3; ++sheet) {
        qint64 last = 0;
        const bool read = reader->readSheet(sheet, [&](const TableRow &row) {
            if (row.number <= last || row.number > kMaxSheetRows || row.cells.size() > kMaxSheetColumns)
                std::abort();
            last = row.number;
            return true;
        });
        if (!read && reader->problem().isEmpty())
            std::abort();
    }
    return 0;
}

// .xls bytes through the reader process vt350-xls of the same build folder
// (run.sh builds it): libfreexl's own faults end that process and come back
// as a file that cannot be read; what is fuzzed here is our side of it.
// One process per input makes this the slow target.
#include "FuzzWorkbook.h"
#include "files/XlsReader.h"

#include <QDir>
#include <QFileInfo>

extern "C" int LLVMFuzzerInitialize(int *, char ***argv)
{
    const QDir fuzzDir = QFileInfo(QString::fromLocal8Bit((*argv)[0])).absoluteDir();
    vt::XlsReader::setProgram(fuzzDir.filePath(QStringLiteral("../tools/vt350-xls")));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    vtfuzz::readWorkbook(bytes, vt::TableFormat::Xls);
    return 0;
}

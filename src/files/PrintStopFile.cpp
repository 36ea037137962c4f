#include "files/PrintStopFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

#include <cmath>

namespace vt {

namespace {

constexpr char kFormat[] = "vt350-print-stop";
constexpr int kVersion = 1;
// Ours are a few hundred bytes; anything much larger is not read at all.
constexpr qint64 kMaxFileBytes = 4096;

bool wholeNumber(const QJsonValue &v, int &out)
{
    if (!v.isDouble())
        return false;
    const double d = v.toDouble();
    if (!std::isfinite(d) || d != std::floor(d) || d < 0 || d > 1e6)
        return false;
    out = int(d);
    return true;
}

} // namespace

PrintStopFile::PrintStopFile(QString directory) : directory_(std::move(directory)) {}

QString PrintStopFile::pathFor(const QByteArray &fingerprint) const
{
    // The name tells jobs apart; the full fingerprint inside decides.
    return QDir(directory_).filePath(QStringLiteral("print-stop-%1.json")
                                         .arg(QString::fromLatin1(fingerprint.toHex().left(32))));
}

std::optional<PrintStop> PrintStopFile::find(const QByteArray &fingerprint, int pageCount) const
{
    if (fingerprint.isEmpty())
        return std::nullopt;
    QFile file(pathFor(fingerprint));
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return std::nullopt;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.read(kMaxFileBytes), &error);
    if (error.error != QJsonParseError::NoError || !doc.isObject())
        return std::nullopt;
    const QJsonObject o = doc.object();
    int version = 0;
    PrintStop stop;
    if (o.value(QStringLiteral("format")).toString() != QLatin1String(kFormat)
        || !wholeNumber(o.value(QStringLiteral("version")), version) || version != kVersion
        || !wholeNumber(o.value(QStringLiteral("page")), stop.page)
        || !wholeNumber(o.value(QStringLiteral("pages")), stop.pageCount))
        return std::nullopt;
    stop.fingerprint = QByteArray::fromHex(o.value(QStringLiteral("fingerprint")).toString().toLatin1());
    // Another job's (a name shared by chance, or a file copied in), or a
    // page this job does not have: nothing to offer.
    if (stop.fingerprint != fingerprint || stop.pageCount != pageCount || stop.page < 1 || stop.page >= pageCount)
        return std::nullopt;
    return stop;
}

bool PrintStopFile::keep(const PrintStop &stop)
{
    if (stop.fingerprint.isEmpty() || !QDir().mkpath(directory_))
        return false;
    const QJsonObject o{{QStringLiteral("format"), QLatin1String(kFormat)},
                        {QStringLiteral("version"), kVersion},
                        {QStringLiteral("fingerprint"), QString::fromLatin1(stop.fingerprint.toHex())},
                        {QStringLiteral("page"), stop.page},
                        {QStringLiteral("pages"), stop.pageCount},
                        {QStringLiteral("written"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}};
    const QByteArray bytes = QJsonDocument(o).toJson(QJsonDocument::Indented);
    QSaveFile file(pathFor(stop.fingerprint));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return false;
    // Jobs that stopped and were never printed again do not pile up.
    // Newest first; the one just written stays whatever the clock's grain.
    const QString written = QFileInfo(file.fileName()).fileName();
    QFileInfoList others = QDir(directory_).entryInfoList({QStringLiteral("print-stop-*.json")}, QDir::Files,
                                                          QDir::Time);
    others.removeIf([&](const QFileInfo &f) { return f.fileName() == written; });
    for (qsizetype i = kMaxKept - 1; i < others.size(); ++i)
        QFile::remove(others.at(i).filePath());
    return true;
}

void PrintStopFile::forget(const QByteArray &fingerprint)
{
    if (!fingerprint.isEmpty())
        QFile::remove(pathFor(fingerprint));
}

} // namespace vt

#include "printer/SerialConfig.h"

#include "files/Config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QSerialPortInfo>
#endif

namespace vt {

namespace {

const QString kSection = QStringLiteral("ConSet");

QStringList splitDevices(const QString &list)
{
    QStringList out;
    for (const QString &path : list.split(QDir::listSeparator(), Qt::SkipEmptyParts))
        out << path.trimmed();
    out.removeAll(QString());
    return out;
}

} // namespace

QString configFilePath()
{
    return QDir(configDirectory()).filePath(QStringLiteral("ConSet.InI"));
}

namespace {

int portIn(const QString &file)
{
    QSettings ini(file, QSettings::IniFormat);
    bool ok = false;
    const int port = ini.value(kSection + QStringLiteral("/ComPort")).toInt(&ok);
    return ok ? port : 0;
}

} // namespace

int configuredPort()
{
    int port = portIn(configFilePath());
#ifdef Q_OS_WIN
    // The earlier program kept its ConSet.InI in the Windows folder, where a
    // user may not write: its port still counts until this program keeps one.
    if (port == 0) {
        wchar_t folder[MAX_PATH];
        const UINT n = GetWindowsDirectoryW(folder, MAX_PATH);
        if (n > 0 && n < MAX_PATH)
            port = portIn(QDir(QString::fromWCharArray(folder, int(n))).filePath(QStringLiteral("ConSet.InI")));
    }
#endif
    return port;
}

void storeConfiguredPort(int port)
{
    QDir().mkpath(QFileInfo(configFilePath()).absolutePath());
    QSettings ini(configFilePath(), QSettings::IniFormat);
    ini.setValue(kSection + QStringLiteral("/ComPort"), QString::number(port));
    ini.sync();
}

QStringList serialDevices()
{
    QString override = qEnvironmentVariable("VT350_DEVICE");
    if (override.isEmpty()) {
        QSettings ini(configFilePath(), QSettings::IniFormat);
        override = ini.value(kSection + QStringLiteral("/Device")).toString();
    }
    if (!override.isEmpty())
        return splitDevices(override);
#ifdef Q_OS_WIN
    QStringList com;
    for (int n = 1; n <= 99; ++n)
        com << QStringLiteral("COM%1").arg(n);
    return com;
#else
    QStringList found;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        found << info.systemLocation();
    return inPortOrder(found);
#endif
}

namespace {

// Compares runs of digits by their value and everything else by character.
// Not QCollator: its numeric mode does nothing under the C locale.
bool beforeInPortOrder(const QString &a, const QString &b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && a[ei].isDigit())
                ++ei;
            while (ej < b.size() && b[ej].isDigit())
                ++ej;
            // Without leading zeros, a longer run is a larger number.
            qsizetype si = i, sj = j;
            while (si + 1 < ei && a[si] == u'0')
                ++si;
            while (sj + 1 < ej && b[sj] == u'0')
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj;
            if (const int c = QStringView(a).sliced(si, ei - si).compare(QStringView(b).sliced(sj, ej - sj)); c != 0)
                return c < 0;
            i = ei;
            j = ej;
            continue;
        }
        if (a[i] != b[j])
            return a[i] < b[j];
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

} // namespace

QStringList inPortOrder(QStringList devices)
{
    // ttyS2 before ttyS10, so that port numbers follow the device numbers.
    std::stable_sort(devices.begin(), devices.end(), beforeInPortOrder);
    return devices;
}

QString stableDeviceName(const QString &device)
{
    QString folder = qEnvironmentVariable("VT350_SERIAL_BY_ID");
    if (folder.isEmpty())
        folder = QStringLiteral("/dev/serial/by-id");
    const QString target = QFileInfo(device).canonicalFilePath();
    if (target.isEmpty() || QFileInfo(device).absolutePath() == QDir(folder).absolutePath())
        return device;
    const QDir links(folder);
    for (const QFileInfo &link : links.entryInfoList(QDir::System | QDir::Files | QDir::NoDotAndDotDot, QDir::Name))
        if (link.isSymLink() && link.canonicalFilePath() == target)
            return link.absoluteFilePath();
    return device;
}

int baudRate(int baudCode)
{
    static const int rates[] = {50, 75, 110, 134, 150, 300, 600, 1200, 1800, 2400, 4800, 7200, 9600, 19200, 38400,
                                57600, 115200};
    return baudCode >= 0 && baudCode < int(std::size(rates)) ? rates[baudCode] : 0;
}

qint64 drainMs(qint64 bytes, int rate, int bitsPerByte)
{
    constexpr qint64 kMarginMs = 2000;
    if (bytes <= 0)
        return 0;
    if (rate <= 0 || bitsPerByte <= 0)
        rate = 9600, bitsPerByte = 10;
    return (bytes * bitsPerByte * 1000 + rate - 1) / rate + kMarginMs;
}

QString devicePath(int port)
{
    const QStringList devices = serialDevices();
    return port >= 1 && port <= devices.size() ? devices.at(port - 1) : QString();
}

} // namespace vt

namespace vt {

QString permissionText(const QString &device)
{
    QString text = QCoreApplication::translate("vt::SerialConfig",
                                               "The serial port %1 cannot be opened: permission denied.")
                       .arg(device);
#ifdef Q_OS_LINUX
    const QString group = QFileInfo(device).group();
    if (!group.isEmpty())
        text += QCoreApplication::translate(
                    "vt::SerialConfig",
                    "\rAdd your user to the group \"%1\" that owns it (sudo usermod -aG %1 $USER),"
                    " then log out and log in again.")
                    .arg(group);
#endif
    return text;
}

} // namespace vt

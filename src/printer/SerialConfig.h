#pragma once

#include <QString>
#include <QStringList>

namespace vt {

// The small configuration file "ConSet.InI" (section "ConSet"): the printer's
// port number ("ComPort") and an optional device path ("Device"). It lives in
// the application's configuration folder; VT350_CONFIG_DIR moves it.
QString configFilePath();
int configuredPort();
void storeConfiguredPort(int port);

// The serial devices in port-number order: port n is entry n - 1. A device
// path in VT350_DEVICE or in the key "Device" (several separated like PATH)
// replaces the system's list; otherwise COM1.. on Windows and the sorted
// serial devices elsewhere.
QStringList serialDevices();
// The system's serial devices sorted into port order: by name, with runs of
// digits compared as numbers.
QStringList inPortOrder(QStringList devices);
// The line speed of a baud code of the serial library (12 is 9600); 0 for none.
int baudRate(int baudCode);

// How long a port closed with `bytes` still to go out is given to send them:
// the time they take on the line at `rate` baud with `bitsPerByte` bits a
// character (start, data, parity and stop bits), and two seconds more.
qint64 drainMs(qint64 bytes, int rate, int bitsPerByte);

// The device of port n (1 or more); empty when there is none.
QString devicePath(int port);

// The name under which an adapter is found again after it was unplugged and
// plugged back: its link in /dev/serial/by-id (VT350_SERIAL_BY_ID moves the
// folder) when there is one, else the device as given. The port is opened
// through the link each time, so a Device set to such a name follows the
// adapter to whatever tty it gets next.
QString stableDeviceName(const QString &device);

} // namespace vt

namespace vt {
// What to tell the operator when `device` exists but may not be opened.
QString permissionText(const QString &device);
} // namespace vt

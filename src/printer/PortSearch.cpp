// The search for the printer's serial port, run at start-up and by Print.
#include "printer/PrintJob.h"

#include "commands/Operator.h"
#include "printer/Clock.h"
#include "printer/SerialConfig.h"
#include "printer/SerialLine.h"

#include <QScopeGuard>

namespace vt {

bool PrintJob::findPrinterPort()
{
    if (searching_)
        return false;
    if (!printing_) {
        // A search of its own (at start-up) starts afresh; Print has done so.
        aborted_ = false;
        clock().resume();
    }
    searching_ = true;
    const auto done = qScopeGuard([this] { searching_ = false; });
    baudCode = 12;
    modeCode = 3;
    portNumber = 0;
    portFound = false;
    const int configured = configuredPort();
    portNumber = configured >= 1 && configured <= 99 ? configured : 0;

    QString refused;
    const auto answers = [&](int port) {
        const QString device = devicePath(port);
        if (device.isEmpty())
            return false;
        emit tryingPort(port, stableDeviceName(device));
        if (line_.probe(port, baudCode, modeCode))
            return true;
        if (refused.isEmpty() && line_.library().lastFailure() == OpenFailure::Permission)
            refused = line_.library().lastDevice();
        return false;
    };

    if (portNumber != 0 && answers(portNumber)) {
        portFound = true;
        return true;
    }
    for (int port = 1; port <= 99 && !aborted_; ++port) {
        if (answers(port)) {
            portNumber = port;
            storeConfiguredPort(port);
            portFound = true;
            return true;
        }
    }
    if (aborted_)
        return false;
    const QString text = refused.isEmpty() ? tr(kNoPrinter) : permissionText(refused);
    tell({text, promptCaption(), MessageIcon::Exclamation});
    return false;
}

} // namespace vt

#pragma once

#include "model/JobSettings.h"
#include "model/PageChain.h"
#include "printer/SerialLibrary.h"

#include <QString>

#include <cstdint>

namespace vt {

class Clock;

// Firmware classes: which firmware continues by itself after a segment and
// which takes the copies byte and a density above 6.
struct Firmware {
    bool known = false;
    bool autoContinue = false;
    bool extendedFrame = false;
};
Firmware classifyFirmware(const QString &versionReply);

// One serial port to the printer: the byte-level operations on the serial
// library, and the printer's protocol on top of them. Every wait goes
// through the clock.
class SerialLine {
public:
    SerialLine(SerialLibrary &library, Clock &clock);
    virtual ~SerialLine();

    bool open(int port, int baudCode, int modeCode);
    void close();
    void flushInput();
    int inputCount();
    int read(char *buffer, int length);
    int write(const char *buffer, int length);
    // False as well once the device has gone away.
    bool isOpen() const { return opened_ && !library_.connectionLost(port_); }
    int currentPort() const { return port_; }

    // The printer's protocol.
    QString queryVersion();
    bool probe(int port, int baudCode, int modeCode);
    bool queryReady();
    bool sendMode(char mode);
    // Builds and writes one data frame from `first`, leaving out the first
    // `skip` records; returns the records visited, or 0 when no page went in.
    int sendPages(const PageChain &chain, const PageRecord *first, int skip, const JobSettings &job,
                  std::uint8_t density, bool extendedFrame);

    // The device went away while the port was open; the port is closed then.
    bool connectionLost() const;
    SerialLibrary &library() const { return library_; }
    Clock &clock() const { return *clock_; }
    // Tests run the exchange on a faster clock.
    void setClock(Clock &clock) { clock_ = &clock; }

private:
    bool writeAll(const char *bytes, int length);

    SerialLibrary &library_;
    Clock *clock_;
    int port_ = -1;
    bool opened_ = false;
};

} // namespace vt

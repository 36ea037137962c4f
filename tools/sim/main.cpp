// vt350-sim: a virtual Vt350 tube printer on a pseudo-terminal.
#include "FrameCheck.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {

const char kUsage[] =
    "usage: vt350-sim [OPTIONS]\n"
    "\n"
    "A virtual Vt350 tube printer on a pseudo-terminal. Prints the terminal's\n"
    "path on the first line of stdout, then answers the program until it is\n"
    "stopped (SIGINT or SIGTERM). Every broken rule of a command or frame is\n"
    "reported on stderr (and in the log).\n"
    "\n"
    "options:\n"
    "  --link PATH           also make PATH a symbolic link to the terminal\n"
    "  --firmware TEXT       firmware in the version reply (default FV1.000.04)\n"
    "  --busy N              the first N status answers say not ready\n"
    "  --segment-seconds S   time a segment takes to print (default 1)\n"
    "  --ribbon-after N      the notice after the N-th segment reports the ribbon\n"
    "  --no-reply            never answer anything\n"
    "  --pace                take bytes no faster than 960 per second (9600 baud)\n"
    "  --exit-after N        exit once the N-th frame has been taken\n"
    "  --log FILE            one JSON object per command or frame\n"
    "  --ack                 after taking bytes (and answering them), print\n"
    "                        'took N' on stdout, N counting every byte so far\n"
    "  --help                show this text\n";

volatile std::sig_atomic_t stopRequested = 0;
void onSignal(int) { stopRequested = 1; }

struct Options {
    QString link;
    QString firmware = QStringLiteral("FV1.000.04");
    int busy = 0;
    double segmentSeconds = 1.0;
    int ribbonAfter = 0;
    bool noReply = false;
    bool pace = false;
    bool ack = false;
    int exitAfter = 0;
    QString log;
};

bool parseOptions(const QStringList &args, Options &o, QString &error)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &a = args.at(i);
        const auto value = [&](QString &out) {
            if (i + 1 >= args.size()) {
                error = a + QStringLiteral(" needs a value");
                return false;
            }
            out = args.at(++i);
            return true;
        };
        const auto number = [&](auto &out, auto convert) {
            QString text;
            if (!value(text))
                return false;
            bool ok = false;
            out = convert(text, &ok);
            if (!ok || out < 0)
                error = QStringLiteral("%1: '%2' is not a number").arg(a, text);
            return ok && out >= 0;
        };
        const auto toInt = [](const QString &t, bool *ok) { return t.toInt(ok); };
        const auto toDouble = [](const QString &t, bool *ok) { return t.toDouble(ok); };
        bool ok = true;
        if (a == QLatin1String("--link"))
            ok = value(o.link);
        else if (a == QLatin1String("--firmware"))
            ok = value(o.firmware);
        else if (a == QLatin1String("--busy"))
            ok = number(o.busy, toInt);
        else if (a == QLatin1String("--segment-seconds"))
            ok = number(o.segmentSeconds, toDouble);
        else if (a == QLatin1String("--ribbon-after"))
            ok = number(o.ribbonAfter, toInt);
        else if (a == QLatin1String("--exit-after"))
            ok = number(o.exitAfter, toInt);
        else if (a == QLatin1String("--log"))
            ok = value(o.log);
        else if (a == QLatin1String("--no-reply"))
            o.noReply = true;
        else if (a == QLatin1String("--pace"))
            o.pace = true;
        else if (a == QLatin1String("--ack"))
            o.ack = true;
        else {
            error = QStringLiteral("unknown option '%1'").arg(a);
            return false;
        }
        if (!ok)
            return false;
    }
    return true;
}

// The printer's side of the line: takes bytes, answers, prints segments.
class Printer {
public:
    Printer(const Options &o, int fd) : o_(o), fd_(fd)
    {
        clock_.start();
        busyLeft_ = o.busy;
        const QString fw = o.firmware;
        autoContinue_ = fw.contains(QLatin1String("FV1.000.04")) || fw.contains(QLatin1String("FV1.000.03"))
                        || fw.contains(QLatin1String("FV1.000.02"));
        extendedFrame_ = fw.contains(QLatin1String("FV1.000.04")) || fw.contains(QLatin1String("FV1.000.03"));
        if (!o.log.isEmpty()) {
            log_.setFileName(o.log);
            if (!log_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
                std::fprintf(stderr, "vt350-sim: cannot write the log %s\n", qPrintable(o.log));
        }
    }

    void take(const QByteArray &bytes)
    {
        pending_ += bytes;
        parse();
    }

    // Milliseconds until the segment being printed is done; -1 when idle.
    int msUntilPrinted() const
    {
        if (printedAt_ < 0)
            return -1;
        return int(std::max<qint64>(0, printedAt_ - clock_.elapsed()));
    }

    void tick()
    {
        if (printedAt_ >= 0 && clock_.elapsed() >= printedAt_) {
            printedAt_ = -1;
            ++segments_;
            if (autoContinue_) {
                const bool ribbon = o_.ribbonAfter > 0 && segments_ == o_.ribbonAfter;
                const QByteArray notice = ribbon ? QByteArrayLiteral("Ribbon\r\n") : QByteArrayLiteral("Finish\r\n");
                reply(notice);
                record({{QStringLiteral("type"), QStringLiteral("notice")},
                        {QStringLiteral("segment"), segments_},
                        {QStringLiteral("text"), QString::fromLatin1(notice.trimmed())}});
            }
        }
    }

    bool done() const { return o_.exitAfter > 0 && frames_ >= o_.exitAfter; }

private:
    void parse()
    {
        while (!pending_.isEmpty()) {
            const int b0 = uchar(pending_.at(0));
            if (b0 == 0x1D) {
                static const QByteArray query("\x1D\x99\x42\x45\x92\x9A\x53", 7);
                if (pending_.size() < 7 && query.startsWith(pending_))
                    return;
                if (!pending_.startsWith(query)) {
                    unexpected();
                    continue;
                }
                pending_.remove(0, 7);
                answerVersion();
            } else if (b0 == 0x01 || b0 == 0x02) {
                if (pending_.size() < 2)
                    return;
                const char c = pending_.at(1);
                if (b0 == 0x01 && c == 'A') {
                    pending_.remove(0, 2);
                    answerStatus();
                } else if ((b0 == 0x01 && c == 'D') || (b0 == 0x02 && c == 'H')) {
                    pending_.remove(0, 2);
                    mode_ = c;
                    record({{QStringLiteral("type"), QStringLiteral("mode")}, {QStringLiteral("mode"), QString(QChar(c))}});
                } else if (b0 == 0x02 && c == 'A') {
                    if (!takeFrame())
                        return;
                } else {
                    unexpected();
                }
            } else {
                unexpected();
            }
        }
    }

    bool takeFrame()
    {
        if (pending_.size() < 4)
            return false;
        const int length = uchar(pending_.at(2)) << 8 | uchar(pending_.at(3));
        if (length < (extendedFrame_ ? 10 : 9) || length > 8192) {
            violation(QStringLiteral("frame length field %1 outside %2..8192").arg(length).arg(extendedFrame_ ? 10 : 9));
            pending_.remove(0, 4);
            return true;
        }
        if (pending_.size() < length)
            return false;
        const QByteArray frame = pending_.left(length);
        pending_.remove(0, length);
        ++frames_;
        vt::sim::CheckedFrame checked = vt::sim::checkFrame(frame, extendedFrame_);
        if (mode_ != 'D')
            checked.violations << QStringLiteral("frame without mode D before it");
        if (printedAt_ >= 0)
            checked.violations << QStringLiteral("frame while the last segment is still printing");
        QJsonObject entry = checked.json;
        entry[QStringLiteral("type")] = QStringLiteral("frame");
        entry[QStringLiteral("frame")] = frames_;
        entry[QStringLiteral("violations")] = QJsonArray::fromStringList(checked.violations);
        record(entry);
        for (const QString &v : checked.violations)
            std::fprintf(stderr, "vt350-sim: frame %d: %s\n", frames_, qPrintable(v));
        mode_ = 0;
        printedAt_ = clock_.elapsed() + qint64(o_.segmentSeconds * 1000);
        return true;
    }

    void answerVersion()
    {
        record({{QStringLiteral("type"), QStringLiteral("version")}});
        QByteArray text = o_.firmware.toLatin1();
        QByteArray prefix("VT350 ");
        while (prefix.size() + text.size() < 22)
            prefix += ' ';
        reply(prefix.left(std::max<qsizetype>(0, 22 - text.size())) + text + "\r\n");
    }

    void answerStatus()
    {
        const bool ready = busyLeft_ == 0 && printedAt_ < 0;
        if (busyLeft_ > 0 && !o_.noReply)
            --busyLeft_;
        record({{QStringLiteral("type"), QStringLiteral("status")}, {QStringLiteral("ready"), ready}});
        QByteArray status(9, '0');
        status[0] = ready ? 'N' : 'B';
        status[8] = 0x0D;
        reply(status);
    }

    void unexpected()
    {
        violation(QStringLiteral("unexpected byte 0x%1").arg(int(uchar(pending_.at(0))), 2, 16, QChar('0')));
        pending_.remove(0, 1);
    }

    void violation(const QString &text)
    {
        std::fprintf(stderr, "vt350-sim: %s\n", qPrintable(text));
        record({{QStringLiteral("type"), QStringLiteral("violation")}, {QStringLiteral("text"), text}});
    }

    void reply(const QByteArray &bytes)
    {
        if (o_.noReply)
            return;
        const char *p = bytes.constData();
        qsizetype left = bytes.size();
        while (left > 0) {
            const ssize_t n = ::write(fd_, p, size_t(left));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return;
            p += n;
            left -= n;
        }
    }

    void record(QJsonObject entry)
    {
        if (!log_.isOpen())
            return;
        entry[QStringLiteral("t")] = double(clock_.elapsed()) / 1000.0;
        log_.write(QJsonDocument(entry).toJson(QJsonDocument::Compact) + '\n');
    }

    const Options &o_;
    int fd_;
    QElapsedTimer clock_;
    QFile log_;
    QByteArray pending_;
    int busyLeft_ = 0;
    bool autoContinue_ = false;
    bool extendedFrame_ = false;
    char mode_ = 0;
    qint64 printedAt_ = -1;
    int segments_ = 0;
    int frames_ = 0;
};

int openTerminal(QByteArray &path)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0)
        return -1;
    path = ::ptsname(master);
    // Raw from the start: bytes written before the program sets the line
    // must not be changed on the way.
    const int slave = ::open(path.constData(), O_RDWR | O_NOCTTY);
    if (slave < 0)
        return -1;
    termios t{};
    if (::tcgetattr(slave, &t) == 0) {
        ::cfmakeraw(&t);
        ::cfsetispeed(&t, B9600);
        ::cfsetospeed(&t, B9600);
        ::tcsetattr(slave, TCSANOW, &t);
    }
    // The slave side stays open in this process, so the terminal outlives
    // the program closing its port between jobs. It is never read here.
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return master;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    Options options;
    QString error;
    if (!parseOptions(args, options, error)) {
        std::fprintf(stderr, "vt350-sim: %s\n", qPrintable(error));
        std::fputs(kUsage, stderr);
        return 2;
    }
    QByteArray path;
    const int fd = openTerminal(path);
    if (fd < 0) {
        std::fprintf(stderr, "vt350-sim: cannot make a pseudo-terminal: %s\n", std::strerror(errno));
        return 1;
    }
    if (!options.link.isEmpty()) {
        const QByteArray link = QFile::encodeName(options.link);
        ::unlink(link.constData());
        if (::symlink(path.constData(), link.constData()) != 0) {
            std::fprintf(stderr, "vt350-sim: cannot link %s: %s\n", link.constData(), std::strerror(errno));
            return 1;
        }
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    std::signal(SIGPIPE, SIG_IGN);
    std::printf("%s\n", path.constData());
    std::fflush(stdout);

    Printer printer(options, fd);
    // 9600 baud is 960 bytes a second; the allowance grows with time and is
    // spent 16 bytes at a time at most.
    constexpr double kBytesPerMs = 0.96;
    double allowance = 0;
    QElapsedTimer paceClock;
    paceClock.start();
    char buffer[4096];
    qint64 taken = 0;
    while (!stopRequested && !printer.done()) {
        int timeout = printer.msUntilPrinted();
        if (options.pace) {
            const qint64 now = paceClock.restart();
            allowance = std::min(16.0, allowance + kBytesPerMs * double(now));
        }
        const bool mayRead = !options.pace || allowance >= 16.0;
        pollfd p{fd, short(mayRead ? POLLIN : 0), 0};
        if (!mayRead) {
            const int refill = int((16.0 - allowance) / kBytesPerMs) + 1;
            timeout = timeout < 0 ? refill : std::min(timeout, refill);
        }
        const int ready = ::poll(&p, 1, timeout < 0 ? 200 : timeout);
        if (ready < 0 && errno != EINTR)
            break;
        if (ready > 0 && (p.revents & POLLIN)) {
            const int limit = options.pace ? std::min<int>(int(allowance), 16) : int(sizeof buffer);
            const ssize_t n = ::read(fd, buffer, size_t(limit));
            if (n > 0) {
                if (options.pace)
                    allowance -= double(n);
                // A segment whose time is up has printed before the
                // status query that comes after it is answered.
                printer.tick();
                printer.take(QByteArray(buffer, int(n)));
                // Said once the answers are on their way: whoever waits
                // for this finds them on the line.
                if (options.ack) {
                    taken += n;
                    std::printf("took %lld\n", static_cast<long long>(taken));
                    std::fflush(stdout);
                }
            }
        }
        printer.tick();
    }
    if (!options.link.isEmpty())
        ::unlink(QFile::encodeName(options.link).constData());
    ::close(fd);
    return 0;
}

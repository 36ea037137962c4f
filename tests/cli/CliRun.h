#pragma once

#include "common/ChildProcess.h"

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace vt::test {

// What one run of the built vt350-cli gave back.
struct CliRun {
    int exitCode = -1; // -1 when it crashed or did not finish
    QByteArray bytes;  // standard output as written (frames are binary)
    QString out;       // the same as UTF-8 text
    QString err;
};

// Runs vt350-cli with a configuration folder of its own, no input, and the
// serial devices in VT350_DEVICE when `device` is given; a run longer than
// `guardMs` counts as not finished. `configDir` is kept between runs.
inline CliRun cli(const QStringList &args, const QString &device = {}, int guardMs = 60000,
                  const QString &configDir = {})
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QTemporaryDir config;
    env.insert(QStringLiteral("VT350_CONFIG_DIR"), configDir.isEmpty() ? config.path() : configDir);
    if (device.isEmpty())
        env.remove(QStringLiteral("VT350_DEVICE"));
    else
        env.insert(QStringLiteral("VT350_DEVICE"), device);
    p.setProcessEnvironment(env);
    endWithParent(p);
    p.start(QStringLiteral(VT350_BINARY_DIR "/tools/vt350-cli"), args);
    p.closeWriteChannel();
    CliRun r;
    if (!p.waitForFinished(guardMs))
        return r;
    r.exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.bytes = p.readAllStandardOutput();
    r.out = QString::fromUtf8(r.bytes);
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

} // namespace vt::test

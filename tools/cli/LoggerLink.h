#pragma once
// A logger on the port the user named ("COM<n>" through the application folder's port aliases,
// or a device path), with the link of one of the two logger windows. Every command that talks to
// a logger opens it this way, so they all fail alike: one line, the first thing that went wrong.

#include "tools/cli/Invocation.h"

#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "link/QtSerialPort.h"

#include <QStringList>
#include <atomic>
#include <memory>

namespace orvan::cli {

// The system clock, except that with ORVANLOG_SHORT_PAUSES in the environment each fixed pause
// (between writes, the erase's wait) lasts at most 10 ms and the clock moves on by the rest;
// reply time-outs stay real. The tests run the commands against an emulated logger, which needs
// only a quiet moment between frames, without waiting the seconds a real logger does.
class CommandClock : public link::SystemClock {
public:
    qint64 nowMs() override { return SystemClock::nowMs() + m_skipped; }
    void sleepMs(int ms) override;

private:
    const bool m_short = qEnvironmentVariableIsSet("ORVANLOG_SHORT_PAUSES");
    qint64 m_skipped = 0;
};

class LoggerLink {
public:
    // Opens the port; a port that cannot be opened, or a path that is no serial port, is a Failure.
    LoggerLink(const Invocation& inv, const link::LinkProfile& profile);

    link::Link& link() { return *m_link; }
    const QString& device() const { return m_device; }
    // The language of the command's messages (--lang, or the settings record).
    int idioma() const { return m_idioma; }
    // The port errors the link reported, first one first.
    const QStringList& errors() const { return m_errors; }

    // The status in the device-data window's poll order; a logger that does not answer is a failure.
    link::EstadoKLV estado(Unit unit);

    // One failure, one line: a port error the link reported is what went wrong, and the summary
    // that follows from it would only repeat it.
    [[noreturn]] void fail(const QString& text) const;

private:
    QString m_device;
    int m_idioma = 0;
    link::QtSerialPort m_port;
    CommandClock m_clock;
    std::atomic<bool> m_closing{false};
    QStringList m_errors;
    std::unique_ptr<link::Link> m_link;
};

} // namespace orvan::cli

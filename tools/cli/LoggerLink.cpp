#include "tools/cli/LoggerLink.h"
#include "tools/cli/Trace.h"

#include "base/AddedTexts.h"
#include "base/RuntimeError.h"

#include <QFileInfo>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace orvan::cli {

namespace {

// Whether the path is a terminal device. Opened without blocking and without becoming the
// controlling terminal, so that asking never hangs or takes over the line.
bool isTerminal(const QString& device)
{
    const int fd = ::open(QFile::encodeName(device).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return true;   // unknown: the serial port's own error says more
    const bool terminal = ::isatty(fd) != 0;
    ::close(fd);
    return terminal;
}

} // namespace

void CommandClock::sleepMs(int ms)
{
    constexpr int kShortPauseMs = 10;
    if (m_short && ms > kShortPauseMs) {
        m_skipped += ms - kShortPauseMs;
        ms = kShortPauseMs;
    }
    SystemClock::sleepMs(ms);
}

LoggerLink::LoggerLink(const Invocation& inv, const link::LinkProfile& profile)
    : m_device(inv.portDevice()), m_idioma(inv.idioma)
{
    // A regular file, a folder or a FIFO given as the port is the user's mistake, not a missing
    // device: say so before the serial port reports something about files.
    struct stat st {};
    const bool exists = ::stat(QFile::encodeName(m_device).constData(), &st) == 0;
    if (exists && !S_ISCHR(st.st_mode))
        throw Failure(addedText(AddedText::NotASerialPort, m_idioma).arg(m_device));
    // Traced from the first byte on, so that a logger that answers nothing shows what it was sent.
    if (inv.has(QStringLiteral("--trace")))
        startByteTrace();
    m_port.setPortName(m_device);
    try {
        m_port.open();
    } catch (const RuntimeError& e) {
        if (exists && !isTerminal(m_device))
            throw Failure(addedText(AddedText::NotASerialPort, m_idioma).arg(m_device));
        throw Failure(addedText(AddedText::PortCannotOpen, m_idioma).arg(m_device, e.description));
    }
    m_link = std::make_unique<link::Link>(m_port, m_clock, m_closing, profile,
                                          [this](const QString& text) { m_errors.append(text); });
}

link::EstadoKLV LoggerLink::estado(Unit unit)
{
    link::EstadoKLV e;
    if (!link::ActualizaEstado(*m_link, e, unit))
        fail(addedText(AddedText::NoLoggerAnswers, m_idioma).arg(m_device));
    return e;
}

void LoggerLink::fail(const QString& text) const
{
    throw Failure(m_errors.isEmpty() ? text : m_errors.first());
}

} // namespace orvan::cli

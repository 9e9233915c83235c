#include "tools/cli/LoggerLink.h"

#include "base/RuntimeError.h"

namespace orvan::cli {

LoggerLink::LoggerLink(const Invocation& inv, const link::LinkProfile& profile) : m_device(inv.portDevice())
{
    m_port.setPortName(m_device);
    try {
        m_port.open();
    } catch (const RuntimeError& e) {
        throw Failure(QStringLiteral("cannot open ") + m_device + QStringLiteral(": ") + e.description);
    }
    m_link = std::make_unique<link::Link>(m_port, m_clock, m_closing, profile,
                                          [this](const QString& text) { m_errors.append(text); });
}

link::EstadoKLV LoggerLink::estado(int gradosC)
{
    link::EstadoKLV e;
    if (!link::ActualizaEstado(*m_link, e, gradosC))
        fail(QStringLiteral("no logger answers on ") + m_device);
    return e;
}

void LoggerLink::fail(const QString& text) const
{
    throw Failure(m_errors.isEmpty() ? text : m_errors.first());
}

} // namespace orvan::cli

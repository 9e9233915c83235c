#include "tools/emulator/EmulatorFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>

namespace orvan::emulator {

EmulatorFixture::EmulatorFixture(ScenarioKind kind, const ScenarioOptions& options, int com)
    : m_logger(Scenarios::make(kind, options)), m_com(com)
{
    setUp();
}

EmulatorFixture::EmulatorFixture(std::unique_ptr<Logger> logger, int com)
    : m_logger(logger ? std::move(logger) : std::make_unique<Logger>()), m_com(com)
{
    setUp();
}

EmulatorFixture::~EmulatorFixture()
{
    m_server->stop();
}

QList<QByteArray> EmulatorFixture::frames() const
{
    QList<QByteArray> out;
    for (const FrameLogEntry& e : m_logger->frameLog())
        out.append(e.frame);
    return out;
}

QList<QByteArray> EmulatorFixture::writes(int atLeast) const
{
    for (QDeadlineTimer deadline(5000);; QCoreApplication::processEvents(QEventLoop::AllEvents, 10)) {
        QList<QByteArray> out = frames();
        out.removeIf([](const QByteArray& f) { return quint8(f.at(0)) != 0x22 && quint8(f.at(0)) != 0xA5; });
        if (out.size() >= atLeast || deadline.hasExpired())
            return out;
    }
}

void EmulatorFixture::setUp()
{
    m_server = std::make_unique<PtyServer>(*m_logger);
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder: ") + m_dir.errorString();
        return;
    }
    if (!m_server->start()) {
        m_error = m_server->errorString();
        return;
    }
    m_alias = m_server->createAlias(aliasFolder(), m_com);
    if (m_alias.isEmpty()) {
        m_error = QStringLiteral("cannot make the link COM%1 in %2").arg(m_com).arg(aliasFolder());
        return;
    }
    m_ok = true;
}

} // namespace orvan::emulator

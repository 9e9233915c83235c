#include "link/DeviceSession.h"

#include "link/PortSearch.h"

#include <QMetaObject>

namespace orvan::link {

struct DeviceSession::Worker {
    std::unique_ptr<SerialPort> port;
    std::unique_ptr<LinkClock> clock;
    std::unique_ptr<Link> link;
    EstadoKLV estado;
};

void LinkContext::toWindow(std::function<void()> fn)
{
    session.onWindow(std::move(fn));
}

void LinkContext::message(const QString& text)
{
    DeviceSession* s = &session;
    toWindow([s, text] { Q_EMIT s->message(text); });
}

DeviceSession::DeviceSession(std::atomic<bool>& closing, Options options, QObject* parent)
    : QObject(parent), m_closing(closing), m_profile(options.profile)
{
    qRegisterMetaType<EstadoKLV>();
    qRegisterMetaType<DetectedPort>();
    qRegisterMetaType<QList<DetectedPort>>();

    m_thread.setObjectName(QStringLiteral("orvan-link-") + m_profile.form);
    m_context = new QObject;
    m_context->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_context, &QObject::deleteLater);
    m_thread.start();

    // The port is a QObject of the worker thread: it is made, used and destroyed there.
    QMetaObject::invokeMethod(
        m_context,
        [this, options = std::move(options)] {
            auto w = std::make_unique<Worker>();
            w->port = options.portFactory();
            w->clock = options.clockFactory ? options.clockFactory() : std::make_unique<SystemClock>();
            w->port->setPortName(options.device);
            w->link = std::make_unique<Link>(*w->port, *w->clock, m_closing, m_profile,
                                             [this](const QString& text) { onWindow([this, text] { Q_EMIT message(text); }); });
            m_worker = std::move(w);
        },
        Qt::QueuedConnection);
}

DeviceSession::~DeviceSession()
{
    close();
}

bool DeviceSession::post(std::function<void(LinkContext&)> job)
{
    if (m_closed)
        return false;
    bool idle = false;
    if (!m_busy.compare_exchange_strong(idle, true))
        return false;
    QMetaObject::invokeMethod(m_context, [this, job = std::move(job)] { run(job); }, Qt::QueuedConnection);
    return true;
}

void DeviceSession::run(const std::function<void(LinkContext&)>& job)
{
    LinkContext ctx{*m_worker->link, *m_worker->port, *m_worker->clock, m_worker->estado, *this};
    try {
        job(ctx);
    } catch (const RuntimeError& e) {
        // Every exchange of a logger window runs from its poll timer's tick.
        ctx.message(errorInForm(e, QStringLiteral("Timer2_Timer"), m_profile.form));
    } catch (const std::exception& e) {
        ctx.message(errorInForm(0, QString::fromLocal8Bit(e.what()), QStringLiteral("Timer2_Timer"), m_profile.form));
    }
    m_busy = false;
    onWindow([this] { Q_EMIT jobFinished(); });
}

void DeviceSession::onWindow(std::function<void()> fn)
{
    QMetaObject::invokeMethod(this, std::move(fn), Qt::QueuedConnection);
}

bool DeviceSession::search(const QString& appFolder)
{
    return post([appFolder](LinkContext& ctx) {
        // Our own open port would show as busy to the detection.
        if (ctx.port.isOpen())
            ctx.port.close();
        const QList<DetectedPort> ports = detectPorts(appFolder);
        DeviceSession* s = &ctx.session;
        ctx.toWindow([s, ports] { Q_EMIT s->portsDetected(ports); });
        const int com = ctx.link.closing() ? 0 : BuscaPuerto(ctx.link, ports).value_or(0);
        ctx.toWindow([s, com] { Q_EMIT s->searchFinished(com); });
    });
}

bool DeviceSession::poll(int gradosC)
{
    return post([gradosC](LinkContext& ctx) {
        ActualizaEstado(ctx.link, ctx.estado, gradosC);
        if (!ctx.link.closing()) {
            DeviceSession* s = &ctx.session;
            ctx.toWindow([s, estado = ctx.estado] { Q_EMIT s->statusRead(estado); });
        }
    });
}

bool DeviceSession::setDevice(const QString& device)
{
    return post([device](LinkContext& ctx) {
        if (ctx.port.isOpen())
            ctx.port.close();
        ctx.port.setPortName(device);
    });
}

void DeviceSession::close()
{
    if (m_closed)
        return;
    m_closed = true;
    m_closing = true;
    QMetaObject::invokeMethod(
        m_context,
        [this] {
            if (m_worker) {
                try {
                    if (m_worker->port->isOpen())
                        m_worker->port->close();
                } catch (const RuntimeError&) {
                    // Closing down anyway.
                }
                m_worker.reset();
            }
            QThread::currentThread()->quit();
        },
        Qt::QueuedConnection);
    m_thread.wait();
}

} // namespace orvan::link

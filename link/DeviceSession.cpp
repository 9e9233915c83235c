#include "link/DeviceSession.h"

#include "link/PortSearch.h"

#include <QMetaObject>

#include <algorithm>
#include <exception>

namespace orvan::link {

namespace {

// The job's clock: a pause ends early once the exchange is to end, so close() never waits out a
// job's fixed sleep.
class CancellableClock : public LinkClock {
public:
    CancellableClock(std::unique_ptr<LinkClock> inner, std::function<bool()> ending)
        : m_inner(std::move(inner)), m_ending(std::move(ending))
    {
    }
    qint64 nowMs() override { return m_inner->nowMs(); }
    void sleepMs(int ms) override
    {
        const qint64 until = m_inner->nowMs() + ms;
        for (qint64 left = ms; left > 0 && !m_ending(); left = until - m_inner->nowMs())
            m_inner->sleepMs(int(std::min<qint64>(left, kPollSliceMs)));
    }

private:
    std::unique_ptr<LinkClock> m_inner;
    std::function<bool()> m_ending;
};

QString describe(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e.description;
    } catch (const std::exception& e) {
        return QString::fromLocal8Bit(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected error");
    }
}

int numberOf(const std::exception_ptr& error, int otherwise)
{
    try {
        std::rethrow_exception(error);
    } catch (const RuntimeError& e) {
        return e.number;
    } catch (...) {
        return otherwise;
    }
}

} // namespace

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

DeviceSession::DeviceSession(std::atomic<bool>& windowFlag, Options options, QObject* parent)
    : DeviceSession(std::move(options), parent, &windowFlag)
{
}

DeviceSession::DeviceSession(Options options, QObject* parent) : DeviceSession(std::move(options), parent, nullptr) {}

DeviceSession::DeviceSession(Options options, QObject* parent, std::atomic<bool>* windowFlag)
    : QObject(parent), m_windowFlag(windowFlag), m_profile(options.profile)
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
            try {
                if (options.portFactory)
                    w->port = options.portFactory();
                if (!w->port)
                    throw RuntimeError(ErrInvalidPort, QStringLiteral("No serial port"));
                std::unique_ptr<LinkClock> clock =
                    options.clockFactory ? options.clockFactory() : std::make_unique<SystemClock>();
                if (!clock)
                    clock = std::make_unique<SystemClock>();
                w->clock = std::make_unique<CancellableClock>(std::move(clock), [this] { return ending(); });
                w->port->setPortName(options.device);
            } catch (...) {
                // Without a port the session can do nothing; the window hears why and closes.
                const std::exception_ptr error = std::current_exception();
                const QString text = errorInForm(numberOf(error, ErrInvalidPort), describe(error),
                                                 QStringLiteral("Form_Load"), m_profile.form);
                onWindow([this, text] { Q_EMIT message(text); });
                m_cancel = true;
                linkEnded();
                return;
            }
            w->link = std::make_unique<Link>(*w->port, *w->clock, m_cancel, m_profile,
                                             [this](const QString& text) { onWindow([this, text] { Q_EMIT message(text); }); });
            w->link->watch(m_windowFlag);
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

bool DeviceSession::ending() const
{
    return m_cancel.load() || (m_windowFlag && m_windowFlag->load());
}

void DeviceSession::run(const std::function<void(LinkContext&)>& job)
{
    if (m_worker) {
        const bool cancelledBefore = m_cancel.load();
        LinkContext ctx{*m_worker->link, *m_worker->port, *m_worker->clock, m_worker->estado, *this};
        try {
            job(ctx);
        } catch (...) {
            // Every exchange of a logger window runs from its poll timer's tick. Nothing a job
            // throws may end the worker: the window would wait for it forever.
            const std::exception_ptr error = std::current_exception();
            ctx.message(errorInForm(numberOf(error, 0), describe(error), QStringLiteral("Timer2_Timer"), m_profile.form));
        }
        // Only the link sets the token on the worker: it reported a port error.
        if (!cancelledBefore && m_cancel.load() && !m_cancelRequested.load())
            linkEnded();
    }
    m_busy = false;
    onWindow([this] { Q_EMIT jobFinished(); });
}

void DeviceSession::linkEnded()
{
    onWindow([this] {
        if (m_closed)
            return;
        if (m_windowFlag)
            *m_windowFlag = true;
        Q_EMIT linkFailed();
    });
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

bool DeviceSession::poll(Unit unit)
{
    return post([unit](LinkContext& ctx) {
        ActualizaEstado(ctx.link, ctx.estado, unit);
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
    m_cancelRequested = true;
    m_cancel = true;
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

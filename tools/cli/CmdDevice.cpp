#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"

#include "link/LoggerStatus.h"
#include "link/QtSerialPort.h"
#include "mission/DeviceCommands.h"
#include "mission/Download.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"

#include <QFileInfo>
#include <QTextStream>
#include <cstdio>
#include <unistd.h>

namespace orvan::cli {

namespace {

// A logger on the port the user named ("COM<n>" through the application folder's port aliases,
// or a device path), with the device-data window's link: four attempts per block.
class LoggerLink {
public:
    explicit LoggerLink(const Invocation& inv) : m_device(inv.portDevice())
    {
        m_port.setPortName(m_device);
        try {
            m_port.open();
        } catch (const RuntimeError& e) {
            throw Failure(QStringLiteral("cannot open ") + m_device + QStringLiteral(": ") + e.description);
        }
        m_link = std::make_unique<link::Link>(m_port, m_clock, m_closing, link::LinkProfile::frmsave(),
                                              [this](const QString& text) { m_errors.append(text); });
    }

    link::Link& link() { return *m_link; }

    // The status in the device-data window's poll order; a logger that does not answer is a failure.
    link::EstadoKLV estado(int gradosC)
    {
        link::EstadoKLV e;
        if (!link::ActualizaEstado(*m_link, e, gradosC))
            fail(QStringLiteral("no logger answers on ") + m_device);
        return e;
    }

    // One failure, one line: a port error the link reported is what went wrong, and the summary
    // that follows from it would only repeat it.
    [[noreturn]] void fail(const QString& text) const
    {
        throw Failure(m_errors.isEmpty() ? text : m_errors.first());
    }

private:
    QString m_device;
    link::QtSerialPort m_port;
    link::SystemClock m_clock;
    std::atomic<bool> m_closing{false};
    QStringList m_errors;
    std::unique_ptr<link::Link> m_link;
};

// A one-line bar on stderr, redrawn in place; nothing when stderr is not a terminal.
class ProgressLine {
public:
    explicit ProgressLine(const char* label) : m_label(label), m_on(isatty(fileno(stderr)) != 0) {}
    ~ProgressLine() { finish(); }

    void show(int value, int maximum)
    {
        if (!m_on || maximum <= 0)
            return;
        const int percent = int(qint64(std::clamp(value, 0, maximum)) * 100 / maximum);
        if (percent == m_last)
            return;
        m_last = percent;
        const int filled = percent * kWidth / 100;
        std::fprintf(stderr, "\r%s [%s%s] %3d%%", m_label, std::string(size_t(filled), '#').c_str(),
                     std::string(size_t(kWidth - filled), '.').c_str(), percent);
        std::fflush(stderr);
    }
    void finish()
    {
        if (m_on && m_last >= 0)
            std::fputc('\n', stderr);
        m_last = -1;
    }

private:
    static constexpr int kWidth = 40;
    const char* m_label;
    bool m_on;
    int m_last = -1;
};

} // namespace

int runDownload(const Invocation& inv)
{
    const QString out = inv.positional.first();
    inv.makeDefaultFolderFor(out);
    LoggerLink logger(inv);
    const link::EstadoKLV estado = logger.estado(inv.gradosC);

    // The download has two phases with bars of their own; the line shows the whole plan.
    const mission::PlanDescarga plan = mission::planDescarga(estado.NumMuestras);
    ProgressLine bar("download");
    int done = 0;
    const mission::Descarga d = mission::LeerKLV(logger.link(), estado.NumMuestras, [&](int, int) {
        bar.show(done++, int(plan.bloques.size()));
    });
    if (d.ok())
        bar.show(done, done);
    bar.finish();
    if (!d.ok())
        logger.fail(mission::mensajeDesconexion());

    records::MissionRecord record;
    record.setBytes(0, d.imagen);
    const records::FileResult written = records::GuardaArchivo(record, out);
    if (!written.ok)
        throw Failure(written.message);

    bool marked = false;
    if (!inv.has(QStringLiteral("--no-mark"))) {
        marked = mission::MarcaDescargaGuardada(logger.link(), estado);
        if (!marked)
            logger.fail(QStringLiteral("the record was written to ") + out
                        + QStringLiteral(" but the logger could not be marked as saved"));
    }

    record.LeeAuditoria();
    JsonObject json;
    json.add("file", QFileInfo(out).absoluteFilePath())
        .add("bytes", qint64(record.imagen().size()))
        .add("blocks", qint64(d.bloquesLeidos))
        .add("NumMuestras", qint64(estado.NumMuestras))
        .add("Exportador", estado.Exportador)
        .add("marked", marked);
    QTextStream(stdout) << json.text();
    return 0;
}

int runStop(const Invocation& inv)
{
    LoggerLink logger(inv);
    const link::EstadoKLV estado = logger.estado(inv.gradosC);
    if (!estado.Registrando)
        throw Failure(QStringLiteral("the logger is not recording; there is no mission to stop"));
    if (!mission::DetieneMision(logger.link(), estado))
        logger.fail(QStringLiteral("the stop could not be sent"));
    JsonObject json;
    json.add("stopped", true).add("EstadoByte", qint64(estado.EstadoByte & ~mission::kBitRegistrando));
    QTextStream(stdout) << json.text();
    return 0;
}

int runErase(const Invocation& inv)
{
    LoggerLink logger(inv);
    // A logger must answer before it is told to erase: the check afterwards needs one too.
    logger.estado(inv.gradosC);
    ProgressLine bar("erase");
    const mission::ResultadoBorrado r = mission::BorraMemoria(logger.link(), [&](int v, int m) { bar.show(v, m); });
    bar.finish();
    if (r != mission::ResultadoBorrado::Ok)
        logger.fail(mission::mensajeBorrado(r));
    JsonObject json;
    json.add("erased", true);
    QTextStream(stdout) << json.text();
    return 0;
}

} // namespace orvan::cli

#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/LoggerLink.h"

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
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    const link::EstadoKLV estado = logger.estado(inv.gradosC);

    // The download has two phases with bars of their own; the line shows the whole plan.
    const mission::DownloadPlan plan = mission::downloadPlan(estado.NumMuestras);
    ProgressLine bar("download");
    int done = 0;
    const mission::DownloadResult d = mission::LeerKLV(logger.link(), estado.NumMuestras, [&](int, int) {
        bar.show(done++, int(plan.blocks.size()));
    });
    if (d.ok())
        bar.show(done, done);
    bar.finish();
    if (!d.ok())
        logger.fail(mission::disconnectionMessage());

    records::MissionRecord record;
    record.setBytes(0, d.image);
    const records::FileResult written = records::GuardaArchivo(record, out);
    if (!written.ok)
        throw Failure(written.message);

    bool marked = false;
    if (!inv.has(QStringLiteral("--no-mark"))) {
        marked = mission::markDownloadSaved(logger.link(), estado);
        if (!marked)
            logger.fail(QStringLiteral("the record was written to ") + out
                        + QStringLiteral(" but the logger could not be marked as saved"));
    }

    record.LeeAuditoria();
    JsonObject json;
    json.add("file", QFileInfo(out).absoluteFilePath())
        .add("bytes", qint64(record.fileImage().size()))
        .add("blocks", qint64(d.blocksRead))
        .add("NumMuestras", qint64(estado.NumMuestras))
        .add("Exportador", estado.Exportador)
        .add("marked", marked);
    QTextStream(stdout) << json.text();
    return 0;
}

int runStop(const Invocation& inv)
{
    LoggerLink logger(inv, link::LinkProfile::frmsave());
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
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    // A logger must answer before it is told to erase: the check afterwards needs one too.
    logger.estado(inv.gradosC);
    ProgressLine bar("erase");
    const mission::EraseResult r = mission::BorraMemoria(logger.link(), [&](int v, int m) { bar.show(v, m); });
    bar.finish();
    if (r != mission::EraseResult::Ok)
        logger.fail(mission::eraseMessage(r));
    JsonObject json;
    json.add("erased", true);
    QTextStream(stdout) << json.text();
    return 0;
}

} // namespace orvan::cli

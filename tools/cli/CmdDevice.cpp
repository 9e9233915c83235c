#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/LoggerLink.h"
#include "tools/cli/Output.h"

#include "base/AddedTexts.h"
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
    const bool mark = !inv.has(QStringLiteral("--no-mark"));
    inv.makeDefaultFolderFor(out);
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    const link::EstadoKLV estado = logger.estado(inv.unit);
    // A recording logger goes on taking samples after the download: marking it saved would
    // invite an erase of samples no file holds. A snapshot writes nothing to it.
    if (mark && estado.Registrando)
        throw Failure(addedText(AddedText::DownloadRecording, inv.idioma));

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

    // The file is saved whatever happens now; a mark that does not read back is told, not assumed.
    if (mark && mission::markDownloadSaved(logger.link(), estado) != mission::MarkResult::Marked)
        throw Failure(mission::markFailedMessage(out, inv.idioma));

    record.LeeAuditoria();
    JsonObject json;
    json.add("file", QFileInfo(out).absoluteFilePath())
        .add("bytes", qint64(record.fileImage().size()))
        .add("blocks", qint64(d.blocksRead))
        .add("NumMuestras", qint64(estado.NumMuestras))
        .add("Exportador", estado.Exportador)
        .add("marked", mark);
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(Text::FileName), QFileInfo(out).absoluteFilePath()})
        .row({l(AddedText::SizeBytes), qint64(record.fileImage().size())})
        .row({l(AddedText::BlocksRead), d.blocksRead})
        .row({l(Text::SampleCount), estado.NumMuestras})
        .row({l(Text::ExporterName), estado.Exportador})
        .row({l(AddedText::MarkedSaved), l.flag(mark)});
    printResult(inv, json.text(), table.text());
    tellWritten(inv, out, record.fileImage().size());
    return 0;
}

int runStop(const Invocation& inv)
{
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    const link::EstadoKLV estado = logger.estado(inv.unit);
    if (!estado.Registrando)
        throw Failure(addedText(AddedText::NothingToStop, inv.idioma));
    const mission::StopResult r = mission::stopVerified(logger.link(), estado);
    if (!r.stopped())
        logger.fail(mission::stopMessage(r.outcome, inv.idioma));
    JsonObject json;
    json.add("stopped", true).add("EstadoByte", qint64(r.estadoByte));
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(AddedText::Stopped), l.flag(true)}).row({l(AddedText::StatusByte), int(r.estadoByte)});
    printResult(inv, json.text(), table.text());
    return 0;
}

int runErase(const Invocation& inv)
{
    // The window asks before it erases; a script says so with --yes.
    if (!inv.has(QStringLiteral("--yes")))
        throw UsageError(QStringLiteral("erase destroys every sample in the logger: add --yes to confirm"));
    LoggerLink logger(inv, link::LinkProfile::frmsave());
    // A logger must answer before it is told to erase: the check afterwards needs one too.
    const link::EstadoKLV estado = logger.estado(inv.unit);
    if (!inv.has(QStringLiteral("--discard-unsaved"))) {
        if (const auto refusal = mission::unsavedRefusal(estado, inv.idioma))
            throw Failure(*refusal);
    }
    ProgressLine bar("erase");
    const mission::EraseResult r = mission::BorraMemoria(logger.link(), [&](int v, int m) { bar.show(v, m); });
    bar.finish();
    if (r != mission::EraseResult::Ok)
        logger.fail(mission::eraseMessage(r, inv.idioma));
    JsonObject json;
    json.add("erased", true);
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(AddedText::Erased), l.flag(true)});
    printResult(inv, json.text(), table.text());
    return 0;
}

} // namespace orvan::cli

// The logger's side of the link chosen by the fuzzer: every frame the PC sends is answered with
// fuzzer-chosen bytes, in fuzzer-chosen pieces and after fuzzer-chosen silences, or the port
// fails. The clock moves only when the link waits, so a 300 ms time-out costs nothing. Drives
// status polls of both windows, the flag read alone and the status panel's decoding of what
// was read; then a download (device-data window) or a preparation with its verification
// (preparation window) on the same answers.
#include "fuzz/Require.h"
#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "link/Link.h"
#include "link/LoggerStatus.h"
#include "mission/LiveSummary.h"
#include "mission/Download.h"
#include "mission/ProgramaKLV.h"
#include "support/ScriptedPort.h"

#include <fuzzer/FuzzedDataProvider.h>

using orvan::fuzz::require;

using namespace orvan;

namespace {

// One answer per frame, taken from the input; once the input runs out the logger is silent.
void answer(FuzzedDataProvider& in, test::ScriptedPort& port)
{
    if (in.remaining_bytes() == 0)
        return;
    switch (in.ConsumeIntegralInRange<int>(0, 7)) {
    case 0:   // silence
        return;
    case 1:   // the port fails on the next look at the input
        port.readError = RuntimeError(link::ErrReadDevice, QStringLiteral("read failed"));
        return;
    default: {
        // Up to three pieces, each after its own silence and at its own pace.
        const int pieces = in.ConsumeIntegralInRange<int>(1, 3);
        for (int p = 0; p < pieces; ++p) {
            const qint64 delay = in.ConsumeIntegralInRange<qint64>(0, 400);
            const qint64 step = in.ConsumeIntegralInRange<qint64>(0, 12);
            const int length = in.ConsumeIntegralInRange<int>(0, 48);
            port.arrive(QByteArray::fromStdString(in.ConsumeBytesAsString(size_t(length))), delay, step);
        }
    }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static TextTable textos = [] {
        TextTable t;
        t.CargaTextos(TextTable::English);
        return t;
    }();
    FuzzedDataProvider in(data, size);
    const bool prep = in.ConsumeBool();
    const Unit unit = in.ConsumeBool() ? Unit::Celsius : Unit::Fahrenheit;

    test::LinkBench bench(prep ? link::LinkProfile::frmPrep() : link::LinkProfile::frmsave());
    bench.port.responder = [&in](const QByteArray&, test::ScriptedPort& port) { answer(in, port); };
    if (in.ConsumeIntegralInRange<int>(0, 15) == 0)
        bench.port.writeError = RuntimeError(link::ErrWriteDevice, QStringLiteral("write failed"));

    link::EstadoKLV e;
    mission::CommandAvailability before;
    const QDateTime now(QDate(2026, 12, 6), QTime(12, 0), Qt::UTC);
    for (int poll = 0; poll < 3 && !bench.link.closing(); ++poll) {
        const qint64 start = bench.clock.nowMs();
        const bool ok = link::ActualizaEstado(bench.link, e, unit);
        require(ok == e.Comunicado, "a poll reports what the snapshot says");
        // Each block read of a poll is bounded by its attempts' time-outs and drains.
        require(bench.clock.nowMs() - start <= 8 * 4 * 2 * (link::kReplyTimeoutMs + 50), "a poll ends in bounded time");
        const mission::LiveSummary rs = mission::PoneResumen(e, UnidadTexto(unit), textos, now,
                                                             prep ? mission::SummaryCopy::frmPrep
                                                                  : mission::SummaryCopy::frmsave, before);
        before = rs.availability;
        if (!ok)
            require(!rs.storeButton.value_or(false) && !rs.prepareButton.value_or(false),
                    "no command is offered without communication");
        mission::firmwareMessage(e.VerFw1, e.VerFw2, e.VerFw3);
        e.inicioMision();
        e.finMision();
    }
    if (!bench.link.closing())
        link::LeeBanderas(bench.link, e);

    if (!prep) {
        // Up to a few hundred samples keeps a run short; the block plan's arithmetic for large
        // counts is the same code.
        const qint32 count = in.ConsumeIntegralInRange<qint32>(-2, 600);
        const mission::DownloadPlan plan = mission::downloadPlan(count);
        int lastValue = -1, lastMax = -1;
        const mission::DownloadResult d = mission::LeerKLV(bench.link, count, [&](int v, int m) {
            lastValue = v;
            lastMax = m;
        });
        require(d.image.size() == records::kImageSize || d.outcome == mission::DownloadOutcome::Cancelled,
                "a download makes a whole image");
        if (d.ok()) {
            require(d.failedBlock == -1 && d.blocksRead == plan.blocks.size(), "an ok download read every block");
            require(lastValue <= lastMax, "progress stays within its bar");
        } else if (d.outcome == mission::DownloadOutcome::Disconnected) {
            require(!mission::disconnectionMessage().isEmpty(), "a lost logger is said");
        }
    } else {
        mission::MissionPlan plan;
        plan.interval = in.ConsumeIntegralInRange<int>(0, 61);
        plan.rawLimInf = in.ConsumeIntegralInRange<int>(0, 255);
        plan.rawLimSup = in.ConsumeIntegralInRange<int>(0, 255);
        plan.start = mission::StartMode(in.ConsumeIntegralInRange<int>(0, 2));
        plan.startTime = now.addSecs(in.ConsumeIntegralInRange<qint64>(-3600, 70 * 86400));
        plan.delay = in.ConsumeIntegralInRange<int>(0, 70000);
        plan.circular = in.ConsumeBool();
        plan.exporter = QString::fromLatin1(QByteArray::fromStdString(in.ConsumeRandomLengthString(16)));
        plan.carrier = QString::fromLatin1(QByteArray::fromStdString(in.ConsumeRandomLengthString(16)));
        int reports = 0;
        mission::ProgramaKLV programa(bench.link, [&](int) { ++reports; });
        const mission::PrepResult r = programa.run(plan, now);
        require(!r.verified() || r.differences.isEmpty(), "a programmed logger read back as written");
        require(mission::resultMessage(r, 1).isEmpty() == r.verified(), "every result but success has a message");
    }
    const link::FramingCounts& counts = bench.link.framingCounts();
    require(counts.accepted >= 0 && counts.runOn >= 0 && counts.leftover >= 0, "framing counts");
    return 0;
}

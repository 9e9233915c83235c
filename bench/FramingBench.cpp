// What the framing checks of a block reply cost in the normal case: a sound logger replying at
// 9600 baud on a pseudo-terminal. Arg 0 is the bare exchange (write the request, read until 34
// bytes), arg 1 the link's lone block read with its checks (the settle after every reply), arg 2
// the same blocks as one run of reads, as the download reads its plan (each reply settled by the
// next request's quiet start, only the last by a settle of its own); the difference per block is
// the cost, to be set against a block's wire time (3 + 34 bytes at 1.042 ms, 38.5 ms). The CPU side of
// the checks alone is measured on an in-memory port whose clock does not really wait.

#include "link/Link.h"
#include "link/QtSerialPort.h"
#include "support/DeviceLink.h"
#include "support/ScriptedPort.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <benchmark/benchmark.h>

using namespace orvan;
using namespace orvan::emulator;

namespace {

constexpr int kBlocks = 64;
constexpr double kWireMsPerBlock = (3 + link::kReplySize) * link::kByteUs / 1000.0;

bool bareBlockRead(QSerialPort& port, int block)
{
    port.write(link::Link::frameLeeBloque(block));
    port.waitForBytesWritten(1000);
    QByteArray reply;
    QElapsedTimer t;
    t.start();
    while (reply.size() < link::kReplySize && t.elapsed() < link::kReplyTimeoutMs) {
        port.waitForReadyRead(10);
        reply += port.readAll();
    }
    return reply.size() == link::kReplySize;
}

} // namespace

static void BM_PacedBlockRead(benchmark::State& state)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    if (!emu.ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    emu.server().setPaced(true);
    const bool framed = state.range(0) != 0;
    const bool asRun = state.range(0) == 2;
    QList<int> run;
    for (int i = 0; i < kBlocks; ++i)
        run.append(i);

    QSerialPort bare(emu.devicePath());
    test::DeviceLink line(emu.devicePath(), link::LinkProfile::frmsave());
    link::Link& lnk = line.link;
    if (!framed && !bare.open(QIODevice::ReadWrite)) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    qint64 blocks = 0, failed = 0;
    QElapsedTimer wall;
    qint64 wallMs = 0;
    for (auto _ : state) {
        wall.start();
        if (asRun) {
            int read = 0;
            lnk.LeeBloques(run, {}, [&read](int, const link::Reply&) { ++read; });
            blocks += kBlocks;
            failed += kBlocks - read;
        } else {
            for (int i = 0; i < kBlocks; ++i, ++blocks)
                failed += framed ? !lnk.LeeBloque(i).ok() : !bareBlockRead(bare, i);
        }
        wallMs += wall.elapsed();
    }
    state.counters["ms_per_block"] = double(wallMs) / double(blocks);
    state.counters["wire_ms_per_block"] = kWireMsPerBlock;
    state.counters["over_wire_pct"] = 100.0 * (double(wallMs) / double(blocks) / kWireMsPerBlock - 1.0);
    state.counters["failed"] = double(failed);
    if (framed) {
        const link::FramingCounts& n = lnk.framingCounts();
        state.counters["settle_ms_per_block"] = double(n.settleMs) / std::max(1, n.accepted);
        state.counters["refused"] = double(n.runOn + n.leftover + n.timedOut + n.revoked);
    }
}
BENCHMARK(BM_PacedBlockRead)->Arg(0)->Arg(1)->Arg(2)->Iterations(2)->Unit(benchmark::kMillisecond);

// The checks' own computing per reply (the settle wait costs no real time on this clock).
static void BM_FramingCheckCpu(benchmark::State& state)
{
    test::LinkBench b(link::LinkProfile::frmsave());
    test::FakeLogger logger;
    logger.attach(b.port);
    int block = 0;
    for (auto _ : state) {
        const link::Reply r = b.link.LeeBloque(block++ % link::kBlockCount);
        if (!r.ok()) {
            state.SkipWithError("refused a sound reply");
            return;
        }
        benchmark::DoNotOptimize(r.data.constData());
    }
}
BENCHMARK(BM_FramingCheckCpu);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

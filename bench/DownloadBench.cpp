// A whole download (24576 samples, the longest block plan) through the real link: QSerialPort,
// the pseudo-terminal and the emulated logger. Paced at 9600 baud it is compared with the wire
// time of the same frames; unpaced it shows what the link itself costs per block.
//
//   build/bin/bench_download --benchmark_counters_tabular=true

#include "link/Link.h"
#include "link/QtSerialPort.h"
#include "support/DeviceLink.h"
#include "mission/Download.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <benchmark/benchmark.h>

using namespace orvan;
using namespace orvan::emulator;

static void BM_FullDownload(benchmark::State& state)
{
    const bool paced = state.range(0) != 0;
    ScenarioOptions o;
    o.samples = 24576;
    o.interval = 1;
    EmulatorFixture emu(ScenarioKind::Finished, o);
    if (!emu.ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    emu.server().setPaced(paced);

    test::DeviceLink line(emu.devicePath(), link::LinkProfile::frmsave());
    link::Link& lnk = line.link;

    double wall = 0, wire = 0;
    int blocks = 0;
    for (auto _ : state) {
        emu.logger().clearFrameLog();
        QElapsedTimer t;
        t.start();
        const mission::DownloadResult d = mission::LeerKLV(lnk, 24576);
        wall += t.nsecsElapsed() / 1e9;
        if (!d.ok()) {
            state.SkipWithError("download failed");
            return;
        }
        blocks += d.blocksRead;
        qint64 bytes = 0;
        for (const FrameLogEntry& e : emu.logger().frameLog())
            bytes += e.frame.size() + e.replyBytes;
        // Ten bits a byte (start, eight data, stop) at 9600 baud.
        wire += bytes * 10.0 / 9600.0;
    }
    state.counters["blocks"] = blocks / double(state.iterations());
    state.counters["wall_s"] = wall / state.iterations();
    state.counters["wire_s"] = wire / state.iterations();
    state.counters["wall_over_wire"] = wall / wire;
    state.counters["ms_per_block"] = wall * 1000.0 / blocks;
}
BENCHMARK(BM_FullDownload)->ArgName("paced")->Arg(0)->Arg(1)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

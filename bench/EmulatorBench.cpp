// How fast the emulator answers: the model alone, the frame splitter, and a whole memory read
// through the pseudo-terminal and QSerialPort, the path the application's downloads take.

#include "tools/emulator/EmulatorFixture.h"
#include "tools/emulator/FrameSplitter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <benchmark/benchmark.h>

using namespace orvan::emulator;

static void BM_LoggerBlockRead(benchmark::State& state)
{
    auto logger = Scenarios::finished();
    int block = 0;
    for (auto _ : state) {
        const int address = (block++ % 1024) * 32;
        const QByteArray frame = QByteArray(1, char(0x33)) + char(address >> 8) + char(address & 0xFF);
        benchmark::DoNotOptimize(logger->handleFrame(frame));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_LoggerBlockRead);

static void BM_SplitWriteBack(benchmark::State& state)
{
    QByteArray burst;
    for (int i = 0; i < 32; ++i)
        burst += QByteArray(1, char(0x22)) + char(64 + i) + char('A' + i % 26);
    for (auto _ : state)
        benchmark::DoNotOptimize(FrameSplitter::split(burst));
    state.SetBytesProcessed(state.iterations() * burst.size());
}
BENCHMARK(BM_SplitWriteBack);

static void BM_CircularMissionBuild(benchmark::State& state)
{
    ScenarioOptions o;
    o.interval = 1;
    o.samples = 30000;
    for (auto _ : state)
        benchmark::DoNotOptimize(Scenarios::circular(o));
}
BENCHMARK(BM_CircularMissionBuild)->Unit(benchmark::kMillisecond);

// All 1024 blocks, one exchange at a time; arg 1 paces the replies at 9600 baud.
static void BM_PtyFullMemoryRead(benchmark::State& state)
{
    EmulatorFixture emu(ScenarioKind::Finished);
    if (!emu.ok()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    emu.server().setPaced(state.range(0) != 0);
    QSerialPort port(emu.devicePath());
    port.setBaudRate(QSerialPort::Baud9600);
    if (!port.open(QIODevice::ReadWrite)) {
        state.SkipWithError("cannot open the pseudo-terminal");
        return;
    }
    for (auto _ : state) {
        for (int block = 0; block < 1024; ++block) {
            const int address = block * 32;
            port.write(QByteArray(1, char(0x33)) + char(address >> 8) + char(address & 0xFF));
            port.waitForBytesWritten(1000);
            QByteArray reply;
            QElapsedTimer t;
            t.start();
            while (reply.size() < 34 && t.elapsed() < 2000) {
                port.waitForReadyRead(20);
                reply += port.readAll();
            }
            if (reply.size() != 34) {
                state.SkipWithError("short reply");
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * 1024);
}
BENCHMARK(BM_PtyFullMemoryRead)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

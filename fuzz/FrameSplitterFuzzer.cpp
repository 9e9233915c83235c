// The emulator's frame splitter on any chunk of bytes from the PC.
#include "fuzz/Require.h"
#include "tools/emulator/FrameSplitter.h"

using orvan::fuzz::require;

using orvan::emulator::FrameSplitter;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray chunk(reinterpret_cast<const char*>(data), int(size));
    const QList<QByteArray> frames = FrameSplitter::split(chunk);
    // Every frame is a piece of the chunk, in the chunk's order, and no piece is used twice.
    int pos = 0;
    for (const QByteArray& frame : frames) {
        require(FrameSplitter::isFrame(frame), "every piece is a frame the logger knows");
        const int at = chunk.indexOf(frame, pos);
        require(at >= 0, "a frame is bytes of the chunk, in order");
        pos = at + frame.size();
    }
    if (FrameSplitter::isFrame(chunk))
        require(frames.size() == 1 && frames.first() == chunk, "a whole frame stays whole");
    return 0;
}

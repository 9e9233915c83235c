#pragma once
// Splits the bytes that arrived from the PC into frames. The PC writes each frame in one write
// and waits or pauses between frames, so the server normally hands over one frame per silence
// gap. Back-to-back frames still happen (the identification write-back sends 32 short writes
// without pauses), and then the frame boundaries must come from the bytes alone.
//
// The rule for such a chunk:
//  1. A chunk that is one whole frame is that frame (0x22 with 3 bytes is the short write, with 4
//     bytes the long one).
//  2. Otherwise the chunk is cut so that every byte belongs to a frame: 0x33 takes 3 bytes, 0xEA
//     and 0xA5 one, 0x22 four (address high byte 0..0x7F) or three. Where both fit, a write takes
//     the length of the write before it in the chunk (runs are all short or all long), the first
//     write the long form. A cut is accepted only if the rest of the chunk can be cut too.
//  3. When no such cut exists (noise, a lost byte), frames are taken greedily by the same
//     preferences and bytes that start no frame are dropped one at a time until one does.
// An incomplete frame at the end of a chunk is dropped.

#include <QByteArray>
#include <QList>

namespace orvan::emulator {

class FrameSplitter {
public:
    static QList<QByteArray> split(const QByteArray& chunk);
    // True when bytes is exactly one frame the logger knows.
    static bool isFrame(const QByteArray& bytes);
};

} // namespace orvan::emulator

// Cutting what arrived in one piece into the PC's frames.

#include "tools/emulator/FrameSplitter.h"

#include <QStringList>
#include <gtest/gtest.h>

using orvan::emulator::FrameSplitter;

TEST(EmulatorFrameSplitter, CutsChunksIntoFrames)
{
    const struct {
        const char* name;
        const char* chunk;
        const char* frames;
    } cases[] = {
        {"reads back to back", "330000330100", "330000|330100"},
        {"erase sequence", "22010040a5", "22010040|a5"},
        {"identification write-back", "224041224142224243", "224041|224142|224243"},
        {"short writes whose values look like commands", "2240222241332242ea", "224022|224133|2242ea"},
        {"short write then read", "224041330040", "224041|330040"},
        {"noise before a frame", "ff330000", "330000"},
        {"incomplete frame at the end", "3300003301", "330000"},
    };
    for (const auto& c : cases) {
        QStringList parts;
        for (const QByteArray& f : FrameSplitter::split(QByteArray::fromHex(c.chunk)))
            parts << QString::fromLatin1(f.toHex());
        EXPECT_EQ(parts.join(QLatin1Char('|')), QString::fromLatin1(c.frames)) << c.name;
    }
}

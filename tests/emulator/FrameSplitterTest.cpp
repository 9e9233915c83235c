// Cutting what arrived in one piece into the PC's frames.

#include "tools/emulator/FrameSplitter.h"

#include <QStringList>
#include <gtest/gtest.h>

using orvan::emulator::FrameSplitter;

namespace {

QByteArray hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text));
}

QString joined(const QList<QByteArray>& frames)
{
    QStringList parts;
    for (const QByteArray& f : frames)
        parts << QString::fromLatin1(f.toHex());
    return parts.join(QLatin1Char('|'));
}

} // namespace

TEST(EmulatorFrameSplitter, CutsChunksIntoFrames)
{
    struct Case {
        const char* name;
        const char* chunk;
        const char* frames;
    };
    const Case cases[] = {
        {"block read", "330000", "330000"},
        {"long write", "22010220", "22010220"},
        {"short write", "224041", "224041"},
        {"probe", "ea", "ea"},
        {"erase trigger", "a5", "a5"},
        {"reads back to back", "330000330100", "330000|330100"},
        {"long writes back to back", "2201022022010040", "22010220|22010040"},
        {"erase sequence", "22010040a5", "22010040|a5"},
        {"identification write-back", "224041224142224243", "224041|224142|224243"},
        {"short writes whose values look like commands", "224022224133224 2ea", "224022|224133|2242ea"},
        {"short write then read", "224041330040", "224041|330040"},
        {"probe then read", "ea330000", "ea|330000"},
        {"noise before a frame", "ff330000", "330000"},
        {"incomplete frame at the end", "3300003301", "330000"},
        {"nothing known", "ff00", ""},
    };
    for (const Case& c : cases) {
        QByteArray chunk = QByteArray(c.chunk).replace(' ', "");
        EXPECT_EQ(joined(FrameSplitter::split(hex(chunk.constData()))), QString::fromLatin1(c.frames)) << c.name;
    }
}

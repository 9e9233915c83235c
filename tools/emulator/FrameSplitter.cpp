#include "tools/emulator/FrameSplitter.h"

#include <vector>

namespace orvan::emulator {

namespace {

constexpr quint8 kRead = 0x33;
constexpr quint8 kWrite = 0x22;
constexpr quint8 kProbe = 0xEA;
constexpr quint8 kErase = 0xA5;

quint8 byteAt(const QByteArray& b, int i)
{
    return quint8(b[i]);
}

// Whether a frame of this length can start at i.
bool fits(const QByteArray& b, int i, int len)
{
    if (i + len > b.size())
        return false;
    switch (byteAt(b, i)) {
    case kRead:
        return len == 3 && byteAt(b, i + 1) <= 0x7F;
    case kWrite:
        return (len == 4 && byteAt(b, i + 1) <= 0x7F) || len == 3;
    case kProbe:
    case kErase:
        return len == 1;
    default:
        return false;
    }
}

// Frame lengths to try at i, most likely first.
std::vector<int> candidates(const QByteArray& b, int i, int lastWrite)
{
    switch (byteAt(b, i)) {
    case kRead:
        return {3};
    case kWrite:
        return lastWrite == 3 ? std::vector<int>{3, 4} : std::vector<int>{4, 3};
    case kProbe:
    case kErase:
        return {1};
    default:
        return {};
    }
}

} // namespace

bool FrameSplitter::isFrame(const QByteArray& bytes)
{
    return !bytes.isEmpty() && fits(bytes, 0, int(bytes.size()));
}

QList<QByteArray> FrameSplitter::split(const QByteArray& chunk)
{
    if (chunk.isEmpty())
        return {};
    if (isFrame(chunk))
        return {chunk};

    const int n = int(chunk.size());
    // whole[i]: the bytes from i to the end can be cut into frames.
    std::vector<char> whole(size_t(n) + 1, 0);
    whole[size_t(n)] = 1;
    for (int i = n - 1; i >= 0; --i) {
        for (int len : {1, 3, 4}) {
            if (fits(chunk, i, len) && whole[size_t(i + len)]) {
                whole[size_t(i)] = 1;
                break;
            }
        }
    }

    QList<QByteArray> frames;
    int lastWrite = 0;
    int i = 0;
    while (i < n) {
        int taken = 0;
        for (int len : candidates(chunk, i, lastWrite)) {
            if (fits(chunk, i, len) && (!whole[0] || whole[size_t(i + len)])) {
                taken = len;
                break;
            }
        }
        if (taken == 0) {
            ++i;   // no frame starts here: drop the byte
            continue;
        }
        if (byteAt(chunk, i) == kWrite)
            lastWrite = taken;
        frames.append(chunk.mid(i, taken));
        i += taken;
    }
    return frames;
}

} // namespace orvan::emulator

#pragma once
// A link clock for window tests: real time for reply time-outs; a fixed pause moves it at once.

#include "link/LinkClock.h"

#include <algorithm>
#include <atomic>

namespace orvan::test {

class NoPauses : public link::SystemClock {
public:
    qint64 nowMs() override { return SystemClock::nowMs() + m_skipped; }
    void sleepMs(int ms) override { m_skipped += std::max(ms, 0); }

private:
    std::atomic<qint64> m_skipped{0};
};

} // namespace orvan::test

#pragma once
// Time as the link measures it: reply time-outs and fixed pauses between frames. Tests swap in
// a clock that only moves when asked, so time-outs are checked without waiting for real.

#include <QElapsedTimer>
#include <QThread>
#include <QtGlobal>

namespace orvan::link {

class LinkClock {
public:
    virtual ~LinkClock() = default;
    virtual qint64 nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

class SystemClock : public LinkClock {
public:
    SystemClock() { m_timer.start(); }
    qint64 nowMs() override { return m_timer.elapsed(); }
    void sleepMs(int ms) override
    {
        if (ms > 0)
            QThread::msleep(ulong(ms));
    }

private:
    QElapsedTimer m_timer;
};

// Moves only when slept on or advanced; a port built on it advances it while waiting for input.
class ManualClock : public LinkClock {
public:
    qint64 nowMs() override { return m_now; }
    void sleepMs(int ms) override { m_now += ms > 0 ? ms : 0; }
    void advance(qint64 ms) { m_now += ms; }

private:
    qint64 m_now = 0;
};

} // namespace orvan::link

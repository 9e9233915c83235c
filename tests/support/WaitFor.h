#pragma once
// Processes events, deferred deletions included, until the condition holds or a generous deadline
// passes: no fixed sleeps racing against timers.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <functional>

namespace orvan::test {

inline bool waitFor(const std::function<bool()>& done, int deadlineMs = 15000)
{
    QElapsedTimer t;
    for (t.start(); !done(); QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete)) {
        if (t.elapsed() > deadlineMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

} // namespace orvan::test

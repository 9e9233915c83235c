#pragma once
// Processes events (deferred deletions too) until the condition holds; the deadline is only a guard.

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

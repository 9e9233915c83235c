#pragma once
// A message sink that behaves like the application's: each message waits in a real modal box,
// whose nested event loop runs the windows' timers and the link's signals, until a timer closes
// it. With holdMs at 0 it only records.

#include "base/MessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace orvan::test {

class NestedLoopSink : public RecordingSink {
public:
    void show(const QString& text) override
    {
        RecordingSink::show(text);
        if (holdMs <= 0)
            return;
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("test"), text, QMessageBox::Ok, QApplication::activeWindow());
        QTimer::singleShot(holdMs, &box, &QMessageBox::accept);
        box.exec();
        ++boxesShown;
    }
    // Longer than the device windows' 500 ms poll, so at least one tick runs inside each box.
    int holdMs = 0;
    int boxesShown = 0;
};

} // namespace orvan::test

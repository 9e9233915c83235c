#pragma once
// Acts on a modal dialog that a window test's click will open and wait in.

#include <QApplication>
#include <QTimer>
#include <functional>

namespace orvan::test {

// Acts on the next modal dialog of that kind as soon as it is shown.
template <class Dialog>
void whenModal(std::function<void(Dialog*)> act)
{
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto* d = qobject_cast<Dialog*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(d);
        }
    });
    timer->start();
}

} // namespace orvan::test

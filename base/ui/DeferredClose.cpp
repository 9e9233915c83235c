#include "base/ui/DeferredClose.h"

#include <QMdiSubWindow>
#include <QMetaObject>

namespace orvan::ui {

void DeferredClose::request()
{
    if (m_pending)
        return;
    m_pending = true;
    if (!held())
        closeWhenFree();
}

void DeferredClose::release()
{
    if (--m_holds == 0 && m_pending)
        closeWhenFree();
}

void DeferredClose::closeWhenFree()
{
    if (!m_window)
        return;
    // Queued, so that the close never runs inside the caller, who is a handler of this window
    // or of its link; a handler that took hold again meanwhile closes it when it lets go.
    QMetaObject::invokeMethod(
        m_window,
        [this] {
            if (held() || !m_window)
                return;
            QWidget* window = m_window;
            if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
                frame->close();
            else
                window->close();
        },
        Qt::QueuedConnection);
}

} // namespace orvan::ui

#pragma once
// Keeps a window alive while one of its handlers is on the stack.
//
// A handler that shows a modal box (or a dialog, or yields to the event loop) runs a nested
// event loop, and that loop runs everything else: the window's own poll timer, the link's
// failure, a queued close. Closing the window from in there would delete it under the handler,
// which then goes on with a deleted window. So every such handler holds the window, a close
// requested meanwhile waits, and the window closes (with its frame in the document area) through
// a queued call once nothing holds it.

#include <QPointer>
#include <QWidget>

namespace orvan::ui {

class DeferredClose {
public:
    explicit DeferredClose(QWidget* window) : m_window(window) {}
    DeferredClose(const DeferredClose&) = delete;
    DeferredClose& operator=(const DeferredClose&) = delete;

    // Held for as long as it lives.
    class Hold {
    public:
        explicit Hold(DeferredClose& owner) : m_owner(owner) { ++m_owner.m_holds; }
        ~Hold() { m_owner.release(); }
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        DeferredClose& m_owner;
    };

    // A handler of the window is on the stack: the window must not go now.
    bool held() const { return m_holds > 0; }
    // Closes the window through a queued call, once nothing holds it.
    void request();
    // A close was requested and has not happened yet.
    bool pending() const { return m_pending; }

private:
    void release();
    void closeWhenFree();

    QPointer<QWidget> m_window;
    int m_holds = 0;
    bool m_pending = false;
};

} // namespace orvan::ui

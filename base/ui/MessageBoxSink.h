#pragma once
// The desktop application's message sink: a modal message box with only an OK button, titled
// with the application's name, over the main window.

#include "base/MessageSink.h"

#include <QPointer>
#include <QWidget>

namespace orvan::ui {

class MessageBoxSink : public MessageSink {
public:
    explicit MessageBoxSink(QWidget* window = nullptr) : m_window(window) {}

    // The window the boxes are centred on; it may be set after the sink is made.
    void setWindow(QWidget* window) { m_window = window; }

    void show(const QString& text) override;

    static QString title();

private:
    QPointer<QWidget> m_window;
};

} // namespace orvan::ui

#pragma once
// Where the logic sends the messages a user must acknowledge. The desktop application shows
// them in a message box with an OK button; the command-line tool prints them; tests record them.

#include <QString>
#include <QStringList>

namespace orvan {

class MessageSink {
public:
    virtual ~MessageSink() = default;
    virtual void show(const QString& text) = 0;
};

// Keeps every message in order; for tests and for the command-line tool.
class RecordingSink : public MessageSink {
public:
    void show(const QString& text) override { messages.append(text); }
    QStringList messages;
};

} // namespace orvan

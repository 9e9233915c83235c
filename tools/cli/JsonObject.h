#pragma once
// One JSON object written with its keys in the order they are added: the command-line output
// reads like the record and the status panel it describes, which QJsonObject's sorted keys would not.

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace orvan::cli {

class JsonObject {
public:
    JsonObject& add(const char* key, qint64 value);
    JsonObject& add(const char* key, bool value);
    JsonObject& add(const char* key, const QString& value);
    // "YYYY-MM-DDTHH:MM", or null for an invalid date.
    JsonObject& addDate(const char* key, const QDateTime& value);
    JsonObject& add(const char* key, const QStringList& values);
    JsonObject& add(const char* key, const QList<int>& values);

    // The object on several lines, ending with a line break.
    QString text() const;

    static QString quoted(const QString& s);

private:
    JsonObject& raw(const char* key, const QString& json);
    QStringList m_members;
};

} // namespace orvan::cli

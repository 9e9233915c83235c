#include "tools/cli/JsonObject.h"

namespace orvan::cli {

QString JsonObject::quoted(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (const QChar ch : s) {
        switch (ch.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (ch.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(ch.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += ch;
        }
    }
    return out + QLatin1Char('"');
}

JsonObject& JsonObject::raw(const char* key, const QString& json)
{
    m_members.append(QStringLiteral("\"%1\": %2").arg(QLatin1String(key), json));
    return *this;
}

JsonObject& JsonObject::add(const char* key, qint64 value)
{
    return raw(key, QString::number(value));
}

JsonObject& JsonObject::add(const char* key, bool value)
{
    return raw(key, value ? QStringLiteral("true") : QStringLiteral("false"));
}

JsonObject& JsonObject::add(const char* key, const QString& value)
{
    return raw(key, quoted(value));
}

JsonObject& JsonObject::addDate(const char* key, const QDateTime& value)
{
    if (!value.isValid())
        return raw(key, QStringLiteral("null"));
    return add(key, value.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")));
}

JsonObject& JsonObject::add(const char* key, const QStringList& values)
{
    QStringList items;
    for (const QString& v : values)
        items << quoted(v);
    return raw(key, QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']'));
}

JsonObject& JsonObject::add(const char* key, const QList<int>& values)
{
    QStringList items;
    for (int v : values)
        items << QString::number(v);
    return raw(key, QLatin1Char('[') + items.join(QStringLiteral(", ")) + QLatin1Char(']'));
}

QString JsonObject::text() const
{
    return QStringLiteral("{\n  ") + m_members.join(QStringLiteral(",\n  ")) + QStringLiteral("\n}\n");
}

} // namespace orvan::cli

#pragma once
// Small file helpers for tests that check what a failed operation left on disk.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>
#include <sys/stat.h>

namespace orvan::test {

// The whole file, or "<missing>" when it cannot be read.
inline QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline void setMode(const QString& path, mode_t mode)
{
    ::chmod(path.toLocal8Bit().constData(), mode);
}

// Every name in the folder, hidden ones (a temporary file left behind) included.
inline QStringList everyName(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace orvan::test

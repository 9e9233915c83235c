#pragma once
// Small helpers to build record images and files for the record tests.

#include "records/MissionRecord.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>
#include <utility>

namespace orvan::records::testdata {

// A record whose image holds the given bytes at the given addresses, zero elsewhere.
inline MissionRecord recordWith(std::initializer_list<std::pair<int, int>> bytes)
{
    MissionRecord r;
    for (const auto& [address, value] : bytes)
        r.setByte(address, quint8(value));
    return r;
}

inline void putSampleCount(MissionRecord& r, int n)
{
    r.setByte(26, quint8(n & 0xFF));
    r.setByte(27, quint8((n >> 8) & 0xFF));
    r.setByte(28, quint8((n >> 16) & 0xFF));
}

// Preparation stamp as the logger stores it: BCD minute, hour, day, month, year - 2000.
inline void putStamp(MissionRecord& r, int minute, int hour, int day, int month, int year2)
{
    const auto bcd = [](int v) { return char((v / 10) * 16 + v % 10); };
    r.setByte(21, quint8(bcd(minute)));
    r.setByte(22, quint8(bcd(hour)));
    r.setByte(23, quint8(bcd(day)));
    r.setByte(24, quint8(bcd(month)));
    r.setByte(25, quint8(bcd(year2)));
}

inline bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

inline QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QDateTime utc(int y, int mo, int d, int h = 0, int mi = 0)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

} // namespace orvan::records::testdata

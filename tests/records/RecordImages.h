#pragma once
// Small helpers to build record images and files for the record tests.

#include "records/MissionRecord.h"
#include "support/Files.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <initializer_list>
#include <utility>

namespace orvan::records::testdata {

using orvan::test::writeFile;

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
    for (int i = 0; i < 3; ++i)
        r.setByte(26 + i, quint8((n >> (8 * i)) & 0xFF));
}

// Preparation stamp as the logger stores it: BCD minute, hour, day, month, year - 2000.
inline void putStamp(MissionRecord& r, int minute, int hour, int day, int month, int year2)
{
    int address = 21;
    for (const int v : {minute, hour, day, month, year2})
        r.setByte(address++, quint8((v / 10) * 16 + v % 10));
}

// The whole file; empty when it cannot be read.
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

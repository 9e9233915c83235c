#pragma once
// The alarm list of a record against the samples its logger took (every sample of the mission).

#include "support/ImageTables.h"

#include "base/Encodings.h"
#include "records/MissionRecord.h"
#include "views/AlarmList.h"

#include <QLocale>
#include <algorithm>
#include <functional>

namespace orvan::test {

// Rows 1..10 and 11..20 are the first ten low and high crossings of `taken`: each dated `when`(k) of
// its sample k, with that sample's temperature unless a circular memory overwrote it (counted and
// returned); the rows after them are empty.
inline int expectAlarmRowsAreCrossings(const records::MissionRecord& r, const QByteArray& taken,
                                       const std::function<QDateTime(qint64)>& when)
{
    const Crossings c = crossingsOf(taken, r.campos.LoThreshold, r.campos.HiThreshold);
    const auto rows = views::MuestraAlarmas(views::CargaAlarmas(r, Unit::Celsius), QLocale::c());
    // A circular memory keeps the newest samples; a straight mission stops when it is full.
    const qint64 firstHeld = std::max<qint64>(0, qint64(taken.size()) - records::kCapacity);
    int overwritten = 0;
    for (const auto& [first, crossings] : {std::pair{1, &c.low}, std::pair{11, &c.high}}) {
        for (int j = 0; j < 10; ++j) {
            const views::AlarmRow& row = rows[size_t(first + j)];
            const bool stored = size_t(j) < crossings->size();
            EXPECT_EQ(row.filled, stored) << "row " << first + j;
            if (!row.filled || !stored)
                continue;
            const qint64 k = (*crossings)[size_t(j)];
            EXPECT_EQ(row.date, when(k)) << "row " << first + j << ", sample " << k;
            const bool held = k >= firstHeld;
            EXPECT_EQ(row.hasTemp, held) << "row " << first + j << ", sample " << k;
            if (held)
                EXPECT_EQ(row.temp, float(RawAGrados(quint8(taken[int(k)]), Unit::Celsius))) << "sample " << k;
            else
                EXPECT_TRUE(row.tempText.isEmpty()) << "sample " << k;
            overwritten += !held;
        }
    }
    return overwritten;
}

} // namespace orvan::test

// The preparation's arithmetic: what a duration or an interval turns into, the limit lists, the
// start modes and the write table.

#include "mission/PrepPlan.h"
#include "base/Encodings.h"

#include <gtest/gtest.h>

using namespace orvan::mission;

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(20, 30, 15));

} // namespace

TEST(PrepPlan, DurationsAndIntervalsGiveTheCoveredTime)
{
    struct Case { int days; int interval; const char* text; };
    for (const Case& c : {Case{64, 4, "68 d  06 h"}, Case{1, 1, "17 d  01 h"}, Case{360, 22, "375 d  11 h"},
                          Case{30, 2, "34 d  03 h"}, Case{17, 1, "17 d  01 h"}, Case{18, 2, "34 d  03 h"}}) {
        SCOPED_TRACE(c.days);
        EXPECT_EQ(intervalForDays(c.days), c.interval);
        EXPECT_EQ(durationText(c.interval), QString::fromLatin1(c.text));
    }
    EXPECT_EQ(durationText(15), QStringLiteral("256 d  00 h"));
    EXPECT_EQ(intervalText(4), QStringLiteral("4 min."));
    // Every listed duration fits an interval the logger takes.
    for (int d : durationDays())
        EXPECT_LE(intervalForDays(d), 60) << d;
}

TEST(PrepPlan, ChoiceLists)
{
    const QList<int> d = durationDays();
    EXPECT_EQ(d.size(), 15 + 6 + 3 + 9);
    EXPECT_EQ(d.mid(14, 4), (QList<int>{15, 20, 25, 30}));
    EXPECT_EQ(d.mid(20, 4), (QList<int>{45, 60, 75, 90}));
    EXPECT_EQ(d.last(), 360);
    EXPECT_EQ(intervals().size(), 60);

    const QList<int> c = limitList(orvan::Unit::Celsius);
    ASSERT_EQ(c.size(), 126);
    EXPECT_EQ(c.first(), -40);
    EXPECT_EQ(c[1], -39);
    EXPECT_EQ(c.last(), 85);

    // Fahrenheit: steps of 1.8 degrees to the nearest whole number.
    const QList<int> f = limitList(orvan::Unit::Fahrenheit);
    ASSERT_EQ(f.size(), 126);
    EXPECT_EQ(f.mid(0, 7), (QList<int>{-40, -38, -36, -35, -33, -31, -29}));
    EXPECT_EQ(f.last(), 185);
    // Each offered limit is written as the raw value it came from.
    for (int raw = 0; raw <= 250; raw += 2) {
        EXPECT_EQ(orvan::GradosARaw(c[raw / 2], orvan::Unit::Celsius), raw);
        EXPECT_EQ(orvan::GradosARaw(f[raw / 2], orvan::Unit::Fahrenheit), raw);
    }
}

TEST(PrepPlan, AcceptNeedsAnIntervalAndAStartWithin45Days)
{
    EXPECT_FALSE(DatosPrepOk(true, StartMode::Button, 0, 0).ok);
    EXPECT_TRUE(DatosPrepOk(true, StartMode::Button, 0, 4).ok);
    EXPECT_FALSE(DatosPrepOk(false, StartMode::Button, 0, 4).ok);
    const AcceptState far = DatosPrepOk(true, StartMode::SetTime, kMaxStartMinutes + 1, 4);
    EXPECT_FALSE(far.ok);
    EXPECT_EQ(far.imgClock, 13);
    const AcceptState edge = DatosPrepOk(true, StartMode::SetTime, kMaxStartMinutes, 4);
    EXPECT_TRUE(edge.ok);
    EXPECT_EQ(edge.imgClock, 14);

    EXPECT_EQ(minutesUntil(kNow, kNow.addSecs(2 * 3600)), 120);
    EXPECT_EQ(minutesUntil(QDateTime(QDate(2026, 1, 1), QTime(10, 0, 59)), QDateTime(QDate(2026, 1, 1), QTime(10, 1, 0))), 1);
}

TEST(PrepPlan, DelayBoxTakesWholeMinutesThatFitTwoBytes)
{
    EXPECT_EQ(parseDelay(QStringLiteral("90")), 90);
    EXPECT_EQ(parseDelay(QStringLiteral(" 65535 ")), 65535);
    EXPECT_EQ(parseDelay(QStringLiteral("0")), 0);
    for (const char* bad : {"65536", "-1", "", "1,5", "abc", "1e3", "+5", "99999999999999999999"})
        EXPECT_FALSE(parseDelay(QString::fromLatin1(bad))) << bad;
}

TEST(PrepPlan, StartModesGiveModeStatusAndDelay)
{
    MissionPlan p;
    p.interval = 4;
    p.rawLimInf = 80;
    p.rawLimSup = 96;

    p.start = StartMode::Button;
    p.circular = true;
    PrepValues v = computeValues(p, kNow);
    EXPECT_EQ(v.ModoPrep, 24);
    EXPECT_EQ(v.EstadoPrep, 0);
    EXPECT_EQ(v.DemoraPrep, 0);

    p.circular = false;
    p.start = StartMode::SetTime;
    p.startTime = kNow.addSecs(2 * 3600);
    v = computeValues(p, kNow);
    EXPECT_EQ(v.ModoPrep, 0);
    EXPECT_EQ(v.EstadoPrep, 32);
    EXPECT_EQ(v.DemoraPrep, 120);
    // A start time that passed while the user pressed Accept starts now.
    p.startTime = kNow.addSecs(-300);
    EXPECT_FALSE(validatePlan(p, kNow));
    EXPECT_EQ(computeValues(p, kNow).DemoraPrep, 0);
    p.startTime = kNow.addDays(46);
    EXPECT_EQ(validatePlan(p, kNow), PrepSentence::StartTooFar);

    p.start = StartMode::ButtonDelay;
    p.delay = 300;
    v = computeValues(p, kNow);
    EXPECT_EQ(v.ModoPrep, 16);
    EXPECT_EQ(v.DemoraPrep, 300);
    p.delay = 70000;
    EXPECT_EQ(validatePlan(p, kNow), PrepSentence::BadDelay);

    p.delay = 0;
    p.rawLimInf = 100;   // above the high limit
    EXPECT_EQ(validatePlan(p, kNow), PrepSentence::LimitOrder);
    p.rawLimInf = 80;
    p.interval = 0;
    EXPECT_EQ(validatePlan(p, kNow), PrepSentence::NoInterval);
    EXPECT_EQ(prepText(PrepSentence::NoInterval, 1), QStringLiteral("Choose the record's time length or the time between samples."));
}

TEST(PrepPlan, PausesOfTheWriteTableAndTheStamp)
{
    // Frames and values are checked on the wire (ProgramaKLVTest); here the pauses between them.
    MissionPlan p;
    p.interval = 22;
    const PrepValues v = computeValues(p, QDateTime(QDate(2026, 3, 9), QTime(7, 45)));
    EXPECT_EQ(v.FechaPrepBCD, (std::array<quint8, 5>{0x45, 0x07, 0x09, 0x03, 0x26}));
    const QList<int> pauses{200, 500, 400, 100, 100, 100, 400, 400, 400, 100, 100, 100, 400, 100};
    QList<int> got;
    for (const ByteWrite& e : writeTable(p, v))
        got.append(e.pauseMs);
    EXPECT_EQ(got, pauses);
    for (const ByteWrite& e : nameTable(QStringLiteral("A"), QStringLiteral("B"), {1, 2, 3}))
        EXPECT_EQ(e.pauseMs, 50);
}

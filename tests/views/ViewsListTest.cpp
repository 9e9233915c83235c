// The sample list and its export, the alarm list, and the system separators they use.

#include "views/TestRecords.h"

#include "base/TextTable.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using namespace orvan::views::testdata;

namespace {

const QLocale kC(QLocale::C);
const QLocale kGerman(QLocale::German, QLocale::Germany);

TextTable textos(int idioma)
{
    TextTable t;
    t.CargaTextos(idioma);
    return t;
}

QList<QByteArray> lines(const QByteArray& csv)
{
    QList<QByteArray> l = csv.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

} // namespace

TEST(ViewFormats, SeparatorsComeFromTheLocaleShortFormats)
{
    struct Case { QLocale locale; QChar date, time; };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), '/', ':'},
        {kGerman, '.', ':'},
        {QLocale(QLocale::Finnish, QLocale::Finland), '.', '.'},
        {QLocale(QLocale::Dutch, QLocale::Netherlands), '-', ':'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(dateSeparator(c.locale), c.date) << c.locale.name().toStdString();
        EXPECT_EQ(timeSeparator(c.locale), c.time) << c.locale.name().toStdString();
    }
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5), Qt::UTC);
    EXPECT_EQ(numericDate(t, kGerman), QStringLiteral("07.03.2026"));
    EXPECT_EQ(numericTime(t, kGerman), QStringLiteral("09:05"));
    EXPECT_EQ(shortDate(t, kC), QStringLiteral("Sat 07Mar 09:05"));
    EXPECT_EQ(singleText(float(35.6), kGerman), QStringLiteral("35,6"));
    EXPECT_EQ(singleText(2.0f, kC), QStringLiteral("2"));
    EXPECT_EQ(format0_0(-0.5f, kGerman), QStringLiteral("-0,5"));
    EXPECT_EQ(format0_0(87.0f, kC), QStringLiteral("87.0"));
}

TEST(SampleList, ThreeSamplesGiveThreeEntriesAndThreeExportLines)
{
    // The byte after the last sample (100, 10 °C) is no sample and shows nowhere.
    const auto r = makeRecord({3, 84, 96, 15}, {85, 84, 60, 100});
    const ListaMuestras l = CargaMuestras(r, Unit::Celsius);
    ASSERT_EQ(l.CantLista, 3);
    EXPECT_EQ(l.scrollMax, 1);
    EXPECT_EQ(l.entry(3).FechaMuestra, QDateTime(QDate(2026, 12, 6), QTime(15, 0), Qt::UTC));
    EXPECT_EQ(l.zone(2), Within);   // equal to the low limit
    EXPECT_EQ(l.zone(3), Below);

    // A comma locale shows 2,5 on screen while the file says 2.5.
    EXPECT_EQ(rowText(l.entry(1), kGerman).temp, QStringLiteral("2,5"));
    EXPECT_EQ(rowText(l.entry(1), kC).date, QStringLiteral("Sun 06Dec 14:30"));
    EXPECT_EQ(positionText(l.entry(3), QStringLiteral(" \u00b0C"), kGerman),
              QStringLiteral("06-Dez. 15:00  -10,0 \u00b0C"));

    const QList<QByteArray> csv =
        lines(ExportaCsv(r, l, textos(TextTable::English), Unit::Celsius, QStringLiteral("X.klv"), kGerman));
    ASSERT_EQ(csv.size(), 15);
    for (const QByteArray& line : csv)
        EXPECT_TRUE(line.endsWith('\r'));
    EXPECT_EQ(csv[0], QByteArray("\"KLV-100's Serial #\",\"0       \",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[1], QByteArray("\"File's name\",\"X.klv\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[4].mid(csv[4].indexOf(",")), QByteArray(",\"\",\"06.12.2026\",\"14:30\",\"\"\r"));
    EXPECT_EQ(csv[7].mid(csv[7].indexOf(",")), QByteArray(",\"3\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[8].mid(csv[8].indexOf(",")), QByteArray(",\"2.0\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[10], QByteArray("\"\",\"\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[11], QByteArray("\"Sample #\",\"Elapsed\",\"Date / Time\",\"Time\",\"Temperature\"\r"));
    EXPECT_EQ(csv[12], QByteArray("\"0001\",\"0\",\"06.12.2026\",\"14:30\",\"2.5\"\r"));
    EXPECT_EQ(csv[14], QByteArray("\"0003\",\"30\",\"06.12.2026\",\"15:00\",\"-10.0\"\r"));
}

TEST(SampleList, LongListScrollsToFiveBeforeTheEnd)
{
    const auto r = makeRecord({100});
    const ListaMuestras l = CargaMuestras(r, Unit::Fahrenheit);
    EXPECT_EQ(l.CantLista, 100);
    EXPECT_EQ(l.scrollMax, 95);
    EXPECT_FLOAT_EQ(l.entry(1).TempMuestra, -40.0f);
}

TEST(CsvExport, QuotesAreDoubledAndNamesEncodedAsWindows1252)
{
    EXPECT_EQ(csvLine({QStringLiteral("a\"b"), QStringLiteral("\u00d1and\u00fa"), QString()}),
              QByteArray("\"a\"\"b\",\"\xd1" "and\xfa\",\"\"\r\n"));
}

TEST(CsvExport, FileGoesNextToTheRecordAndFailuresLeaveTheOldFile)
{
    EXPECT_EQ(csvPath(QStringLiteral("/d/FRUTAS_1.klv")), QStringLiteral("/d/FRUTAS_1.csv"));
    EXPECT_TRUE(csvPath(QStringLiteral("a.k")).isEmpty());
    EXPECT_TRUE(csvPath(QString()).isEmpty());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("r.csv"));
    ASSERT_TRUE(writeCsv(path, "first").ok);
    ASSERT_TRUE(writeCsv(path, "second").ok);     // exporting twice overwrites
    EXPECT_EQ(records::testdata::readFile(path), QByteArray("second"));

    const CsvResult noFolder = writeCsv(dir.filePath(QStringLiteral("none/r.csv")), "x");
    EXPECT_FALSE(noFolder.ok);
    EXPECT_TRUE(noFolder.error.contains(QStringLiteral("r.csv")));

    // A record file whose name already ends in "csv" is never replaced by its export.
    const CsvResult overRecord = writeCsv(path, "x", path);
    EXPECT_FALSE(overRecord.ok);
    EXPECT_EQ(records::testdata::readFile(path), QByteArray("second"));
}

namespace {

void putAlarm(records::MissionRecord& r, int dir, int n)
{
    r.setByte(dir, quint8(n & 0xFF));
    r.setByte(dir + 1, quint8((n >> 8) & 0xFF));
    r.setByte(dir + 2, quint8((n >> 16) & 0xFF));
}

// Low events at samples 2 and 5 (the second a raw 0), a 0 field; high events at 1 and 4, a
// field beyond the image.
records::MissionRecord withAlarms(int status)
{
    auto r = makeRecord({6, 84, 96, 10, false, status}, {90, 120, 70, 90, 130, 0});
    putAlarm(r, kLowAlarms, 2);
    putAlarm(r, kLowAlarms + 3, 5);
    putAlarm(r, kHighAlarms, 1);
    putAlarm(r, kHighAlarms + 3, 4);
    putAlarm(r, kHighAlarms + 6, 0xFFFFFF);
    r.LeeAuditoria();
    return r;
}

QStringList rows(const records::MissionRecord& r, Unit unit)
{
    QStringList out;
    const auto f = MuestraAlarmas(CargaAlarmas(r, unit), kC);
    for (int i = 1; i <= kAlarmRows; ++i)
        out << (f[size_t(i)].filled ? f[size_t(i)].dateText + QLatin1Char('|') + f[size_t(i)].tempText : QString());
    return out;
}

} // namespace

TEST(AlarmList, TablesFollowTheStatusBits)
{
    QStringList emptyRows;
    for (int i = 0; i < kAlarmRows; ++i)
        emptyRows << QString();

    EXPECT_EQ(rows(withAlarms(0), Unit::Celsius), emptyRows);

    QStringList both = emptyRows;
    both[0] = QStringLiteral("Sun 06Dec 14:50|-5");    // sample 2 at 10-minute steps
    both[10] = QStringLiteral("Sun 06Dec 14:40|20");
    both[11] = QStringLiteral("Sun 06Dec 15:10|25");
    EXPECT_EQ(rows(withAlarms(6), Unit::Celsius), both);

    QStringList onlyHigh = emptyRows;
    onlyHigh[10] = both[10];
    onlyHigh[11] = both[11];
    EXPECT_EQ(rows(withAlarms(2), Unit::Celsius), onlyHigh);

    QStringList onlyLow = emptyRows;
    onlyLow[0] = both[0];
    EXPECT_EQ(rows(withAlarms(4), Unit::Celsius), onlyLow);

    QStringList fahrenheit = both;
    fahrenheit[0] = QStringLiteral("Sun 06Dec 14:50|23");
    fahrenheit[10] = QStringLiteral("Sun 06Dec 14:40|68");
    fahrenheit[11] = QStringLiteral("Sun 06Dec 15:10|77");
    EXPECT_EQ(rows(withAlarms(6), Unit::Fahrenheit), fahrenheit);

    const auto r = withAlarms(6);
    EXPECT_EQ(alarmTitle(false, r, Unit::Celsius, kC), QStringLiteral("Temp. < 2 \u00b0C"));
    EXPECT_EQ(alarmTitle(true, r, Unit::Fahrenheit, kGerman), QStringLiteral("Temp. > 46,4 \u00b0F"));
}

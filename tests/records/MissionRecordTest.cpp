// Decoding of the record header from the memory image.

#include "records/RecordImages.h"
#include "records/MissionRecord.h"
#include "base/RuntimeError.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orvan::records;
using namespace orvan::records::testdata;

TEST(LeeAuditoria, HeaderFieldsNamesSerialAndBits)
{
    // An all-zero image is an empty record on the logger's first serial.
    MissionRecord empty;
    EXPECT_TRUE(empty.LeeAuditoria().isEmpty());
    EXPECT_EQ(std::make_tuple(empty.campos.NumMuestras, empty.campos.NumSerie), std::make_tuple(0, QStringLiteral("0       ")));
    EXPECT_FALSE(empty.campos.Circular || empty.campos.AlarmaHi || empty.campos.AlarmaLo);

    MissionRecord r = recordWith({{11, 84}, {12, 96}, {13, 15}, {90, 0x00}, {91, 0x30}, {92, 0x39},
                                   {256, 8 | 16}, {258, 2 | 4 | 128}});
    putSampleCount(r, 0x012345);
    // Windows-1252: 0xD1 is Ñ, 0x80 the euro sign.
    r.setBytes(64, QByteArray("ESPA\xD1" "A \x80    ", 12));
    r.setBytes(76, QByteArray("NAVIERA AZUL", 12));
    r.LeeAuditoria();
    const Auditoria& c = r.campos;
    EXPECT_EQ(std::make_tuple(c.LoThreshold, c.HiThreshold, c.Rango, c.NumMuestras), std::make_tuple(84, 96, 15, 0x012345));
    EXPECT_EQ(std::make_tuple(c.NumSerie, c.NumSerie5), std::make_tuple(QStringLiteral("12345   "), QStringLiteral("12345")));
    EXPECT_EQ(std::make_tuple(c.Exportador, c.Transportador), std::make_tuple(QStringLiteral("ESPAÑA €    "), QStringLiteral("NAVIERA AZUL")));
    EXPECT_TRUE(c.Circular && c.AlarmaHi && c.AlarmaLo);

    MissionRecord large = recordWith({{90, 0xFF}, {91, 0xFF}, {92, 0xFF}});   // the largest serial fits eight characters
    large.LeeAuditoria();
    EXPECT_EQ(large.campos.NumSerie, QStringLiteral("16777215"));
}

TEST(LeeAuditoria, HeldSamplesFollowCircularModeAndCapacity)
{
    struct Case {
        bool circular;
        int count, first, last;
    };
    for (const Case& k : {Case{true, 30000, 5424, 30000}, Case{false, 30000, 0, 24576}, Case{true, 24576, 0, 24576},
                          Case{false, 24576, 0, 24576}, Case{true, 100, 0, 100}}) {
        SCOPED_TRACE(testing::Message() << "circular " << k.circular << ", " << k.count << " samples");
        MissionRecord r = recordWith({{13, 10}, {256, k.circular ? 8 : 0}});
        putStamp(r, 0, 12, 1, 6, 24);
        putSampleCount(r, k.count);
        EXPECT_TRUE(r.LeeAuditoria().isEmpty());
        const Auditoria& c = r.campos;
        EXPECT_EQ(std::make_tuple(c.PrimeraMuestra, c.UltimaMuestra, r.muestrasGuardadas()), std::make_tuple(k.first, k.last, k.last - k.first));
        EXPECT_EQ(c.InicioDatos, c.InicioMision);
        EXPECT_EQ(c.FinMision, c.InicioMision.addSecs(qint64(k.count) * 10 * 60));
        EXPECT_EQ(c.FinDatos, c.InicioMision.addSecs(qint64(k.last) * 10 * 60));
        EXPECT_EQ(r.heldSampleTime(0), c.InicioMision.addSecs(qint64(k.first) * 10 * 60));   // the oldest held sample
    }
}

TEST(LeeAuditoria, StartDateCarriesLikeCalendarArithmeticAndAddsBothDelays)
{
    struct Case {
        const char* name;
        int minute, hour, day, month, year2;
        int delay, wait;
        QDateTime start;
    };
    const Case cases[] = {
        {"plain", 30, 10, 1, 3, 24, 0, 0, utc(2024, 3, 1, 10, 30)},
        {"all zero: 00/00/00 carries back", 0, 0, 0, 0, 0, 0, 0, utc(1999, 11, 30)},
        {"month 13", 0, 0, 15, 13, 23, 0, 0, utc(2024, 1, 15)},
        {"day 0", 0, 0, 0, 3, 24, 0, 0, utc(2024, 2, 29)},
        {"minute 75, hour 24", 75, 24, 31, 12, 24, 0, 0, utc(2025, 1, 1, 1, 15)},
        {"delay and wait", 0, 8, 1, 1, 24, 90, 30, utc(2024, 1, 1, 10, 0)},
        // Delays of 32768 minutes and more are valid programmings, decoded unsigned.
        {"delay 32768", 0, 0, 1, 1, 24, 32768, 0, utc(2024, 1, 1).addSecs(32768LL * 60)},
        {"both 65535", 0, 0, 1, 1, 24, 65535, 65535, utc(2024, 1, 1).addSecs(131070LL * 60)},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        MissionRecord r = recordWith({{0, k.wait & 0xFF}, {1, k.wait >> 8}, {18, k.delay & 0xFF}, {19, k.delay >> 8}});
        putStamp(r, k.minute, k.hour, k.day, k.month, k.year2);
        EXPECT_TRUE(r.LeeAuditoria().isEmpty());
        EXPECT_EQ(std::make_tuple(r.campos.DemoraInicio, r.campos.EsperaInicio, r.campos.InicioMision), std::make_tuple(k.delay, k.wait, k.start));
        EXPECT_EQ(r.campos.InicioMision.timeSpec(), Qt::UTC);
        EXPECT_TRUE(r.campos.ArchivoOk);
    }
}

TEST(LeeAuditoria, BadStampFallsBackTo2011AndStillGetsTheDelays)
{
    const QString message = QStringLiteral("Error de fecha de inicio\r\nSe adopta 1/1/2011 00:00");
    EXPECT_EQ(startDateMessage(), message);
    for (int dir = 21; dir <= 25; ++dir) {   // one non-decimal digit in any of the five stamp bytes
        SCOPED_TRACE(dir);
        MissionRecord r = recordWith({{13, 5}, {18, 30}, {0, 15}});
        putStamp(r, 0, 10, 1, 3, 24);
        putSampleCount(r, 12);
        r.setByte(dir, quint8(0x1A));
        EXPECT_EQ(r.LeeAuditoria(), QStringList{message});
        const Auditoria& c = r.campos;
        EXPECT_EQ(std::make_tuple(c.InicioMision, c.InicioDatos), std::make_tuple(utc(2011, 1, 1, 0, 45), utc(2011, 1, 1, 0, 45)));
        EXPECT_EQ(std::make_tuple(c.FinMision, c.FinDatos), std::make_tuple(utc(2011, 1, 1, 1, 45), utc(2011, 1, 1, 1, 45)));
        EXPECT_TRUE(c.ArchivoOk);
        EXPECT_EQ(r.LeeAuditoria().size(), 1);   // decoding again shows the message again
    }
}

TEST(LeeAuditoria, EndBeyondTheCalendarFallsBackWithoutKeepingAnEarlierRecordsValues)
{
    MissionRecord r = recordWith({{13, 10}});
    putStamp(r, 0, 10, 1, 3, 24);
    putSampleCount(r, 100);
    ASSERT_TRUE(r.LeeAuditoria().isEmpty());

    // 16777215 samples of 255 minutes reach past the year 9999 even from 2011.
    r.setByte(13, quint8(255));
    r.setByte(256, quint8(8));
    putSampleCount(r, 0xFFFFFF);
    EXPECT_EQ(r.LeeAuditoria(), QStringList(2, startDateMessage()));   // end, then end of data from 2011
    const Auditoria& c = r.campos;
    for (const QDateTime& t : {c.InicioMision, c.InicioDatos, c.FinMision, c.FinDatos})
        EXPECT_EQ(t, fallbackDate());

    // Not circular: the end of data is 24576 samples after the fall-back start.
    r.setByte(256, quint8(0));
    EXPECT_EQ(r.LeeAuditoria().size(), 1);
    EXPECT_EQ(r.campos.FinDatos, fallbackDate().addSecs(24576LL * 255 * 60));

    // 200-minute samples end in the year 8416, but their minutes no longer fit the logger's
    // 32-bit count: that end is as unusable.
    r.setByte(13, quint8(200));
    putStamp(r, 0, 10, 1, 3, 24);
    EXPECT_EQ(r.LeeAuditoria(), QStringList(startDateMessage()));
    EXPECT_EQ(r.campos.FinMision, fallbackDate());
    EXPECT_EQ(r.campos.FinDatos, fallbackDate().addSecs(24576LL * 200 * 60));
}

TEST(MissionRecord, TheImageKeepsItsSizeAndReadsOutsideItAsZero)
{
    MissionRecord r;
    r.setBytes(kMemoriaSize - 2, QByteArray("ABCD", 4));   // runs past the end: clipped
    r.setBytes(-2, QByteArray("WXYZ", 4));                 // starts before 0: clipped
    r.setByte(kMemoriaSize, 9);
    EXPECT_EQ(r.Memoria().size(), kMemoriaSize);
    EXPECT_EQ(std::make_tuple(r.byte(kMemoriaSize - 1), r.byte(0), r.byte(-1)), std::make_tuple(quint8('B'), quint8('Y'), quint8(0)));
    EXPECT_EQ(r.TextoMemoria(kMemoriaSize - 2, 2), QStringLiteral("AB"));
    EXPECT_THROW(r.TextoMemoria(kMemoriaSize - 2, 3), orvan::RuntimeError);
    // A hostile sample count indexes far past the image.
    EXPECT_FALSE(MissionRecord::inImage(kSampleBase + 16777215));
    EXPECT_EQ(r.muestra(16777215), 0);
    EXPECT_EQ(r.fileImage().size(), kImageSize);
}

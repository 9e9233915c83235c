// The value encodings shared by the link, the record file and the views.

#include "base/Encodings.h"
#include "link/Link.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace orvan;
using namespace orvan::link;

TEST(Encodings, FramesAndByteSplitting)
{
    EXPECT_EQ(Link::frameLeeBloque(8), QByteArray::fromHex("330100"));
    EXPECT_EQ(Link::frameLeeBloque(1023), QByteArray::fromHex("337fe0"));
    EXPECT_EQ(Link::frameEscribeByte(258, 32), QByteArray::fromHex("22010220"));
    EXPECT_EQ(Link::frameEscribeByteCorto(95, 7), QByteArray::fromHex("225f07"));
    // Past the memory or past one address byte: refused, never wrapped.
    EXPECT_THROW(Link::frameLeeBloque(1024), RuntimeError);
    EXPECT_THROW(Link::frameEscribeByteCorto(256, 0), RuntimeError);
    try {
        ByteAlto(65536);
        FAIL() << "no overflow above 65535";
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, RuntimeError::Overflow);
    }
    EXPECT_EQ(std::make_tuple(Byte2(0x123456), Byte1(0x123456), Byte0(0x123456)), std::make_tuple(0x12, 0x34, 0x56));
}

TEST(Encodings, TemperaturesBcdDatesAndTexts)
{
    const Unit C = Unit::Celsius, F = Unit::Fahrenheit;
    // The settings' flag: -1 is Celsius, any other value Fahrenheit; and back.
    EXPECT_EQ(std::make_tuple(unitFromGradosC(-1), unitFromGradosC(0), unitFromGradosC(1)), std::make_tuple(C, F, F));
    EXPECT_EQ(std::make_tuple(gradosCFor(C), gradosCFor(F)), std::make_tuple(qint16(-1), qint16(0)));
    // raw, unit, degrees
    for (const auto& [raw, unit, degrees] : {std::tuple{250, C, 85.0}, {250, F, 185.0}, {0, C, -40.0}, {0, F, -40.0}})
        EXPECT_DOUBLE_EQ(RawAGrados(raw, unit), degrees) << raw << " " << int(unit);
    EXPECT_EQ(std::make_tuple(GradosARaw(8, C), GradosARaw(50, F)), std::make_tuple(96, 100));
    EXPECT_EQ(wholeDegrees(1, C), -40);   // -39.5, halves to even
    EXPECT_EQ(wholeDegrees(3, C), -38);   // -38.5

    EXPECT_EQ(std::make_tuple(ABcd(9), ABcd(59)), std::make_tuple(0x09, 0x59));
    EXPECT_EQ(BcdATexto(0x59), QStringLiteral("59"));
    EXPECT_EQ(std::make_tuple(bcdLeadingValue(0x59), bcdLeadingValue(0x1A)), std::make_tuple(59, 1));
    // A stamp byte with a digit past 9 in either half is no date.
    EXPECT_EQ(strictBcd(0x59), std::optional<int>(59));
    EXPECT_FALSE(strictBcd(0x1A).has_value());
    EXPECT_FALSE(strictBcd(0xA1).has_value());
    EXPECT_EQ(std::make_tuple(Dec2(7), Dec2(123)), std::make_tuple(QStringLiteral("07"), QStringLiteral("00")));

    EXPECT_EQ(Nombre12(QStringLiteral("  ABCDEFGHIJK LMN")), QStringLiteral("ABCDEFGHIJK "));
    EXPECT_EQ(Nombre12(QString()), QString(12, QLatin1Char(' ')));
    const quint8 stamp[5] = {0x59, 0x23, 0x31, 0x12, 0x99};   // years 30..99 are 19xx
    EXPECT_EQ(formatDate(*preparationStamp(stamp)), QStringLiteral("31/12/1999 - 23:59"));

    // Date captions are reformatted; other captions, and dates that are no dates, pass unchanged.
    for (const auto& [in, out] : {std::pair{"01/03/2024 - 10:30", "01/03/2024 - 10:30"},
                                  {"1/3/2024 9:05", "01/03/2024 - 09:05"}, {"Registrando", "Registrando"},
                                  {"", ""}, {"31/02/2024 - 10:30", "31/02/2024 - 10:30"}})
        EXPECT_EQ(reformatDateCaption(QString::fromLatin1(in)), QString::fromLatin1(out)) << in;
}

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

TEST(Encodings, TemperaturesBcdAndTexts)
{
    const Unit C = Unit::Celsius, F = Unit::Fahrenheit;
    // The settings' flag: -1 is Celsius, any other value Fahrenheit; and back.
    EXPECT_EQ(unitFromGradosC(-1), C);
    EXPECT_EQ(unitFromGradosC(0), F);
    EXPECT_EQ(unitFromGradosC(1), F);
    EXPECT_EQ(std::make_tuple(gradosCFor(C), gradosCFor(F)), std::make_tuple(qint16(-1), qint16(0)));
    // raw, unit, degrees
    for (const auto& [raw, unit, degrees] : {std::tuple{250, C, 85.0}, {250, F, 185.0}, {0, C, -40.0}, {0, F, -40.0}})
        EXPECT_DOUBLE_EQ(RawAGrados(raw, unit), degrees) << raw << " " << int(unit);
    EXPECT_EQ(GradosARaw(8, C), 96);
    EXPECT_EQ(GradosARaw(50, F), 100);
    EXPECT_EQ(wholeDegrees(1, C), -40);   // -39.5, halves to even
    EXPECT_EQ(wholeDegrees(3, C), -38);   // -38.5
    EXPECT_EQ(UnidadTexto(C) + UnidadTexto(F), QStringLiteral(" \u00b0C \u00b0F"));

    EXPECT_EQ(ABcd(9), 0x09);
    EXPECT_EQ(ABcd(59), 0x59);
    EXPECT_EQ(BcdATexto(0x59), QStringLiteral("59"));
    EXPECT_EQ(bcdLeadingValue(0x59), 59);
    EXPECT_EQ(bcdLeadingValue(0x1A), 1);   // not BCD: its leading decimal digits
    EXPECT_EQ(Dec2(7), QStringLiteral("07"));
    EXPECT_EQ(Dec2(123), QStringLiteral("00"));

    EXPECT_EQ(Nombre12(QStringLiteral("  ABCDEFGHIJK LMN")), QStringLiteral("ABCDEFGHIJK "));
    EXPECT_EQ(Nombre12(QString()), QString(12, QLatin1Char(' ')));
    const quint8 stamp[5] = {0x59, 0x23, 0x31, 0x12, 0x99};   // years 30..99 are 19xx
    EXPECT_EQ(formatDate(*preparationStamp(stamp)), QStringLiteral("31/12/1999 - 23:59"));
}

TEST(Encodings, DateCaptionsAreReformattedAndOtherCaptionsPassUnchanged)
{
    using orvan::reformatDateCaption;
    EXPECT_EQ(reformatDateCaption(QStringLiteral("01/03/2024 - 10:30")), QStringLiteral("01/03/2024 - 10:30"));
    EXPECT_EQ(reformatDateCaption(QStringLiteral("1/3/2024 9:05")), QStringLiteral("01/03/2024 - 09:05"));
    EXPECT_EQ(reformatDateCaption(QStringLiteral("Registrando")), QStringLiteral("Registrando"));
    EXPECT_EQ(reformatDateCaption(QStringLiteral("")), QStringLiteral(""));
    EXPECT_EQ(reformatDateCaption(QStringLiteral("31/02/2024 - 10:30")), QStringLiteral("31/02/2024 - 10:30"));
}

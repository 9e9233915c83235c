// The save dialog's proposed file name.

#include "records/ProposedName.h"

#include <gtest/gtest.h>

using orvan::records::NombrePropuesto;

TEST(NombrePropuesto, FirstFreeNumberOfTheTrimmedExporter)
{
    struct Caso {
        const char* nombre;
        QString exportador;
        QStringList listados;
        QString esperado;
    };
    const Caso casos[] = {
        {"empty folder", QStringLiteral("EXPO        "), {}, QStringLiteral("EXPO_1")},
        {"two taken", QStringLiteral("EXPO"), {QStringLiteral("EXPO_1.klv"), QStringLiteral("EXPO_2.klv")}, QStringLiteral("EXPO_3")},
        {"gap is reused", QStringLiteral("EXPO"), {QStringLiteral("EXPO_2.klv")}, QStringLiteral("EXPO_1")},
        {"other case is another name", QStringLiteral("EXPO"), {QStringLiteral("expo_1.klv"), QStringLiteral("EXPO_1.KLV")}, QStringLiteral("EXPO_1")},
        {"leading and trailing blanks", QStringLiteral("  FRUTAS SUR "), {QStringLiteral("FRUTAS SUR_1.klv")}, QStringLiteral("FRUTAS SUR_2")},
        {"blank exporter", QString(12, QLatin1Char(' ')), {}, QStringLiteral("_1")},
        {"never named logger", QString(12, QChar(0)), {}, QStringLiteral("_1")},
        {"separators", QStringLiteral("A/B\\C"), {}, QStringLiteral("A_B_C_1")},
    };
    for (const Caso& k : casos) {
        SCOPED_TRACE(k.nombre);
        EXPECT_EQ(NombrePropuesto(k.exportador, k.listados), k.esperado);
    }
}

TEST(NombrePropuesto, AllThousandTakenGives9999)
{
    QStringList listados;
    for (int i = 1; i <= 1000; ++i)
        listados << QStringLiteral("EXPO_%1.klv").arg(i);
    EXPECT_EQ(NombrePropuesto(QStringLiteral("EXPO"), listados), QStringLiteral("EXPO_9999"));
    listados.removeAt(999);
    EXPECT_EQ(NombrePropuesto(QStringLiteral("EXPO"), listados), QStringLiteral("EXPO_1000"));
}

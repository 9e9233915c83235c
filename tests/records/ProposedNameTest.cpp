// The save dialog's proposed file name.

#include "records/ProposedName.h"

#include <gtest/gtest.h>

using orvan::records::proposedName;

TEST(proposedName, FirstFreeNumberOfTheTrimmedExporter)
{
    QStringList thousand;
    for (int i = 1; i <= 1000; ++i)
        thousand << QStringLiteral("EXPO_%1.klv").arg(i);
    struct Case {
        const char* name;
        QString exporter;
        QStringList listed;
        QString expected;
    };
    const Case cases[] = {
        {"empty folder", QStringLiteral("EXPO        "), {}, QStringLiteral("EXPO_1")},
        {"two taken", QStringLiteral("EXPO"), {QStringLiteral("EXPO_1.klv"), QStringLiteral("EXPO_2.klv")}, QStringLiteral("EXPO_3")},
        {"gap is reused", QStringLiteral("EXPO"), {QStringLiteral("EXPO_2.klv")}, QStringLiteral("EXPO_1")},
        {"other case is another name", QStringLiteral("EXPO"), {QStringLiteral("expo_1.klv"), QStringLiteral("EXPO_1.KLV")}, QStringLiteral("EXPO_1")},
        {"leading and trailing blanks", QStringLiteral("  FRUTAS SUR "), {QStringLiteral("FRUTAS SUR_1.klv")}, QStringLiteral("FRUTAS SUR_2")},
        {"blank exporter", QString(12, QLatin1Char(' ')), {}, QStringLiteral("_1")},
        {"never named logger", QString(12, QChar(0)), {}, QStringLiteral("_1")},
        {"separators", QStringLiteral("A/B\\C"), {}, QStringLiteral("A_B_C_1")},
        {"all thousand taken", QStringLiteral("EXPO"), thousand, QStringLiteral("EXPO_9999")},
        {"the thousandth free", QStringLiteral("EXPO"), thousand.mid(0, 999), QStringLiteral("EXPO_1000")},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(proposedName(k.exporter, k.listed), k.expected);
    }
}

// The language table: every entry of every language, the fall-back language and a few exact texts.

#include "base/TextTable.h"

#include <gtest/gtest.h>

using orvan::TextTable;

TEST(TextTable, EmptyUntilFilledAndEveryEntryReplacedOnSwitch)
{
    TextTable t;
    for (int idioma = 0; idioma < 5; ++idioma) {
        t.CargaTextos(idioma);
        for (int i = 0; i < TextTable::Count; ++i)
            EXPECT_FALSE(t[i].isEmpty()) << "language " << idioma << " entry " << i;
    }
    EXPECT_TRUE(t[-1].isEmpty());
    EXPECT_TRUE(t[TextTable::Count].isEmpty());

    // Switching back leaves nothing of the previous language.
    TextTable fresh;
    fresh.CargaTextos(0);
    t.CargaTextos(0);
    for (int i = 0; i < TextTable::Count; ++i)
        EXPECT_EQ(t[i], fresh[i]) << i;
}

TEST(TextTable, ExactTextsPerLanguage)
{
    const struct {
        int idioma;
        int entry;
        const char16_t* text;
    } cases[] = {
        {0, 24, u"Borrar todos  los datos del KLV-100"}, {0, 49, u"Fecha y Hora actual"},
        {1, 35, u"Carrier"},                              {1, 62, u" a total of "},
        {2, 15, u"Eistellung"},                           {2, 58, u" Messungen"},
        {3, 59, u"Dernières"},                            {3, 1, u"Fin d'enrégistrement"},
        {4, 10, u"Proporções"},                           {4, 49, u"Dados atuais da KLV-100"},
    };
    TextTable t;
    for (const auto& c : cases) {
        t.CargaTextos(c.idioma);
        EXPECT_EQ(t[c.entry], QString::fromUtf16(c.text)) << "language " << c.idioma << " entry " << c.entry;
    }
}

TEST(TextTable, UnknownLanguageIsSpanishWithItsOwnEntry49)
{
    TextTable spanish;
    spanish.CargaTextos(0);
    for (int idioma : {7, 5, -1, 32767}) {
        TextTable t;
        t.CargaTextos(idioma);
        for (int i = 0; i < TextTable::Count; ++i) {
            const QString expected = i == 49 ? QStringLiteral("Datos actuales del KLV-100") : spanish[i];
            EXPECT_EQ(t[i], expected) << idioma << " entry " << i;
        }
    }
}

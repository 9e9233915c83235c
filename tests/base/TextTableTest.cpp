// The language table: every entry of every language, the fall-back language and a few exact texts,
// each read by its name.

#include "base/TextTable.h"

#include <gtest/gtest.h>

using orvan::Text;
using orvan::TextTable;

namespace {

// Every entry in the table's order.
Text entry(int place)
{
    return Text(place);
}

} // namespace

TEST(TextTable, EmptyUntilFilledAndEveryEntryReplacedOnSwitch)
{
    TextTable t;
    EXPECT_TRUE(t[Text::StartTime].isEmpty());
    for (int idioma = 0; idioma < 5; ++idioma) {
        t.CargaTextos(idioma);
        for (int i = 0; i < TextTable::Count; ++i)
            EXPECT_FALSE(t[entry(i)].isEmpty()) << "language " << idioma << " entry " << i;
    }
    EXPECT_TRUE(t[entry(-1)].isEmpty());
    EXPECT_TRUE(t[entry(TextTable::Count)].isEmpty());

    // Switching back leaves nothing of the previous language.
    TextTable fresh;
    fresh.CargaTextos(0);
    t.CargaTextos(0);
    for (int i = 0; i < TextTable::Count; ++i)
        EXPECT_EQ(t[entry(i)], fresh[entry(i)]) << i;
}

// Each language reads as itself by name, the first and the last entry included: one text per
// language and a run of English names, where a shifted or swapped entry shows.
TEST(TextTable, NamesReadTheEntriesTheyNameInEachLanguage)
{
    const struct {
        int idioma;
        Text entry;
        const char16_t* text;
    } cases[] = {
        {0, Text::EraseAllData, u"Borrar todos  los datos del KLV-100"}, {1, Text::StartTime, u"Start date/time"},
        {1, Text::LowLimit, u"Temperature lower limit"},                   {1, Text::HighLimit, u"Temperature upper limit"},
        {1, Text::SamplesPiece, u" samples "},                             {1, Text::SamplesOfPiece, u" samples of "},
        {1, Text::Temperature, u"Temperature"},                            {2, Text::Configuration, u"Eistellung"},
        {3, Text::FinishTime, u"Fin d'enrégistrement"},                    {4, Text::CurrentTime, u"Dados atuais da KLV-100"},
    };
    TextTable t;
    for (const auto& c : cases) {
        t.CargaTextos(c.idioma);
        EXPECT_EQ(t[c.entry], QString::fromUtf16(c.text)) << "language " << c.idioma << " entry " << int(c.entry);
        EXPECT_EQ(t[Text::TrademarkLine], TextTable::LineaMarca(c.idioma));
    }
}

TEST(TextTable, UnknownLanguageIsSpanishWithItsOwnCurrentTimeEntry)
{
    TextTable spanish;
    spanish.CargaTextos(0);
    for (int idioma : {7, 5, -1, 32767}) {
        TextTable t;
        t.CargaTextos(idioma);
        for (int i = 0; i < TextTable::Count; ++i) {
            const QString expected =
                entry(i) == Text::CurrentTime ? QStringLiteral("Datos actuales del KLV-100") : spanish[entry(i)];
            EXPECT_EQ(t[entry(i)], expected) << idioma << " entry " << i;
        }
    }
}

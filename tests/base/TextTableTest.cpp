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

TEST(TextTable, ExactTextsPerLanguage)
{
    const struct {
        int idioma;
        Text entry;
        const char16_t* text;
    } cases[] = {
        {0, Text::EraseAllData, u"Borrar todos  los datos del KLV-100"}, {0, Text::CurrentTime, u"Fecha y Hora actual"},
        {1, Text::CarrierName, u"Carrier"},                               {1, Text::TotalOfPiece, u" a total of "},
        {2, Text::Configuration, u"Eistellung"},                          {2, Text::SamplesPiece, u" Messungen"},
        {3, Text::LastPiece, u"Dernières"},                               {3, Text::FinishTime, u"Fin d'enrégistrement"},
        {4, Text::Proportions, u"Proporções"},                            {4, Text::CurrentTime, u"Dados atuais da KLV-100"},
    };
    TextTable t;
    for (const auto& c : cases) {
        t.CargaTextos(c.idioma);
        EXPECT_EQ(t[c.entry], QString::fromUtf16(c.text)) << "language " << c.idioma << " entry " << int(c.entry);
    }
}

TEST(TextTable, NamesReadTheEntriesTheyName)
{
    TextTable t;
    t.CargaTextos(TextTable::English);
    const struct {
        Text entry;
        const char* text;
    } cases[] = {
        {Text::StartTime, "Start date/time"},
        {Text::LowLimit, "Temperature lower limit"},
        {Text::HighLimit, "Temperature upper limit"},
        {Text::Histogram, "Histogram"},
        {Text::Alarms, "Alarms"},
        {Text::SampleQuantity, "Sample qtty"},
        {Text::IntervalMinutes, "Time between samples"},
        {Text::ExporterName, "Shipper"},
        {Text::LoggerSerial, "KLV-100's Serial #"},
        {Text::FileName, "File's name"},
        {Text::SamplesPiece, " samples "},
        {Text::FirstPiece, "First "},
        {Text::SamplesOfPiece, " samples of "},
        {Text::SampleNumber, "Sample #"},
        {Text::Elapsed, "Elapsed"},
        {Text::ClockTime, "Time"},
        {Text::Temperature, "Temperature"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(t.at(c.entry), QString::fromUtf8(c.text)) << "entry " << int(c.entry);
    for (int idioma = 0; idioma < 5; ++idioma) {
        t.CargaTextos(idioma);
        EXPECT_EQ(t[Text::TrademarkLine], TextTable::LineaMarca(idioma)) << idioma;
    }
    EXPECT_EQ(int(Text::Temperature), TextTable::Count - 1) << "the last name is the last entry";
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

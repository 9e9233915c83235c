// The language table, checked by its properties rather than by copies of its entries.

#include "base/TextTable.h"

#include <gtest/gtest.h>

using orvan::Text;
using orvan::TextTable;

// A missing comma in the table glues two captions into one entry and leaves the row's last
// language without text; a load that stops short leaves the last entry empty. Switching language
// replaces every entry, and an unknown language reads as Spanish but for its own current-time entry.
TEST(TextTable, EveryEntryIsFilledInEveryLanguageAndReplacedOnSwitch)
{
    TextTable t, spanish;
    EXPECT_TRUE(t[Text::StartTime].isEmpty());
    spanish.CargaTextos(TextTable::Spanish);
    for (int idioma : {1, 2, 3, 4, 0, 7, 5, -1, 32767}) {
        t.CargaTextos(idioma);
        const bool known = idioma >= 0 && idioma <= 4;
        for (int i = 0; i < TextTable::Count; ++i) {
            EXPECT_FALSE(t[Text(i)].trimmed().isEmpty()) << "language " << idioma << " entry " << i;
            const bool ownEntry = !known && Text(i) == Text::CurrentTime;
            if (idioma == 0 || !known) {
                EXPECT_EQ(t[Text(i)] == spanish[Text(i)], !ownEntry) << "language " << idioma << " entry " << i;
            }
        }
        EXPECT_EQ(t[Text::TrademarkLine], TextTable::LineaMarca(idioma));
    }
    EXPECT_TRUE(t[Text(-1)].isEmpty());
    EXPECT_TRUE(t[Text(TextTable::Count)].isEmpty());
}

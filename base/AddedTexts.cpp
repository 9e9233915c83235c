#include "base/AddedTexts.h"

#include <array>
#include <iterator>

namespace orvan {

namespace {

struct Entry {
    AddedText which;
    std::array<const char16_t*, 5> texts;   // Spanish, English, German, French, Portuguese
};

// Spanish first, as the language table; the others say the same in their own words.
const Entry kEntries[] = {
    {AddedText::EraseNoAnswer,
     {u"Error! El equipo no responde después del borrado; la memoria puede no estar borrada",
      u"Error! The logger does not answer after the erase; its memory may not be erased",
      u"Fehler! Das Gerät antwortet nach dem Löschen nicht; der Speicher ist möglicherweise nicht gelöscht",
      u"Erreur ! L'appareil ne répond pas après l'effacement ; la mémoire n'est peut-être pas effacée",
      u"Erro! O aparelho não responde após o apagamento; a memória pode não estar apagada"}},
    {AddedText::EraseNotErased,
     {u"Error! El equipo conserva datos; la memoria no fue borrada",
      u"Error! The logger still holds data; its memory was not erased",
      u"Fehler! Das Gerät enthält noch Daten; der Speicher wurde nicht gelöscht",
      u"Erreur ! L'appareil contient encore des données ; la mémoire n'a pas été effacée",
      u"Erro! O aparelho ainda contém dados; a memória não foi apagada"}},
};

} // namespace

QString addedText(AddedText which, int idioma)
{
    const int language = idioma >= 0 && idioma <= 4 ? idioma : 0;
    for (const Entry& e : kEntries) {
        if (e.which == which)
            return QString::fromUtf16(e.texts[size_t(language)]);
    }
    return {};
}

int addedTextCount()
{
    return int(std::size(kEntries));
}

} // namespace orvan

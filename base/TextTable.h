#pragma once
// Every user text that changes with the language: 69 entries of the current language.

#include <QString>
#include <array>

namespace orvan {

class TextTable {
public:
    static constexpr int Count = 69;
    enum Idioma { Spanish = 0, English = 1, German = 2, French = 3, Portuguese = 4 };

    // Fills every entry for the language; an unknown index gives Spanish, with entry 49
    // reading "Datos actuales del KLV-100".
    void CargaTextos(int idioma);

    // Empty until CargaTextos has run; entries outside 0..68 read as empty.
    QString at(int entry) const;
    QString operator[](int entry) const { return at(entry); }

    // The trademark line shown on every view and report footer (entry 64).
    static QString LineaMarca(int idioma);

private:
    std::array<QString, Count> m_texts;
};

} // namespace orvan

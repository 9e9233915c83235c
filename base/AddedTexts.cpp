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
    {AddedText::PrepareHoldsMission,
     {u"el equipo contiene una misión: descárguela y bórrela primero",
      u"the logger holds a mission: download and erase it first",
      u"das Gerät enthält eine Aufzeichnung: zuerst herunterladen und löschen",
      u"l'appareil contient une mission : téléchargez-la et effacez-la d'abord",
      u"o aparelho contém uma missão: descarregue-a e apague-a primeiro"}},
    {AddedText::PrepareRecording,
     {u"el equipo está registrando: deténgalo primero",
      u"the logger is recording: stop it first",
      u"das Gerät zeichnet auf: beenden Sie die Aufzeichnung zuerst",
      u"l'appareil est en cours d'enregistrement : arrêtez-le d'abord",
      u"o aparelho está registrando: pare-o primeiro"}},
    {AddedText::DownloadRecording,
     {u"el equipo todavía está registrando: deténgalo primero, o use --no-mark para una instantánea",
      u"the logger is still recording: stop it first, or use --no-mark for a snapshot",
      u"das Gerät zeichnet noch auf: beenden Sie die Aufzeichnung zuerst oder verwenden Sie --no-mark für eine Momentaufnahme",
      u"l'appareil enregistre encore : arrêtez-le d'abord, ou utilisez --no-mark pour un instantané",
      u"o aparelho ainda está registrando: pare-o primeiro, ou use --no-mark para um instantâneo"}},
    {AddedText::EraseUnsaved,
     {u"el equipo contiene %1 muestras no guardadas en disco: descárguelas primero, o agregue --discard-unsaved para borrarlas",
      u"the logger holds %1 samples that are not saved on disk: download them first, or add --discard-unsaved to erase them",
      u"das Gerät enthält %1 nicht auf der Festplatte gespeicherte Messungen: laden Sie sie zuerst herunter oder fügen Sie --discard-unsaved hinzu, um sie zu löschen",
      u"l'appareil contient %1 mesures non sauvegardées sur disque : téléchargez-les d'abord, ou ajoutez --discard-unsaved pour les effacer",
      u"o aparelho contém %1 amostras não salvas em disco: descarregue-as primeiro, ou acrescente --discard-unsaved para apagá-las"}},
    {AddedText::MarkNotConfirmed,
     {u"guardado en %1, pero el equipo no pudo marcarse como guardado: descargue de nuevo o márquelo desde la ventana",
      u"saved to %1, but the logger could not be marked as saved: download again or mark it from the window",
      u"in %1 gespeichert, aber das Gerät konnte nicht als gespeichert markiert werden: erneut herunterladen oder im Fenster markieren",
      u"enregistré dans %1, mais l'appareil n'a pas pu être marqué comme sauvegardé : téléchargez à nouveau ou marquez-le depuis la fenêtre",
      u"salvo em %1, mas o aparelho não pôde ser marcado como salvo: descarregue novamente ou marque-o pela janela"}},
    {AddedText::StopNotStopped,
     {u"el equipo no se detuvo",
      u"the logger did not stop",
      u"das Gerät hat die Aufzeichnung nicht beendet",
      u"l'appareil ne s'est pas arrêté",
      u"o aparelho não parou"}},
    {AddedText::StopNoAnswer,
     {u"el equipo no responde después de la orden de detención; no se sabe si se detuvo",
      u"the logger does not answer after the stop; whether it stopped is not known",
      u"das Gerät antwortet nach dem Beenden nicht; ob es die Aufzeichnung beendet hat, ist unbekannt",
      u"l'appareil ne répond pas après l'arrêt ; on ne sait pas s'il s'est arrêté",
      u"o aparelho não responde após a parada; não se sabe se parou"}},
    {AddedText::NothingToStop,
     {u"el equipo no está registrando; no hay misión que detener",
      u"the logger is not recording; there is no mission to stop",
      u"das Gerät zeichnet nicht auf; es gibt keine Aufzeichnung zu beenden",
      u"l'appareil n'enregistre pas ; il n'y a pas de mission à arrêter",
      u"o aparelho não está registrando; não há missão para parar"}},
    {AddedText::NoLoggerAnswers,
     {u"ningún equipo responde en %1",
      u"no logger answers on %1",
      u"kein Gerät antwortet an %1",
      u"aucun appareil ne répond sur %1",
      u"nenhum aparelho responde em %1"}},
    {AddedText::NotASerialPort,
     {u"%1 no es un puerto serie",
      u"%1 is not a serial port",
      u"%1 ist keine serielle Schnittstelle",
      u"%1 n'est pas un port série",
      u"%1 não é uma porta serial"}},
    {AddedText::PortCannotOpen,
     {u"no se puede abrir %1: %2",
      u"cannot open %1: %2",
      u"%1 kann nicht geöffnet werden: %2",
      u"impossible d'ouvrir %1 : %2",
      u"não é possível abrir %1: %2"}},
    {AddedText::NameControlCharacter,
     {u"un nombre no puede contener el carácter de control %1 (tabulación, salto de línea u otro)",
      u"a name cannot contain the control character %1 (a tab, a line break or the like)",
      u"ein Name darf das Steuerzeichen %1 nicht enthalten (Tabulator, Zeilenumbruch o. Ä.)",
      u"un nom ne peut pas contenir le caractère de contrôle %1 (tabulation, saut de ligne, etc.)",
      u"um nome não pode conter o caractere de controle %1 (tabulação, quebra de linha ou outro)"}},
    {AddedText::NameNotEncodable,
     {u"el carácter «%1» (%2) no puede guardarse en el equipo",
      u"the character “%1” (%2) cannot be stored in the logger",
      u"das Zeichen „%1“ (%2) kann im Gerät nicht gespeichert werden",
      u"le caractère « %1 » (%2) ne peut pas être enregistré dans l'appareil",
      u"o caractere “%1” (%2) não pode ser gravado no aparelho"}},
    {AddedText::ReadNotRegular,
     {u"%1 no es un archivo común y no se lee",
      u"%1 is not a regular file and is not read",
      u"%1 ist keine gewöhnliche Datei und wird nicht gelesen",
      u"%1 n'est pas un fichier ordinaire et n'est pas lu",
      u"%1 não é um arquivo comum e não é lido"}},
    {AddedText::WriteNotRegular,
     {u"%1 existe y no es un archivo común; se deja como está",
      u"%1 exists and is not a regular file; it is left as it is",
      u"%1 existiert und ist keine gewöhnliche Datei; sie bleibt unverändert",
      u"%1 existe et n'est pas un fichier ordinaire ; il est laissé tel quel",
      u"%1 existe e não é um arquivo comum; fica como está"}},
    {AddedText::RecordTooLong,
     {u"%1 tiene más de %2 bytes y no es un archivo de registro",
      u"%1 is longer than %2 bytes and is not a record file",
      u"%1 ist länger als %2 Bytes und keine Aufzeichnungsdatei",
      u"%1 dépasse %2 octets et n'est pas un fichier d'enregistrement",
      u"%1 tem mais de %2 bytes e não é um arquivo de registro"}},
    {AddedText::SettingsTooLong,
     {u"%1 tiene más de %2 bytes y no es un archivo de configuración; se deja como está",
      u"%1 is longer than %2 bytes and is not a settings file; it is left as it is",
      u"%1 ist länger als %2 Bytes und keine Einstellungsdatei; sie bleibt unverändert",
      u"%1 dépasse %2 octets et n'est pas un fichier de configuration ; il est laissé tel quel",
      u"%1 tem mais de %2 bytes e não é um arquivo de configuração; fica como está"}},
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

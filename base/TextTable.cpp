#include "base/TextTable.h"

namespace orvan {

// One row per entry: Spanish, English, German, French, Portuguese.
static const char16_t* const kTexts[TextTable::Count][5] = {
    /*  0 */ {u"Hora de inicio de registro", u"Start date/time", u"Messbeginn", u"Début de la mesure", u"Hora de início de registro"},
    /*  1 */ {u"Hora de fin de registro", u"Finish date/time", u"Ende der Messungen", u"Fin d'enrégistrement", u"Hora de fim de registro"},
    /*  2 */ {u"Tiempo entre muestras", u"Time between samples", u"Zeitspanne zw. Messungen", u"Temps entre mesures", u"Tempo entre amostras"},
    /*  3 */ {u"Cantidad de muestras tomadas", u"Recorded sample quantity", u"Messungsanzahl", u"Quantité des mesures", u"Número de amostras colhidas"},
    /*  4 */ {u"Limite inferior de temperatura", u"Temperature lower limit", u"Untere Temperaturgrenze", u"Limite de température minimale", u"Limite de temperatura mais baixa"},
    /*  5 */ {u"Limite superior de temperatura", u"Temperature upper limit", u"Obere Temperaturgrenze", u"Limite de température maximale", u"Limite superior da temperatura"},
    /*  6 */ {u"Guardar como carpeta predeterminada", u"Save as default folder", u"Speichern in vorbestimmten Ordner", u"Sauvegarder dans classeur déterminé", u"Salvar como pasta padrão"},
    /*  7 */ {u"Analizar de disco", u"Study from disk", u"Analysieren von Festplatte", u"Analyse du disque dur", u"Analisar disco"},
    /*  8 */ {u"Conectarse con KLV-100", u"Connecting with KLV-100", u"Mit KLV-100 verbinden", u"Connecter avec KLV-100", u"Conectar-se com KLV-100"},
    /*  9 */ {u"Grafico Temporal", u"Graph: Temperature -Time", u"Temperatur-Zeit Graphik", u"Graphique température-temps", u"Gráfico do Tempo"},
    /* 10 */ {u"Proporciones", u"Proportions", u"Proportionen", u"Proportions", u"Proporções"},
    /* 11 */ {u"Histograma", u"Histogram", u"Histogramm", u"Hystogramme", u"Histograma"},
    /* 12 */ {u"Listado de Temperaturas", u"Temperature list", u"Temperaturverzeichnis", u"Index de température", u"Lista de temperaturas"},
    /* 13 */ {u"Alarmas", u"Alarms", u"Alarme", u"Alarme", u"Alarmes"},
    /* 14 */ {u"Imprimir", u"Print", u"Drucken", u"Imprimer", u"Imprimir"},
    /* 15 */ {u"Configuracion", u"Configuration", u"Eistellung", u"Paramètres", u"Configuração"},
    /* 16 */ {u"Terminar", u"Finish", u"Enden", u"Terminer", u"Terminar"},
    /* 17 */ {u"Primeras XX muestras de un total de YY", u"First XX samples of a total of YY samples    si es nec. se puede acortar: …of YY total samples", u"Ersten XX Messungen von insgesamt YY Messungen", u"Premières XX mesures d'un total de YY mesures", u"Amostras XX primeiro de um total de YY"},
    /* 18 */ {u"Primeras xx Muestras de YY", u"First XX samples of YY samples", u"Die ersten XX Messungen von YY", u"Premières XX mesures de YY", u"Primeiras Amostras XX de YY"},
    /* 19 */ {u"XX Muestras de un total de YY", u"XX samples of a total of YY", u"XX Messungen von insgesamt YY Messungen", u"XX mesures d'un total de YY", u"XX Amostras de um total de YY"},
    /* 20 */ {u"Temp OK: XX Muestras", u"Temp.OK: XX samples", u"Temp.OK: XX Muster", u"Température ok: YY mesures", u"Temperatura OK: Amostras XX"},
    /* 21 */ {u"Fecha", u"Date / Time", u"Datum / Uhrzeit", u"Date/temps", u"Data"},
    /* 22 */ {u"Cant muestras", u"Sample qtty", u"Messungsanzahl", u"Quantité des mesures", u"Número de amostras"},
    /* 23 */ {u"Tiempo", u"Time", u"Zeit", u"Temps", u"Tempo"},
    /* 24 */ {u"Borrar todos  los datos del KLV-100", u"Erase all data at KLV-100", u"Alle Daten des KLV-100 löschen", u"Effacer toutes les données sur KLV-100", u"Apagar todos os dados do KLV-100"},
    /* 25 */ {u"Dar por finalizada una tarea de registro", u"Stop mission", u"Arbeitsauftrag stoppen", u"Arrêter l'ordre de travail", u"Terminar a tarefa de registro"},
    /* 26 */ {u"Almacenar el registro en disco", u"Save data on disk", u"Daten auf Festplatte speichern", u"Sauvegarder les données sur le disque", u"Armazenar o registro em disco"},
    /* 27 */ {u"Preparar el KLV-100 para una nueva tarea de registro", u"Prepare KLV-100 for new mission", u"KLV-100 für einen neuen Arbeitsauftrag vorbereiten", u"Preparer le KLV-100 pour un nouvel ordre", u"KLV-100 Prepare-se para gravar uma nova tarefa"},
    /* 28 */ {u"Salir", u"Exit", u"Ausgang", u"Sortir", u"Sair"},
    /* 29 */ {u"Arranque x pulsador", u"Start with push-button", u"Starten mit Drucknopf", u"Commencer avec bouton-pression", u"Iniciar pelo botão"},
    /* 30 */ {u"Arranque a determinada Hora", u"Start at setted time", u"Start zu festgelegter Zeit", u"Début à un temps fixé", u"Iniciar a partir de um certo tempo"},
    /* 31 */ {u"Dias de duracion del registro", u"Mission record in days", u"Dauer des Arbeitsauftrags (Tage)", u"Durée de l'ordre (jours)", u"Dias do registro"},
    /* 32 */ {u"Tiempo entre muestras (Minutos)", u"Time between samples", u"Zeitspanne zw. Messungen (Minuten)", u"Temps entre mesures (minutes)", u"Tempo entre amostras (Minutos)"},
    /* 33 */ {u"Escritura circular", u"Loop overwriting", u"Ringbeschreibung", u"Enrégistre de manière circulaire", u"Escreva circular"},
    /* 34 */ {u"Nombre del Exportador", u"Shipper", u"Exporteur", u"Exporteur", u"Nome do Exportador"},
    /* 35 */ {u"Nombre del Transportador", u"Carrier", u"Beförderer", u"Transporteur", u"Nome da Transportadora"},
    /* 36 */ {u"No hay comunicacion con KLV-100", u"No connection with KLV-100", u"Keine Verbindung mit KLV-100", u"Pas connecté avec KLV-100", u"Sem comunicação com KLV-100"},
    /* 37 */ {u"Dispositivo incompatible", u"No compatible device", u"Gerät nicht kompatibel", u"Appareil non compatible", u"Dispositivo incompatível"},
    /* 38 */ {u"Comunicado con KLV-100", u"On-line with KLV-100", u"Mit KLV-100 verbunden", u"Connecté avec KLV-100", u"Comunicação com KLV-100"},
    /* 39 */ {u"KLV-100 Sin Datos", u"KLV-100 empty", u"KLV-100 ohne Daten.", u"KLV-100 sans données", u"KLV-100 Sem Dados"},
    /* 40 */ {u"Registro Finalizado", u"Record finished", u"Aufnahme beendet", u"Enrégistrement terminé", u"Registro Concluído"},
    /* 41 */ {u"KLV-100 Registrando", u"KLV-100 is recording", u"KLV-100 registriert", u"KLV-100 régistre", u"KLV-100 Registrando"},
    /* 42 */ {u"Esperando arranque x pulsador", u"Waiting for button start", u"Wartet auf Knopfdruck", u"Attend le bouton-pression", u"Esperando inicio pelo botão"},
    /* 43 */ {u"Datos no almacenados en disco", u"Data not saved on disk", u"Daten nicht auf Platte gespeichert", u"Données pas sauvegardées sur le disque", u"Não há dados armazenados em disco"},
    /* 44 */ {u"Datos almacenados en disco", u"Data saved on disk", u"Daten auf Platte gespeichert", u"Données sauvegardées sur le disque", u"Dados armazenados em disco"},
    /* 45 */ {u"Esperando la hora de comienzo del registro", u"Waiting for time setted mission start", u"Wartet auf Uhrzeit des Arbeitbeginns", u"Attend jusqu'à la date fixée", u"Esperando a hora de início do registo"},
    /* 46 */ {u"Bateria Defectuosa", u"Battery failure", u"Fehlerhafte Batterie", u"Battérie défectueuse", u"Bateria com defeito"},
    /* 47 */ {u"Registro circular, al llenarse la memoria, sobreescribe desde el principio", u"Loop writing, when memory full overwrites beginning", u"Ringbeschreibung, wenn Speicher voll, überschreibt vom Anfang", u"Sauvegarde circulaire, en cas de mémoire complète, surfrappe le début", u"Registro circular, se a memória está cheia rescreve desde o início"},
    /* 48 */ {u"Serie KLV-100", u"KLV-100's Serial #", u"KLV-100 Serien Nr.", u"KLV-100 numéro de série", u"Serie KLV-100"},
    /* 49 */ {u"Fecha y Hora actual", u"Current time", u"aktuelle Daten", u"données actuelles", u"Dados atuais da KLV-100"},
    /* 50 */ {u"Nombre del Archivo", u"File's name", u"Dateiname", u"Nom du fichier", u"Nome do arquivo"},
    /* 51 */ {u"Error al abrir el archivo:", u"File openning error", u"Fehler bei Öffnen der Datei", u"Faute en ouvrant le fichier", u"Falha ao abrir arquivo:"},
    /* 52 */ {u"Error al grabar el archivo:", u"File recording error", u"Fehler beim Schreiben der Datei", u"Faute en sauvegardant le fichier", u"Erro ao gravar arquivo:"},
    /* 53 */ {u"Error de fecha de inicio, se adopta 1/1/2011 00:00", u"Starting date error, 1/1/2011 00:00 in use", u"Fehler im Anfangsdatum, 1/1/2011 00:00 in Benutzung", u"Faute dans la date initiale, utilise le 1/1/2011", u"Erro de data de início, adotado 1/1/2011 00:00"},
    /* 54 */ {u"Este registro tiene datos inconsistentes", u"This sample has uneven data", u"Dieses Register hat unvereinbare Daten", u"Cet index contient des données non utilisables", u"Este registro tem dados inconsistentes"},
    /* 55 */ {u"Habilitación sobrescritura", u"Allow overwriting", u"Überschreibung zulassen", u"Permettre de surfrapper", u"Habilitar Rescrever"},
    /* 56 */ {u"Duración Registro", u"Record's time length", u"Dauer der Aufnahme", u"Durée d'enrégistrement", u"Comprimento registro"},
    /* 57 */ {u"Tiempo e/muestras", u"Time between samples", u"Zeitspanne zw.Messungen", u"Temps entre mesures", u"Tempo e/amostras"},
    /* 58 */ {u" muestras ", u" samples ", u" Messungen", u"Mesures", u" mostras "},
    /* 59 */ {u"Ultimas ", u"Last ", u"Letzte ", u"Dernières", u"Ultimas "},
    /* 60 */ {u"Primeras ", u"First ", u"Erste ", u"Premières", u"Primeiras "},
    /* 61 */ {u" muestras de ", u" samples of ", u" Messungen von ", u"mesures de", u" amostras de "},
    /* 62 */ {u" un total de ", u" a total of ", u" insgesamt ", u"un total de", u" um total de "},
    /* 63 */ {u"Guardar como:", u"Save as:", u"Speichern als:", u"Sauvegarder sous", u"Salvar como:"},
    /* 64 */ {u"Data Logger Orvan ® — registradores de temperatura KLV-100", u"Data Logger Orvan ® — KLV-100 temperature loggers", u"Data Logger Orvan ® — KLV-100 Temperaturlogger", u"Data Logger Orvan ® — enregistreurs de température KLV-100", u"Data Logger Orvan ® — registradores de temperatura KLV-100"},
    /* 65 */ {u"Muestra #", u"Sample #", u"Muster #", u"Échantillon #", u"Mostra #"},
    /* 66 */ {u"Transcurrido", u"Elapsed", u"Vergangen", u"Passé", u"Depois"},
    /* 67 */ {u"Hora", u"Time", u"Zeit", u"Temps", u"Hora"},
    /* 68 */ {u"Temperatura", u"Temperature", u"Temperatur", u"Température", u"Temperatura"},
};

void TextTable::CargaTextos(int idioma)
{
    const bool known = idioma >= 0 && idioma <= 4;
    const int column = known ? idioma : 0;
    for (int i = 0; i < Count; ++i)
        m_texts[i] = QString::fromUtf16(kTexts[i][column]);
    if (!known)
        m_texts[size_t(Text::CurrentTime)] = QStringLiteral("Datos actuales del KLV-100");
}

QString TextTable::at(Text entry) const
{
    return at(int(entry));
}

QString TextTable::at(int entry) const
{
    if (entry < 0 || entry >= Count)
        return QString();
    return m_texts[entry];
}

QString TextTable::LineaMarca(int idioma)
{
    const int column = idioma >= 0 && idioma <= 4 ? idioma : 0;
    return QString::fromUtf16(kTexts[int(Text::TrademarkLine)][column]);
}

} // namespace orvan

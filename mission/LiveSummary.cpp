#include "mission/LiveSummary.h"

#include "base/DisplayText.h"
#include "base/Encodings.h"

namespace orvan::mission {

using link::EstadoKLV;

namespace {

// Picture indexes of the link windows' picture list.
enum PictureId {
    ImgLimitOk = 1, ImgLimitExceeded = 2, ImgNoData = 4, ImgButton = 5, ImgSetTime = 6,
    ImgRecording = 7, ImgCircular = 8, ImgLinked = 9, ImgNoLink = 10, ImgFinished = 11,
    ImgSaved = 16, ImgNotSaved = 17,
};

QString dateText(const std::optional<QDateTime>& t)
{
    return t && t->isValid() ? formatDate(*t) : noDateText();
}

QString noLimit(const QString& unit)
{
    return QStringLiteral("    -- ") + unit;
}

void clearPictures(LiveSummary& r)
{
    r.panel.recording = r.panel.startMode = r.panel.circular = r.panel.battery = PanelPicture{};
}

void limits(const EstadoKLV& e, const QString& unit, const TextTable& textos, bool noLimitAsDashes,
             LiveSummary& r)
{
    // The limit pictures keep the tool tips the main window gave them; only the picture changes.
    r.panel.highAlarm = PanelPicture{e.AlarmaHi ? ImgLimitExceeded : ImgLimitOk, textos[Text::HighLimit]};
    r.panel.lowAlarm = PanelPicture{e.AlarmaLo ? ImgLimitExceeded : ImgLimitOk, textos[Text::LowLimit]};
    // Raw 0 (-40 in both units) is how the logger holds "no limit".
    r.panel.highLimit = noLimitAsDashes && e.LimSup == -40 ? noLimit(unit)
                                                          : QStringLiteral(" > %1%2").arg(e.LimSup).arg(unit);
    r.panel.lowLimit = noLimitAsDashes && e.LimInf == -40 ? noLimit(unit)
                                                           : QStringLiteral(" < %1%2").arg(e.LimInf).arg(unit);
}

void identification(const EstadoKLV& e, const QDateTime& now, LiveSummary& r)
{
    r.panel.clock = formatDate(now);
    // The names are the logger's bytes; a line break among them would break the panel's rows.
    r.panel.exporter = oneLineText(e.Exportador);
    r.panel.carrier = oneLineText(e.Transportador);
    r.panel.serial = e.SerieKLV;
}

void linked(const TextTable& textos, LiveSummary& r)
{
    r.panel.missionShown = true;
    r.panel.serialShown = true;
    r.panel.link = PanelPicture{ImgLinked, textos[Text::Linked]};
}

void noLink(const TextTable& textos, LiveSummary& r)
{
    r.panel.missionShown = false;
    r.panel.serialShown = false;
    r.panel.link = PanelPicture{ImgNoLink, textos[Text::NoLink]};
}

PanelPicture savedPicture(const EstadoKLV& e, const TextTable& textos)
{
    return e.Guardado ? PanelPicture{ImgSaved, textos[Text::DataSaved]}
                      : PanelPicture{ImgNotSaved, textos[Text::DataNotSaved]};
}

LiveSummary summarySave(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now,
                    CommandAvailability allowed)
{
    LiveSummary r;
    clearPictures(r);
    r.panel.start = noDateText();
    r.panel.end = noDateText();
    r.panel.temperature = QStringLiteral("--");

    if (!e.Comunicado) {
        noLink(textos, r);
        // With no logger answering, no command may be offered, whatever the last poll allowed.
        r.availability = allowed;
        r.storeButton = r.eraseButton = r.stopButton = r.prepareButton = false;
        return r;
    }

    r.eraseButton = true;
    linked(textos, r);

    if (e.SinDatos) {
        r.panel.recording = PanelPicture{ImgNoData, textos[Text::LoggerEmpty]};
        allowed = {false, false, true};
    } else {
        if (e.ArranquePulsador)
            r.panel.startMode = PanelPicture{ImgButton, textos[Text::WaitingButton]};
        r.panel.samples = QString::number(e.NumMuestras);
        r.panel.interval = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando) {
            allowed = {true, false, false};
            r.panel.start = dateText(e.inicioMision());
            r.panel.recording = PanelPicture{ImgRecording, textos[Text::LoggerRecording]};
            r.panel.end = noDateText();
            if (e.NumMuestras >= 1 && e.TempActual >= 1)
                r.panel.temperature = QString::number(e.TempActual) + unit;
            if (e.DemoraInicio > 0) {
                r.panel.start = noDateText();
                r.panel.startMode = PanelPicture{ImgSetTime, textos[Text::WaitingStartTime]};
            }
            if (e.Circular)
                r.panel.circular = PanelPicture{ImgCircular, textos[Text::CircularTooltip]};
        } else if (e.NumMuestras == 0) {
            allowed = {false, false, true};
            r.panel.recording = PanelPicture{ImgFinished, textos[Text::RecordFinished]};
            if (e.DemoraInicio == 0)
                r.panel.start = dateText(e.HoraPrep);
        } else {
            allowed = {false, true, false};
            r.panel.recording = PanelPicture{ImgFinished, textos[Text::RecordFinished]};
            r.panel.start = dateText(e.inicioMision());
            r.panel.end = dateText(e.finMision());
            r.panel.startMode = savedPicture(e, textos);
        }
    }

    limits(e, unit, textos, true, r);
    identification(e, now, r);

    r.availability = allowed;
    r.prepareButton = allowed.canPrepare;
    r.storeButton = allowed.canStore;
    r.stopButton = allowed.canStop;
    return r;
}

LiveSummary summaryPrep(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now)
{
    LiveSummary r;
    clearPictures(r);
    r.panel.temperature = QStringLiteral("--");
    r.panel.highLimit = noLimit(unit);
    r.panel.lowLimit = noLimit(unit);

    if (!e.Comunicado) {
        noLink(textos, r);
        r.disableAccept = true;
        return r;
    }

    r.prepareFrame = true;
    linked(textos, r);

    if (e.SinDatos) {
        r.panel.recording = PanelPicture{ImgNoData, textos[Text::LoggerEmpty]};
    } else {
        if (e.ArranquePulsador)
            r.panel.startMode = PanelPicture{ImgButton, textos[Text::WaitingButton]};
        if (e.NumMuestras > 0) {
            r.panel.start = dateText(e.inicioMision());
            r.panel.end = noDateText();
        } else if (e.Registrando) {
            r.panel.temperature = QStringLiteral("--");
            if (e.DemoraInicio != 0) {
                r.panel.start = noDateText();
                r.panel.startMode = PanelPicture{ImgSetTime, textos[Text::WaitingStartTime]};
            } else {
                r.panel.start = dateText(addMinutes(e.HoraPrep, e.EsperaInicio));
            }
        }
        r.panel.samples = QString::number(e.NumMuestras);
        r.panel.interval = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando && e.NumMuestras >= 1 && e.TempActual >= 1)
            r.panel.temperature = QString::number(e.TempActual) + unit;
        if (e.Registrando) {
            r.panel.recording = PanelPicture{ImgRecording, textos[Text::LoggerRecording]};
            r.panel.end = noDateText();
            if (e.Circular)
                r.panel.circular = PanelPicture{ImgCircular, textos[Text::CircularTooltip]};
        } else if (e.NumMuestras > 0) {
            r.panel.recording = PanelPicture{ImgFinished, textos[Text::RecordFinished]};
            r.panel.end = dateText(e.finMision());
            r.panel.startMode = savedPicture(e, textos);
        }
    }

    limits(e, unit, textos, false, r);
    identification(e, now, r);
    return r;
}

} // namespace

LiveSummary PoneResumen(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now,
                    SummaryCopy copy, CommandAvailability before)
{
    if (copy == SummaryCopy::frmsave)
        return summarySave(e, unit, textos, now, before);
    return summaryPrep(e, unit, textos, now);
}

QString firmwareMessage(int verFw1, int verFw2, int verFw3)
{
    if (verFw1 >= 1 && verFw2 >= 1 && verFw3 >= 1)
        return QStringLiteral("Version de Firmware %1.%2.%3").arg(verFw1).arg(verFw2).arg(verFw3);
    return QStringLiteral("Establezca conexión con el equipo primero");
}

} // namespace orvan::mission

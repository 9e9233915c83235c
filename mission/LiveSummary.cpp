#include "link/StatusSummary.h"

#include "base/DisplayText.h"
#include "base/Encodings.h"

namespace orvan::link {

namespace {

// Entries of the text table used as tool tips.
enum TextId {
    TxtLowLimit = 4,
    TxtHighLimit = 5,
    TxtNoLink = 36,
    TxtLinked = 38,
    TxtNoData = 39,
    TxtFinished = 40,
    TxtRecording = 41,
    TxtWaitingButton = 42,
    TxtNotSaved = 43,
    TxtSaved = 44,
    TxtWaitingTime = 45,
    TxtCircular = 47,
};

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

void clearPictures(StatusSummary& r)
{
    r.imgRec = r.imgStartmode = r.imgOver = r.imgBat = PanelPicture{};
}

void limits(const EstadoKLV& e, const QString& unit, const TextTable& textos, bool noLimitAsDashes,
             StatusSummary& r)
{
    // The limit pictures keep the tool tips the main window gave them; only the picture changes.
    r.ImgHiAlarX = PanelPicture{e.AlarmaHi ? ImgLimitExceeded : ImgLimitOk, textos[TxtHighLimit]};
    r.imgLoAlarX = PanelPicture{e.AlarmaLo ? ImgLimitExceeded : ImgLimitOk, textos[TxtLowLimit]};
    // Raw 0 (-40 in both units) is how the logger holds "no limit".
    r.lbAlarHiX = noLimitAsDashes && e.LimSup == -40 ? noLimit(unit)
                                                          : QStringLiteral(" > %1%2").arg(e.LimSup).arg(unit);
    r.lbAlarLowX = noLimitAsDashes && e.LimInf == -40 ? noLimit(unit)
                                                           : QStringLiteral(" < %1%2").arg(e.LimInf).arg(unit);
}

void identification(const EstadoKLV& e, const QDateTime& now, StatusSummary& r)
{
    r.lbHoraActualX = formatDate(now);
    // The names are the logger's bytes; a line break among them would break the panel's rows.
    r.lbexportX = oneLineText(e.Exportador);
    r.lbTransportX = oneLineText(e.Transportador);
    r.lbNumserX = e.SerieKLV;
}

void linked(const TextTable& textos, StatusSummary& r)
{
    r.Frame3X = true;
    r.FrameSerial = true;
    r.imgKLV = PanelPicture{ImgLinked, textos[TxtLinked]};
}

void noLink(const TextTable& textos, StatusSummary& r)
{
    r.Frame3X = false;
    r.FrameSerial = false;
    r.imgKLV = PanelPicture{ImgNoLink, textos[TxtNoLink]};
}

PanelPicture savedPicture(const EstadoKLV& e, const TextTable& textos)
{
    return e.Guardado ? PanelPicture{ImgSaved, textos[TxtSaved]}
                      : PanelPicture{ImgNotSaved, textos[TxtNotSaved]};
}

StatusSummary summarySave(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now,
                    CommandAvailability allowed)
{
    StatusSummary r;
    clearPictures(r);
    r.lbHoraInicioX = noDateText();
    r.lbHoraFinX = noDateText();
    r.lbTempActualX = QStringLiteral("--");

    if (!e.Comunicado) {
        noLink(textos, r);
        // With no logger answering, no command may be offered, whatever the last poll allowed.
        r.availability = allowed;
        r.cmdAlmacena = r.cmdClear = r.cmdStop = r.cmdPrepara = false;
        return r;
    }

    r.cmdClear = true;
    linked(textos, r);

    if (e.SinDatos) {
        r.imgRec = PanelPicture{ImgNoData, textos[TxtNoData]};
        allowed = {false, false, true};
    } else {
        if (e.ArranquePulsador)
            r.imgStartmode = PanelPicture{ImgButton, textos[TxtWaitingButton]};
        r.lbNumMuestrasX = QString::number(e.NumMuestras);
        r.lbRangoX = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando) {
            allowed = {true, false, false};
            r.lbHoraInicioX = dateText(e.inicioMision());
            r.imgRec = PanelPicture{ImgRecording, textos[TxtRecording]};
            r.lbHoraFinX = noDateText();
            if (e.NumMuestras >= 1 && e.TempActual >= 1)
                r.lbTempActualX = QString::number(e.TempActual) + unit;
            if (e.DemoraInicio > 0) {
                r.lbHoraInicioX = noDateText();
                r.imgStartmode = PanelPicture{ImgSetTime, textos[TxtWaitingTime]};
            }
            if (e.Circular)
                r.imgOver = PanelPicture{ImgCircular, textos[TxtCircular]};
        } else if (e.NumMuestras == 0) {
            allowed = {false, false, true};
            r.imgRec = PanelPicture{ImgFinished, textos[TxtFinished]};
            if (e.DemoraInicio == 0)
                r.lbHoraInicioX = dateText(e.HoraPrep);
        } else {
            allowed = {false, true, false};
            r.imgRec = PanelPicture{ImgFinished, textos[TxtFinished]};
            r.lbHoraInicioX = dateText(e.inicioMision());
            r.lbHoraFinX = dateText(e.finMision());
            r.imgStartmode = savedPicture(e, textos);
        }
    }

    limits(e, unit, textos, true, r);
    identification(e, now, r);

    r.availability = allowed;
    r.cmdPrepara = allowed.PuedePreparar;
    r.cmdAlmacena = allowed.PuedeAlmacenar;
    r.cmdStop = allowed.PuedeDetener;
    return r;
}

StatusSummary summaryPrep(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now)
{
    StatusSummary r;
    clearPictures(r);
    r.lbTempActualX = QStringLiteral("--");
    r.lbAlarHiX = noLimit(unit);
    r.lbAlarLowX = noLimit(unit);

    if (!e.Comunicado) {
        noLink(textos, r);
        r.disableCmndAbrir = true;
        return r;
    }

    r.framePrepara = true;
    linked(textos, r);

    if (e.SinDatos) {
        r.imgRec = PanelPicture{ImgNoData, textos[TxtNoData]};
    } else {
        if (e.ArranquePulsador)
            r.imgStartmode = PanelPicture{ImgButton, textos[TxtWaitingButton]};
        if (e.NumMuestras > 0) {
            r.lbHoraInicioX = dateText(e.inicioMision());
            r.lbHoraFinX = noDateText();
        } else if (e.Registrando) {
            r.lbTempActualX = QStringLiteral("--");
            if (e.DemoraInicio != 0) {
                r.lbHoraInicioX = noDateText();
                r.imgStartmode = PanelPicture{ImgSetTime, textos[TxtWaitingTime]};
            } else {
                r.lbHoraInicioX = dateText(addMinutes(e.HoraPrep, e.EsperaInicio));
            }
        }
        r.lbNumMuestrasX = QString::number(e.NumMuestras);
        r.lbRangoX = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando && e.NumMuestras >= 1 && e.TempActual >= 1)
            r.lbTempActualX = QString::number(e.TempActual) + unit;
        if (e.Registrando) {
            r.imgRec = PanelPicture{ImgRecording, textos[TxtRecording]};
            r.lbHoraFinX = noDateText();
            if (e.Circular)
                r.imgOver = PanelPicture{ImgCircular, textos[TxtCircular]};
        } else if (e.NumMuestras > 0) {
            r.imgRec = PanelPicture{ImgFinished, textos[TxtFinished]};
            r.lbHoraFinX = dateText(e.finMision());
            r.imgStartmode = savedPicture(e, textos);
        }
    }

    limits(e, unit, textos, false, r);
    identification(e, now, r);
    return r;
}

} // namespace

StatusSummary PoneResumen(const EstadoKLV& e, const QString& unit, const TextTable& textos, const QDateTime& now,
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

} // namespace orvan::link

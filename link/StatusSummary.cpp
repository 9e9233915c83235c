#include "link/StatusSummary.h"

#include "base/Encodings.h"

namespace orvan::link {

namespace {

// Entries of the text table used as tool tips.
enum Texto {
    TxtLimiteInferior = 4,
    TxtLimiteSuperior = 5,
    TxtSinComunicacion = 36,
    TxtComunicado = 38,
    TxtSinDatos = 39,
    TxtFinalizado = 40,
    TxtRegistrando = 41,
    TxtEsperaPulsador = 42,
    TxtNoAlmacenados = 43,
    TxtAlmacenados = 44,
    TxtEsperaHora = 45,
    TxtCircular = 47,
};

// Picture indexes of the link windows' picture list.
enum Imagen {
    ImgLimiteOk = 1, ImgLimiteExcedido = 2, ImgSinDatos = 4, ImgPulsador = 5, ImgHoraFijada = 6,
    ImgRegistrando = 7, ImgCircular = 8, ImgConectado = 9, ImgSinComunicacion = 10, ImgFinalizado = 11,
    ImgAlmacenado = 16, ImgNoAlmacenado = 17,
};

QString fecha(const std::optional<QDateTime>& t)
{
    return t && t->isValid() ? FormatoFecha(*t) : sinFecha();
}

QString sinLimite(const QString& unidad)
{
    return QStringLiteral("    -- ") + unidad;
}

void limpiaImagenes(Resumen& r)
{
    r.imgRec = r.imgStartmode = r.imgOver = r.imgBat = ImagenPanel{};
}

void limites(const EstadoKLV& e, const QString& unidad, const TextTable& textos, bool sinLimiteComoGuiones,
             Resumen& r)
{
    // The limit pictures keep the tool tips the main window gave them; only the picture changes.
    r.ImgHiAlarX = ImagenPanel{e.AlarmaHi ? ImgLimiteExcedido : ImgLimiteOk, textos[TxtLimiteSuperior]};
    r.imgLoAlarX = ImagenPanel{e.AlarmaLo ? ImgLimiteExcedido : ImgLimiteOk, textos[TxtLimiteInferior]};
    // Raw 0 (-40 in both units) is how the logger holds "no limit".
    r.lbAlarHiX = sinLimiteComoGuiones && e.LimSup == -40 ? sinLimite(unidad)
                                                          : QStringLiteral(" > %1%2").arg(e.LimSup).arg(unidad);
    r.lbAlarLowX = sinLimiteComoGuiones && e.LimInf == -40 ? sinLimite(unidad)
                                                           : QStringLiteral(" < %1%2").arg(e.LimInf).arg(unidad);
}

void identificacion(const EstadoKLV& e, const QDateTime& ahora, Resumen& r)
{
    r.lbHoraActualX = FormatoFecha(ahora);
    r.lbexportX = e.Exportador;
    r.lbTransportX = e.Transportador;
    r.lbNumserX = e.SerieKLV;
}

void conectado(const TextTable& textos, Resumen& r)
{
    r.Frame3X = true;
    r.FrameSerial = true;
    r.imgKLV = ImagenPanel{ImgConectado, textos[TxtComunicado]};
}

void sinComunicacion(const TextTable& textos, Resumen& r)
{
    r.Frame3X = false;
    r.FrameSerial = false;
    r.imgKLV = ImagenPanel{ImgSinComunicacion, textos[TxtSinComunicacion]};
}

ImagenPanel guardado(const EstadoKLV& e, const TextTable& textos)
{
    return e.Guardado ? ImagenPanel{ImgAlmacenado, textos[TxtAlmacenados]}
                      : ImagenPanel{ImgNoAlmacenado, textos[TxtNoAlmacenados]};
}

Resumen resumenSave(const EstadoKLV& e, const QString& unidad, const TextTable& textos, const QDateTime& ahora,
                    Disponibilidad puede)
{
    Resumen r;
    limpiaImagenes(r);
    r.lbHoraInicioX = sinFecha();
    r.lbHoraFinX = sinFecha();
    r.lbTempActualX = QStringLiteral("--");

    if (!e.Comunicado) {
        sinComunicacion(textos, r);
        // With no logger answering, no command may be offered, whatever the last poll allowed.
        r.disponibilidad = puede;
        r.cmdAlmacena = r.cmdClear = r.cmdStop = r.cmdPrepara = false;
        return r;
    }

    r.cmdClear = true;
    conectado(textos, r);

    if (e.SinDatos) {
        r.imgRec = ImagenPanel{ImgSinDatos, textos[TxtSinDatos]};
        puede = {false, false, true};
    } else {
        if (e.ArranquePulsador)
            r.imgStartmode = ImagenPanel{ImgPulsador, textos[TxtEsperaPulsador]};
        r.lbNumMuestrasX = QString::number(e.NumMuestras);
        r.lbRangoX = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando) {
            puede = {true, false, false};
            r.lbHoraInicioX = fecha(e.inicioMision());
            r.imgRec = ImagenPanel{ImgRegistrando, textos[TxtRegistrando]};
            r.lbHoraFinX = sinFecha();
            if (e.NumMuestras >= 1 && e.TempActual >= 1)
                r.lbTempActualX = QString::number(e.TempActual) + unidad;
            if (e.DemoraInicio > 0) {
                r.lbHoraInicioX = sinFecha();
                r.imgStartmode = ImagenPanel{ImgHoraFijada, textos[TxtEsperaHora]};
            }
            if (e.Circular)
                r.imgOver = ImagenPanel{ImgCircular, textos[TxtCircular]};
        } else if (e.NumMuestras == 0) {
            puede = {false, false, true};
            r.imgRec = ImagenPanel{ImgFinalizado, textos[TxtFinalizado]};
            if (e.DemoraInicio == 0)
                r.lbHoraInicioX = fecha(e.HoraPrep);
        } else {
            puede = {false, true, false};
            r.imgRec = ImagenPanel{ImgFinalizado, textos[TxtFinalizado]};
            r.lbHoraInicioX = fecha(e.inicioMision());
            r.lbHoraFinX = fecha(e.finMision());
            r.imgStartmode = guardado(e, textos);
        }
    }

    limites(e, unidad, textos, true, r);
    identificacion(e, ahora, r);

    r.disponibilidad = puede;
    r.cmdPrepara = puede.PuedePreparar;
    r.cmdAlmacena = puede.PuedeAlmacenar;
    r.cmdStop = puede.PuedeDetener;
    return r;
}

Resumen resumenPrep(const EstadoKLV& e, const QString& unidad, const TextTable& textos, const QDateTime& ahora)
{
    Resumen r;
    limpiaImagenes(r);
    r.lbTempActualX = QStringLiteral("--");
    r.lbAlarHiX = sinLimite(unidad);
    r.lbAlarLowX = sinLimite(unidad);

    if (!e.Comunicado) {
        sinComunicacion(textos, r);
        r.deshabilitaCmndAbrir = true;
        return r;
    }

    r.framePrepara = true;
    conectado(textos, r);

    if (e.SinDatos) {
        r.imgRec = ImagenPanel{ImgSinDatos, textos[TxtSinDatos]};
    } else {
        if (e.ArranquePulsador)
            r.imgStartmode = ImagenPanel{ImgPulsador, textos[TxtEsperaPulsador]};
        if (e.NumMuestras > 0) {
            r.lbHoraInicioX = fecha(e.inicioMision());
            r.lbHoraFinX = sinFecha();
        } else if (e.Registrando) {
            r.lbTempActualX = QStringLiteral("--");
            if (e.DemoraInicio != 0) {
                r.lbHoraInicioX = sinFecha();
                r.imgStartmode = ImagenPanel{ImgHoraFijada, textos[TxtEsperaHora]};
            } else {
                r.lbHoraInicioX = fecha(SumaMinutos(e.HoraPrep, e.EsperaInicio));
            }
        }
        r.lbNumMuestrasX = QString::number(e.NumMuestras);
        r.lbRangoX = QString::number(e.Intervalo) + QStringLiteral(" min");
        if (e.Registrando && e.NumMuestras >= 1 && e.TempActual >= 1)
            r.lbTempActualX = QString::number(e.TempActual) + unidad;
        if (e.Registrando) {
            r.imgRec = ImagenPanel{ImgRegistrando, textos[TxtRegistrando]};
            r.lbHoraFinX = sinFecha();
            if (e.Circular)
                r.imgOver = ImagenPanel{ImgCircular, textos[TxtCircular]};
        } else if (e.NumMuestras > 0) {
            r.imgRec = ImagenPanel{ImgFinalizado, textos[TxtFinalizado]};
            r.lbHoraFinX = fecha(e.finMision());
            r.imgStartmode = guardado(e, textos);
        }
    }

    limites(e, unidad, textos, false, r);
    identificacion(e, ahora, r);
    return r;
}

} // namespace

Resumen PoneResumen(const EstadoKLV& e, const QString& unidad, const TextTable& textos, const QDateTime& ahora,
                    CopiaResumen copia, Disponibilidad previa)
{
    if (copia == CopiaResumen::frmsave)
        return resumenSave(e, unidad, textos, ahora, previa);
    return resumenPrep(e, unidad, textos, ahora);
}

QString MensajeFirmware(int verFw1, int verFw2, int verFw3)
{
    if (verFw1 >= 1 && verFw2 >= 1 && verFw3 >= 1)
        return QStringLiteral("Version de Firmware %1.%2.%3").arg(verFw1).arg(verFw2).arg(verFw3);
    return QStringLiteral("Establezca conexión con el equipo primero");
}

} // namespace orvan::link

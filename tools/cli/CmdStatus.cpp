#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"

#include "link/LoggerStatus.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPort.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

namespace orvan::cli {

namespace {

// The snapshot as one JSON object, keys in the snapshot's own order.
QString toJson(const link::EstadoKLV& e)
{
    JsonObject json;
    json.add("Comunicado", e.Comunicado)
        .add("EsperaInicio", qint64(e.EsperaInicio))
        .addDate("HoraPrep", e.HoraPrep)
        .add("LimInf", qint64(e.LimInf))
        .add("LimSup", qint64(e.LimSup))
        .add("Intervalo", qint64(e.Intervalo))
        .add("TempActual", qint64(e.TempActual))
        .add("DemoraInicio", qint64(e.DemoraInicio))
        .add("NumMuestras", qint64(e.NumMuestras))
        .add("Exportador", e.Exportador)
        .add("Transportador", e.Transportador)
        .add("SerieKLV", e.SerieKLV)
        .add("ModoKLV", qint64(e.ModoKLV))
        .add("EstadoByte", qint64(e.EstadoByte))
        .add("Circular", e.Circular)
        .add("ArranquePulsador", e.ArranquePulsador)
        .add("Guardado", e.Guardado)
        .add("SinDatos", e.SinDatos)
        .add("Registrando", e.Registrando)
        .add("AlarmaLo", e.AlarmaLo)
        .add("AlarmaHi", e.AlarmaHi)
        .add("VerFw", QList<int>{e.VerFw1, e.VerFw2, e.VerFw3});
    return json.text();
}

} // namespace

int runStatus(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);

    QString port;
    int gradosC = -1;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--port") && i + 1 < args.size())
            port = args[++i];
        else if (args[i] == QLatin1String("--fahrenheit"))
            gradosC = 0;
        else if (args[i] == QLatin1String("--celsius"))
            gradosC = -1;
        else {
            err << "orvanlog-cli: unexpected argument '" << args[i] << "'\n"
                << "usage: orvanlog-cli status --port DEVICE|COM<n> [--fahrenheit]\n";
            return 2;
        }
    }
    if (port.isEmpty()) {
        err << "usage: orvanlog-cli status --port DEVICE|COM<n> [--fahrenheit]\n";
        return 2;
    }

    QString device = port;
    static const QRegularExpression comName(QStringLiteral("^COM([0-9]+)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = comName.match(port);
    if (m.hasMatch()) {
        device = link::devicePathFor(QCoreApplication::applicationDirPath(), m.captured(1).toInt());
        if (device.isEmpty()) {
            err << "orvanlog-cli: " << port << " is not a known port (see orvanlog-cli ports)\n";
            return 1;
        }
    }

    link::QtSerialPort serial;
    serial.setPortName(device);
    try {
        serial.open();
    } catch (const RuntimeError& e) {
        err << "orvanlog-cli: cannot open " << device << ": " << e.description << '\n';
        return 1;
    }

    link::SystemClock clock;
    std::atomic<bool> closing{false};
    // One failure, one line: a port error the link reports is what went wrong, and it ends the
    // poll, which then also finds no logger.
    QString portError;
    link::Link lnk(serial, clock, closing, link::LinkProfile::frmsave(), [&portError](const QString& text) {
        if (portError.isEmpty())
            portError = text;
    });
    link::EstadoKLV estado;
    // The device-data window's poll: blocks 0, 8, 15 and 2, then 8 again.
    const bool answered = link::ActualizaEstado(lnk, estado, gradosC);
    if (!portError.isEmpty()) {
        err << "orvanlog-cli: " << portError << '\n';
        return 1;
    }
    if (!answered) {
        err << "orvanlog-cli: no logger answers on " << device << '\n';
        return 1;
    }
    out << toJson(estado);
    return 0;
}

} // namespace orvan::cli

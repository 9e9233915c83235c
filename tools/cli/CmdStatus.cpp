#include "tools/cli/Commands.h"

#include "link/LoggerStatus.h"
#include "link/PortDirectory.h"
#include "link/QtSerialPort.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QTextStream>

namespace orvan::cli {

namespace {

QString jsonString(const QString& s)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"': out += QStringLiteral("\\\""); break;
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
            else
                out += c;
        }
    }
    return out + QLatin1Char('"');
}

QString jsonBool(bool b)
{
    return b ? QStringLiteral("true") : QStringLiteral("false");
}

// The snapshot as one JSON object, keys in the snapshot's own order.
QString toJson(const link::EstadoKLV& e)
{
    const QString horaPrep = e.HoraPrep.isValid()
        ? jsonString(e.HoraPrep.toString(QStringLiteral("yyyy-MM-ddTHH:mm")))
        : QStringLiteral("null");
    const QList<std::pair<const char*, QString>> fields = {
        {"Comunicado", jsonBool(e.Comunicado)},
        {"EsperaInicio", QString::number(e.EsperaInicio)},
        {"HoraPrep", horaPrep},
        {"LimInf", QString::number(e.LimInf)},
        {"LimSup", QString::number(e.LimSup)},
        {"Intervalo", QString::number(e.Intervalo)},
        {"TempActual", QString::number(e.TempActual)},
        {"DemoraInicio", QString::number(e.DemoraInicio)},
        {"NumMuestras", QString::number(e.NumMuestras)},
        {"Exportador", jsonString(e.Exportador)},
        {"Transportador", jsonString(e.Transportador)},
        {"SerieKLV", jsonString(e.SerieKLV)},
        {"ModoKLV", QString::number(e.ModoKLV)},
        {"EstadoByte", QString::number(e.EstadoByte)},
        {"Circular", jsonBool(e.Circular)},
        {"ArranquePulsador", jsonBool(e.ArranquePulsador)},
        {"Guardado", jsonBool(e.Guardado)},
        {"SinDatos", jsonBool(e.SinDatos)},
        {"Registrando", jsonBool(e.Registrando)},
        {"AlarmaLo", jsonBool(e.AlarmaLo)},
        {"AlarmaHi", jsonBool(e.AlarmaHi)},
        {"VerFw", QStringLiteral("[%1, %2, %3]").arg(e.VerFw1).arg(e.VerFw2).arg(e.VerFw3)},
    };
    QStringList parts;
    for (const auto& [key, value] : fields)
        parts.append(QStringLiteral("  \"%1\": %2").arg(QLatin1String(key), value));
    return QStringLiteral("{\n") + parts.join(QStringLiteral(",\n")) + QStringLiteral("\n}\n");
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
    link::Link lnk(serial, clock, closing, link::LinkProfile::frmsave(),
                   [&err](const QString& text) { err << "orvanlog-cli: " << text << '\n'; });
    link::EstadoKLV estado;
    // The device-data window's poll: blocks 0, 8, 15 and 2, then 8 again.
    if (!link::ActualizaEstado(lnk, estado, gradosC)) {
        err << "orvanlog-cli: no logger answers on " << device << '\n';
        return 1;
    }
    out << toJson(estado);
    return 0;
}

} // namespace orvan::cli

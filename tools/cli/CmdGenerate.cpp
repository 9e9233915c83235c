#include "tools/cli/Commands.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "tools/generator/RecordGenerator.h"

#include <QTextStream>
#include <limits>

namespace orvan::cli {

namespace {

const char* const kUsage =
    "Usage: orvanlog-cli generate SCENARIO FILE [options]\n"
    "Scenarios: finished, alarms, circular, recording, empty\n"
    "Options:\n"
    "  --samples N         samples taken (default 2400; circular 30000; empty 0)\n"
    "  --interval MIN      minutes between samples, 1..255 (default 15)\n"
    "  --seed S            seed of the temperature profile (default 1)\n"
    "  --exporter NAME     exporter name, 12 characters at most\n"
    "  --carrier NAME      carrier name, 12 characters at most\n"
    "  --prepared \"YYYY-MM-DD HH:MM\"  preparation time stamp (default 2024-03-01 10:00)\n"
    "  --delay MIN         programmed start delay in minutes, 0..65535\n"
    "  --wait MIN          minutes the logger added to the start, 0..65535\n"
    "  --low C --high C    temperature limits in degrees Celsius (default 2 and 8)\n"
    "  --serial N          logger serial number, 0..16777215\n";

bool toInt(const QString& text, qint64 low, qint64 high, qint64& value)
{
    bool ok = false;
    value = text.toLongLong(&ok);
    return ok && value >= low && value <= high;
}

} // namespace

int runGenerate(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (args.contains(QLatin1String("--help")) || args.contains(QLatin1String("-h"))) {
        out << kUsage;
        return 0;
    }

    QStringList posicionales;
    generator::GeneratorOptions o;
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (!a.startsWith(QLatin1String("--"))) {
            posicionales << a;
            continue;
        }
        if (i + 1 >= args.size()) {
            err << "orvanlog-cli: option " << a << " needs a value\n";
            return 2;
        }
        const QString v = args.at(++i);
        qint64 n = 0;
        bool ok = true;
        if (a == QLatin1String("--samples")) {
            ok = toInt(v, 0, 16777215, n);
            o.samples = int(n);
        } else if (a == QLatin1String("--interval")) {
            ok = toInt(v, 1, 255, n);
            o.interval = int(n);
        } else if (a == QLatin1String("--seed")) {
            ok = toInt(v, 0, std::numeric_limits<qint64>::max(), n);
            o.seed = quint64(n);
        } else if (a == QLatin1String("--delay")) {
            ok = toInt(v, 0, 65535, n);
            o.delayMinutes = int(n);
        } else if (a == QLatin1String("--wait")) {
            ok = toInt(v, 0, 65535, n);
            o.waitMinutes = int(n);
        } else if (a == QLatin1String("--serial")) {
            ok = toInt(v, 0, 16777215, n);
            o.serial = quint32(n);
        } else if (a == QLatin1String("--low")) {
            o.lowCelsius = v.toDouble(&ok);
        } else if (a == QLatin1String("--high")) {
            o.highCelsius = v.toDouble(&ok);
        } else if (a == QLatin1String("--exporter")) {
            o.exporter = v;
        } else if (a == QLatin1String("--carrier")) {
            o.carrier = v;
        } else if (a == QLatin1String("--prepared")) {
            o.prepared = QDateTime::fromString(v, QStringLiteral("yyyy-MM-dd HH:mm"));
            o.prepared.setTimeSpec(Qt::UTC);
            ok = o.prepared.isValid();
        } else {
            err << "orvanlog-cli: unknown option " << a << " (try generate --help)\n";
            return 2;
        }
        if (!ok) {
            err << "orvanlog-cli: invalid value '" << v << "' for " << a << "\n";
            return 2;
        }
    }
    if (posicionales.size() != 2) {
        err << kUsage;
        return 2;
    }
    const auto escenario = generator::scenarioFromName(posicionales.at(0));
    if (!escenario) {
        err << "orvanlog-cli: unknown scenario '" << posicionales.at(0) << "' (" << generator::scenarioNames().join(QStringLiteral(", ")) << ")\n";
        return 2;
    }
    o.scenario = *escenario;
    const QString problema = generator::validate(o);
    if (!problema.isEmpty()) {
        err << "orvanlog-cli: " << problema << "\n";
        return 2;
    }

    records::MissionRecord record;
    record.setBytes(0, generator::generateImage(o));
    const QString path = posicionales.at(1);
    const records::FileResult r = records::GuardaArchivo(record, path);
    if (!r.ok) {
        err << "orvanlog-cli: cannot write " << path << ": " << r.description << "\n";
        return 1;
    }
    out << path << ": " << posicionales.at(0) << ", " << generator::sampleCount(o) << " samples every "
        << o.interval << " min\n";
    return 0;
}

} // namespace orvan::cli

// orvanlog-cli prepare: programs a logger for a new mission with the same writes and values as
// the preparation window, then reads them back. Every argument is checked before the port is
// opened, so a refused command line writes nothing to the logger.

#include "tools/cli/Commands.h"
#include "tools/cli/LoggerLink.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/Output.h"

#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "mission/ProgramaKLV.h"

#include <QTextStream>
#include <utility>

namespace orvan::cli {

namespace {

QString joined(const QList<int>& values)
{
    QStringList s;
    for (int v : values)
        s.append(QString::number(v));
    return s.join(QLatin1Char(','));
}

int intervalFrom(const Invocation& inv)
{
    const bool days = inv.has(QStringLiteral("--days"));
    const bool interval = inv.has(QStringLiteral("--interval"));
    if (days == interval)
        throw UsageError(QStringLiteral("give either --days D or --interval MIN"));
    if (days) {
        const int d = int(inv.intValue(QStringLiteral("--days"), 1, 360, 0));
        if (!mission::durationDays().contains(d))
            throw UsageError(QStringLiteral("--days %1 is not one of %2").arg(d).arg(joined(mission::durationDays())));
        return mission::intervalForDays(d);
    }
    return int(inv.intValue(QStringLiteral("--interval"), 1, 60, 0));
}

int rawLimit(const Invocation& inv, const QString& option)
{
    const int t = int(inv.intValue(option, -40, 185, 0));
    if (!mission::limitList(inv.unit).contains(t)) {
        throw UsageError(QStringLiteral("%1 %2 is not a limit the logger takes in%3 (see the limit list: %4)")
                             .arg(option).arg(t).arg(UnidadTexto(inv.unit), joined(mission::limitList(inv.unit))));
    }
    return GradosARaw(t, inv.unit);
}

void startFrom(const Invocation& inv, const QDateTime& now, mission::MissionPlan& p)
{
    const QString start = inv.value(QStringLiteral("--start"));
    if (start == QLatin1String("button")) {
        p.start = mission::StartMode::Button;
    } else if (start.startsWith(QLatin1String("delay="))) {
        const auto delay = mission::parseDelay(start.mid(6));
        if (!delay)
            throw UsageError(QStringLiteral("--start delay=MIN needs whole minutes from 0 to 65535, not '%1'").arg(start.mid(6)));
        p.start = mission::StartMode::ButtonDelay;
        p.delay = *delay;
    } else if (start.startsWith(QLatin1String("time="))) {
        const QDateTime t = QDateTime::fromString(start.mid(5), QStringLiteral("yyyy-MM-ddTHH:mm"));
        if (!t.isValid())
            throw UsageError(QStringLiteral("--start time= needs YYYY-MM-DDTHH:MM, not '%1'").arg(start.mid(5)));
        // The window moves a time that passed while the user looked at it to now; a script that
        // names a past time has made a mistake, and starting now would not be what it asked.
        if (mission::minutesUntil(now, t) < 0)
            throw UsageError(QStringLiteral("--start %1 is before the present minute").arg(start.mid(5)));
        if (mission::minutesUntil(now, t) > mission::kMaxStartMinutes)
            throw UsageError(QStringLiteral("--start %1 is more than 45 days ahead").arg(start.mid(5)));
        p.start = mission::StartMode::SetTime;
        p.startTime = t;
    } else {
        throw UsageError(QStringLiteral("--start needs button, delay=MIN or time=YYYY-MM-DDTHH:MM"));
    }
}

} // namespace

int runPrepare(const Invocation& inv)
{
    const QDateTime now = QDateTime::currentDateTime();
    mission::MissionPlan p;
    p.interval = intervalFrom(inv);
    p.rawLimInf = rawLimit(inv, QStringLiteral("--lo"));
    p.rawLimSup = rawLimit(inv, QStringLiteral("--hi"));
    if (p.rawLimInf > p.rawLimSup)
        throw UsageError(QStringLiteral("--lo must not be above --hi"));
    startFrom(inv, now, p);
    p.circular = inv.has(QStringLiteral("--circular"));
    p.exporter = inv.value(QStringLiteral("--exporter"));
    p.carrier = inv.value(QStringLiteral("--carrier"));
    // The exporter's name proposes the record's file name later: no folder separators in it.
    if (p.exporter.contains(QLatin1Char('/')) || p.exporter.contains(QLatin1Char('\\')))
        throw UsageError(QStringLiteral("--exporter must not contain '/' or '\\'"));
    for (const auto& [option, name] : {std::pair{"--exporter", p.exporter}, std::pair{"--carrier", p.carrier}}) {
        if (const auto refusal = mission::nameRefusal(name, inv.idioma))
            throw UsageError(QLatin1String(option) + QStringLiteral(": ") + *refusal);
    }
    if (const auto refusal = mission::validatePlan(p, now))
        throw UsageError(mission::prepText(*refusal, 1));

    LoggerLink logger(inv, link::LinkProfile::frmPrep());
    // Only where the window offers Prepare: a new header over a mission would lose its samples.
    if (const auto refusal = mission::preparationRefusal(logger.estado(inv.unit), inv.idioma))
        throw Failure(*refusal);
    const mission::PrepResult r = mission::ProgramaKLV(logger.link()).run(p, now);
    if (!logger.errors().isEmpty())
        throw Failure(logger.errors().first() + QStringLiteral(" - ") + mission::resultMessage(r, inv.idioma));
    if (r.outcome == mission::PrepResult::Outcome::NoAnswer)
        throw Failure(addedText(AddedText::NoLoggerAnswers, inv.idioma).arg(logger.device()));
    if (!r.verified()) {
        // The first few addresses say where; a whole list would bury the line.
        constexpr int kShown = 8;
        QStringList addresses;
        for (int a : r.differences.mid(0, kShown))
            addresses.append(QString::number(a));
        QString where = addresses.join(QStringLiteral(", "));
        if (r.differences.size() > kShown)
            where = QStringLiteral("%1: %2, …").arg(r.differences.size()).arg(where);
        // The sentence the window shows, then where the logger differs: the count and the first addresses.
        throw Failure(mission::resultMessage(r, inv.idioma) + QStringLiteral(" (%1)").arg(where));
    }

    const qint64 serial = qint64(r.serial[0]) << 16 | qint64(r.serial[1]) << 8 | r.serial[2];
    JsonObject json;
    json.add("verified", true)
        .add("Rango", qint64(p.interval))
        .add("Duracion", mission::durationText(p.interval))
        .add("RawLimInf", qint64(p.rawLimInf))
        .add("RawLimSup", qint64(p.rawLimSup))
        .add("ModoPrep", qint64(r.values.ModoPrep))
        .add("EstadoPrep", qint64(r.values.EstadoPrep))
        .add("DemoraPrep", qint64(r.values.DemoraPrep))
        .add("Exportador", mission::writtenName(p.exporter))
        .add("Transportador", mission::writtenName(p.carrier))
        .add("NumSerie", serial);
    const Labels l(inv.idioma);
    const QString unit = unitSymbol(inv.unit);
    TextGrid table;
    table.row({l(AddedText::ReadBack), l.flag(true)})
        .row({l(Text::TimeBetweenSamples), p.interval, "min"})
        .row({l(Text::RecordLength), mission::durationText(p.interval)})
        .row({l(Text::LowLimit), TextGrid::Cell::numeric(degreesText(RawAGrados(p.rawLimInf, inv.unit))), unit})
        .row({l(Text::HighLimit), TextGrid::Cell::numeric(degreesText(RawAGrados(p.rawLimSup, inv.unit))), unit})
        .row({l(AddedText::ModeByte), int(r.values.ModoPrep)})
        .row({l(AddedText::StatusByte), int(r.values.EstadoPrep)})
        .row({l(AddedText::StartDelay), r.values.DemoraPrep, "min"})
        .row({l(Text::ExporterName), mission::writtenName(p.exporter)})
        .row({l(Text::CarrierName), mission::writtenName(p.carrier)})
        .row({l(Text::LoggerSerial), serial});
    printResult(inv, json.text(), table.text());
    return 0;
}

} // namespace orvan::cli

#include "tools/cli/Commands.h"
#include "tools/cli/Output.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "tools/generator/RecordGenerator.h"

#include <limits>

namespace orvan::cli {

int runGenerate(const Invocation& inv)
{
    generator::GeneratorOptions o;
    o.samples = int(inv.intValue(QStringLiteral("--samples"), 0, 16777215, o.samples));
    o.interval = int(inv.intValue(QStringLiteral("--interval"), 1, 255, o.interval));
    o.seed = quint64(inv.intValue(QStringLiteral("--seed"), 0, std::numeric_limits<qint64>::max(), qint64(o.seed)));
    o.delayMinutes = int(inv.intValue(QStringLiteral("--delay"), 0, 65535, o.delayMinutes));
    o.waitMinutes = int(inv.intValue(QStringLiteral("--wait"), 0, 65535, o.waitMinutes));
    o.serial = quint32(inv.intValue(QStringLiteral("--serial"), 0, 16777215, o.serial));
    o.lowCelsius = inv.numberValue(QStringLiteral("--low"), o.lowCelsius);
    o.highCelsius = inv.numberValue(QStringLiteral("--high"), o.highCelsius);
    o.exporter = inv.value(QStringLiteral("--exporter"), o.exporter);
    o.carrier = inv.value(QStringLiteral("--carrier"), o.carrier);
    if (inv.has(QStringLiteral("--prepared"))) {
        o.prepared = QDateTime::fromString(inv.value(QStringLiteral("--prepared")), QStringLiteral("yyyy-MM-dd HH:mm"));
        o.prepared.setTimeSpec(Qt::UTC);
        if (!o.prepared.isValid())
            throw UsageError(QStringLiteral("invalid value '%1' for --prepared (\"YYYY-MM-DD HH:MM\")").arg(inv.value(QStringLiteral("--prepared"))));
    }

    const QString scenarioName = inv.positional.at(0);
    const QString path = inv.positional.at(1);
    const auto scenario = generator::scenarioFromName(scenarioName);
    if (!scenario)
        throw UsageError(QStringLiteral("unknown scenario '%1' (%2)").arg(scenarioName, generator::scenarioNames().join(QStringLiteral(", "))));
    o.scenario = *scenario;
    const QString problem = generator::validate(o);
    if (!problem.isEmpty())
        throw UsageError(problem);

    records::MissionRecord record;
    record.setBytes(0, generator::generateImage(o));
    inv.makeDefaultFolderFor(path);
    const records::FileResult r = records::GuardaArchivo(record, path);
    if (!r.ok)
        throw Failure(records::failureLine(r, path, inv.idioma));
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(Text::FileName), path})
        .row({l(AddedText::Scenario), scenarioName})
        .row({l(Text::SampleCount), generator::sampleCount(o)})
        .row({l(Text::TimeBetweenSamples), o.interval, "min"});
    printResult(inv, path + QStringLiteral(": ") + scenarioName
                         + QStringLiteral(", %1 samples every %2 min\n").arg(generator::sampleCount(o)).arg(o.interval),
                table.text());
    return 0;
}

} // namespace orvan::cli

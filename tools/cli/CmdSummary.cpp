// summary: the shipment summary of a record file (statistics, mean kinetic temperature, time out
// of range, excursions and the verdict), computed by the same code as the window.

#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/Output.h"

#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "views/ShipmentSummary.h"
#include "views/SummaryFigures.h"
#ifdef ORVAN_CLI_REPORT
#include "shell/ui/RecordReport.h"
#endif

#include <QFileInfo>

#include <charconv>
#include <limits>

namespace orvan::cli {

namespace {

// The shortest text that reads back as the same double, so that scripts get every digit the
// arithmetic produced and none it did not (8 stays 8, 20/3 is 6.666666666666667).
QString number(double x)
{
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, x);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

QString optionalNumber(const std::optional<double>& x)
{
    return x ? number(*x) : QStringLiteral("null");
}

QString date(const QDateTime& t)
{
    return t.isValid() ? JsonObject::quoted(t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm"))) : QStringLiteral("null");
}

QString timedValue(const std::optional<views::TimedValue>& v)
{
    if (!v)
        return QStringLiteral("null");
    return QStringLiteral("{\"value\": %1, \"time\": %2}").arg(number(v->value), date(v->time));
}

QString json(const views::ShipmentSummary& s)
{
    QStringList excursions;
    for (const views::Excursion& e : s.excursions) {
        excursions << QStringLiteral("    {\"zone\": \"%1\", \"start\": %2, \"samples\": %3, \"minutes\": %4, \"peak\": %5}")
                          .arg(views::zoneKey(e.zone), date(e.start))
                          .arg(e.samples)
                          .arg(e.minutes)
                          .arg(number(e.peak));
    }
    const QString list = excursions.isEmpty() ? QStringLiteral("[]")
                                              : QStringLiteral("[\n") + excursions.join(QStringLiteral(",\n")) +
                                                    QStringLiteral("\n  ]");
    QStringList members = {
        QStringLiteral("\"unit\": \"%1\"").arg(s.unit == Unit::Celsius ? 'C' : 'F'),
        QStringLiteral("\"samples\": %1").arg(s.samples),
        QStringLiteral("\"missing\": %1").arg(s.missing),
        QStringLiteral("\"of\": %1").arg(s.of),
        QStringLiteral("\"interval_minutes\": %1").arg(s.interval),
        QStringLiteral("\"low_limit\": %1").arg(number(s.lowLimit)),
        QStringLiteral("\"high_limit\": %1").arg(number(s.highLimit)),
        QStringLiteral("\"min\": %1").arg(timedValue(s.min)),
        QStringLiteral("\"max\": %1").arg(timedValue(s.max)),
        QStringLiteral("\"mean\": %1").arg(optionalNumber(s.mean)),
        QStringLiteral("\"mkt\": %1").arg(optionalNumber(s.mkt)),
        QStringLiteral("\"minutes\": {\"within\": %1, \"above\": %2, \"below\": %3}")
            .arg(s.minutesWithin)
            .arg(s.minutesAbove)
            .arg(s.minutesBelow),
        QStringLiteral("\"excursions\": %1").arg(list),
        QStringLiteral("\"allowed_minutes\": {\"above\": %1, \"below\": %2}").arg(s.allowed.above).arg(s.allowed.below),
        QStringLiteral("\"verdict\": \"%1\"").arg(views::verdictKey(s.verdict)),
    };
    return QStringLiteral("{\n  ") + members.join(QStringLiteral(",\n  ")) + QStringLiteral("\n}\n");
}

QString table(const views::ShipmentSummary& s, const Labels& l)
{
    const QString unit = unitSymbol(s.unit);
    // For people: the scale's one decimal, two for the averages, so that a column lines up.
    const auto degrees = [&](const std::optional<double>& x, int decimals = 1) {
        if (!x)
            return TextGrid::Cell::numeric(QStringLiteral("-"));
        const QString text = decimals == 1 ? degreesText(*x) : QString::number(*x, 'f', decimals);
        return TextGrid::Cell::numeric(text + QLatin1Char(' ') + unit);
    };
    TextGrid figures;
    figures.row({l(AddedText::Verdict), views::verdictText(s.verdict, l.idioma())});
    const QString note = views::heldNote(s, l.idioma());
    if (!note.isEmpty())
        figures.heading(note);
    figures.row({l(Text::SampleQuantity), s.samples});
    figures.row({l(AddedText::MissingSamples), s.missing});
    figures.row({l(Text::IntervalMinutes), s.interval});
    figures.row({l(Text::LowLimit), degrees(s.lowLimit)});
    figures.row({l(Text::HighLimit), degrees(s.highLimit)});
    const auto extreme = [&](AddedText name, const std::optional<views::TimedValue>& v) {
        figures.row({l(name), degrees(v ? std::optional<double>(v->value) : std::nullopt),
                     v ? tableDate(v->time) : QString()});
    };
    extreme(AddedText::Minimum, s.min);
    extreme(AddedText::Maximum, s.max);
    figures.row({l(AddedText::Mean), degrees(s.mean, 2)});
    figures.row({l(AddedText::MeanKinetic), degrees(s.mkt, 2)});

    TextGrid zones;
    zones.row({l(AddedText::Zone), l(AddedText::Minutes), l(AddedText::AllowedMinutes)});
    zones.row({l(AddedText::ZoneBelow), s.minutesBelow, s.allowed.below});
    zones.row({l(AddedText::ZoneWithin), s.minutesWithin});
    zones.row({l(AddedText::ZoneAbove), s.minutesAbove, s.allowed.above});

    TextGrid excursions;
    excursions.heading(l(AddedText::Excursions));
    if (s.excursions.isEmpty())
        excursions.row({l(AddedText::NoExcursions)});
    else
        excursions.row({l(AddedText::Zone), l(Text::Date), l(Text::SampleQuantity), l(AddedText::Minutes),
                        l(AddedText::Peak)});
    for (const views::Excursion& e : s.excursions) {
        excursions.row({l(e.zone == views::Above ? AddedText::ZoneAbove : AddedText::ZoneBelow), tableDate(e.start),
                        e.samples, e.minutes, degrees(e.peak)});
    }
    return figures.text() + QLatin1Char('\n') + zones.text() + QLatin1Char('\n') + excursions.text();
}

} // namespace

int runSummary(const Invocation& inv)
{
    // A bad allowance is a usage error before the file is read.
    constexpr qint64 kMostMinutes = std::numeric_limits<qint32>::max();
    const views::Allowances allowed{inv.intValue(QStringLiteral("--allow-above"), 0, kMostMinutes, 0),
                                    inv.intValue(QStringLiteral("--allow-below"), 0, kMostMinutes, 0)};
    const QString path = inv.positional.first();
    const QString pdf = inv.value(QStringLiteral("--pdf"));
    if (inv.has(QStringLiteral("--pdf"))) {
        if (!pdf.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            throw UsageError(QStringLiteral("the shipment report is a PDF: --pdf OUT must end in .pdf"));
        inv.refuseOutput(pdf);
        inv.makeDefaultFolderFor(pdf);
    }
    records::MissionRecord record;
    const records::FileResult loaded = records::LeerArchivo(record, path);
    if (!loaded.ok)
        throw Failure(records::failureLine(loaded, path, inv.idioma));
    record.LeeAuditoria();
    const views::ShipmentSummary s = views::summarize(record, inv.unit, allowed);
#ifdef ORVAN_CLI_REPORT
    // The page first: a run that cannot write it fails whole, with nothing on stdout.
    if (!pdf.isEmpty()) {
        record.Archivo = QFileInfo(path).absoluteFilePath();
        record.NombreArchivo = QFileInfo(path).fileName();
        QString error;
        if (!shell::writeShipmentReport(record, inv.idioma, inv.unit, allowed, pdf, &error))
            throw Failure(error);
    }
#endif
    printResult(inv, json(s), table(s, Labels(inv.idioma)));
    if (!pdf.isEmpty())
        tellWritten(inv, pdf, QFileInfo(pdf).size());
    return 0;
}

} // namespace orvan::cli

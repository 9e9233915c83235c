#include "views/SummaryFigures.h"

#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "base/TextTable.h"

namespace orvan::views {

QString degreesText(double degrees, Unit unit, const QLocale& numbers, int decimals)
{
    return numbers.toString(degrees, 'f', decimals) + UnidadTexto(unit);
}

QString verdictText(Verdict v, int idioma)
{
    switch (v) {
    case Verdict::Pass:
        return addedText(AddedText::VerdictPass, idioma);
    case Verdict::Fail:
        return addedText(AddedText::VerdictFail, idioma);
    case Verdict::NoData:
        break;
    }
    return addedText(AddedText::VerdictNoData, idioma);
}

QVector<FigureRow> summaryFigures(const ShipmentSummary& s, const TextTable& textos, int idioma,
                                  const QLocale& numbers)
{
    const auto degrees = [&](const std::optional<double>& x, int decimals = 1) {
        return x ? degreesText(*x, s.unit, numbers, decimals) : QStringLiteral("-");
    };
    const auto extreme = [&](AddedText name, const std::optional<TimedValue>& v) {
        return FigureRow{addedText(name, idioma), v ? degrees(v->value) : QStringLiteral("-"),
                         v ? formatDate(v->time) : QString()};
    };
    QVector<FigureRow> rows = {
        {textos[Text::SampleQuantity].trimmed(), QString::number(s.samples), {}},
        {textos[Text::SampleCount].trimmed(), QString::number(s.of), {}},
        {addedText(AddedText::MissingSamples, idioma), QString::number(s.missing), {}},
    };
    const QString note = heldNote(s, idioma);
    if (!note.isEmpty())
        rows.append({QString(), note, {}});
    rows.append({textos[Text::TimeBetweenSamples].trimmed(), QStringLiteral("%1 min").arg(s.interval), {}});
    rows.append({textos[Text::LowLimit].trimmed(), degreesText(s.lowLimit, s.unit, numbers), {}});
    rows.append({textos[Text::HighLimit].trimmed(), degreesText(s.highLimit, s.unit, numbers), {}});
    rows.append(extreme(AddedText::Minimum, s.min));
    rows.append(extreme(AddedText::Maximum, s.max));
    rows.append({addedText(AddedText::Mean, idioma), degrees(s.mean, 2), {}});
    rows.append({addedText(AddedText::MeanKinetic, idioma), degrees(s.mkt, 2), {}});
    return rows;
}

QVector<FigureRow> zoneMinutes(const ShipmentSummary& s, int idioma)
{
    return {
        {addedText(AddedText::ZoneBelow, idioma), QString::number(s.minutesBelow), QString::number(s.allowed.below)},
        {addedText(AddedText::ZoneWithin, idioma), QString::number(s.minutesWithin), {}},
        {addedText(AddedText::ZoneAbove, idioma), QString::number(s.minutesAbove), QString::number(s.allowed.above)},
    };
}

QStringList excursionCells(const Excursion& e, Unit unit, int idioma, const QLocale& numbers)
{
    return {addedText(e.zone == Above ? AddedText::ZoneAbove : AddedText::ZoneBelow, idioma), formatDate(e.start),
            QString::number(e.samples), QString::number(e.minutes), degreesText(e.peak, unit, numbers)};
}

QString excursionsCaption(int listed, int total, int idioma)
{
    if (listed < total)
        return addedText(AddedText::ExcursionsShown, idioma).arg(listed).arg(total);
    return QStringLiteral("%1: %2").arg(addedText(AddedText::Excursions, idioma)).arg(total);
}

} // namespace orvan::views

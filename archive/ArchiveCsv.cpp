// The archive's rows by name, and their CSV export: RFC 4180 (comma separated, CRLF line ends,
// a field quoted when it holds a comma, a quotation mark or a line break), UTF-8, written whole
// or not at all.

#include "archive/Archive.h"
#include "archive/Rows.h"

#include "base/AddedTexts.h"
#include "base/AtomicWrite.h"

#include <QDir>

#include <charconv>
#include <cmath>

namespace orvan::archive {

namespace {

QVariant date(const QDateTime& t)
{
    return t.isValid() ? QVariant(t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm"))) : QVariant(QMetaType(QMetaType::QString));
}

QVariant optional(const std::optional<double>& x)
{
    return x ? QVariant(*x) : QVariant(QMetaType(QMetaType::Double));
}

// The shortest text that reads back as the same number.
QString shortest(double x)
{
    char buffer[32];
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, x);
    return QString::fromLatin1(buffer, int(r.ptr - buffer));
}

QString csvField(const QVariant& v)
{
    if (v.isNull())
        return {};
    QString text;
    switch (v.typeId()) {
    case QMetaType::Double:
        text = shortest(v.toDouble());
        break;
    case QMetaType::Bool:
        text = v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
        break;
    default:
        text = v.toString();
    }
    if (text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"')) || text.contains(QLatin1Char('\n')) ||
        text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1Char('"'), QLatin1String("\"\""));
        text = QLatin1Char('"') + text + QLatin1Char('"');
    }
    return text;
}

} // namespace

double inUnit(double celsius, Unit unit)
{
    // Rounded to a millionth, so that 35.6 °F does not come out as 35.600000000000001.
    return unit == Unit::Celsius ? celsius : std::round((celsius * 9 / 5 + 32) * 1e6) / 1e6;
}

QVector<QPair<QString, QVariant>> rowFields(const RecordRow& r, Unit unit)
{
    const QVariant none(QMetaType(QMetaType::QString));
    const auto degrees = [&](const std::optional<double>& x) { return optional(x ? std::optional<double>(inUnit(*x, unit)) : std::nullopt); };
    return {
        {QStringLiteral("sha256"), r.sha},
        {QStringLiteral("unit"), unit == Unit::Celsius ? QStringLiteral("C") : QStringLiteral("F")},
        {QStringLiteral("serial"), qint64(r.serial)},
        {QStringLiteral("exporter"), r.exporter},
        {QStringLiteral("carrier"), r.carrier},
        {QStringLiteral("mission_start"), date(r.missionStart)},
        {QStringLiteral("mission_end"), date(r.missionEnd)},
        {QStringLiteral("interval_minutes"), qint64(r.interval)},
        {QStringLiteral("low_limit"), inUnit(r.lowLimit, unit)},
        {QStringLiteral("high_limit"), inUnit(r.highLimit, unit)},
        {QStringLiteral("samples"), qint64(r.samples)},
        {QStringLiteral("held_samples"), qint64(r.heldSamples)},
        {QStringLiteral("circular"), r.circular},
        {QStringLiteral("alarm_high"), r.alarmHigh},
        {QStringLiteral("alarm_low"), r.alarmLow},
        {QStringLiteral("min"), degrees(r.min)},
        {QStringLiteral("max"), degrees(r.max)},
        {QStringLiteral("mean"), degrees(r.mean)},
        {QStringLiteral("mkt"), degrees(r.mkt)},
        {QStringLiteral("minutes_above"), r.minutesAbove},
        {QStringLiteral("minutes_below"), r.minutesBelow},
        {QStringLiteral("minutes_within"), r.minutesWithin},
        {QStringLiteral("excursions"), qint64(r.excursions)},
        {QStringLiteral("worst_excursion_minutes"), r.worstExcursionMinutes},
        {QStringLiteral("worst_excursion_zone"), r.worstExcursionZone ? QVariant(views::zoneKey(*r.worstExcursionZone)) : none},
        {QStringLiteral("verdict"), views::verdictKey(r.verdict)},
        {QStringLiteral("archived_at"), date(r.archivedAt)},
        {QStringLiteral("archived_by"), r.archivedBy},
        {QStringLiteral("archived_on"), r.archivedOn},
        {QStringLiteral("computer"), r.computer},
        {QStringLiteral("path"), r.path},
        {QStringLiteral("places"), qint64(r.places)},
        {QStringLiteral("state"), placeStateKey(r.state)},
    };
}

QString rows::writeCsv(const QVector<RecordRow>& list, const QString& path, Unit unit, int idioma)
{
    QStringList header;
    for (const auto& field : rowFields(RecordRow()))
        header << field.first;
    QString text = header.join(QLatin1Char(',')) + QLatin1String("\r\n");
    for (const RecordRow& row : list) {
        QStringList line;
        for (const auto& field : rowFields(row, unit))
            line << csvField(field.second);
        text += line.join(QLatin1Char(',')) + QLatin1String("\r\n");
    }
    const AtomicWrite written = writeAtomically(path, text.toUtf8());
    if (written.ok())
        return {};
    return written.failed == AtomicWrite::Stage::Refused
                   ? addedText(AddedText::WriteNotRegular, idioma).arg(QDir::toNativeSeparators(path))
                   : addedText(AddedText::ArchiveCannotWrite, idioma).arg(QDir::toNativeSeparators(path), written.errorString);
}

} // namespace orvan::archive

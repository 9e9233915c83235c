// A record file becomes an archive row: the header fields, the shipment summary in Celsius with
// no minutes allowed out of range, and the SHA-256 of its bytes.

#include "archive/Rows.h"

#include "base/AddedTexts.h"
#include "base/Encodings.h"
#include "base/RegularFile.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"

#include <QCryptographicHash>

namespace orvan::archive {

QString sha256Hex(const QByteArray& bytes)
{
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

PlaceState checkFile(const QString& path, const QString& sha)
{
    const BoundedRead read = readRegularFile(path, records::kImageSize);
    if (read.outcome == BoundedRead::Outcome::TooLong)
        return PlaceState::Changed;
    if (!read.ok())
        return PlaceState::Missing;
    return read.bytes.size() == records::kImageSize && sha256Hex(read.bytes) == sha ? PlaceState::Ok
                                                                                  : PlaceState::Changed;
}

QString placeStateKey(PlaceState s)
{
    switch (s) {
    case PlaceState::Ok:
        return QStringLiteral("ok");
    case PlaceState::Changed:
        return QStringLiteral("changed");
    case PlaceState::Missing:
        return QStringLiteral("missing");
    case PlaceState::Unchecked:
        break;
    }
    return QStringLiteral("unchecked");
}

namespace rows {

QString cleanName(const QString& name)
{
    // A hostile file may put any byte into the name fields; a control character (a zero byte
    // above all, which a server's text column refuses) becomes a blank.
    QString text = name;
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char(' ');
    }
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

// Written and read by hand: a search reads three dates a row, and Qt's format parser costs more
// than the rest of the row.
QVariant dateValue(const QDateTime& t)
{
    if (!t.isValid())
        return QVariant(QMetaType(QMetaType::QString));
    const QDate d = t.date();
    const QTime h = t.time();
    return QString::asprintf("%04d-%02d-%02d %02d:%02d", d.year(), d.month(), d.day(), h.hour(), h.minute());
}

QDateTime dateFrom(const QVariant& v)
{
    if (v.isNull())
        return {};
    const QString text = v.toString();
    if (text.size() != 16)
        return {};
    // Digit by digit: a number parser's generality costs more than the rest of the date.
    bool digits = true;
    const auto number = [&](int from, int length) {
        int n = 0;
        for (const QChar c : QStringView(text).mid(from, length)) {
            digits = digits && c.unicode() >= '0' && c.unicode() <= '9';
            n = n * 10 + (c.unicode() - '0');
        }
        return n;
    };
    const QDate day(number(0, 4), number(5, 2), number(8, 2));
    const QTime time(number(11, 2), number(14, 2));
    return digits && day.isValid() && time.isValid() ? QDateTime(day, time, Qt::UTC) : QDateTime();
}

std::variant<Examined, QString> examine(const QString& path, qint64 size, int idioma)
{
    if (fileKind(path) == FileKind::Other)
        return addedText(AddedText::ReadNotRegular, idioma).arg(path);
    if (size != records::kImageSize)
        return addedText(AddedText::ArchiveWrongSize, idioma).arg(size);
    records::MissionRecord record;
    const records::FileResult read = records::LeerArchivo(record, path);
    if (!read.ok)
        return records::failureLine(read, path, idioma);
    // A record whose dates fall back to the default start is one the open dialog warns about:
    // its figures would be dated wrongly, so it is not archived.
    if (!record.LeeAuditoria().isEmpty())
        return addedText(AddedText::ArchiveDateError, idioma);

    Examined e;
    e.image = record.fileImage();
    const records::Auditoria& c = record.campos;
    RecordRow& r = e.row;
    r.sha = sha256Hex(e.image);
    r.serial = c.NumSerie.trimmed().toInt();
    r.exporter = cleanName(c.Exportador);
    r.carrier = cleanName(c.Transportador);
    r.missionStart = c.InicioMision;
    r.missionEnd = c.FinMision;
    r.interval = c.Rango;
    r.lowLimitRaw = c.LoThreshold;
    r.highLimitRaw = c.HiThreshold;
    r.lowLimit = RawAGrados(c.LoThreshold, Unit::Celsius);
    r.highLimit = RawAGrados(c.HiThreshold, Unit::Celsius);
    r.samples = c.NumMuestras;
    r.heldSamples = record.heldSampleCount();
    r.circular = c.Circular;
    r.alarmHigh = c.AlarmaHi;
    r.alarmLow = c.AlarmaLo;

    const views::ShipmentSummary s = views::summarize(record, Unit::Celsius);
    if (s.min)
        r.min = s.min->value;
    if (s.max)
        r.max = s.max->value;
    r.mean = s.mean;
    r.mkt = s.mkt;
    r.minutesAbove = s.minutesAbove;
    r.minutesBelow = s.minutesBelow;
    r.minutesWithin = s.minutesWithin;
    r.excursions = s.excursions.size();
    for (const views::Excursion& x : s.excursions) {
        if (x.minutes > r.worstExcursionMinutes) {
            r.worstExcursionMinutes = x.minutes;
            r.worstExcursionZone = x.zone;
        }
    }
    r.verdict = s.verdict;
    return e;
}

} // namespace rows
} // namespace orvan::archive

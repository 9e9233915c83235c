// archive: the records archive from the command line. add indexes files and folders, list and
// stats search, verify proves the archived files unchanged (exit 1 with the list when one is not),
// export writes a search as CSV. Every subcommand takes --db (else the configured archive, else
// the embedded file in the data folder).

#include "tools/cli/Commands.h"
#include "tools/cli/JsonObject.h"
#include "tools/cli/Output.h"

#include "archive/Archive.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

#include <charconv>

namespace orvan::cli {

namespace {

const QStringList kFilterOptions = {QStringLiteral("--serial"), QStringLiteral("--exporter"), QStringLiteral("--carrier"),
                                    QStringLiteral("--from"), QStringLiteral("--to"), QStringLiteral("--verdict")};

QString jsonValue(const QVariant& v)
{
    if (v.isNull())
        return QStringLiteral("null");
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QMetaType::LongLong:
    case QMetaType::Int:
        return QString::number(v.toLongLong());
    case QMetaType::Double: {
        char buffer[32];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, v.toDouble());
        return QString::fromLatin1(buffer, int(r.ptr - buffer));
    }
    default:
        return JsonObject::quoted(v.toString());
    }
}

// Members of a JSON object: each key with its value already written as JSON.
using Members = QVector<QPair<QString, QString>>;

Members members(const QVector<QPair<QString, QVariant>>& fields)
{
    Members m;
    for (const auto& f : fields)
        m.append({f.first, jsonValue(f.second)});
    return m;
}

QString jsonObject(const Members& m, const QString& indent)
{
    QStringList lines;
    for (const auto& member : m)
        lines << indent + QStringLiteral("  ") + JsonObject::quoted(member.first) + QStringLiteral(": ") + member.second;
    return QStringLiteral("{\n") + lines.join(QStringLiteral(",\n")) + QLatin1Char('\n') + indent + QLatin1Char('}');
}

QString jsonFields(const QVector<QPair<QString, QVariant>>& fields, const QString& indent)
{
    return jsonObject(members(fields), indent);
}

QString jsonList(const QStringList& objects, const QString& indent)
{
    if (objects.isEmpty())
        return QStringLiteral("[]");
    return QStringLiteral("[\n") + indent + QStringLiteral("  ") + objects.join(QStringLiteral(",\n") + indent + QStringLiteral("  ")) +
           QLatin1Char('\n') + indent + QLatin1Char(']');
}

QDate dateOption(const Invocation& inv, const QString& option)
{
    if (!inv.has(option))
        return {};
    const QDate date = QDate::fromString(inv.value(option), QStringLiteral("yyyy-MM-dd"));
    if (!date.isValid())
        throw UsageError(QStringLiteral("invalid value '%1' for %2 (YYYY-MM-DD)").arg(inv.value(option), option));
    return date;
}

archive::Filter filterOf(const Invocation& inv)
{
    archive::Filter f;
    if (inv.has(QStringLiteral("--serial")))
        f.serial = int(inv.intValue(QStringLiteral("--serial"), 0, 16777215, 0));
    f.exporter = inv.value(QStringLiteral("--exporter"));
    f.carrier = inv.value(QStringLiteral("--carrier"));
    f.from = dateOption(inv, QStringLiteral("--from"));
    f.to = dateOption(inv, QStringLiteral("--to"));
    if (inv.has(QStringLiteral("--verdict"))) {
        const QString v = inv.value(QStringLiteral("--verdict"));
        for (views::Verdict verdict : {views::Verdict::Pass, views::Verdict::Fail, views::Verdict::NoData}) {
            if (views::verdictKey(verdict) == v)
                f.verdict = verdict;
        }
        if (!f.verdict)
            throw UsageError(QStringLiteral("invalid value '%1' for --verdict (pass, fail or \"no data\")").arg(v));
    }
    return f;
}

void openArchive(archive::Archive& a, const Invocation& inv)
{
    a.setLanguage(inv.idioma);
    QString target = inv.value(QStringLiteral("--db"));
    if (inv.has(QStringLiteral("--db"))) {
        QString why;
        if (!archive::parseTarget(target, &why, inv.idioma))
            throw UsageError(why);
    } else {
        target = archive::effectiveTarget(inv.appFolder, inv.dataFolder);
    }
    if (!a.open(target))
        throw Failure(a.error());
}

QString temperature(const std::optional<double>& celsius, Unit unit)
{
    return celsius ? degreesText(archive::inUnit(*celsius, unit)) : QStringLiteral("-");
}

QString verdictText(views::Verdict v, const Labels& l)
{
    switch (v) {
    case views::Verdict::Pass:
        return l(AddedText::VerdictPass);
    case views::Verdict::Fail:
        return l(AddedText::VerdictFail);
    case views::Verdict::NoData:
        break;
    }
    return l(AddedText::VerdictNoData);
}

QString stateText(archive::PlaceState s, const Labels& l)
{
    switch (s) {
    case archive::PlaceState::Changed:
        return l(AddedText::ArchivePlaceChanged);
    case archive::PlaceState::Missing:
        return l(AddedText::ArchivePlaceMissing);
    default:
        return {};
    }
}

int runAdd(const Invocation& inv, archive::Archive& a)
{
    const QStringList paths = inv.positional.mid(1);
    if (paths.isEmpty())
        throw UsageError(QStringLiteral("archive add needs one or more files or folders"));
    const archive::AddReport r = a.add(paths);
    if (!r.ok())
        throw Failure(r.error);
    QStringList replaced, skipped;
    for (const archive::ReplacedPlace& p : r.replaced) {
        replaced << jsonFields({{QStringLiteral("path"), QDir::toNativeSeparators(p.path)},
                                {QStringLiteral("former_sha256"), p.formerSha},
                                {QStringLiteral("sha256"), p.sha}},
                               QStringLiteral("    "));
    }
    for (const archive::SkippedFile& s : r.skipped) {
        skipped << jsonFields({{QStringLiteral("path"), QDir::toNativeSeparators(s.path)}, {QStringLiteral("reason"), s.reason}},
                              QStringLiteral("    "));
    }
    const QString json = QStringLiteral("{\n  \"archive\": %1,\n  \"found\": %2,\n  \"added\": %3,\n  \"new_places\": %4,\n"
                                        "  \"unchanged\": %5,\n  \"refreshed\": %6,\n  \"replaced\": %7,\n  \"not_archived\": %8\n}\n")
                             .arg(JsonObject::quoted(a.target().text))
                             .arg(r.found)
                             .arg(r.added)
                             .arg(r.newPlaces)
                             .arg(r.unchanged)
                             .arg(r.refreshed)
                             .arg(jsonList(replaced, QStringLiteral("  ")), jsonList(skipped, QStringLiteral("  ")));
    const Labels l(inv.idioma);
    TextGrid counts;
    counts.row({l(AddedText::ArchiveAdded), r.added});
    counts.row({l(AddedText::ArchiveNewPlaces), r.newPlaces});
    counts.row({l(AddedText::ArchiveUnchanged), r.unchanged});
    counts.row({l(AddedText::ArchiveReplaced), int(r.replaced.size())});
    counts.row({l(AddedText::ArchiveNotArchived), int(r.skipped.size())});
    TextGrid files;
    for (const archive::SkippedFile& s : r.skipped)
        files.row({QDir::toNativeSeparators(s.path), s.reason});
    printResult(inv, json, counts.text() + (files.isEmpty() ? QString() : QLatin1Char('\n') + files.text()));
    return 0;
}

int runList(const Invocation& inv, archive::Archive& a)
{
    const QVector<archive::RecordRow> rows = a.query(filterOf(inv));
    if (!a.error().isEmpty())
        throw Failure(a.error());
    QStringList objects;
    for (const archive::RecordRow& r : rows)
        objects << jsonFields(archive::rowFields(r, inv.unit), QStringLiteral("    "));
    const QString json = QStringLiteral("{\n  \"archive\": %1,\n  \"count\": %2,\n  \"records\": %3\n}\n")
                             .arg(JsonObject::quoted(a.target().text))
                             .arg(rows.size())
                             .arg(jsonList(objects, QStringLiteral("  ")));
    const Labels l(inv.idioma);
    const QString unit = QLatin1Char(' ') + unitSymbol(inv.unit);
    TextGrid table;
    table.row({l(Text::Date), l(Text::LoggerSerial), l(Text::ExporterName), l(Text::CarrierName), l(Text::SampleQuantity),
               l(AddedText::Minimum) + unit, l(AddedText::Maximum) + unit, l(AddedText::MeanKinetic) + unit,
               l(AddedText::ArchiveMinutesOut), l(AddedText::Verdict), l(AddedText::ArchiveState), l(AddedText::ArchiveFile)});
    for (const archive::RecordRow& r : rows) {
        table.row({tableDate(r.missionStart), r.serial, r.exporter, r.carrier, r.samples,
                   TextGrid::Cell::numeric(temperature(r.min, inv.unit)), TextGrid::Cell::numeric(temperature(r.max, inv.unit)),
                   TextGrid::Cell::numeric(r.mkt ? QString::number(archive::inUnit(*r.mkt, inv.unit), 'f', 2) : QStringLiteral("-")),
                   r.minutesOut(), verdictText(r.verdict, l), stateText(r.state, l), QDir::toNativeSeparators(r.path)});
    }
    printResult(inv, json, table.text());
    return 0;
}

int runStatsOf(const Invocation& inv, archive::Archive& a)
{
    const archive::FleetStats s = a.stats(filterOf(inv));
    if (!a.error().isEmpty())
        throw Failure(a.error());
    QString worst = QStringLiteral("null");
    if (s.worstExcursion) {
        const auto& w = *s.worstExcursion;
        worst = jsonFields({{QStringLiteral("sha256"), w.sha},
                            {QStringLiteral("serial"), qint64(w.serial)},
                            {QStringLiteral("minutes"), w.minutes},
                            {QStringLiteral("zone"), views::zoneKey(w.zone)},
                            {QStringLiteral("mission_start"), w.missionStart.isValid()
                                                                  ? QVariant(w.missionStart.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm")))
                                                                  : QVariant(QMetaType(QMetaType::QString))}},
                           QStringLiteral("  "));
    }
    Members m = members({{QStringLiteral("archive"), a.target().text},
                         {QStringLiteral("shipments"), qint64(s.shipments)},
                         {QStringLiteral("pass"), qint64(s.pass)},
                         {QStringLiteral("fail"), qint64(s.fail)},
                         {QStringLiteral("no_data"), qint64(s.noData)},
                         {QStringLiteral("percent_pass"), s.percentPass()},
                         {QStringLiteral("minutes_above"), s.minutesAbove},
                         {QStringLiteral("minutes_below"), s.minutesBelow}});
    m.append({QStringLiteral("worst_excursion"), worst});
    const QString json = jsonObject(m, QString()) + QLatin1Char('\n');
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(AddedText::ArchiveShipments), s.shipments});
    table.row({l(AddedText::VerdictPass), s.pass});
    table.row({l(AddedText::VerdictFail), s.fail});
    table.row({l(AddedText::VerdictNoData), s.noData});
    table.row({l(AddedText::ArchivePercentPass), TextGrid::Cell::numeric(QString::number(s.percentPass(), 'f', 1))});
    table.row({l(AddedText::ArchiveMinutesAbove), s.minutesAbove});
    table.row({l(AddedText::ArchiveMinutesBelow), s.minutesBelow});
    if (s.worstExcursion) {
        const auto& w = *s.worstExcursion;
        table.row({l(AddedText::ArchiveWorstExcursion), w.minutes,
                   l(w.zone == views::Above ? AddedText::ZoneAbove : AddedText::ZoneBelow), w.serial, tableDate(w.missionStart)});
    }
    printResult(inv, json, table.text());
    return 0;
}

int runVerify(const Invocation& inv, archive::Archive& a)
{
    const archive::VerifyReport r = a.verify();
    if (!r.ok())
        throw Failure(r.error);
    QStringList changed, missing;
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(AddedText::ArchiveChecked), r.checked});
    for (const archive::PlaceProblem& p : r.problems) {
        (p.state == archive::PlaceState::Missing ? missing : changed) << JsonObject::quoted(QDir::toNativeSeparators(p.path));
        table.row({stateText(p.state, l), QDir::toNativeSeparators(p.path)});
    }
    const QString json = QStringLiteral("{\n  \"archive\": %1,\n  \"checked\": %2,\n  \"changed\": %3,\n  \"missing\": %4\n}\n")
                             .arg(JsonObject::quoted(a.target().text))
                             .arg(r.checked)
                             .arg(jsonList(changed, QStringLiteral("  ")), jsonList(missing, QStringLiteral("  ")));
    printResult(inv, json, table.text());
    if (r.problems.isEmpty())
        return 0;
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << addedText(AddedText::ArchiveVerifyProblems, inv.idioma).arg(r.problems.size()).arg(r.checked) << '\n';
    return 1;
}

int runExport(const Invocation& inv, archive::Archive& a)
{
    if (inv.positional.size() != 2)
        throw UsageError(QStringLiteral("archive export takes one output file (OUT.csv)"));
    const QString out = inv.positional.at(1);
    inv.refuseOutput(out);
    const QVector<archive::RecordRow> rows = a.query(filterOf(inv));
    if (!a.error().isEmpty())
        throw Failure(a.error());
    if (!a.exportCsv(rows, out, inv.unit))
        throw Failure(a.error());
    tellWritten(inv, out, QFileInfo(out).size());
    return 0;
}

} // namespace

int runArchive(const Invocation& inv)
{
    const QString sub = inv.positional.first();
    using Run = int (*)(const Invocation&, archive::Archive&);
    struct Sub {
        const char* name;
        Run run;
        bool filters;
    };
    static const Sub subs[] = {{"add", runAdd, false},     {"list", runList, true},   {"stats", runStatsOf, true},
                               {"verify", runVerify, false}, {"export", runExport, true}};
    for (const Sub& s : subs) {
        if (sub != QLatin1String(s.name))
            continue;
        if (!s.filters) {
            for (const QString& option : kFilterOptions) {
                if (inv.has(option))
                    throw UsageError(QStringLiteral("archive %1 takes no %2").arg(sub, option));
            }
        } else if (sub != QLatin1String("export") && inv.positional.size() > 1) {
            throw UsageError(QStringLiteral("archive %1 takes no arguments").arg(sub));
        }
        // Options are checked before the archive is opened: a usage error touches nothing.
        if (s.filters)
            filterOf(inv);
        archive::Archive a;
        openArchive(a, inv);
        return s.run(inv, a);
    }
    throw UsageError(QStringLiteral("unknown archive command '%1' (add, list, stats, verify or export)").arg(sub));
}

} // namespace orvan::cli

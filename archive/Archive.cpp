// The archive's connection, its indexing, searches, figures and verification over Qt SQL. The
// statements are the same on SQLite and PostgreSQL; where the engines differ (taking the write
// lock, the first look at a file that may be of a later version) the code says so.

#include "archive/Archive.h"
#include "archive/Rows.h"
#include "archive/Schema.h"

#include "base/AddedTexts.h"
#include "base/RegularFile.h"
#include "records/MissionRecord.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

#include <future>

namespace orvan::archive {

namespace {

std::atomic<int> connectionCount{0};

// Files indexed per transaction: few enough that an interrupted job loses little, many enough
// that the engines' commit cost stays small beside the work.
constexpr int kBatch = 200;
// Records or places added at once after which the server vacuums and analyses the tables.
constexpr int kAnalyzeAfter = 1000;

QString loginName()
{
    for (const char* name : {"USER", "USERNAME", "LOGNAME"}) {
        const QString user = qEnvironmentVariable(name);
        if (!user.isEmpty())
            return user;
    }
    return QDir::home().dirName();
}

// A text for a NOT NULL column: an empty name is an empty text, never NULL.
QVariant text(const QString& s)
{
    return s.isNull() ? QVariant(QStringLiteral("")) : QVariant(s);
}

QVariant nullable(const std::optional<double>& x)
{
    return x ? QVariant(*x) : QVariant(QMetaType(QMetaType::Double));
}

std::optional<double> optionalDouble(const QVariant& v)
{
    return v.isNull() ? std::nullopt : std::optional<double>(v.toDouble());
}

// LIKE's own characters in a needle match only themselves.
QString likePattern(const QString& needle)
{
    QString escaped = rows::searchKey(needle);
    escaped.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    escaped.replace(QLatin1Char('%'), QLatin1String("\\%"));
    escaped.replace(QLatin1Char('_'), QLatin1String("\\_"));
    return QLatin1Char('%') + escaped + QLatin1Char('%');
}

// The WHERE clause of a filter over orvan_records r, and its values in order.
struct Where {
    QString sql;
    QVariantList values;
};

Where whereOf(const Filter& f, const QString& computer)
{
    QStringList terms;
    Where w;
    if (f.serial) {
        terms << QStringLiteral("r.serial = ?");
        w.values << qint64(*f.serial);
    }
    if (!f.exporter.isEmpty()) {
        terms << QStringLiteral("r.exporter_key LIKE ? ESCAPE '\\'");
        w.values << likePattern(f.exporter);
    }
    if (!f.carrier.isEmpty()) {
        terms << QStringLiteral("r.carrier_key LIKE ? ESCAPE '\\'");
        w.values << likePattern(f.carrier);
    }
    if (f.from.isValid()) {
        terms << QStringLiteral("r.mission_start >= ?");
        w.values << rows::dateValue(f.from.startOfDay(Qt::UTC));
    }
    if (f.to.isValid()) {
        terms << QStringLiteral("r.mission_start < ?");
        w.values << rows::dateValue(f.to.addDays(1).startOfDay(Qt::UTC));
    }
    if (f.verdict) {
        terms << QStringLiteral("r.verdict = ?");
        w.values << views::verdictKey(*f.verdict);
    }
    if (!f.text.isEmpty()) {
        const QString pattern = likePattern(f.text);
        terms << QStringLiteral("(r.exporter_key LIKE ? ESCAPE '\\' OR r.carrier_key LIKE ? ESCAPE '\\'"
                                " OR CAST(r.serial AS TEXT) LIKE ? ESCAPE '\\'"
                                " OR r.sha IN (SELECT t.sha FROM orvan_places t WHERE t.path_key LIKE ? ESCAPE '\\'))");
        w.values << pattern << pattern << pattern << pattern;
    }
    if (f.flaggedOnly) {
        terms << QStringLiteral("EXISTS (SELECT 1 FROM orvan_places t WHERE t.sha = r.sha AND t.computer = ? AND t.state >= ?)");
        w.values << computer << int(PlaceState::Changed);
    }
    if (!terms.isEmpty())
        w.sql = QStringLiteral(" WHERE ") + terms.join(QStringLiteral(" AND "));
    return w;
}

// Every field of a row, those a list shows (and its opening needs) first: RowDetail::Listed reads
// only the first group, in the order rowFrom reads them.
const QString kListedColumns = QStringLiteral(
    "r.sha, r.serial, r.exporter, r.carrier, r.mission_start, r.samples, r.min_c, r.max_c, r.mkt_c,"
    " r.minutes_above, r.minutes_below, r.verdict, r.archived_at");
const QString kOtherColumns = QStringLiteral(
    ", r.mission_end, r.interval_minutes, r.low_raw, r.high_raw, r.low_limit, r.high_limit, r.held_samples,"
    " r.circular, r.alarm_high, r.alarm_low, r.mean_c, r.minutes_within, r.excursions, r.worst_minutes,"
    " r.worst_zone, r.archived_by, r.archived_on");

// The keys made once: a search compares thousands of rows against them.
std::optional<views::Verdict> verdictFrom(const QString& key)
{
    static const views::Verdict all[] = {views::Verdict::Pass, views::Verdict::Fail, views::Verdict::NoData};
    static const QString keys[] = {views::verdictKey(all[0]), views::verdictKey(all[1]), views::verdictKey(all[2])};
    for (int i = 0; i < 3; ++i) {
        if (keys[i] == key)
            return all[i];
    }
    return std::nullopt;
}

views::Zone zoneFrom(const QString& key)
{
    static const QString below = views::zoneKey(views::Below);
    return key == below ? views::Below : views::Above;
}

// Fills a row the caller has already placed in its list, so that no row is copied.
void rowFrom(const QSqlQuery& q, RecordRow& r, RowDetail detail)
{
    int i = 0;
    const auto next = [&]() { return q.value(i++); };
    r.sha = next().toString();
    r.serial = next().toInt();
    r.exporter = next().toString();
    r.carrier = next().toString();
    r.missionStart = rows::dateFrom(next());
    r.samples = next().toInt();
    r.min = optionalDouble(next());
    r.max = optionalDouble(next());
    r.mkt = optionalDouble(next());
    r.minutesAbove = next().toLongLong();
    r.minutesBelow = next().toLongLong();
    r.verdict = verdictFrom(next().toString()).value_or(views::Verdict::NoData);
    r.archivedAt = rows::dateFrom(next());
    if (detail == RowDetail::Listed)
        return;
    r.missionEnd = rows::dateFrom(next());
    r.interval = next().toInt();
    r.lowLimitRaw = next().toInt();
    r.highLimitRaw = next().toInt();
    r.lowLimit = next().toDouble();
    r.highLimit = next().toDouble();
    r.heldSamples = next().toInt();
    r.circular = next().toInt() != 0;
    r.alarmHigh = next().toInt() != 0;
    r.alarmLow = next().toInt() != 0;
    r.mean = optionalDouble(next());
    r.minutesWithin = next().toLongLong();
    r.excursions = next().toInt();
    r.worstExcursionMinutes = next().toLongLong();
    const QVariant zone = next();
    if (!zone.isNull())
        r.worstExcursionZone = zoneFrom(zone.toString());
    r.archivedBy = next().toString();
    r.archivedOn = next().toString();
}

struct KnownPlace {
    qint64 size = 0;
    qint64 mtime = 0;
    QString sha;
};

// A file read and waiting for its batch's transaction.
struct Pending {
    QString path;
    qint64 size = 0;
    qint64 mtime = 0;
    QString formerSha;   // the record its place held before; empty for a new place
    rows::Examined examined;
};

// What the reading of one file found.
struct Outcome {
    Pending pending;
    bool unchanged = false;   // same size and time as when archived: not read
    QString reason;           // not archived, and why
};

} // namespace

struct Archive::Impl {
    Target target;
    QString connection;
    QString error;
    int idioma = 0;
    int version = 0;
    QString computer = QSysInfo::machineHostName();
    QString user = loginName();

    QSqlDatabase db() const { return QSqlDatabase::database(connection, false); }
    bool sqlite() const { return target.engine == Engine::SQLite; }

    QString stopped(const QSqlError& e)
    {
        error = addedText(AddedText::ArchiveStopped, idioma).arg(target.text, e.text().simplified());
        return error;
    }

    bool exec(QSqlQuery& q)
    {
        if (q.exec())
            return true;
        stopped(q.lastError());
        return false;
    }

    bool exec(const QString& sql)
    {
        QSqlQuery q(db());
        if (q.exec(sql))
            return true;
        stopped(q.lastError());
        return false;
    }

    QSqlQuery prepared(const QString& sql, const QVariantList& values = {})
    {
        QSqlQuery q(db());
        q.setForwardOnly(true);
        q.prepare(sql);
        for (const QVariant& v : values)
            q.addBindValue(v);
        return q;
    }

    // SQLite takes the write lock at the start, so that two writers queue (within the busy
    // timeout) instead of one failing when its read turns into a write.
    bool begin() { return sqlite() ? exec(QStringLiteral("BEGIN IMMEDIATE")) : exec(QStringLiteral("BEGIN")); }
    bool commit() { return exec(QStringLiteral("COMMIT")); }
    void rollback()
    {
        QSqlQuery q(db());
        q.exec(QStringLiteral("ROLLBACK"));
    }

    bool connect(bool readOnly, QString* driverError);
    // Creates or brings forward the tables of the open connection; false with the version found
    // (-1 another program's tables, -2 the engine failed: why in driverError, or a later version).
    bool prepareTables(int& carried, QString& driverError);
    void disconnect();
    bool flush(QVector<Pending>& batch, AddReport& report);
};

bool Archive::Impl::connect(bool readOnly, QString* driverError)
{
    connection = QStringLiteral("orvan-archive-%1").arg(connectionCount.fetch_add(1));
    QSqlDatabase d = QSqlDatabase::addDatabase(sqlite() ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL"), connection);
    if (!d.isValid()) {
        *driverError = d.lastError().text().simplified();
        return false;
    }
    if (sqlite()) {
        d.setDatabaseName(target.path);
        d.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=60000") +
                            (readOnly ? QStringLiteral(";QSQLITE_OPEN_READONLY") : QString()));
    } else {
        d.setDatabaseName(target.database);
        if (!target.host.isEmpty())
            d.setHostName(target.host);
        if (target.port > 0)
            d.setPort(target.port);
        if (!target.user.isEmpty())
            d.setUserName(target.user);
        if (!target.password.isEmpty())
            d.setPassword(target.password);
        d.setConnectOptions(QStringLiteral("connect_timeout=10"));
    }
    if (d.open())
        return true;
    *driverError = d.lastError().text().simplified();
    return false;
}

bool Archive::Impl::prepareTables(int& carried, QString& driverError)
{
    QSqlDatabase d = db();
    const auto failed = [&](const QSqlQuery& q) {
        driverError = q.lastError().text().simplified();
        carried = -2;
        return false;
    };
    QSqlQuery q(d);
    if (sqlite()) {
        // Readers go on while one writer indexes; a crash loses at most the last transaction.
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.exec(QStringLiteral("PRAGMA synchronous=NORMAL")))
            return failed(q);
    }
    if (!q.exec(sqlite() ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN")))
        return failed(q);
    // Two PCs opening a new shared archive at once create its tables one after the other.
    if (!sqlite() && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7304011)"))) {
        failed(q);
        rollback();
        return false;
    }
    carried = schema::carriedVersion(d, target.engine, &driverError);
    bool ok = carried >= 0 && carried <= kSchemaVersion;
    if (ok && carried < kSchemaVersion)
        ok = schema::createOrMigrate(d, target.engine, carried, &driverError);
    if (ok)
        ok = schema::ensureSearchIndexes(d, target.engine, &driverError);
    if (ok && !q.exec(QStringLiteral("COMMIT")))
        return failed(q);
    if (!ok)
        rollback();
    return ok;
}

void Archive::Impl::disconnect()
{
    if (connection.isEmpty())
        return;
    {
        QSqlDatabase d = db();
        if (d.isOpen())
            d.close();
    }
    QSqlDatabase::removeDatabase(connection);
    connection.clear();
}

Archive::Archive() : d(std::make_unique<Impl>()) {}

Archive::~Archive()
{
    close();
}

bool Archive::open(const QString& target)
{
    QString why;
    const std::optional<Target> t = parseTarget(target, &why, d->idioma);
    if (!t) {
        close();
        d->error = why;
        return false;
    }
    return open(*t);
}

bool Archive::open(const Target& target)
{
    close();
    d->target = target;
    d->error.clear();
    QString driverError;
    const auto cannotOpen = [&](const QString& why) {
        d->disconnect();
        d->error = addedText(AddedText::ArchiveCannotOpen, d->idioma).arg(target.text, why);
        return false;
    };
    const auto refuse = [&](int version) {
        d->disconnect();
        d->error = version < 0 ? addedText(AddedText::ArchiveNotAnArchive, d->idioma).arg(target.text)
                               : addedText(AddedText::ArchiveNewerSchema, d->idioma)
                                     .arg(target.text)
                                     .arg(version)
                                     .arg(kSchemaVersion);
        return false;
    };

    if (d->sqlite()) {
        const QFileInfo file(target.path);
        if (file.exists() || file.isSymLink()) {
            if (fileKind(target.path) != FileKind::Regular)
                return cannotOpen(addedText(AddedText::ReadNotRegular, d->idioma).arg(target.text));
            // A first look read-only: a file of a later version, or of another program, is
            // refused before anything (the journal mode included) could change it.
            if (!d->connect(true, &driverError))
                return cannotOpen(driverError);
            int carried = 0;
            {
                QSqlDatabase look = d->db();
                carried = schema::carriedVersion(look, target.engine, &driverError);
            }
            d->disconnect();
            if (carried == -2)
                return cannotOpen(driverError);
            if (carried < 0 || carried > kSchemaVersion)
                return refuse(carried);
        } else if (!QDir().mkpath(file.absolutePath())) {
            return cannotOpen(QDir::toNativeSeparators(file.absolutePath()));
        }
    }
    if (!d->connect(false, &driverError))
        return cannotOpen(driverError);
    int carried = 0;
    if (!d->prepareTables(carried, driverError))
        return carried == -2 || (carried >= 0 && carried <= kSchemaVersion) ? cannotOpen(driverError) : refuse(carried);
    d->version = kSchemaVersion;
    d->error.clear();
    return true;
}

void Archive::close()
{
    d->disconnect();
    d->version = 0;
}

bool Archive::isOpen() const
{
    return !d->connection.isEmpty() && d->db().isOpen();
}

const Target& Archive::target() const
{
    return d->target;
}

QString Archive::error() const
{
    return d->error;
}

int Archive::schemaVersion() const
{
    return d->version;
}

void Archive::setComputer(const QString& name)
{
    d->computer = name;
}

QString Archive::computer() const
{
    return d->computer;
}

void Archive::setUser(const QString& name)
{
    d->user = name;
}

void Archive::setLanguage(int idioma)
{
    d->idioma = idioma;
}

bool Archive::Impl::flush(QVector<Pending>& batch, AddReport& report)
{
    if (batch.isEmpty())
        return true;
    if (!begin())
        return false;
    const auto fail = [&]() {
        rollback();
        return false;
    };
    // Records the archive holds already need no bytes sent again.
    QSet<QString> held;
    {
        QStringList marks;
        QVariantList shas;
        for (const Pending& p : batch) {
            marks << QStringLiteral("?");
            shas << p.examined.row.sha;
        }
        QSqlQuery q = prepared(QStringLiteral("SELECT sha FROM orvan_records WHERE sha IN (%1)").arg(marks.join(QLatin1Char(','))), shas);
        if (!exec(q))
            return fail();
        while (q.next())
            held.insert(q.value(0).toString());
    }
    const QString now = rows::dateValue(QDateTime::currentDateTimeUtc()).toString();
    QSqlQuery insertRecord(db());
    insertRecord.prepare(QStringLiteral(
        "INSERT INTO orvan_records (sha, serial, exporter, exporter_key, carrier, carrier_key, mission_start, mission_end,"
        " interval_minutes, low_raw, high_raw, low_limit, high_limit, samples, held_samples, circular, alarm_high, alarm_low,"
        " min_c, max_c, mean_c, mkt_c, minutes_above, minutes_below, minutes_within, excursions, worst_minutes, worst_zone,"
        " verdict, archived_at, archived_by, archived_on)"
        " VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?) ON CONFLICT (sha) DO NOTHING"));
    QSqlQuery insertImage(db());
    insertImage.prepare(QStringLiteral("INSERT INTO orvan_images (sha, image) VALUES (?, ?) ON CONFLICT (sha) DO NOTHING"));
    QSqlQuery upsertPlace(db());
    upsertPlace.prepare(QStringLiteral(
        "INSERT INTO orvan_places (computer, path, path_key, sha, size, mtime, state, checked_at) VALUES (?,?,?,?,?,?,0,NULL)"
        " ON CONFLICT (computer, path) DO UPDATE SET path_key = excluded.path_key, sha = excluded.sha,"
        " size = excluded.size, mtime = excluded.mtime, state = 0, checked_at = NULL"));

    AddReport counts;
    for (const Pending& p : batch) {
        const RecordRow& r = p.examined.row;
        bool added = false;
        if (!held.contains(r.sha)) {
            const QVariantList values = {
                r.sha, qint64(r.serial), text(r.exporter), text(rows::searchKey(r.exporter)), text(r.carrier),
                text(rows::searchKey(r.carrier)),
                rows::dateValue(r.missionStart), rows::dateValue(r.missionEnd), r.interval, r.lowLimitRaw, r.highLimitRaw,
                r.lowLimit, r.highLimit, r.samples, r.heldSamples, int(r.circular), int(r.alarmHigh), int(r.alarmLow),
                nullable(r.min), nullable(r.max), nullable(r.mean), nullable(r.mkt), r.minutesAbove, r.minutesBelow,
                r.minutesWithin, r.excursions, r.worstExcursionMinutes,
                r.worstExcursionZone ? QVariant(views::zoneKey(*r.worstExcursionZone)) : QVariant(QMetaType(QMetaType::QString)),
                views::verdictKey(r.verdict), now, text(user), text(computer),
            };
            for (int i = 0; i < values.size(); ++i)
                insertRecord.bindValue(i, values[i]);
            if (!exec(insertRecord))
                return fail();
            // Another PC may have archived the same record a moment ago: then it adds nothing.
            added = insertRecord.numRowsAffected() > 0;
            if (added) {
                insertImage.bindValue(0, r.sha);
                insertImage.bindValue(1, p.examined.image);
                if (!exec(insertImage))
                    return fail();
            }
            held.insert(r.sha);
        }
        const QVariantList place = {text(computer), p.path, rows::searchKey(p.path), r.sha, p.size, p.mtime};
        for (int i = 0; i < place.size(); ++i)
            upsertPlace.bindValue(i, place[i]);
        if (!exec(upsertPlace))
            return fail();
        if (added)
            ++counts.added;
        if (p.formerSha.isEmpty()) {
            if (!added)
                ++counts.newPlaces;
        } else if (p.formerSha == r.sha) {
            ++counts.refreshed;
        } else {
            counts.replaced.append({p.path, p.formerSha, r.sha});
        }
    }
    if (!commit())
        return fail();
    report.added += counts.added;
    report.newPlaces += counts.newPlaces;
    report.refreshed += counts.refreshed;
    report.replaced += counts.replaced;
    batch.clear();
    return true;
}

AddReport Archive::add(const QStringList& paths, const Progress& progress, const CancelFlag* cancel)
{
    AddReport report;
    d->error.clear();
    // The files under the paths, each once, folders in name order.
    QStringList files;
    QSet<QString> seen;
    const auto take = [&](const QString& path) {
        if (!seen.contains(path)) {
            seen.insert(path);
            files << path;
        }
    };
    for (const QString& given : paths) {
        const QFileInfo info(given);
        const QString path = QDir::cleanPath(info.absoluteFilePath());
        if (!info.exists() && !info.isSymLink()) {
            report.skipped.append({path, addedText(AddedText::ArchiveNoSuchPath, d->idioma)});
        } else if (info.isDir()) {
            QStringList found;
            QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString file = it.next();
                if (file.endsWith(QLatin1String(".klv"), Qt::CaseInsensitive))
                    found << QDir::cleanPath(file);
            }
            found.sort();
            for (const QString& f : found)
                take(f);
        } else {
            take(path);
        }
    }
    report.found = files.size();
    if (!isOpen()) {
        report.error = d->error.isEmpty() ? addedText(AddedText::ArchiveCannotOpen, d->idioma).arg(d->target.text, QString()) : d->error;
        return report;
    }

    QHash<QString, KnownPlace> known;
    {
        QSqlQuery q = d->prepared(QStringLiteral("SELECT path, size, mtime, sha FROM orvan_places WHERE computer = ?"), {d->computer});
        if (!d->exec(q)) {
            report.error = d->error;
            return report;
        }
        while (q.next())
            known.insert(q.value(0).toString(), {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toString()});
    }

    // While one batch goes into the archive, the next is read, hashed and summarised on another
    // core: the engine's work and the files' overlap.
    const int idioma = d->idioma;
    const auto examineFiles = [&files, &known, cancel, idioma](int from, int to) {
        QVector<Outcome> outcomes;
        for (int i = from; i < to && !(cancel && cancel->load()); ++i) {
            Outcome o;
            o.pending.path = files[i];
            const QFileInfo info(files[i]);
            o.pending.size = info.size();
            o.pending.mtime = info.lastModified().toMSecsSinceEpoch();
            const auto k = known.constFind(files[i]);
            if (k != known.constEnd()) {
                o.pending.formerSha = k->sha;
                o.unchanged = k->size == o.pending.size && k->mtime == o.pending.mtime;
            }
            if (!o.unchanged) {
                auto examined = rows::examine(files[i], o.pending.size, idioma);
                if (auto* reason = std::get_if<QString>(&examined))
                    o.reason = *reason;
                else
                    o.pending.examined = std::move(std::get<rows::Examined>(examined));
            }
            outcomes.append(std::move(o));
        }
        return outcomes;
    };
    const int total = files.size();
    std::future<QVector<Outcome>> next = std::async(std::launch::async, examineFiles, 0, qMin(kBatch, total));
    for (int start = 0; start < total; start += kBatch) {
        const QVector<Outcome> outcomes = next.get();
        if (start + kBatch < total)
            next = std::async(std::launch::async, examineFiles, start + kBatch, qMin(start + 2 * kBatch, total));
        QVector<Pending> batch;
        for (const Outcome& o : outcomes) {
            if (o.unchanged)
                ++report.unchanged;
            else if (!o.reason.isEmpty())
                report.skipped.append({o.pending.path, o.reason});
            else
                batch.append(o.pending);
        }
        if (!d->flush(batch, report)) {
            report.error = d->error;
            return report;
        }
        for (int i = 0; progress && i < outcomes.size(); ++i)
            progress(start + i + 1, total, outcomes[i].pending.path);
        if (outcomes.size() < qMin(kBatch, total - start) || (cancel && cancel->load())) {
            report.cancelled = true;
            break;
        }
    }
    // After a large index the server's statistics still describe the archive before it, and its
    // plans for the whole list took several times as long until its own vacuum came round (which
    // also lets a list read its index alone). A failure here costs only speed: the records are in.
    if (!d->sqlite() && report.added + report.newPlaces >= kAnalyzeAfter && !d->exec(QStringLiteral("VACUUM (ANALYZE) orvan_records, orvan_places")))
        d->error.clear();
    return report;
}

QVector<RecordRow> Archive::query(const Filter& filter, RowDetail detail)
{
    d->error.clear();
    QVector<RecordRow> result;
    const Where where = whereOf(filter, d->computer);
    const QString order = QStringLiteral(" ORDER BY r.mission_start DESC, r.sha") +
                          (filter.limit > 0 ? QStringLiteral(" LIMIT %1").arg(filter.limit) : QString());

    // Two statements instead of one join grouped by record: neither engine then joins, groups
    // and sorts every wide record row with its places; the places are merged here by SHA. Both
    // read one snapshot, so that a job indexing meanwhile cannot give a record without the
    // places it had.
    if (!d->exec(d->sqlite() ? QStringLiteral("BEGIN") : QStringLiteral("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY")))
        return result;
    // The archive's tables are small enough to stay in the server's memory, where reading the
    // list's index in order costs as much as reading the table: the server's default cost of a
    // random read (a disk's) made it read the table and sort it instead, four times as long.
    if (!d->sqlite() && !d->exec(QStringLiteral("SET LOCAL random_page_cost = 1.1"))) {
        d->rollback();
        return result;
    }
    const auto finish = [&](bool ok) {
        if (ok && d->exec(QStringLiteral("COMMIT")))
            return;
        d->rollback();
        result.clear();
    };

    // The places of the selected records (all of them when nothing narrows the search): how
    // many, the worst state of this computer's, a path here, and else the first of another
    // computer (only needed without a path here, so only those are joined into texts).
    struct Places {
        int count = 0;
        int state = -1;    // -1: no place here
        QString here, elsewhere;
    };
    QHash<QString, Places> places;
    {
        QString sql = QStringLiteral("SELECT p.sha, count(*), max(CASE WHEN p.computer = ? THEN p.state END),"
                                     " min(CASE WHEN p.computer = ? THEN p.path END),"
                                     " min(CASE WHEN p.computer <> ? THEN p.computer || '|' || p.path END)"
                                     " FROM orvan_places p");
        if (!where.sql.isEmpty() || filter.limit > 0)
            sql += QStringLiteral(" WHERE p.sha IN (SELECT r.sha FROM orvan_records r") + where.sql +
                   (filter.limit > 0 ? order : QString()) + QLatin1Char(')');
        sql += QStringLiteral(" GROUP BY p.sha");
        QSqlQuery q = d->prepared(sql, QVariantList{d->computer, d->computer, d->computer} + where.values);
        if (!d->exec(q)) {
            finish(false);
            return result;
        }
        while (q.next()) {
            const QVariant state = q.value(2);
            places.insert(q.value(0).toString(),
                          {q.value(1).toInt(), state.isNull() ? -1 : state.toInt(), q.value(3).toString(), q.value(4).toString()});
        }
    }

    QSqlQuery q = d->prepared(QStringLiteral("SELECT ") + kListedColumns + (detail == RowDetail::Full ? kOtherColumns : QString()) +
                                  QStringLiteral(" FROM orvan_records r") + where.sql + order,
                              where.values);
    if (!d->exec(q)) {
        finish(false);
        return result;
    }
    // Nearly every record has a place: as many rows as records with places, give or take.
    result.reserve(places.size());
    while (q.next()) {
        result.append(RecordRow());
        RecordRow& r = result.last();
        rowFrom(q, r, detail);
        const auto p = places.constFind(r.sha);
        if (p == places.constEnd())
            continue;
        r.places = p->count;
        r.state = p->state < 0 ? PlaceState::Unchecked : PlaceState(p->state);
        if (!p->here.isNull()) {
            r.path = p->here;
            r.computer = d->computer;
        } else if (!p->elsewhere.isNull()) {
            const int bar = p->elsewhere.indexOf(QLatin1Char('|'));
            r.computer = p->elsewhere.left(bar);
            r.path = p->elsewhere.mid(bar + 1);
        }
    }
    q.finish();
    finish(true);
    return result;
}

FleetStats Archive::stats(const Filter& filter)
{
    d->error.clear();
    FleetStats s;
    const Where where = whereOf(filter, d->computer);
    QSqlQuery q = d->prepared(
        QStringLiteral("SELECT count(*), CAST(sum(CASE WHEN r.verdict = 'pass' THEN 1 ELSE 0 END) AS BIGINT),"
                       " CAST(sum(CASE WHEN r.verdict = 'fail' THEN 1 ELSE 0 END) AS BIGINT),"
                       " CAST(sum(r.minutes_above) AS BIGINT), CAST(sum(r.minutes_below) AS BIGINT)"
                       " FROM orvan_records r") + where.sql,
        where.values);
    if (!d->exec(q) || !q.next())
        return s;
    s.shipments = q.value(0).toInt();
    s.pass = q.value(1).toInt();
    s.fail = q.value(2).toInt();
    s.noData = s.shipments - s.pass - s.fail;
    s.minutesAbove = q.value(3).toLongLong();
    s.minutesBelow = q.value(4).toLongLong();

    QSqlQuery worst = d->prepared(QStringLiteral("SELECT r.sha, r.serial, r.worst_minutes, r.worst_zone, r.mission_start"
                                                 " FROM orvan_records r") +
                                      (where.sql.isEmpty() ? QStringLiteral(" WHERE") : where.sql + QStringLiteral(" AND")) +
                                      QStringLiteral(" r.worst_minutes > 0 ORDER BY r.worst_minutes DESC, r.mission_start, r.sha LIMIT 1"),
                                  where.values);
    if (!d->exec(worst))
        return s;
    if (worst.next()) {
        s.worstExcursion = FleetStats::Worst{worst.value(0).toString(), worst.value(1).toInt(), worst.value(2).toLongLong(),
                                             zoneFrom(worst.value(3).toString()), rows::dateFrom(worst.value(4))};
    }
    return s;
}

VerifyReport Archive::verify(const Progress& progress, const CancelFlag* cancel)
{
    d->error.clear();
    VerifyReport report;
    struct Checked {
        QString path;
        PlaceState state;
    };
    QVector<Checked> updates;
    {
        QSqlQuery q = d->prepared(QStringLiteral("SELECT path, sha, state FROM orvan_places WHERE computer = ? ORDER BY path"),
                                  {d->computer});
        if (!d->exec(q)) {
            report.error = d->error;
            return report;
        }
        struct Place {
            QString path, sha;
            int state;
        };
        QVector<Place> places;
        while (q.next())
            places.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toInt()});
        for (int i = 0; i < places.size(); ++i) {
            if (cancel && cancel->load()) {
                report.cancelled = true;
                break;
            }
            const Place& p = places[i];
            const PlaceState state = checkFile(p.path, p.sha);
            ++report.checked;
            if (state != PlaceState::Ok)
                report.problems.append({p.sha, p.path, state});
            if (int(state) != p.state)
                updates.append({p.path, state});
            if (progress)
                progress(i + 1, places.size(), p.path);
        }
    }
    if (updates.isEmpty())
        return report;
    // The outcome is kept so that the window flags a changed file without reading it again.
    if (!d->begin()) {
        report.error = d->error;
        return report;
    }
    QSqlQuery update(d->db());
    update.prepare(QStringLiteral("UPDATE orvan_places SET state = ?, checked_at = ? WHERE computer = ? AND path = ?"));
    const QVariant now = rows::dateValue(QDateTime::currentDateTimeUtc());
    for (const Checked& c : updates) {
        update.bindValue(0, int(c.state));
        update.bindValue(1, now);
        update.bindValue(2, d->computer);
        update.bindValue(3, c.path);
        if (!d->exec(update)) {
            d->rollback();
            report.error = d->error;
            return report;
        }
    }
    if (!d->commit()) {
        d->rollback();
        report.error = d->error;
    }
    return report;
}

QVector<Archive::Place> Archive::places(const QString& sha)
{
    d->error.clear();
    QVector<Place> result;
    QSqlQuery q = d->prepared(
        QStringLiteral("SELECT computer, path, size, mtime, state FROM orvan_places WHERE sha = ? ORDER BY computer, path"), {sha});
    if (!d->exec(q))
        return result;
    while (q.next()) {
        result.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toLongLong(),
                       QDateTime::fromMSecsSinceEpoch(q.value(3).toLongLong(), Qt::UTC), PlaceState(q.value(4).toInt())});
    }
    return result;
}

std::optional<QByteArray> Archive::image(const QString& sha)
{
    d->error.clear();
    QSqlQuery q = d->prepared(QStringLiteral("SELECT image FROM orvan_images WHERE sha = ?"), {sha});
    if (!d->exec(q) || !q.next())
        return std::nullopt;
    // A shared database is as open to tampering as a file: bytes that are not the record the
    // key names are not handed out as it.
    const QByteArray bytes = q.value(0).toByteArray();
    if (bytes.size() != records::kImageSize || sha256Hex(bytes) != sha)
        return std::nullopt;
    return bytes;
}

bool Archive::exportCsv(const QVector<RecordRow>& rows, const QString& path, Unit unit)
{
    d->error = rows::writeCsv(rows, path, unit, d->idioma);
    return d->error.isEmpty();
}

} // namespace orvan::archive

// The archive's tables. One schema for both engines: the only difference is the name of the
// byte column's type. Dates are 'yyyy-MM-dd HH:mm' texts, which sort and compare as dates on
// both engines; the *_key columns hold the lowercase names the searches compare.

#include "archive/Schema.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace orvan::archive::schema {

namespace {

bool exec(QSqlDatabase& db, const QString& sql, QString* driverError)
{
    QSqlQuery q(db);
    if (q.exec(sql))
        return true;
    if (driverError)
        *driverError = q.lastError().text().simplified();
    return false;
}

QStringList version1(Engine engine)
{
    const QString bytes = engine == Engine::PostgreSQL ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS orvan_records ("
                       " sha TEXT PRIMARY KEY,"
                       " serial BIGINT NOT NULL,"
                       " exporter TEXT NOT NULL, exporter_key TEXT NOT NULL,"
                       " carrier TEXT NOT NULL, carrier_key TEXT NOT NULL,"
                       " mission_start TEXT, mission_end TEXT,"
                       " interval_minutes BIGINT NOT NULL,"
                       " low_raw BIGINT NOT NULL, high_raw BIGINT NOT NULL,"
                       " low_limit DOUBLE PRECISION NOT NULL, high_limit DOUBLE PRECISION NOT NULL,"
                       " samples BIGINT NOT NULL, held_samples BIGINT NOT NULL,"
                       " circular BIGINT NOT NULL, alarm_high BIGINT NOT NULL, alarm_low BIGINT NOT NULL,"
                       " min_c DOUBLE PRECISION, max_c DOUBLE PRECISION, mean_c DOUBLE PRECISION, mkt_c DOUBLE PRECISION,"
                       " minutes_above BIGINT NOT NULL, minutes_below BIGINT NOT NULL, minutes_within BIGINT NOT NULL,"
                       " excursions BIGINT NOT NULL, worst_minutes BIGINT NOT NULL, worst_zone TEXT,"
                       " verdict TEXT NOT NULL,"
                       " archived_at TEXT NOT NULL, archived_by TEXT NOT NULL, archived_on TEXT NOT NULL)"),
        // The images in a table of their own: a search reads small rows, never 32 KiB each.
        QStringLiteral("CREATE TABLE IF NOT EXISTS orvan_images ("
                       " sha TEXT PRIMARY KEY REFERENCES orvan_records(sha), image %1 NOT NULL)")
            .arg(bytes),
        QStringLiteral("CREATE TABLE IF NOT EXISTS orvan_places ("
                       " computer TEXT NOT NULL, path TEXT NOT NULL, path_key TEXT NOT NULL,"
                       " sha TEXT NOT NULL REFERENCES orvan_records(sha),"
                       " size BIGINT NOT NULL, mtime BIGINT NOT NULL,"
                       " state BIGINT NOT NULL DEFAULT 0, checked_at TEXT,"
                       " PRIMARY KEY (computer, path))"),
        // Every filter column has its index, so that a search stays instant over thousands.
        QStringLiteral("CREATE INDEX IF NOT EXISTS orvan_records_serial ON orvan_records (serial)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS orvan_records_exporter ON orvan_records (exporter_key)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS orvan_records_carrier ON orvan_records (carrier_key)"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS orvan_records_verdict ON orvan_records (verdict, mission_start)"),
    };
}

// Indexes for the searches, made where missing on every open: they change nothing that a program
// reading version 1 relies on, so they do not raise the version, which would shut the older
// programs of a team out of their shared archive. A list reads the fields it shows from an index
// in its own order, and the places it groups by record from theirs, without the tables.
struct SearchIndex {
    const char* name;
    const char* definition;
};
constexpr SearchIndex kSearchIndexes[] = {
    {"orvan_records_listed", "orvan_records (mission_start DESC, sha, serial, exporter, carrier, samples, min_c, max_c, mkt_c,"
                           " minutes_above, minutes_below, verdict, archived_at)"},
    {"orvan_places_cover", "orvan_places (sha, computer, state, path)"},
};

} // namespace

int carriedVersion(QSqlDatabase& db, Engine engine, QString* driverError)
{
    const QStringList tables = db.tables(QSql::Tables);
    if (db.lastError().isValid()) {
        if (driverError)
            *driverError = db.lastError().text().simplified();
        return -2;
    }
    if (!tables.contains(QLatin1String(kVersionTable)))
        return engine == Engine::SQLite && !tables.isEmpty() ? -1 : 0;
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT value FROM orvan_schema WHERE name = 'version'"))) {
        if (driverError)
            *driverError = q.lastError().text().simplified();
        return -2;
    }
    return q.next() ? q.value(0).toInt() : 0;
}

bool createOrMigrate(QSqlDatabase& db, Engine engine, int from, QString* driverError)
{
    if (!exec(db, QStringLiteral("CREATE TABLE IF NOT EXISTS orvan_schema (name TEXT PRIMARY KEY, value BIGINT NOT NULL)"),
              driverError))
        return false;
    if (from == 0) {
        for (const QString& sql : version1(engine)) {
            if (!exec(db, sql, driverError))
                return false;
        }
        // An image is mostly distinct sample bytes: the server's compression would cost more
        // time than it saves room.
        if (engine == Engine::PostgreSQL &&
            !exec(db, QStringLiteral("ALTER TABLE orvan_images ALTER COLUMN image SET STORAGE EXTERNAL"), driverError))
            return false;
    }
    // Each later version adds its step here: `if (from < 2) { ... }`, and so on, so that an
    // archive of any earlier version arrives at kSchemaVersion one step after the other.
    return exec(db,
                QStringLiteral("INSERT INTO orvan_schema (name, value) VALUES ('version', %1)"
                               " ON CONFLICT (name) DO UPDATE SET value = excluded.value")
                    .arg(kSchemaVersion),
                driverError);
}

bool ensureSearchIndexes(QSqlDatabase& db, Engine engine, QString* driverError)
{
    for (const SearchIndex& index : kSearchIndexes) {
        QSqlQuery look(db);
        look.prepare(engine == Engine::SQLite ? QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'index' AND name = ?")
                                              : QStringLiteral("SELECT 1 FROM pg_indexes WHERE schemaname = current_schema() AND indexname = ?"));
        look.addBindValue(QLatin1String(index.name));
        if (!look.exec()) {
            if (driverError)
                *driverError = look.lastError().text().simplified();
            return false;
        }
        if (!look.next() && !exec(db, QStringLiteral("CREATE INDEX %1 ON %2").arg(QLatin1String(index.name), QLatin1String(index.definition)), driverError))
            return false;
    }
    return true;
}

} // namespace orvan::archive::schema

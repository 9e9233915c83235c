#pragma once
// The archive's tables, for the archive's own files: their creation, the version they carry and
// the steps that bring an older archive forward.

#include "archive/Archive.h"

#include <QSqlDatabase>

namespace orvan::archive::schema {

// The tables of this program; the version lives in kVersionTable under the name "version".
constexpr const char* kVersionTable = "orvan_schema";
constexpr const char* kRecords = "orvan_records";
constexpr const char* kPlaces = "orvan_places";
constexpr const char* kImages = "orvan_images";

// The version the open database carries: 0 when it has no archive tables yet, -1 when it holds
// tables of something else (an SQLite file only: a shared server database may hold others).
// Nothing is written.
int carriedVersion(QSqlDatabase& db, Engine engine, QString* driverError);

// Creates the tables of kSchemaVersion, or brings an archive of `from` (1..kSchemaVersion)
// forward, inside the caller's transaction.
bool createOrMigrate(QSqlDatabase& db, Engine engine, int from, QString* driverError);

// Makes the searches' indexes that an archive of this version lacks, inside the caller's
// transaction: an archive written before they existed gets them at its next open.
bool ensureSearchIndexes(QSqlDatabase& db, Engine engine, QString* driverError);

} // namespace orvan::archive::schema

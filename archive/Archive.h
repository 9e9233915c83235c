#pragma once
// The records archive: every record file indexed where it lies, searchable in an instant, with
// the fleet's figures and a proof that a file has not changed since it was archived. One schema
// on two engines through Qt SQL: an SQLite file on this PC (the default, nothing to set up) or a
// PostgreSQL database a team shares. Widget-free: the window, the command line and the save of a
// download all go through this class.
//
// Threads: an Archive and its connection belong to the thread that opened it. A background job
// (indexing from the window) opens its own Archive on the same target in its own thread; the
// engines keep the two consistent.

#include "views/ShipmentSummary.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QPair>
#include <QVariant>
#include <QVector>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace orvan::archive {

// The version of the tables this program writes. An archive of a later version is refused and
// left as it is; one of an earlier version is brought forward when opened.
constexpr int kSchemaVersion = 1;

// The embedded archive's file name in the program's data folder.
inline QString embeddedFileName() { return QStringLiteral("archive.sqlite"); }
// dataFolder/archive.sqlite
QString embeddedPath(const QString& dataFolder);

// Where the archive lives, as the configuration keeps it and --db gives it:
//   "postgresql://user@host:port/dbname"           a PostgreSQL server over TCP
//   "postgresql://user@/dbname?host=/run/folder"   a PostgreSQL server over a unix socket folder
//   "sqlite:///abs/path/archive.sqlite" or a plain file path: an SQLite file
// The password belongs in PGPASSWORD or ~/.pgpass, which libpq reads itself.
enum class Engine { SQLite, PostgreSQL };
struct Target {
    Engine engine = Engine::SQLite;
    QString path;        // SQLite: the file
    QString user;        // PostgreSQL: empty for the login name
    QString host;        // a host name, or a socket folder (starts with '/'); empty: libpq's default
    int port = -1;       // -1: libpq's default (5432)
    QString database;
    QString text;        // the target as given, for messages (without a password)
    QString password;    // only when the URL carries one; PGPASSWORD or ~/.pgpass are the better place
};
// Parses a target; nothing on a text that is neither a PostgreSQL URL nor a file path, with the
// reason in *error.
// The reason is in the language idioma (0 Spanish .. 4 Portuguese).
std::optional<Target> parseTarget(const QString& text, QString* error = nullptr, int idioma = 0);

// The archive chosen in the configuration: kept in OrvanLog.ini (QSettings, INI format) in the
// configuration folder, beside the settings record, never in the settings record itself.
// An empty text means the embedded archive.
inline QString archiveSettingsFileName() { return QStringLiteral("OrvanLog.ini"); }
QString readArchiveChoice(const QString& configFolder);
// False (with the reason in *error) when the file cannot be written.
bool writeArchiveChoice(const QString& configFolder, const QString& target, QString* error = nullptr,
                        int idioma = 0);
// The target to open: the configured one, else the embedded file in the data folder.
QString effectiveTarget(const QString& configFolder, const QString& dataFolder);

// How a place (a file on a computer) stands against its archived record.
enum class PlaceState {
    Unchecked = 0,   // never verified since it was archived
    Ok = 1,          // verified: the file still holds the archived bytes
    Changed = 2,     // the file holds other bytes than when it was archived
    Missing = 3,     // the file is gone or cannot be read
};
// "unchecked", "ok", "changed", "missing": the state's name in files.
QString placeStateKey(PlaceState s);

// One archived record with its figures, as a search lists it. Temperatures in degrees Celsius;
// the caller converts for a Fahrenheit display.
struct RecordRow {
    QString sha;                 // SHA-256 of the 32768 bytes, 64 lowercase hex digits
    int serial = 0;
    QString exporter;            // trailing blanks removed
    QString carrier;
    QDateTime missionStart;      // Qt::UTC calendar values, as the record gives them
    QDateTime missionEnd;
    int interval = 0;            // minutes between samples
    double lowLimit = 0;         // degrees Celsius
    double highLimit = 0;
    int lowLimitRaw = 0;         // the raw limit bytes
    int highLimitRaw = 0;
    int samples = 0;             // samples the mission took (NumMuestras)
    int heldSamples = 0;         // samples the record holds
    bool circular = false;
    bool alarmHigh = false;
    bool alarmLow = false;
    // The shipment summary in Celsius, judged with no minutes allowed out of range.
    std::optional<double> min, max, mean, mkt;
    qint64 minutesAbove = 0;
    qint64 minutesBelow = 0;
    qint64 minutesWithin = 0;
    int excursions = 0;
    qint64 worstExcursionMinutes = 0;           // the longest excursion, 0 when none
    std::optional<views::Zone> worstExcursionZone;
    views::Verdict verdict = views::Verdict::NoData;
    QDateTime archivedAt;        // UTC
    QString archivedBy;          // user name
    QString archivedOn;          // computer name
    // Where the record lies: a place on this computer when it has one, else any place.
    QString path;
    QString computer;
    int places = 0;              // places of the record on every computer
    // The worst state of the record's places on this computer (Unchecked when it has none).
    PlaceState state = PlaceState::Unchecked;

    qint64 minutesOut() const { return minutesAbove + minutesBelow; }
};

// How much of each record a search reads.
enum class RowDetail { Full, Listed };

// A search. Every field set narrows the result; an empty filter lists every record.
struct Filter {
    std::optional<int> serial;
    QString exporter;            // part of the exporter's name, any case
    QString carrier;             // part of the carrier's name, any case
    QDate from, to;              // the mission started on or after `from`, on or before `to`
    std::optional<views::Verdict> verdict;
    QString text;                // part of the exporter, carrier, serial or a place's path, any case
    bool flaggedOnly = false;    // only records with a changed or missing place on this computer
    int limit = 0;               // at most this many rows (the newest missions first); 0: all
};

// The fleet's figures over the records a filter selects.
struct FleetStats {
    int shipments = 0;
    int pass = 0;
    int fail = 0;
    int noData = 0;
    qint64 minutesAbove = 0;
    qint64 minutesBelow = 0;
    // The longest excursion among the selected records; nothing when none has one.
    struct Worst {
        QString sha;
        int serial = 0;
        qint64 minutes = 0;
        views::Zone zone = views::Above;
        QDateTime missionStart;
    };
    std::optional<Worst> worstExcursion;

    // Passed shipments in percent of the shipments (0 when there are none).
    double percentPass() const { return shipments ? 100.0 * pass / shipments : 0.0; }
};

// A file the indexing did not archive, and why, in one line.
struct SkippedFile {
    QString path;
    QString reason;
};

// A place whose file now holds another record than the one archived there: the new record is
// archived and the place moves to it; the former record stays in the archive.
struct ReplacedPlace {
    QString path;
    QString formerSha;
    QString sha;
};

// Called from the indexing thread after each file: files done, files found, the file's path.
using Progress = std::function<void(int done, int total, const QString& path)>;

// Set from any thread to stop a job at the next file; what was done so far stays archived.
using CancelFlag = std::atomic<bool>;

struct AddReport {
    int found = 0;               // record-file candidates found under the paths
    int added = 0;               // records new to the archive
    int newPlaces = 0;           // places of records already archived (copies, or first seen here)
    int unchanged = 0;           // places skipped without reading: same path, size and time
    int refreshed = 0;           // places read again (another size or time) still holding their record
    QVector<ReplacedPlace> replaced;
    QVector<SkippedFile> skipped;   // unreadable files and files that are not records
    bool cancelled = false;
    // Empty when the job ran to its end (or was cancelled); else why it stopped (the server went
    // away, the disk is full). What was committed before stays; running the job again completes it.
    QString error;

    bool ok() const { return error.isEmpty(); }
};

// A place that no longer holds its archived bytes.
struct PlaceProblem {
    QString sha;
    QString path;
    PlaceState state = PlaceState::Changed;   // Changed or Missing
};

struct VerifyReport {
    int checked = 0;             // places of this computer read
    QVector<PlaceProblem> problems;
    bool cancelled = false;
    QString error;               // empty when the archive answered throughout

    bool ok() const { return error.isEmpty(); }
};

class Archive {
public:
    Archive();
    ~Archive();
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;

    // Opens (and for a new SQLite file or an empty database, creates) the archive. False with a
    // message for a person in error() when it cannot be reached, is not an archive, or was made
    // by a later version of this program (then it is left untouched).
    bool open(const QString& target);
    bool open(const Target& target);
    void close();
    bool isOpen() const;
    const Target& target() const;
    // The last failure's message; empty after a success.
    QString error() const;
    // The schema version the open archive carries.
    int schemaVersion() const;

    // The computer and user this archive records as archiving and for the places; the host
    // name and the login name unless set (tests give two "computers").
    void setComputer(const QString& name);
    QString computer() const;
    void setUser(const QString& name);
    // The language of the messages (0 Spanish .. 4 Portuguese); Spanish unless set.
    void setLanguage(int idioma);

    // Indexes files and folders (folders with their subfolders; there every *.klv file, any case).
    // A place whose path, size and modification time are unchanged is skipped unread; every other
    // file is read once. Files of the wrong size, unreadable, or whose dates do not decode are
    // listed in the report's skipped and never archived. Never stops for one file.
    AddReport add(const QStringList& paths, const Progress& progress = {}, const CancelFlag* cancel = nullptr);

    // The records a filter selects, the newest missions first: every field, or only those a list
    // shows (date, serial, names, samples, min, max, MKT, minutes out, verdict, archived at, the
    // places), which a list of the whole archive reads in two thirds of the time.
    QVector<RecordRow> query(const Filter& filter = {}, RowDetail detail = RowDetail::Full);
    // The fleet's figures of the same selection.
    FleetStats stats(const Filter& filter = {});

    // Reads every place of this computer again and compares its SHA-256; the outcome is kept in
    // the archive (RecordRow::state) and returned.
    VerifyReport verify(const Progress& progress = {}, const CancelFlag* cancel = nullptr);

    // The places of a record, on every computer.
    struct Place {
        QString computer;
        QString path;
        qint64 size = 0;
        QDateTime modified;     // UTC
        PlaceState state = PlaceState::Unchecked;
    };
    QVector<Place> places(const QString& sha);

    // The archived 32768 bytes of a record; nothing when the archive does not hold it. Opens a
    // record that lies on another computer.
    std::optional<QByteArray> image(const QString& sha);

    // Writes the rows as CSV (RFC 4180: comma, CRLF, quoted fields) to `path`, whole or not at
    // all. False with the reason in error().
    bool exportCsv(const QVector<RecordRow>& rows, const QString& path, Unit unit = Unit::Celsius);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// A row's figures by name, in the order of the CSV export's columns; the command line's JSON
// uses the same names. Numbers as qint64 or double, flags as bool, texts and dates
// ('yyyy-MM-ddTHH:mm') as QString, an absent figure as a null QVariant. Temperatures in `unit`.
QVector<QPair<QString, QVariant>> rowFields(const RecordRow& row, Unit unit = Unit::Celsius);
// A temperature of a row (degrees Celsius) in `unit`.
double inUnit(double celsius, Unit unit);

// SHA-256 of bytes, 64 lowercase hex digits.
QString sha256Hex(const QByteArray& bytes);

// How the file at `path` stands against the archived record `sha`: Ok, Changed or Missing.
// The window asks this before it opens a record from the archive.
PlaceState checkFile(const QString& path, const QString& sha);

} // namespace orvan::archive

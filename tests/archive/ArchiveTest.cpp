// The records archive on both engines with one suite: an SQLite file in a temporary folder and a
// real PostgreSQL server the test starts itself (PgCluster). Records come from the generator.

#include "archive/PgCluster.h"

#include "archive/Archive.h"
#include "support/Files.h"
#include "tools/generator/RecordGenerator.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Failures name texts as texts.
void PrintTo(const QString& s, std::ostream* os)
{
    *os << s.toStdString();
}

using namespace orvan;
using archive::Archive;
using archive::Engine;
using archive::PlaceState;
using test::readAll;
using views::Verdict;

namespace {

// The cluster goes when the test program ends, whatever test ran last.
class PgEnvironment : public ::testing::Environment {
public:
    void TearDown() override { test::PgCluster::instance().shutdown(); }
};
const auto* const pgEnvironment = ::testing::AddGlobalTestEnvironment(new PgEnvironment);

struct Made {
    const char* file;
    generator::Scenario scenario;
    quint32 serial;
    const char *exporter, *carrier;
    QDate prepared;
    double low, high;
};

// Five records, their verdicts set by the limits: -40..60 holds every generated sample.
const Made kRecords[] = {
    {"a.klv", generator::Scenario::Finished, 1001, "FRUTAS SUR", "NAVIERA AZUL", {2024, 3, 1}, 2, 8},     // fail
    {"b.klv", generator::Scenario::Alarms, 1002, "FRUTAS SUR", "TRANS ANDES", {2024, 3, 15}, 2, 8},       // fail
    {"c.klv", generator::Scenario::Finished, 1003, "VINOS \"N\",S", "TRANS ANDES", {2024, 4, 2}, -40, 60}, // pass
    {"d.klv", generator::Scenario::Empty, 1004, "FRUTAS SUR", "NAVIERA AZUL", {2024, 5, 1}, 2, 8},        // no data
    {"e.klv", generator::Scenario::Circular, 1001, "FRUTAS SUR", "NAVIERA AZUL", {2024, 2, 10}, -40, 60}, // pass
};

QByteArray image(const Made& m, quint64 seed = 1)
{
    generator::GeneratorOptions o;
    o.scenario = m.scenario;
    o.serial = m.serial;
    o.exporter = QString::fromUtf8(m.exporter);
    o.carrier = QString::fromUtf8(m.carrier);
    o.prepared = QDateTime(m.prepared, QTime(10, 0), Qt::UTC);
    o.lowCelsius = m.low;
    o.highCelsius = m.high;
    o.seed = seed;
    return generator::generateImage(o);
}

// A null `bytes` leaves the content and only sets the time.
void write(const QString& path, const QByteArray& bytes, const QDateTime& time = {})
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite | (bytes.isNull() ? QIODevice::NotOpen : QIODevice::Truncate)));
    ASSERT_EQ(f.write(bytes), bytes.size());
    ASSERT_TRUE(!time.isValid() || f.setFileTime(time, QFileDevice::FileModificationTime));
}

QSet<QString> namesOf(const QVector<archive::RecordRow>& rows)
{
    QSet<QString> names;
    for (const archive::RecordRow& r : rows)
        names.insert(QFileInfo(r.path).fileName());
    return names;
}

class ArchiveTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (GetParam() == Engine::PostgreSQL) {
            test::PgCluster& pg = test::PgCluster::instance();
            ASSERT_TRUE(pg.running() || (pg.error().isEmpty() && pg.start())) << pg.error().toStdString();
            m_target = pg.url(QStringLiteral("archive_test"));
            sql(QStringLiteral("DROP TABLE IF EXISTS orvan_places, orvan_images, orvan_records, orvan_schema"));
        } else {
            m_target = m_dir.filePath(QStringLiteral("archive.sqlite"));
        }
        for (const Made& m : kRecords)
            write(recs(m.file), image(m));
        write(recs("sub/copy.klv"), readAll(recs("c.klv")));
        write(recs("short.klv"), QByteArray(100, '\0'));
        QByteArray badDate = readAll(recs("a.klv"));
        badDate[24] = char(0x1A);   // a month byte that is no decimal number
        write(recs("dates.klv"), badDate);
        write(recs("notes.txt"), QByteArray(32768, 'x'));
        ASSERT_TRUE(archive.open(m_target)) << archive.error().toStdString();
    }

    QString recs(const char* name) const { return m_dir.filePath(QStringLiteral("recs/") + QLatin1String(name)); }
    archive::AddReport addAll() { return archive.add({m_dir.filePath(QStringLiteral("recs"))}); }

    // A statement straight on the engine, past the archive's own checks; the first value.
    QVariant sql(const QString& statement)
    {
        const archive::Target t = *archive::parseTarget(m_target);
        const QString name = QStringLiteral("archive-test-sql");
        QVariant value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(t.engine == Engine::SQLite ? "QSQLITE" : "QPSQL", name);
            db.setDatabaseName(t.engine == Engine::SQLite ? t.path : t.database);
            db.setHostName(t.host);
            db.setUserName(t.user);
            EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
            if (q.next())
                value = q.value(0);
        }
        QSqlDatabase::removeDatabase(name);
        return value;
    }
    int count(const char* table) { return sql(QStringLiteral("SELECT count(*) FROM %1").arg(QLatin1String(table))).toInt(); }

    QTemporaryDir m_dir;
    QString m_target;
    Archive archive;
};

// The server going away mid-index: PostgreSQL only, an embedded file has no server to lose.
class ArchiveServerTest : public ArchiveTest {};

} // namespace

TEST_P(ArchiveTest, AddsEachRecordOnceListsWhatItCannotArchiveAndSkipsUnchangedPlacesUnread)
{
    const archive::AddReport first = addAll();
    ASSERT_TRUE(first.ok()) << first.error.toStdString();
    EXPECT_EQ(first.found, 8);   // every .klv under the folder, not notes.txt
    EXPECT_EQ(first.added, 5);
    EXPECT_EQ(first.newPlaces, 1);   // the copy of c.klv
    ASSERT_EQ(first.skipped.size(), 2);
    EXPECT_EQ(QFileInfo(first.skipped[0].path).fileName(), QStringLiteral("dates.klv"));
    EXPECT_EQ(QFileInfo(first.skipped[1].path).fileName(), QStringLiteral("short.klv"));
    EXPECT_EQ(count("orvan_records"), 5);
    EXPECT_EQ(count("orvan_places"), 6);
    const QString sha = archive::sha256Hex(readAll(recs("b.klv")));
    EXPECT_EQ(archive.image(sha), readAll(recs("b.klv")));
    EXPECT_EQ(archive.places(sha).size(), 1);

    // Other bytes under c.klv with its former size and time: an unchanged place is not read.
    // A new time on the same bytes, and a new record under an archived place.
    const QDateTime time = QFileInfo(recs("c.klv")).lastModified();
    write(recs("c.klv"), image(kRecords[0], 7), time);
    write(recs("d.klv"), QByteArray(), time.addSecs(60));
    write(recs("b.klv"), image(kRecords[1], 9));
    const archive::AddReport second = addAll();
    ASSERT_TRUE(second.ok()) << second.error.toStdString();
    EXPECT_EQ(second.unchanged, 4);
    EXPECT_EQ(second.refreshed, 1);
    EXPECT_EQ(second.added, 1);
    ASSERT_EQ(second.replaced.size(), 1);
    EXPECT_EQ(second.replaced[0].formerSha, sha);
    EXPECT_EQ(count("orvan_records"), 6);   // the former b.klv stays archived
    EXPECT_EQ(count("orvan_places"), 6);
}

TEST_P(ArchiveTest, EachFilterSelectsItsRecordsAndASearchExportsAsCsv)
{
    ASSERT_TRUE(addAll().ok());
    const auto with = [](auto set) {
        archive::Filter f;
        set(f);
        return f;
    };
    const struct {
        const char* name;
        archive::Filter filter;
        QSet<QString> expected;
    } cases[] = {
        {"everything", {}, {"a.klv", "b.klv", "c.klv", "d.klv", "e.klv"}},
        {"serial", with([](auto& f) { f.serial = 1001; }), {"a.klv", "e.klv"}},
        {"exporter, any case", with([](auto& f) { f.exporter = "vinos \"n\""; }), {"c.klv"}},
        {"carrier", with([](auto& f) { f.carrier = "Andes"; }), {"b.klv", "c.klv"}},
        {"LIKE's characters match themselves", with([](auto& f) { f.carrier = "%"; }), {}},
        {"from and to, whole days", with([](auto& f) { f.from = {2024, 3, 1}; f.to = {2024, 3, 15}; }), {"a.klv", "b.klv"}},
        {"to", with([](auto& f) { f.to = {2024, 2, 29}; }), {"e.klv"}},
        {"pass", with([](auto& f) { f.verdict = Verdict::Pass; }), {"c.klv", "e.klv"}},
        {"fail", with([](auto& f) { f.verdict = Verdict::Fail; }), {"a.klv", "b.klv"}},
        {"no data", with([](auto& f) { f.verdict = Verdict::NoData; }), {"d.klv"}},
        {"text in a path", with([](auto& f) { f.text = "COPY"; }), {"c.klv"}},
        {"text in a serial", with([](auto& f) { f.text = "1002"; }), {"b.klv"}},
        {"carrier and verdict", with([](auto& f) { f.carrier = "azul"; f.verdict = Verdict::Fail; }), {"a.klv"}},
        {"the newest two", with([](auto& f) { f.limit = 2; }), {"d.klv", "c.klv"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(namesOf(archive.query(c.filter)), c.expected);
        EXPECT_EQ(archive.stats(c.filter).shipments, c.filter.limit ? 5 : c.expected.size());
        EXPECT_TRUE(archive.error().isEmpty()) << archive.error().toStdString();
    }
    const archive::FleetStats s = archive.stats();
    EXPECT_EQ(s.pass, 2);
    EXPECT_EQ(s.fail, 2);
    EXPECT_EQ(s.noData, 1);
    EXPECT_DOUBLE_EQ(s.percentPass(), 40.0);
    ASSERT_TRUE(s.worstExcursion);
    EXPECT_GT(s.worstExcursion->minutes, 0);

    const QString out = m_dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(archive.exportCsv(archive.query(), out, Unit::Fahrenheit)) << archive.error().toStdString();
    const QList<QByteArray> lines = readAll(out).split('\n');
    ASSERT_EQ(lines.size(), 7);   // header, five records, nothing after the last CRLF
    EXPECT_TRUE(lines[0].startsWith("sha256,unit,serial,exporter,carrier,mission_start,")) << lines[0].toStdString();
    // The newest missions first: d, then c, its limits in Fahrenheit.
    EXPECT_TRUE(lines[2].contains(",F,1003,\"VINOS \"\"N\"\",S\",TRANS ANDES,2024-04-02T10:00,")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(",-40,140,")) << lines[2].toStdString();
    for (int i = 0; i < 6; ++i)
        EXPECT_TRUE(lines[i].endsWith('\r'));
    // A folder of that name is left as it is.
    EXPECT_FALSE(archive.exportCsv(archive.query(), m_dir.filePath(QStringLiteral("recs"))));
    EXPECT_FALSE(archive.error().isEmpty());
}

TEST_P(ArchiveTest, VerifyFlagsAChangedAndAMissingFile)
{
    ASSERT_TRUE(addAll().ok());
    QByteArray changed = readAll(recs("b.klv"));
    changed[9000] = char(changed[9000] ^ 1);
    write(recs("b.klv"), changed);
    ASSERT_TRUE(QFile::remove(recs("d.klv")));

    const archive::VerifyReport r = archive.verify();
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.checked, 6);
    ASSERT_EQ(r.problems.size(), 2);
    EXPECT_EQ(r.problems[0].path, recs("b.klv"));
    EXPECT_EQ(r.problems[0].state, PlaceState::Changed);
    EXPECT_EQ(r.problems[1].path, recs("d.klv"));
    EXPECT_EQ(r.problems[1].state, PlaceState::Missing);

    // The outcome stays in the archive for the window, and another computer's view is its own.
    archive::Filter flagged;
    flagged.flaggedOnly = true;
    EXPECT_EQ(namesOf(archive.query(flagged)), (QSet<QString>{"b.klv", "d.klv"}));
    Archive elsewhere;
    ASSERT_TRUE(elsewhere.open(m_target));
    elsewhere.setComputer(QStringLiteral("another-pc"));
    EXPECT_TRUE(elsewhere.query(flagged).isEmpty());
    EXPECT_EQ(elsewhere.verify().checked, 0);

    // The command line exits 1 with the list.
    QProcess cli;
    cli.start(QStringLiteral(ORVAN_CLI_PATH), {"archive", "verify", "--db", m_target, "--lang", "1"});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1);
    const QJsonObject json = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(json.value("changed").toArray().at(0).toString(), recs("b.klv"));
    EXPECT_EQ(json.value("missing").toArray().at(0).toString(), recs("d.klv"));
    EXPECT_EQ(cli.readAllStandardError(), "2 of 6 archived files changed or missing\n");
}

TEST_P(ArchiveTest, AnArchiveOfALaterVersionIsRefusedAndLeftUntouched)
{
    ASSERT_TRUE(addAll().ok());
    archive.close();
    sql(QStringLiteral("UPDATE orvan_schema SET value = 99 WHERE name = 'version'"));
    const auto snapshot = [&]() {
        return GetParam() == Engine::SQLite ? readAll(m_target)
                                            : sql("SELECT string_agg(sha || archived_at, ',' ORDER BY sha) FROM orvan_records").toByteArray();
    };
    const QByteArray before = snapshot();
    Archive later;
    EXPECT_FALSE(later.open(m_target));
    EXPECT_TRUE(later.error().contains(QStringLiteral("99"))) << later.error().toStdString();
    EXPECT_FALSE(later.isOpen());
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(sql(QStringLiteral("SELECT value FROM orvan_schema WHERE name = 'version'")).toInt(), 99);
}

TEST_P(ArchiveTest, TwoProcessesIndexingTheSameFilesAtOnceArchiveEachRecordOnce)
{
    // 60 records, each in two places: every record is new to both processes at once. The tables
    // exist before the race, as on a team's server.
    const QString many = m_dir.filePath(QStringLiteral("many"));
    for (int i = 0; i < 60; ++i) {
        Made m = kRecords[i % 5];
        m.serial = quint32(30000 + i);
        for (const char* folder : {"a", "b"})
            write(QStringLiteral("%1/%2/r%3.klv").arg(many, QLatin1String(folder)).arg(i), image(m));
    }
    QProcess first, second;
    int added = 0;
    for (QProcess* p : {&first, &second})
        p->start(QStringLiteral(ORVAN_CLI_PATH), {QStringLiteral("archive"), QStringLiteral("add"), many, QStringLiteral("--db"), m_target});
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        added += QJsonDocument::fromJson(p->readAllStandardOutput()).object().value("added").toInt();
    }
    EXPECT_EQ(added, 60);
    EXPECT_EQ(count("orvan_records"), 60);
    EXPECT_EQ(count("orvan_places"), 120);
}

TEST_P(ArchiveServerTest, AServerThatGoesAwayMidIndexLeavesTheArchiveConsistentAndTheNextRunCompletes)
{
    test::PgCluster& pg = test::PgCluster::instance();
    const QString many = m_dir.filePath(QStringLiteral("many"));
    constexpr int kFiles = 450;   // three transactions
    for (int i = 0; i < kFiles; ++i) {
        Made m = kRecords[0];
        m.serial = quint32(20000 + i);
        write(QStringLiteral("%1/r%2.klv").arg(many).arg(i), image(m));
    }
    const archive::AddReport broken = archive.add({many}, [&](int done, int, const QString&) {
        if (done == 200)
            pg.stop();
    });
    ASSERT_TRUE(pg.start()) << pg.error().toStdString();
    EXPECT_FALSE(broken.ok());
    EXPECT_TRUE(broken.error.contains(m_target.left(20))) << broken.error.toStdString();
    const int kept = count("orvan_records");
    EXPECT_EQ(kept, 200);   // the committed first transaction; the second was rolled back
    EXPECT_EQ(count("orvan_places"), kept);

    Archive again;
    ASSERT_TRUE(again.open(m_target)) << again.error().toStdString();
    const archive::AddReport completed = again.add({many});
    ASSERT_TRUE(completed.ok()) << completed.error.toStdString();
    EXPECT_EQ(completed.unchanged, kept);
    EXPECT_EQ(completed.added, kFiles - kept);
    EXPECT_EQ(count("orvan_records"), kFiles);
}

const auto engineName = [](const auto& info) { return info.param == Engine::SQLite ? "SQLite" : "PostgreSQL"; };
INSTANTIATE_TEST_SUITE_P(Engines, ArchiveTest, ::testing::Values(Engine::SQLite, Engine::PostgreSQL), engineName);
INSTANTIATE_TEST_SUITE_P(Engines, ArchiveServerTest, ::testing::Values(Engine::PostgreSQL), engineName);

TEST(ArchiveTarget, UrlsAndFilePathsName)
{
    const std::pair<const char*, const char*> cases[] = {
        // engine, host, port, database, user; empty when refused
        {"postgresql://qa@db.example:5433/shipments", "pg db.example 5433 shipments qa"},
        {"postgres://qa@/shipments?host=/run/pg%20x", "pg /run/pg x -1 shipments qa"},
        {"postgresql://db.example/", ""},
        {"mysql://db.example/x", ""},
        {"sqlite:///data/archive.sqlite", "sqlite /data/archive.sqlite"},
        {"/data/archive.sqlite", "sqlite /data/archive.sqlite"},
    };
    for (const auto& [text, expected] : cases) {
        const auto t = archive::parseTarget(QString::fromUtf8(text));
        const QString parsed = !t ? QString()
                               : t->engine == Engine::SQLite
                                   ? QStringLiteral("sqlite ") + t->path
                                   : QStringLiteral("pg %1 %2 %3 %4").arg(t->host).arg(t->port).arg(t->database, t->user);
        EXPECT_EQ(parsed, QString::fromUtf8(expected)) << text;
    }
    // The configured choice lives in its own file beside the settings record.
    QTemporaryDir config;
    EXPECT_EQ(archive::effectiveTarget(config.path(), "/data"), QStringLiteral("/data/archive.sqlite"));
    ASSERT_TRUE(archive::writeArchiveChoice(config.path(), "postgresql://qa@db/x"));
    EXPECT_EQ(archive::effectiveTarget(config.path(), "/data"), QStringLiteral("postgresql://qa@db/x"));
    EXPECT_TRUE(QFileInfo::exists(config.filePath("OrvanLog.ini")));
}

// The records archive, one suite on both engines: an SQLite file and a PostgreSQL server of its own.

#include "archive/PgCluster.h"

#include "archive/Archive.h"
#include "support/Files.h"
#include "tools/generator/RecordGenerator.h"

#include <QtCore>
#include <QtSql>
#include <gtest/gtest.h>

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

template <class Rows>
QSet<QString> namesOf(const Rows& rows)
{
    QSet<QString> names;
    for (const auto& r : rows)
        names.insert(QFileInfo(r.path).fileName());
    return names;
}

class ArchiveTest : public ::testing::TestWithParam<Engine> {
protected:
    // The server, started by the first PostgreSQL case, goes with the suite.
    static inline bool s_server = false;
    static void TearDownTestSuite()
    {
        if (s_server)
            test::PgCluster::instance().shutdown();
    }

    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        if (GetParam() == Engine::PostgreSQL) {
            s_server = true;
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
    // `n` more records from `serial` on, each in every one of `folders` under many/.
    QString many(int n, quint32 serial, const QStringList& folders)
    {
        for (int i = 0; i < n; ++i) {
            Made m = kRecords[i % 5];
            m.serial = serial + quint32(i);
            for (const QString& folder : folders)
                write(m_dir.filePath(QStringLiteral("many/%1/r%2.klv").arg(folder).arg(i)), image(m));
        }
        return m_dir.filePath(QStringLiteral("many"));
    }
    archive::AddReport addAll() { return archive.add({m_dir.filePath(QStringLiteral("recs"))}); }

    // A statement straight on the engine, past the archive's own checks; the first value.
    QVariant sql(const QString& statement)
    {
        const archive::Target t = *archive::parseTarget(m_target);
        QVariant value;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(t.engine == Engine::SQLite ? "QSQLITE" : "QPSQL", "sql");
            db.setDatabaseName(t.engine == Engine::SQLite ? t.path : t.database);
            db.setHostName(t.host);
            db.setUserName(t.user);
            EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(statement)) << q.lastError().text().toStdString();
            value = q.next() ? q.value(0) : QVariant();
        }
        QSqlDatabase::removeDatabase("sql");
        return value;
    }
    QString counts()
    {
        return QStringLiteral("%1 records %2 places").arg(sql("SELECT count(*) FROM orvan_records").toInt()).arg(sql("SELECT count(*) FROM orvan_places").toInt());
    }

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
    // Every .klv under the folder, not notes.txt; the copy of c.klv a new place.
    EXPECT_EQ(QString("found %1 added %2 places %3").arg(first.found).arg(first.added).arg(first.newPlaces), "found 8 added 5 places 1");
    EXPECT_EQ(namesOf(first.skipped), (QSet<QString>{"dates.klv", "short.klv"}));
    EXPECT_EQ(counts(), "5 records 6 places");
    const QString sha = archive::sha256Hex(readAll(recs("b.klv")));

    // Unchanged size and time are not read again (c.klv); a new time (d) or new bytes (b) are.
    const QDateTime time = QFileInfo(recs("c.klv")).lastModified();
    write(recs("c.klv"), image(kRecords[0], 7), time);
    write(recs("d.klv"), QByteArray(), time.addSecs(60));
    write(recs("b.klv"), image(kRecords[1], 9));
    const archive::AddReport second = addAll();
    ASSERT_TRUE(second.ok()) << second.error.toStdString();
    EXPECT_EQ(QString("unchanged %1 refreshed %2 added %3").arg(second.unchanged).arg(second.refreshed).arg(second.added),
              "unchanged 4 refreshed 1 added 1");
    ASSERT_EQ(second.replaced.size(), 1);
    EXPECT_EQ(second.replaced[0].formerSha, sha);
    EXPECT_EQ(counts(), "6 records 6 places");   // the former b.klv stays archived
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
        {"pass", with([](auto& f) { f.verdict = Verdict::Pass; }), {"c.klv", "e.klv"}},
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
    EXPECT_EQ(QString("%1 %2 %3").arg(s.pass).arg(s.fail).arg(s.noData), "2 2 1");
    EXPECT_GT(s.worstExcursion.value_or(archive::FleetStats::Worst{}).minutes, 0);

    const QString out = m_dir.filePath(QStringLiteral("out.csv"));
    ASSERT_TRUE(archive.exportCsv(archive.query(), out, Unit::Fahrenheit)) << archive.error().toStdString();
    const QList<QByteArray> lines = readAll(out).split('\n');
    ASSERT_EQ(lines.size(), 7);   // header, five records, nothing after the last CRLF
    EXPECT_TRUE(lines[0].startsWith("sha256,unit,serial,exporter,carrier,mission_start,")) << lines[0].toStdString();
    // The newest missions first: d, then c, its limits in Fahrenheit.
    EXPECT_TRUE(lines[2].contains(",F,1003,\"VINOS \"\"N\"\",S\",TRANS ANDES,2024-04-02T10:00,")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].contains(",-40,140,")) << lines[2].toStdString();
    EXPECT_EQ(readAll(out).count("\r\n"), 6);
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
    EXPECT_TRUE(r.problems[0].path == recs("b.klv") && r.problems[0].state == PlaceState::Changed);
    EXPECT_TRUE(r.problems[1].path == recs("d.klv") && r.problems[1].state == PlaceState::Missing);

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
    const QByteArray before = GetParam() == Engine::SQLite ? readAll(m_target) : QByteArray();
    Archive later;
    EXPECT_FALSE(later.open(m_target));
    EXPECT_TRUE(later.error().contains(QStringLiteral("99"))) << later.error().toStdString();
    EXPECT_FALSE(later.isOpen());
    EXPECT_EQ(GetParam() == Engine::SQLite ? readAll(m_target) : QByteArray(), before);
    EXPECT_EQ(sql(QStringLiteral("SELECT value FROM orvan_schema WHERE name = 'version'")).toInt(), 99);
    EXPECT_EQ(counts(), "5 records 6 places");
}

TEST_P(ArchiveTest, AnArchiveWithoutTheSearchIndexesGetsThemAtItsNextOpenAsTheSameVersion)
{
    ASSERT_TRUE(addAll().ok());
    archive.close();
    const QString names = QStringLiteral("('orvan_records_listed', 'orvan_places_cover')");
    const QString look = GetParam() == Engine::SQLite ? QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name IN ")
                                                      : QStringLiteral("SELECT count(*) FROM pg_indexes WHERE indexname IN ");
    sql(QStringLiteral("DROP INDEX orvan_records_listed"));
    sql(QStringLiteral("DROP INDEX orvan_places_cover"));
    ASSERT_EQ(sql(look + names).toInt(), 0);
    ASSERT_TRUE(archive.open(m_target)) << archive.error().toStdString();
    EXPECT_EQ(sql(look + names).toInt(), 2);
    EXPECT_EQ(sql(QStringLiteral("SELECT value FROM orvan_schema WHERE name = 'version'")).toInt(), 1);
    EXPECT_EQ(archive.query().size(), 5);
}

TEST_P(ArchiveTest, TwoProcessesIndexingTheSameFilesAtOnceArchiveEachRecordOnce)
{
    // Every record is new to both processes at once; the tables exist, as on a team's server.
    const QString folder = many(60, 30000, {"a", "b"});
    QProcess first, second;
    int added = 0;
    for (QProcess* p : {&first, &second})
        p->start(QStringLiteral(ORVAN_CLI_PATH), {QStringLiteral("archive"), QStringLiteral("add"), folder, QStringLiteral("--db"), m_target});
    for (QProcess* p : {&first, &second}) {
        ASSERT_TRUE(p->waitForFinished(120000));
        EXPECT_EQ(p->exitCode(), 0) << p->readAllStandardError().toStdString();
        added += QJsonDocument::fromJson(p->readAllStandardOutput()).object().value("added").toInt();
    }
    EXPECT_EQ(added, 60);
    EXPECT_EQ(counts(), "60 records 120 places");
}

TEST_P(ArchiveServerTest, AServerThatGoesAwayMidIndexLeavesTheArchiveConsistentAndTheNextRunCompletes)
{
    test::PgCluster& pg = test::PgCluster::instance();
    const QString folder = many(450, 20000, {"x"});   // three transactions
    const archive::AddReport broken = archive.add({folder}, [&](int done, int, const QString&) {
        if (done == 200)
            pg.stop();
    });
    ASSERT_TRUE(pg.start()) << pg.error().toStdString();
    EXPECT_FALSE(broken.ok());
    EXPECT_TRUE(broken.error.contains(m_target.left(20))) << broken.error.toStdString();
    EXPECT_EQ(counts(), "200 records 200 places");   // the first transaction; the second rolled back

    Archive again;
    ASSERT_TRUE(again.open(m_target)) << again.error().toStdString();
    const archive::AddReport completed = again.add({folder});
    ASSERT_TRUE(completed.ok()) << completed.error.toStdString();
    EXPECT_EQ(completed.unchanged, 200);
    EXPECT_EQ(completed.added, 250);
    EXPECT_EQ(counts(), "450 records 450 places");
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
}

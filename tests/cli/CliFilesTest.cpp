// orvanlog-cli against names that are not ordinary files and against files longer than their
// format: every command refuses them with the same one line, leaves them as they are and never
// waits on a FIFO or reads a device without end.

#include "base/Settings.h"
#include "support/Files.h"
#include "support/RunCli.h"
#include "support/SpecialFiles.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::test;

namespace {

const QString kEnglish = QStringLiteral("--lang=1");

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        program = dir.filePath(QStringLiteral("orvanlog-cli"));
        ASSERT_TRUE(QFile::copy(QStringLiteral(ORVAN_CLI_PATH), program));
        record = dir.filePath(QStringLiteral("r.klv"));
        ASSERT_EQ(run({QStringLiteral("generate"), QStringLiteral("alarms"), record}).code, 0);
    }

    CliRun run(const QStringList& args) const { return runCliAt(program, args); }

    static void expectRefusal(const CliRun& r, const char* words)
    {
        EXPECT_EQ(r.code, 1) << r.err.constData();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.constData();
        EXPECT_EQ(r.err.count('\n'), 1) << r.err.constData();
        EXPECT_TRUE(r.err.contains(words)) << r.err.constData();
    }

    QTemporaryDir dir;
    QString program;
    QString record;
};

// The commands that read a record, as "<command> <record>", and where each writes.
QStringList readingCommand(const QString& command, const QString& path, const QString& out)
{
    if (command == QLatin1String("csv"))
        return {command, path, QStringLiteral("-o"), out + QStringLiteral(".csv"), kEnglish};
    if (command == QLatin1String("report"))
        return {command, path, out + QStringLiteral(".pdf"), kEnglish};
    return {command, path, kEnglish};
}

const char* const kReaders[] = {"info", "stats", "alarms", "csv", "report"};

} // namespace

TEST_F(CliFiles, OutputThatIsNotAnOrdinaryFileIsRefusedAndLeftAsItIs)
{
    for (const NodeRow& node : kNodes) {
        const QString base = dir.filePath(QString::fromLatin1(node.name));
        const struct {
            const char* command;
            QString target;
            QStringList args;
        } outputs[] = {
            {"csv", base + QStringLiteral(".csv"), {QStringLiteral("csv"), record, QStringLiteral("-o"), base + QStringLiteral(".csv")}},
            {"report", base + QStringLiteral(".pdf"), {QStringLiteral("report"), record, base + QStringLiteral(".pdf")}},
            {"generate", base + QStringLiteral(".klv"), {QStringLiteral("generate"), QStringLiteral("empty"), base + QStringLiteral(".klv")}},
        };
        for (const auto& o : outputs) {
            SCOPED_TRACE(std::string(node.name) + " as output of " + o.command);
            if (!makeNode(node.kind, o.target)) {
                std::cout << "[ skipped  ] cannot make a " << node.name << " here\n";
                continue;
            }
            const quint64 before = nodeIdentity(o.target);
            expectRefusal(run(o.args + QStringList{kEnglish}), "exists and is not a regular file; it is left as it is");
            EXPECT_EQ(nodeIdentity(o.target), before);
        }
    }
}

TEST_F(CliFiles, RecordThatIsNotAnOrdinaryFileIsRefusedWithoutWaiting)
{
    const QString fifo = dir.filePath(QStringLiteral("pipe.klv"));
    ASSERT_TRUE(makeNode(Node::Fifo, fifo));
    const QString zero = dir.filePath(QStringLiteral("zero.klv"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    for (const QString& path : {fifo, zero, dir.path()}) {
        for (const char* command : kReaders) {
            SCOPED_TRACE(path.toStdString() + " read by " + command);
            expectRefusal(run(readingCommand(QString::fromLatin1(command), path, dir.filePath(QStringLiteral("out")))),
                          "is not a regular file and is not read");
        }
    }
}

TEST_F(CliFiles, OverLongRecordGetsTheSameLineFromEveryCommand)
{
    const QString tooLong = dir.filePath(QStringLiteral("long.klv"));
    ASSERT_TRUE(writeFile(tooLong, QByteArray(67002, '\x01')));
    const QByteArray expected = "orvanlog-cli: " + QFile::encodeName(tooLong)
        + " is longer than 67001 bytes and is not a record file\n";
    for (const char* command : kReaders) {
        SCOPED_TRACE(command);
        const CliRun r = run(readingCommand(QString::fromLatin1(command), tooLong, dir.filePath(QStringLiteral("out"))));
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, expected);
    }
}

TEST_F(CliFiles, SettingsFileThatCannotBeOursIsLeftAloneAndTheDefaultsStand)
{
    const QString settings = dir.filePath(QStringLiteral("Ruta.CnF"));
    const QByteArray longFile(orvan::SettingsFile::MaxFileSize + 1, '\x01');
    const struct {
        const char* name;
        bool (*make)(const QString&, const QByteArray&);
    } cases[] = {
        {"fifo", [](const QString& p, const QByteArray&) { return makeNode(Node::Fifo, p); }},
        {"/dev/zero", [](const QString& p, const QByteArray&) { return QFile::link(QStringLiteral("/dev/zero"), p); }},
        {"/dev/urandom", [](const QString& p, const QByteArray&) { return QFile::link(QStringLiteral("/dev/urandom"), p); }},
        {"longer than the bound", [](const QString& p, const QByteArray& b) { return writeFile(p, b); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(settings);
        ASSERT_TRUE(c.make(settings, longFile));
        const quint64 before = nodeIdentity(settings);
        const CliRun help = run({QStringLiteral("info"), QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.contains("(no usable settings record)")) << help.out.constData();
        EXPECT_EQ(run({QStringLiteral("info"), record}).code, 0);
        EXPECT_EQ(nodeIdentity(settings), before);
    }
    EXPECT_EQ(readAll(settings), longFile);
}

TEST_F(CliFiles, CsvAndReportMakeTheApplicationsRecordFolder)
{
    for (const QStringList& args : {QStringList{QStringLiteral("csv"), record, QStringLiteral("-o"),
                                                dir.filePath(QStringLiteral("Datos/r.csv"))},
                                    QStringList{QStringLiteral("report"), record, dir.filePath(QStringLiteral("Datos/r.pdf"))}}) {
        SCOPED_TRACE(args.first().toStdString());
        QDir(dir.filePath(QStringLiteral("Datos"))).removeRecursively();
        const CliRun r = run(args);
        EXPECT_EQ(r.code, 0) << r.err.constData();
        EXPECT_TRUE(QFile::exists(args.last()));
    }
}

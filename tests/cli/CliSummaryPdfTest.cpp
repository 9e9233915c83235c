// orvanlog-cli summary --pdf: the one-page shipment report beside the JSON, written whole or not
// at all.

#include "support/RunCli.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using orvan::test::runCli;

TEST(CliSummaryPdf, WritesOneA4PortraitPageOrNothing)
{
    QTemporaryDir dir;
    const QString klv = dir.filePath(QStringLiteral("r.klv"));
    ASSERT_EQ(runCli({QStringLiteral("generate"), QStringLiteral("alarms"), klv}).code, 0);

    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    const auto ok = runCli({QStringLiteral("summary"), klv, QStringLiteral("--pdf"), pdf, QStringLiteral("--lang=1")});
    ASSERT_EQ(ok.code, 0) << ok.err.constData();
    EXPECT_TRUE(ok.out.contains("\"verdict\": \"fail\"")) << "the JSON is still the result";
    EXPECT_EQ(ok.err.count('\n'), 1) << ok.err.constData();
    QFile f(pdf);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/MediaBox [0 0 595.000000 842.000000]"), 1) << "one A4 portrait page";
    EXPECT_EQ(QString::fromLatin1(bytes).count(QRegularExpression(QStringLiteral("/Type\\s*/Page\\b"))), 1);

    // A folder that does not exist, an output that is a folder, a file that is no record: exit 1,
    // nothing on stdout, no file. Not a PDF name: a usage error.
    const QString missing = dir.filePath(QStringLiteral("no/r.pdf"));
    const QString folder = dir.filePath(QStringLiteral("folder.pdf"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString junk = dir.filePath(QStringLiteral("junk.klv"));
    QFile j(junk);
    ASSERT_TRUE(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(70000, '\x7f'));
    j.close();
    const struct {
        QStringList args;
        int code;
    } refused[] = {
        {{QStringLiteral("summary"), klv, QStringLiteral("--pdf"), missing}, 1},
        {{QStringLiteral("summary"), klv, QStringLiteral("--pdf"), folder}, 1},
        {{QStringLiteral("summary"), junk, QStringLiteral("--pdf"), dir.filePath(QStringLiteral("j.pdf"))}, 1},
        {{QStringLiteral("summary"), klv, QStringLiteral("--pdf"), dir.filePath(QStringLiteral("r.png"))}, 2},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.args.join(' ').toStdString());
        const auto bad = runCli(r.args);
        EXPECT_EQ(bad.code, r.code) << bad.err.constData();
        EXPECT_TRUE(bad.out.isEmpty());
        EXPECT_EQ(bad.err.count('\n'), 1) << bad.err.constData();
    }
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("no"))).exists());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("j.pdf"))));
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("r.png"))));
}

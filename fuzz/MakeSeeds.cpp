// Writes the fuzzers' seed inputs into <corpus>/<target>/: record images of every generator
// scenario (and cut ones), settings records of every version the start-up treats apart, reply
// scripts of a logger that answers well, and the frames the PC sends.
#include "base/Settings.h"
#include "tools/generator/RecordGenerator.h"

#include <QDir>
#include <QFile>
#include <cstdio>

using namespace orvan;

namespace {

void put(const QString& folder, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(folder);
    QFile f(QDir(folder).filePath(name));
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
        std::fprintf(stderr, "cannot write %s\n", qPrintable(f.fileName()));
}

// A reply script for the link fuzzer: one answer per frame (kind 2 = bytes, one piece, 5 ms
// after the frame, all at once), as a sound logger answers.
QByteArray replyScript(const QByteArray& memory, const QList<int>& blocks, bool prep)
{
    QByteArray s;
    s.append(char(prep ? 1 : 0));   // window
    s.append(char(1));              // Celsius
    s.append(char(5));              // no write failure
    for (const int b : blocks) {
        s.append(char(2));          // bytes
        s.append(char(0));          // one piece
        s.append(char(5));          // after 5 ms
        s.append(char(0));          // at once
        s.append(char(34));
        s.append(memory.mid(b * 32, 32) + QByteArray(2, '\0'));
    }
    return s;
}

} // namespace

int main(int argc, char** argv)
{
    const QString corpus = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("fuzz/corpus");
    const QString records = corpus + QStringLiteral("/fuzz_record");
    const QStringList names = generator::scenarioNames();
    for (const QString& name : names) {
        generator::GeneratorOptions o;
        o.scenario = *generator::scenarioFromName(name);
        if (o.scenario == generator::Scenario::Circular)
            o.samples = 26000;
        put(records, name + QStringLiteral(".klv"), generator::generateImage(o));
        // The same scenario with a few samples, cut after the last: an execution costs in
        // proportion to the samples, so these let the fuzzer try many more variations.
        o.samples = 40;
        put(records, name + QStringLiteral("-small.klv"), generator::generateImage(o).left(8192 + 41));
    }
    generator::GeneratorOptions small;
    small.samples = 40;
    const QByteArray image = generator::generateImage(small);
    put(records, QStringLiteral("header-only.klv"), image.left(1344));
    put(records, QStringLiteral("short.klv"), image.left(8192 + 41));
    put(records, QStringLiteral("empty.klv"), QByteArray());

    const QString settings = corpus + QStringLiteral("/fuzz_settings");
    for (const int version : {RegConfig::VersionActual, RegConfig::VersionAntigua, 0}) {
        RegConfig c;
        c.applyDefaults(QStringLiteral("/opt/orvanlog"));
        c.VersionCfg = qint16(version);
        c.Idioma = qint16(version % 5);
        put(settings, QStringLiteral("version-%1.cnf").arg(version), c.toBytes());
    }
    RegConfig c;
    c.applyDefaults(QStringLiteral("/opt/orvanlog"));
    put(settings, QStringLiteral("long.cnf"), c.toBytes() + QByteArray(202, 'x'));
    put(settings, QStringLiteral("short.cnf"), c.toBytes().left(100));

    const QString link = corpus + QStringLiteral("/fuzz_link");
    // The device-data window polls 0, 8, 15, 2, then 8; the preparation window 8, then 0, 2.
    put(link, QStringLiteral("frmsave-recording"), replyScript(image, {0, 8, 15, 2, 8, 0, 8, 15, 2, 8}, false));
    put(link, QStringLiteral("frmprep-recording"), replyScript(image, {8, 0, 2, 8, 0, 2}, true));

    const QString splitter = corpus + QStringLiteral("/fuzz_splitter");
    put(splitter, QStringLiteral("probe"), QByteArray::fromHex("ea"));
    put(splitter, QStringLiteral("read"), QByteArray::fromHex("330100"));
    put(splitter, QStringLiteral("write-long"), QByteArray::fromHex("22004041"));
    put(splitter, QStringLiteral("write-short"), QByteArray::fromHex("224041"));
    QByteArray names32;
    for (int i = 0; i < 24; ++i)
        names32 += QByteArray::fromHex("22") + char(64 + i) + 'A';
    put(splitter, QStringLiteral("identification-run"), names32);
    put(splitter, QStringLiteral("mixed"), QByteArray::fromHex("ea3300002200404133010022ffa5"));
    return 0;
}

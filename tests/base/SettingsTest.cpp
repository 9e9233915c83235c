// The settings record "Ruta.CnF": its bytes, the start-up version rules and failures.

#include "base/Settings.h"
#include "support/AsNobody.h"
#include "support/Files.h"
#include "support/SpecialFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <functional>
#include <iostream>
#include <tuple>
#include <unistd.h>
#include <gtest/gtest.h>

using orvan::RegConfig;
using orvan::SettingsFile;
using namespace orvan::test;

namespace {

void put16(QByteArray& b, int offset, qint16 v)
{
    qToLittleEndian<qint16>(v, b.data() + offset);
}

// The bytes of a record built field by field, independent of the code under test.
QByteArray record(const QByteArray& reserved, const QByteArray& folderText, qint16 port, qint16 idioma,
                  const QByteArray& company, qint16 grados, qint16 version, qint16 limInf, qint16 limSup)
{
    QByteArray b = reserved.left(80).leftJustified(80, '\0') + folderText.leftJustified(80, ' ', true);
    b += QByteArray(4, '\0') + company.leftJustified(30, ' ', true) + QByteArray(8, '\0');
    for (const auto& [offset, v] : {std::pair{160, port}, {162, idioma}, {194, grados}, {196, version},
                                    {198, limInf}, {200, limSup}})
        put16(b, offset, v);
    return b;
}

class SettingsTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath(QStringLiteral("Ruta.CnF")); }
    QByteArray defaults(const QByteArray& reserved) const
    {
        return record(reserved, QDir::toNativeSeparators(dir.path() + QStringLiteral("/Datos")).toLatin1(), 1, 0,
                      "Orvan", -1, 59, 0, 8);
    }
    SettingsFile::Result load(RegConfig& cfg) const { return SettingsFile(dir.path()).loadAtStartup(cfg); }
};

} // namespace

// A new file, and a record of any version but the current and the old layout's, get the default
// record; the reserved field is kept.
TEST_F(SettingsTest, NewFilesAndOtherVersionsGetTheDefaultRecord)
{
    RegConfig fresh;
    ASSERT_TRUE(load(fresh).ok);
    EXPECT_EQ(readAll(path()), defaults(QByteArray(80, '\0')));
    EXPECT_EQ(fresh.carpetaDatos(), QDir::toNativeSeparators(dir.path() + QStringLiteral("/Datos")));
    EXPECT_EQ(std::make_tuple(fresh.PuertoCom, fresh.Idioma, fresh.GradosC, fresh.LimInfDef, fresh.LimSupDef),
              std::make_tuple(1, 0, -1, 0, 8));

    const QByteArray reserved(80, 'R');
    for (qint16 version : {qint16(0), qint16(54), qint16(56), qint16(60), qint16(-1), qint16(0x3B00)}) {
        SCOPED_TRACE(version);
        ASSERT_TRUE(writeFile(path(), record(reserved, "C:\\X", 4, 3, "Other", 0, version, 7, 9)));
        RegConfig cfg;
        ASSERT_TRUE(load(cfg).ok);
        EXPECT_EQ(readAll(path()), defaults(reserved));
        EXPECT_EQ(cfg.Reservado, reserved);
    }

    // The current version is taken as it is and not written.
    const QByteArray current = record(reserved, "C:\\X", 4, 3, "Other", 0, 59, 7, 9);
    ASSERT_TRUE(writeFile(path(), current));
    RegConfig cfg;
    ASSERT_TRUE(load(cfg).ok);
    EXPECT_EQ(readAll(path()), current);
    EXPECT_EQ(std::make_tuple(cfg.LimInfDef, cfg.LimSupDef, cfg.Idioma), std::make_tuple(7, 9, 3));
}

TEST_F(SettingsTest, OldLayoutKeepsItsChoicesAndGetsTheLimits)
{
    const QByteArray old = record("reserved bytes written by someone else", "D:\\Registros", 3, 2, "ACME Frio", 0,
                                  55, 5, 20);
    const QByteArray trailer = "tail past record 1";
    ASSERT_TRUE(writeFile(path(), old + trailer));
    RegConfig cfg;
    ASSERT_TRUE(load(cfg).ok);

    QByteArray expected = old;   // the version and the limits change, nothing else
    for (const auto& [offset, v] : {std::pair{196, 59}, {198, 0}, {200, 8}})
        put16(expected, offset, qint16(v));
    EXPECT_EQ(readAll(path()), expected + trailer);
    EXPECT_EQ(cfg.carpetaDatos(), QStringLiteral("D:\\Registros"));
    EXPECT_EQ(std::make_tuple(cfg.PuertoCom, cfg.Idioma, cfg.GradosC), std::make_tuple(3, 2, 0));
}

TEST_F(SettingsTest, LongFolderIsCutShortFileReadsZerosLongerFileIsReported)
{
    const SettingsFile file(dir.path());
    RegConfig cfg;
    cfg.applyDefaults(dir.path());
    const QString longPath = QStringLiteral("/data/") + QString(100, QLatin1Char('a'));
    cfg.setCarpetaDatos(longPath);
    ASSERT_TRUE(file.write(cfg).ok);
    EXPECT_EQ(readAll(path()).size(), RegConfig::Size);
    RegConfig back;
    ASSERT_TRUE(file.read(back).ok);
    EXPECT_EQ(back.carpetaDatos(), longPath.left(80));

    // A file that ends inside the language field.
    ASSERT_TRUE(writeFile(path(), record("", "C:\\Y", 4, 2, "", 0, 0, 0, 0).left(163)));
    RegConfig partial;
    ASSERT_TRUE(file.read(partial).ok);
    EXPECT_EQ(std::make_tuple(partial.PuertoCom, partial.Idioma, partial.GradosC, partial.VersionCfg, partial.LimSupDef),
              std::make_tuple(4, 2, 0, 0, 0));

    // A current record with bytes after it is used as read, and the odd size is reported.
    ASSERT_TRUE(writeFile(path(), record("", "C:\\Y", 4, 2, "Orvan", -1, 59, 1, 7) + QByteArray(10, 'x')));
    RegConfig longer;
    const SettingsFile::Result r = load(longer);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.error.contains(QStringLiteral("212"))) << r.error.toStdString();
    EXPECT_EQ(std::make_tuple(longer.PuertoCom, longer.Idioma, longer.LimSupDef), std::make_tuple(4, 2, 7));
}

TEST_F(SettingsTest, FileThatCannotBeOursIsNeitherReadNorReplaced)
{
    // Start-up must not wait on such a file or read it without end, and no save may replace it.
    const QByteArray longFile(SettingsFile::MaxFileSize + 1, '\x01');
    const struct {
        const char* name;
        std::function<bool(const QString&)> make;
        const char* words;
    } cases[] = {
        {"folder", [](const QString& p) { return QDir().mkdir(p); }, "Ruta.CnF"},
        {"fifo", [](const QString& p) { return makeNode(Node::Fifo, p); }, "is not a regular file"},
        {"device", [](const QString& p) { return makeNode(Node::Device, p); }, "is not a regular file"},
        {"link to /dev/zero", [](const QString& p) { return QFile::link(QStringLiteral("/dev/zero"), p); }, "is not a regular file"},
        {"longer than the bound", [&](const QString& p) { return writeFile(p, longFile); }, "is longer than 65536 bytes"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path()) || QDir().rmdir(path());
        if (!c.make(path())) {
            std::cout << "[ skipped  ] cannot make a " << c.name << " here\n";
            continue;
        }
        const quint64 before = nodeIdentity(path());
        RegConfig cfg;
        EXPECT_FALSE(load(cfg).ok);
        EXPECT_EQ(std::make_tuple(cfg.VersionCfg, cfg.GradosC, cfg.LimSupDef), std::make_tuple(59, -1, 8));
        cfg.Idioma = 1;
        const SettingsFile::Result saved = SettingsFile(dir.path()).write(cfg);
        EXPECT_FALSE(saved.ok);
        EXPECT_TRUE(saved.error.contains(QLatin1String(c.words))) << saved.error.toStdString();
        EXPECT_EQ(nodeIdentity(path()), before);
    }
    EXPECT_EQ(readAll(path()), longFile);

    // An application folder that cannot take the file: defaults in memory, failure reported.
    const QString gone = dir.filePath(QStringLiteral("missing/folder"));
    RegConfig fresh;
    EXPECT_FALSE(SettingsFile(gone).loadAtStartup(fresh).ok);
    EXPECT_EQ(std::make_tuple(fresh.Idioma, fresh.LimSupDef), std::make_tuple(0, 8));
    EXPECT_FALSE(QFile::exists(gone + QStringLiteral("/Ruta.CnF")));
}

TEST_F(SettingsTest, ReadOnlyApplicationFolderWithAWritableFileStillTakesTheSettings)
{
    const SettingsFile file(dir.path());
    RegConfig cfg;
    cfg.applyDefaults(dir.path());
    ASSERT_TRUE(file.write(cfg).ok);
    const QByteArray tail("kept after the record");
    ASSERT_TRUE(writeFile(path(), readAll(path()) + tail));
    setMode(path(), 0666);
    setMode(dir.path(), 0555);

    // Permissions do not stop root: the write runs as nobody, in a child process.
    cfg.Idioma = 3;
    cfg.LimSupDef = 12;
    const std::optional<QString> written = asNobody([&] {
        const bool refused = ::access(QFile::encodeName(dir.path()).constData(), W_OK) != 0;
        return refused && file.write(cfg).ok ? QStringLiteral("written") : QStringLiteral("not written");
    });
    setMode(dir.path(), 0755);
    EXPECT_EQ(written, std::optional<QString>(QStringLiteral("written")));
    RegConfig back;
    ASSERT_TRUE(file.read(back).ok);
    EXPECT_EQ(std::make_tuple(back.Idioma, back.LimSupDef), std::make_tuple(3, 12));
    EXPECT_TRUE(readAll(path()).endsWith(tail));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("Ruta.CnF")});
}

TEST(Settings, AFolderNameMustComeBackAsItWent)
{
    struct Caso { QString carpeta; const char* motivo; };   // motivo nullptr: kept
    for (const Caso& c : {Caso{QStringLiteral("C:\\Datos"), nullptr}, {QStringLiteral("/home/ana/Año ñandú € ¿?"), nullptr},
                          {QString(80, QLatin1Char('a')), nullptr}, {QString(81, QLatin1Char('a')), "más de 80"},
                          {QStringLiteral("/home/用户/datos"), "caracteres"}, {QStringLiteral("/data/Ω"), "caracteres"},
                          {QStringLiteral("/data/") + QString::fromUtf8("\xF0\x9F\x93\x81"), "caracteres"}}) {
        SCOPED_TRACE(c.carpeta.toStdString());
        const QString rechazo = RegConfig::dataFolderRefusal(c.carpeta);
        if (!c.motivo) {
            EXPECT_TRUE(rechazo.isEmpty()) << rechazo.toStdString();
            RegConfig cfg;
            cfg.setCarpetaDatos(c.carpeta);
            EXPECT_EQ(RegConfig::fromBytes(cfg.toBytes()).carpetaDatos(), QDir::toNativeSeparators(c.carpeta));
        } else {
            EXPECT_TRUE(rechazo.contains(QString::fromUtf8(c.motivo))) << rechazo.toStdString();
            EXPECT_TRUE(rechazo.endsWith(QStringLiteral(" y no se guarda como carpeta predeterminada")));
        }
    }
}

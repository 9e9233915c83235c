// A settings file of any length taken through the start-up: the record read, the version rule
// and its write-back, then what the start-up derives from the values (language texts, unit,
// default record folder).
#include "fuzz/Require.h"
#include "base/AppContext.h"
#include "base/Settings.h"
#include "base/TextTable.h"

#include <QFile>
#include <QDir>
#include <QTemporaryDir>

using orvan::fuzz::require;

using namespace orvan;

namespace {

QByteArray contentOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory where the system offers it: a save's flush to disk would dominate every run.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/orvan-fuzz-XXXXXX")
                                                                    : QDir::tempPath() + QStringLiteral("/orvan-fuzz-XXXXXX"));
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));

    AppContext app(dir.path());
    {
        QFile f(app.settingsFile.path());
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(input) != input.size())
            return 0;
    }

    const SettingsFile::Result r = app.settingsFile.loadAtStartup(app.config);
    require(r.ok || !r.error.isEmpty(), "a failed start-up says why");
    const RegConfig& cfg = app.config;
    require(cfg.VersionCfg == RegConfig::VersionActual || !r.ok, "the version rule leaves the current version");

    const QByteArray after = contentOf(app.settingsFile.path());
    const RegConfig old = RegConfig::fromBytes(input);
    const bool rewritten = old.VersionCfg != RegConfig::VersionActual;
    if (rewritten) {
        require(after.size() == qMax(input.size(), RegConfig::Size), "the write-back keeps the file's length");
        require(after.left(RegConfig::Size) == cfg.toBytes(), "the write-back holds the settings in use");
        require(after.mid(RegConfig::Size) == input.mid(RegConfig::Size), "the write-back keeps what follows record 1");
        require(cfg.Reservado == old.Reservado, "the reserved bytes are carried as read");
    } else {
        require(after == input, "a current record is not written");
    }
    // What the record holds must read back the same: another start-up changes nothing.
    RegConfig again;
    require(app.settingsFile.read(again).ok, "the record reads back");
    require(again.toBytes() == cfg.toBytes() || !r.ok, "the record reads back as in use");

    app.textos.CargaTextos(cfg.Idioma);
    for (int i = 0; i < TextTable::Count; ++i)
        require(!app.textos.at(Text(i)).isNull(), "every text of the language is loaded");
    app.LineaMarca = TextTable::LineaMarca(cfg.Idioma);
    app.UnidadTexto();
    RegConfig::dataFolderRefusal(cfg.carpetaDatos());
    return 0;
}

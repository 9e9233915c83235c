#include "base/Settings.h"

#include "base/AddedTexts.h"
#include "base/Ansi.h"
#include "base/AtomicWrite.h"
#include "base/RegularFile.h"
#include "base/Unit.h"

#include <QDir>
#include <QtEndian>

namespace orvan {

namespace {

enum Offset { OffReserved = 0, OffFolder = 80, OffPort = 160, OffLanguage = 162, OffCompany = 164,
              OffUnit = 194, OffVersion = 196, OffLimInf = 198, OffLimSup = 200 };

void putInt(QByteArray& b, int off, qint16 v)
{
    qToLittleEndian<qint16>(v, b.data() + off);
}

qint16 getInt(const QByteArray& b, int off)
{
    return qFromLittleEndian<qint16>(b.constData() + off);
}

void putText(QByteArray& b, int off, int width, const QString& s)
{
    b.replace(off, width, ansiFixed(s, width));
}

} // namespace

QByteArray RegConfig::toBytes() const
{
    QByteArray b(Size, '\0');
    b.replace(OffReserved, 80, Reservado.leftJustified(80, ' ', true));
    putText(b, OffFolder, 80, CarpetaDatos);
    putInt(b, OffPort, PuertoCom);
    putInt(b, OffLanguage, Idioma);
    putText(b, OffCompany, 30, Empresa);
    putInt(b, OffUnit, GradosC);
    putInt(b, OffVersion, VersionCfg);
    putInt(b, OffLimInf, LimInfDef);
    putInt(b, OffLimSup, LimSupDef);
    return b;
}

RegConfig RegConfig::fromBytes(const QByteArray& bytes)
{
    QByteArray b = bytes.left(Size);
    b.append(QByteArray(Size - b.size(), '\0'));
    RegConfig c;
    c.Reservado = b.mid(OffReserved, 80);
    c.CarpetaDatos = ansiDecode(b.mid(OffFolder, 80));
    c.PuertoCom = getInt(b, OffPort);
    c.Idioma = getInt(b, OffLanguage);
    c.Empresa = ansiDecode(b.mid(OffCompany, 30));
    c.GradosC = getInt(b, OffUnit);
    c.VersionCfg = getInt(b, OffVersion);
    c.LimInfDef = getInt(b, OffLimInf);
    c.LimSupDef = getInt(b, OffLimSup);
    return c;
}

QString RegConfig::carpetaDatos() const
{
    QString s = CarpetaDatos;
    while (s.endsWith(QLatin1Char(' ')) || s.endsWith(QChar(0)))
        s.chop(1);
    return s;
}

void RegConfig::setCarpetaDatos(const QString& path)
{
    CarpetaDatos = path.left(80).leftJustified(80, QLatin1Char(' '));
}

QString RegConfig::dataFolderRefusal(const QString& path)
{
    const QString carpeta = QDir::toNativeSeparators(path);
    if (carpeta.size() > 80)
        return QStringLiteral("La carpeta ") + carpeta
            + QStringLiteral(" tiene más de 80 caracteres y no se guarda como carpeta predeterminada");
    if (!ansiEncodable(carpeta))
        return QStringLiteral("La carpeta ") + carpeta
            + QStringLiteral(" tiene caracteres que la configuración no puede guardar y no se guarda como carpeta predeterminada");
    return QString();
}

QString defaultDataFolder(const QString& appFolder)
{
    QString base = QDir::toNativeSeparators(appFolder);
    if (!base.endsWith(QDir::separator()))
        base += QDir::separator();
    return base + QStringLiteral("Datos");
}

void RegConfig::applyDefaults(const QString& appFolder)
{
    applyDefaultsWithRecordFolder(defaultDataFolder(appFolder));
}

void RegConfig::applyDefaultsWithRecordFolder(const QString& recordFolder)
{
    Empresa = QStringLiteral("Orvan").leftJustified(30, QLatin1Char(' '));
    GradosC = gradosCFor(Unit::Celsius);
    setCarpetaDatos(QDir::toNativeSeparators(recordFolder));
    Idioma = 0;
    PuertoCom = 1;
    VersionCfg = VersionActual;
    LimInfDef = 0;
    LimSupDef = 8;
}

SettingsFile::SettingsFile(QString appFolder)
    : SettingsFile(appFolder, defaultDataFolder(appFolder))
{
}

SettingsFile::SettingsFile(QString appFolder, QString recordFolder)
    : m_appFolder(std::move(appFolder)), m_recordFolder(std::move(recordFolder)),
      m_path(QDir(m_appFolder).filePath(QStringLiteral("Ruta.CnF")))
{
}

namespace {

// Why a read of the settings file gave no content; empty when it did (a missing file reads as
// empty).
QString readFailure(const BoundedRead& read, const QString& path, int idioma)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (read.outcome) {
    case BoundedRead::Outcome::Ok:
    case BoundedRead::Outcome::Missing:
        return {};
    case BoundedRead::Outcome::NotRegular:
        return addedText(AddedText::ReadNotRegular, idioma).arg(shown);
    case BoundedRead::Outcome::TooLong:
        return addedText(AddedText::SettingsTooLong, idioma).arg(shown).arg(SettingsFile::MaxFileSize);
    case BoundedRead::Outcome::OpenFailed:
    case BoundedRead::Outcome::ReadFailed:
        break;
    }
    return QStringLiteral("No se puede leer %1: %2").arg(shown, read.errorString);
}

} // namespace

SettingsFile::Result SettingsFile::read(RegConfig& cfg, int idioma) const
{
    const BoundedRead content = readRegularFile(m_path, MaxFileSize);
    const QString why = readFailure(content, m_path, idioma);
    if (!why.isEmpty())
        return {false, why};
    cfg = RegConfig::fromBytes(content.bytes);
    return {};
}

SettingsFile::Result SettingsFile::write(const RegConfig& cfg) const
{
    // Keep anything that follows record 1, as record access would. A file the system will not
    // let us read is replaced by the record alone; one that is not an ordinary file, or too long
    // to be ours, is left as it is.
    const BoundedRead old = readRegularFile(m_path, MaxFileSize);
    if (old.outcome == BoundedRead::Outcome::NotRegular || old.outcome == BoundedRead::Outcome::TooLong)
        return {false, readFailure(old, m_path, cfg.Idioma)};
    QByteArray content = old.bytes;
    const QByteArray record = cfg.toBytes();
    if (content.size() < record.size())
        content.resize(record.size());
    content.replace(0, record.size(), record);

    // A read-only application folder with a writable "Ruta.CnF" in it still takes the settings.
    const QString shown = QDir::toNativeSeparators(m_path);
    const AtomicWrite w = writeAtomically(m_path, content, {}, true);
    if (w.failed == AtomicWrite::Stage::Refused)
        return {false, addedText(AddedText::WriteNotRegular, cfg.Idioma).arg(shown)};
    if (!w.ok())
        return {false, QStringLiteral("No se puede escribir %1: %2").arg(shown, w.errorString)};
    return {};
}

SettingsFile::Result SettingsFile::loadAtStartup(RegConfig& cfg) const
{
    const BoundedRead content = readRegularFile(m_path, MaxFileSize);
    const QString why = readFailure(content, m_path, 0);
    if (!why.isEmpty()) {
        // Unreadable: run on with defaults in memory and leave the file alone.
        cfg = RegConfig();
        cfg.applyDefaultsWithRecordFolder(m_recordFolder);
        return {false, why};
    }
    cfg = RegConfig::fromBytes(content.bytes);
    bool changed = false;
    if (cfg.VersionCfg == RegConfig::VersionAntigua) {
        cfg.LimInfDef = 0;
        cfg.LimSupDef = 8;
        cfg.VersionCfg = RegConfig::VersionActual;
        changed = true;
    } else if (cfg.VersionCfg != RegConfig::VersionActual) {
        cfg.applyDefaultsWithRecordFolder(m_recordFolder);
        changed = true;
    }
    if (changed) {
        const Result w = write(cfg);
        if (!w.ok)
            return w;
    }
    // A record of another size is not one this application wrote: it is used as read (missing
    // bytes as zeros), and the user learns that the file looks damaged.
    const qint64 size = content.bytes.size();
    if (!changed && size != 0 && size != RegConfig::Size) {
        return {false, QStringLiteral("%1 tiene %2 bytes en lugar de %3")
                           .arg(QDir::toNativeSeparators(m_path)).arg(size).arg(RegConfig::Size)};
    }
    return {};
}

} // namespace orvan

#pragma once
// The settings record "Ruta.CnF": one 202-byte record in the application folder. Integers are
// 16-bit little-endian, texts fixed-width Windows-1252 padded with blanks. The format is stable:
// every version of this application reads and writes the same record.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace orvan {

struct RegConfig {
    static constexpr int Size = 202;
    static constexpr int VersionActual = 59;
    static constexpr int VersionAntigua = 55;

    QByteArray Reservado = QByteArray(80, ' ');  // carried as read, never interpreted
    QString CarpetaDatos;                         // 80 characters
    qint16 PuertoCom = 0;
    qint16 Idioma = 0;
    QString Empresa;                              // 30 characters, never read
    qint16 GradosC = 0;                           // -1 Celsius, anything else Fahrenheit
    qint16 VersionCfg = 0;
    qint16 LimInfDef = 0;
    qint16 LimSupDef = 0;

    QByteArray toBytes() const;
    // Missing bytes of a short record read as zeros.
    static RegConfig fromBytes(const QByteArray& bytes);

    // The default folder for records, without the blanks that pad the field.
    QString carpetaDatos() const;
    // Assigning cuts to the 80 characters of the field.
    void setCarpetaDatos(const QString& path);
    // Why a folder cannot be kept as the default record folder, for the user; empty when it can.
    // A longer name would come back cut and a name with characters the file cannot hold would
    // come back with '?' in their place: either way another folder than the one chosen.
    static QString dataFolderRefusal(const QString& path);

    // The values a new or unreadable-version file gets, with "<appFolder>/Datos" as the record
    // folder; Reservado is kept.
    void applyDefaults(const QString& appFolder);
    // The same with the record folder given.
    void applyDefaultsWithRecordFolder(const QString& recordFolder);
};

// "<appFolder>/Datos", the record folder of a new installation.
QString defaultDataFolder(const QString& appFolder);

class SettingsFile {
public:
    // Record 1 and whatever a longer file of ours keeps after it fit in this many bytes; a longer
    // file is not read, nor written over.
    static constexpr int MaxFileSize = 64 * 1024;

    explicit SettingsFile(QString appFolder);
    // A new record names `recordFolder` as its default record folder.
    SettingsFile(QString appFolder, QString recordFolder);

    QString path() const { return m_path; }
    QString appFolder() const { return m_appFolder; }

    struct Result {
        bool ok = true;
        QString error;   // for the user when !ok
    };

    // Reads record 1 and applies the version rule: version 55 gets the limits 0 and 8 and
    // version 59; any other version gets every default. Writes back only when it changed the
    // record. Failures are reported in the result and leave usable settings in `cfg`.
    Result loadAtStartup(RegConfig& cfg) const;
    // Reads record 1 as it stands (a missing file reads as all zeros). A path that is not an
    // ordinary file, or a file longer than MaxFileSize, is refused with a message in the
    // language `idioma`; the start-up's messages are in Spanish, the language before any is read.
    Result read(RegConfig& cfg, int idioma = 0) const;
    // Writes record 1, keeping whatever follows it in a longer file: atomically where the
    // application folder lets a new file be made, else in place in the existing file. A file
    // that read refuses is left as it is and refused again, in the language of `cfg`.
    Result write(const RegConfig& cfg) const;

private:
    QString m_appFolder;
    QString m_recordFolder;
    QString m_path;
};

} // namespace orvan

#include "records/RecordFile.h"

#include "records/MissionRecord.h"
#include "base/RuntimeError.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace orvan::records {

namespace {

const QString kModulo = QStringLiteral("Rutat1");

// Run-time error numbers of file access besides those of RuntimeError.
constexpr int kDiscoLleno = 61;
constexpr int kAccesoRuta = 75;

FileResult falla(int number, const QString& description, const QString& procedure)
{
    FileResult r;
    r.ok = false;
    r.number = number;
    r.description = description;
    r.message = errorInModule(number, description, procedure, kModulo);
    return r;
}

FileResult fallaApertura(const QString& path, bool escritura, const QString& procedure)
{
    const QFileInfo info(path);
    const QFileInfo carpeta(info.absolutePath());
    if (!carpeta.isDir())
        return falla(RuntimeError::PathNotFound, QStringLiteral("Path not found"), procedure);
    if (!escritura && !info.exists())
        return falla(RuntimeError::FileNotFound, QStringLiteral("File not found"), procedure);
    if (info.isDir())
        return falla(kAccesoRuta, QStringLiteral("Path/File access error"), procedure);
    const bool denegado = escritura ? (!carpeta.isWritable() || (info.exists() && !info.isWritable()))
                                    : !info.isReadable();
    if (denegado)
        return falla(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"), procedure);
    return falla(kAccesoRuta, QStringLiteral("Path/File access error"), procedure);
}

FileResult fallaEscritura(const QFileDevice& f, const QString& procedure)
{
    if (f.error() == QFileDevice::ResourceError)
        return falla(kDiscoLleno, QStringLiteral("Disk full"), procedure);
    if (f.error() == QFileDevice::PermissionsError)
        return falla(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"), procedure);
    return falla(RuntimeError::FileIo, QStringLiteral("Device I/O error"), procedure);
}

// Opens `path` and reads at most one byte more than the image holds, so an over-long file is
// told apart from one that just fills it.
FileResult leerContenido(const QString& path, const QString& procedure, QByteArray& contenido)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return fallaApertura(path, false, procedure);
    contenido = f.read(qint64(kMemoriaSize) + 1);
    if (f.error() != QFileDevice::NoError)
        return falla(RuntimeError::FileIo, QStringLiteral("Device I/O error"), procedure);
    if (contenido.size() > kMemoriaSize) {
        contenido.clear();
        return falla(RuntimeError::SubscriptOutOfRange, QStringLiteral("Subscript out of range"), procedure);
    }
    return {};
}

} // namespace

FileResult GuardaArchivo(const MissionRecord& record, const QString& path, const WriteBytes& write)
{
    const QString procedimiento = QStringLiteral("GuardaArchivo");
    const QByteArray imagen = record.imagen();

    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return fallaApertura(path, true, procedimiento);

    const qint64 escritos = write ? write(f, imagen) : f.write(imagen);
    if (escritos != imagen.size()) {
        const FileResult r = fallaEscritura(f, procedimiento);
        f.cancelWriting();
        return r;
    }
    if (!f.commit()) {
        // The data were complete; what failed is flushing them or putting the file in place.
        if (f.error() == QFileDevice::ResourceError || f.error() == QFileDevice::WriteError)
            return fallaEscritura(f, procedimiento);
        return fallaApertura(path, true, procedimiento);
    }
    return {};
}

FileResult LeerArchivo(MissionRecord& record, const QString& path)
{
    record.clear();
    QByteArray contenido;
    const FileResult r = leerContenido(path, QStringLiteral("LeerArchivo"), contenido);
    if (!r.ok)
        return r;
    record.setBytes(0, contenido);
    return r;
}

FileResult LeerCabecera(MissionRecord& record, const QString& path)
{
    record.clear();
    QByteArray contenido;
    const FileResult r = leerContenido(path, QStringLiteral("LeerCabecera"), contenido);
    if (!r.ok)
        return r;
    const auto copia = [&](int desde, int hasta) {
        for (int i = desde; i <= hasta && i < contenido.size(); ++i)
            record.setByte(i, quint8(contenido[i]));
    };
    copia(0, 95);
    copia(256, 258);
    copia(1280, 1343);
    return r;
}

} // namespace orvan::records

#include "records/RecordFile.h"

#include "records/MissionRecord.h"
#include "base/AddedTexts.h"
#include "base/RegularFile.h"
#include "base/RuntimeError.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>

namespace orvan::records {

namespace {

const QString kModulo = QStringLiteral("Rutat1");

// Run-time error numbers of file access besides those of RuntimeError.
constexpr int kDiskFull = 61;
constexpr int kPathAccessError = 75;

FileResult fail(int number, const QString& description, const QString& procedure)
{
    FileResult r;
    r.ok = false;
    r.number = number;
    r.description = description;
    r.procedure = procedure;
    r.message = errorInModule(number, description, procedure, kModulo);
    return r;
}

FileResult openFailure(const QString& path, bool writer, const QString& procedure)
{
    const QFileInfo info(path);
    const QFileInfo folderPath(info.absolutePath());
    if (!folderPath.isDir())
        return fail(RuntimeError::PathNotFound, QStringLiteral("Path not found"), procedure);
    if (!writer && !info.exists())
        return fail(RuntimeError::FileNotFound, QStringLiteral("File not found"), procedure);
    if (info.isDir())
        return fail(kPathAccessError, QStringLiteral("Path/File access error"), procedure);
    const bool denied = writer ? (!folderPath.isWritable() || (info.exists() && !info.isWritable()))
                                    : !info.isReadable();
    if (denied)
        return fail(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"), procedure);
    return fail(kPathAccessError, QStringLiteral("Path/File access error"), procedure);
}

FileResult writeFailure(QFileDevice::FileError error, const QString& procedure)
{
    if (error == QFileDevice::ResourceError)
        return fail(kDiskFull, QStringLiteral("Disk full"), procedure);
    if (error == QFileDevice::PermissionsError)
        return fail(RuntimeError::PermissionDenied, QStringLiteral("Permission denied"), procedure);
    return fail(RuntimeError::FileIo, QStringLiteral("Device I/O error"), procedure);
}

FileResult refuse(FileResult::Refusal refusal, int number, const QString& description, const QString& procedure)
{
    FileResult r = fail(number, description, procedure);
    r.refusal = refusal;
    return r;
}

// Reads at most one byte more than the image holds, so an over-long file is told apart from one
// that just fills it, and only from an ordinary file.
FileResult readContent(const QString& path, const QString& procedure, QByteArray& content)
{
    const BoundedRead read = readRegularFile(path, kMemoriaSize);
    switch (read.outcome) {
    case BoundedRead::Outcome::Ok:
        content = read.bytes;
        return {};
    case BoundedRead::Outcome::NotRegular:
        return refuse(FileResult::Refusal::NotRegularRead, kPathAccessError, QStringLiteral("Path/File access error"),
                      procedure);
    case BoundedRead::Outcome::TooLong:
        return refuse(FileResult::Refusal::TooLong, RuntimeError::SubscriptOutOfRange,
                      QStringLiteral("Subscript out of range"), procedure);
    case BoundedRead::Outcome::ReadFailed:
        return fail(RuntimeError::FileIo, QStringLiteral("Device I/O error"), procedure);
    case BoundedRead::Outcome::Missing:
    case BoundedRead::Outcome::OpenFailed:
        break;
    }
    return openFailure(path, false, procedure);
}

} // namespace

QString failureLine(const FileResult& result, const QString& path, int idioma)
{
    const QString shown = QDir::toNativeSeparators(path);
    switch (result.refusal) {
    case FileResult::Refusal::NotRegularRead:
        return addedText(AddedText::ReadNotRegular, idioma).arg(shown);
    case FileResult::Refusal::NotRegularWrite:
        return addedText(AddedText::WriteNotRegular, idioma).arg(shown);
    case FileResult::Refusal::TooLong:
        return addedText(AddedText::RecordTooLong, idioma).arg(shown).arg(kMemoriaSize);
    case FileResult::Refusal::None:
        break;
    }
    const bool save = result.procedure == QLatin1String("GuardaArchivo");
    return QStringLiteral("cannot %1 %2: %3").arg(save ? QStringLiteral("write") : QStringLiteral("read"), shown,
                                                 result.description);
}

FileResult GuardaArchivo(const MissionRecord& record, const QString& path, const WriteBytes& write)
{
    const QString procedureName = QStringLiteral("GuardaArchivo");
    const QByteArray imagen = record.fileImage();

    const AtomicWrite w = writeAtomically(path, imagen, write);
    switch (w.failed) {
    case AtomicWrite::Stage::None:
        return {};
    case AtomicWrite::Stage::Refused:
        return refuse(FileResult::Refusal::NotRegularWrite, kPathAccessError, QStringLiteral("Path/File access error"),
                      procedureName);
    case AtomicWrite::Stage::Open:
        return openFailure(path, true, procedureName);
    case AtomicWrite::Stage::Write:
        return writeFailure(w.error, procedureName);
    case AtomicWrite::Stage::Commit:
        // The data were complete; what failed is flushing them or putting the file in place.
        if (w.error == QFileDevice::ResourceError || w.error == QFileDevice::WriteError)
            return writeFailure(w.error, procedureName);
        return openFailure(path, true, procedureName);
    }
    return {};
}

FileResult LeerArchivo(MissionRecord& record, const QString& path)
{
    record.clear();
    QByteArray content;
    const FileResult r = readContent(path, QStringLiteral("LeerArchivo"), content);
    if (!r.ok)
        return r;
    record.setBytes(0, content);
    return r;
}

FileResult readHeader(MissionRecord& record, const QString& path)
{
    record.clear();
    QByteArray content;
    const FileResult r = readContent(path, QStringLiteral("LeerCabecera"), content);
    if (!r.ok)
        return r;
    const auto copyRange = [&](int from, int to) {
        for (int i = from; i <= to && i < content.size(); ++i)
            record.setByte(i, quint8(content[i]));
    };
    copyRange(0, 95);
    copyRange(256, 258);
    copyRange(AddrLowAlarms, AddrHighAlarms + 31);   // both alarm tables, to the end of their blocks
    return r;
}

} // namespace orvan::records

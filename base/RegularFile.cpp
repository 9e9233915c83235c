#include "base/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace orvan {

namespace {

BoundedRead outcome(BoundedRead::Outcome o, const QString& why = {})
{
    BoundedRead r;
    r.outcome = o;
    r.errorString = why;
    return r;
}

// Reads from an open ordinary file, never more than one byte over the bound.
BoundedRead readOpen(QFile& f, qint64 maxBytes)
{
    BoundedRead r;
    r.bytes = f.read(maxBytes + 1);
    if (f.error() != QFileDevice::NoError)
        return outcome(BoundedRead::Outcome::ReadFailed, f.errorString());
    if (r.bytes.size() > maxBytes)
        return outcome(BoundedRead::Outcome::TooLong);
    return r;
}

} // namespace

#ifdef Q_OS_UNIX

FileKind fileKind(const QString& path)
{
    struct stat st {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &st) != 0)
        return FileKind::Missing;
    return S_ISREG(st.st_mode) ? FileKind::Regular : FileKind::Other;
}

namespace {

// Opens a file that fileKind found ordinary into `f`.
BoundedRead openChecked(const QString& path, QFile& f)
{
    // Non-blocking: should a FIFO have taken the file's place since the check, the open
    // returns at once instead of waiting for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        return outcome(error == ENOENT ? BoundedRead::Outcome::Missing : BoundedRead::Outcome::OpenFailed,
                       QString::fromLocal8Bit(std::strerror(error)));
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return outcome(BoundedRead::Outcome::NotRegular);
    }
    if (!f.open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return outcome(BoundedRead::Outcome::OpenFailed, f.errorString());
    }
    return {};
}

} // namespace

#else

FileKind fileKind(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return FileKind::Missing;
    return info.isFile() ? FileKind::Regular : FileKind::Other;
}

namespace {

BoundedRead openChecked(const QString& path, QFile& f)
{
    f.setFileName(path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return outcome(BoundedRead::Outcome::OpenFailed, f.errorString());
    return {};
}

} // namespace

#endif

BoundedRead readRegularFile(const QString& path, qint64 maxBytes)
{
    const FileKind kind = fileKind(path);
    if (kind == FileKind::Missing)
        return outcome(BoundedRead::Outcome::Missing);
    if (kind == FileKind::Other)
        return outcome(BoundedRead::Outcome::NotRegular);
    QFile f;
    const BoundedRead opened = openChecked(path, f);
    if (!opened.ok())
        return opened;
    return readOpen(f, maxBytes);
}

} // namespace orvan

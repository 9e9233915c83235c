#include "base/AtomicWrite.h"

#include "base/RegularFile.h"

#include <QByteArray>
#include <QSaveFile>

namespace orvan {

AtomicWrite writeAtomically(const QString& path, const QByteArray& bytes, const WriteBytes& write,
                            bool directWriteFallback)
{
    // The rename at the end would put an ordinary file in place of a device or FIFO.
    const auto refused = [] {
        return AtomicWrite{AtomicWrite::Stage::Refused, QFileDevice::OpenError,
                           QStringLiteral("exists and is not a regular file; it is left as it is")};
    };
    if (!replaceable(path))
        return refused();
    QSaveFile f(path);
    f.setDirectWriteFallback(directWriteFallback);
    if (!f.open(QIODevice::WriteOnly))
        return {AtomicWrite::Stage::Open, f.error(), f.errorString()};

    const qint64 written = write ? write(f, bytes) : f.write(bytes);
    if (written != bytes.size()) {
        AtomicWrite r{AtomicWrite::Stage::Write, f.error(), f.errorString()};
        // A write that stopped short without an error of the file's own (a full disk seen by the
        // caller's writer) still needs words the user can act on.
        if (r.error == QFileDevice::NoError)
            r.errorString = QStringLiteral("the write stopped after %1 of %2 bytes").arg(f.pos()).arg(bytes.size());
        f.cancelWriting();
        return r;
    }
    // Looked at again: something else may have taken the name while the bytes were written.
    if (!replaceable(path)) {
        f.cancelWriting();
        return refused();
    }
    if (!f.commit())
        return {AtomicWrite::Stage::Commit, f.error(), f.errorString()};
    return {};
}

} // namespace orvan

#include "base/AtomicWrite.h"

#include <QByteArray>
#include <QSaveFile>

namespace orvan {

AtomicWrite writeAtomically(const QString& path, const QByteArray& bytes, const WriteBytes& write,
                            bool directWriteFallback)
{
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
    if (!f.commit())
        return {AtomicWrite::Stage::Commit, f.error(), f.errorString()};
    return {};
}

} // namespace orvan

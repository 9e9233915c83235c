#pragma once
// Writing a whole file so that it is either complete or not there at all: the bytes go to a
// temporary file in the same folder, which takes the target's name only once every byte was
// written and flushed. A failure leaves an earlier file of that name as it was and no temporary
// file behind. Only an ordinary file is ever replaced: a device, FIFO, socket or folder of that
// name is refused and left as it is. Callers turn the outcome into their own message.

#include <QFileDevice>
#include <QString>
#include <functional>

class QByteArray;
class QIODevice;

namespace orvan {

// Puts the bytes into the open device and returns how many went in (-1 on failure). The default
// writes them in one call; tests pass their own to make a write fail as a full disk would.
using WriteBytes = std::function<qint64(QIODevice& device, const QByteArray& bytes)>;

struct AtomicWrite {
    enum class Stage {
        None,      // the file is in place
        Refused,   // the name exists and is not an ordinary file; nothing was written
        Open,      // the temporary file could not be made
        Write,     // not every byte went in
        Commit,    // flushing or putting the file in place failed
    };
    Stage failed = Stage::None;
    QFileDevice::FileError error = QFileDevice::NoError;   // the file's own error, when it had one
    QString errorString;                                   // what went wrong, in one line

    bool ok() const { return failed == Stage::None; }
};

// directWriteFallback: where the folder takes no new file but the target itself is writable,
// write it in place (the settings file of a read-only application folder).
AtomicWrite writeAtomically(const QString& path, const QByteArray& bytes, const WriteBytes& write = {},
                            bool directWriteFallback = false);

} // namespace orvan

#pragma once
// Records, settings and exports are ordinary files. A name that leads to a device, a FIFO, a
// socket or a folder is never read (a FIFO would block the open until a writer comes, a device
// such as /dev/zero streams without end) and never replaced by a save (a rename over /dev/null
// would take the system's device away). Everything that asks the system what a path is lives
// here, so the rest of the program stays portable.

#include <QByteArray>
#include <QString>

namespace orvan {

enum class FileKind {
    Missing,    // nothing of that name, or a link that leads nowhere
    Regular,    // an ordinary file, directly or through links
    Other,      // a folder, device, FIFO or socket
};

// What `path` names now, following links.
FileKind fileKind(const QString& path);

// Whether a save may put a file under `path`: nothing is there yet, or an ordinary file.
inline bool replaceable(const QString& path) { return fileKind(path) != FileKind::Other; }

struct BoundedRead {
    enum class Outcome {
        Ok,
        Missing,        // no such file
        NotRegular,     // a folder, device, FIFO or socket: not opened, or closed unread
        TooLong,        // more than the caller's bound; `bytes` stays empty
        OpenFailed,     // the system refused the open (permissions, a lock)
        ReadFailed,     // the read broke off
    };
    Outcome outcome = Outcome::Ok;
    QByteArray bytes;
    QString errorString;   // the system's words for OpenFailed and ReadFailed

    bool ok() const { return outcome == Outcome::Ok; }
};

// Reads a whole ordinary file of at most `maxBytes` bytes, taking at most one byte more to
// tell a longer file apart, whatever its size claims or it streams. The path is checked before
// the open, the open never waits, and the opened file is checked again, so a FIFO put in its
// place in between is not read either.
BoundedRead readRegularFile(const QString& path, qint64 maxBytes);

} // namespace orvan

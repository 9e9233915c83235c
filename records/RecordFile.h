#pragma once
// The record file ".klv": the logger's 32768-byte memory image and nothing else, a stable format:
// a record reads the same in every version of this application. Failures come back as results
// for the caller to show; nothing here talks to the user.

#include "base/AtomicWrite.h"

#include <QString>

namespace orvan::records {

class MissionRecord;

struct FileResult {
    bool ok = true;
    int number = 0;          // run-time error number when !ok
    QString description;     // its description
    QString message;         // the text a user sees, empty when ok
    QString procedure;       // where it failed: GuardaArchivo for a save, else a read
    // Faults this program refuses on its own account, which have words in every language.
    enum class Refusal {
        None,
        NotRegularRead,      // the record is a folder, device, FIFO or socket: not read
        NotRegularWrite,     // the target is one of those: left as it is
        TooLong,             // longer than the image's 67001 bytes
    };
    Refusal refusal = Refusal::None;
};

// One line about a failed read or write of `path`, the same wherever the record is read or
// written: a refusal's own sentence in the language (0 Spanish .. 4 Portuguese), else
// "cannot read <path>: <description>" ("cannot write" for a save).
QString failureLine(const FileResult& result, const QString& path, int idioma);

// How the image bytes go into the file; tests pass their own to make a write fail.
using orvan::WriteBytes;

// Writes image bytes 0..32767 to `path`. The bytes go to a temporary file in the same folder
// that replaces `path` only once complete, so the result is exactly 32768 bytes even over a
// longer file, and a failed save leaves an earlier file of that name as it was; a device, FIFO,
// socket or folder of that name is refused (error 75) and left as it is. On failure the
// message reads "Error <n> (<description>) in procedure GuardaArchivo of Módulo Rutat1".
// The caller sets GuardadoEnDisco from the result.
FileResult GuardaArchivo(const MissionRecord& record, const QString& path, const WriteBytes& write = {});

// Clears the image and loads the whole file into it. A missing or unreadable file, one that is
// not an ordinary file (never opened in a way that could wait, never read past the bound), or one
// longer than the image's 67001 bytes, is an error and leaves the image cleared; a shorter file
// leaves the rest of the image zero.
FileResult LeerArchivo(MissionRecord& record, const QString& path);

// The preview's partial read: clears the image and loads only bytes 0..95, 256..258 and
// 1280..1343, enough to decode the header and the alarm tables. Positions beyond the end of a
// short file read as zero. Fails as LeerArchivo does.
FileResult readHeader(MissionRecord& record, const QString& path);

} // namespace orvan::records

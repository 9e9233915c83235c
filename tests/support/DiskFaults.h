#pragma once
// Writers that make a file's write fail the ways a filling disk does: it takes part of the
// bytes, then no more; it takes nothing; or it takes fewer than it was given and says so.

#include "base/AtomicWrite.h"

#include <QByteArray>
#include <QIODevice>

namespace orvan::test {

struct DiskFault {
    const char* what;
    WriteBytes write;
};

inline const DiskFault kDiskFaults[] = {
    {"full after 4096 bytes",
     [](QIODevice& d, const QByteArray& b) -> qint64 { return d.write(b.left(4096)) == 4096 ? 4096 : -1; }},
    {"full at once", [](QIODevice&, const QByteArray&) -> qint64 { return -1; }},
    {"short count", [](QIODevice& d, const QByteArray& b) -> qint64 { return d.write(b.left(b.size() - 1)); }},
};

} // namespace orvan::test

#pragma once
// Names that are not ordinary files, which no record, settings file or output may read or replace:
// a FIFO, a folder and a character device (the null device's numbers; making it needs root).

#include <QFile>
#include <QString>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace orvan::test {

enum class Node { Fifo, Folder, Device };

struct NodeRow {
    Node kind;
    const char* name;
};

inline constexpr NodeRow kNodes[] = {{Node::Fifo, "fifo"}, {Node::Folder, "folder"}, {Node::Device, "device"}};

inline bool makeNode(Node kind, const QString& path)
{
    const QByteArray p = QFile::encodeName(path);
    switch (kind) {
    case Node::Fifo:
        return ::mkfifo(p.constData(), 0644) == 0;
    case Node::Folder:
        return ::mkdir(p.constData(), 0755) == 0;
    case Node::Device:
        return ::mknod(p.constData(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    }
    return false;
}

// The type and device numbers of what `path` names itself (links not followed); 0 when missing.
inline quint64 nodeIdentity(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return 0;
    return (quint64(st.st_mode & S_IFMT) << 32) | quint64(st.st_rdev);
}

} // namespace orvan::test

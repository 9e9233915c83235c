#pragma once
// Refused file-system cases for tests that run as root, who may write anywhere: as the user nobody.

#include <QString>
#include <functional>
#include <optional>
#include <sys/fsuid.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvan::test {

constexpr uid_t kNobody = 65534;

// Whether this process may write anywhere: then refused cases must run as someone else.
inline bool root()
{
    return ::geteuid() == 0;
}

// Runs body in a child process (as nobody when this process is root) and returns the text it
// produced; nothing when the child could not become nobody or died.
inline std::optional<QString> asNobody(const std::function<QString()>& body)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        if (root() && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
            ::_exit(2);
        const QByteArray text = body().toUtf8();
        (void)!::write(fds[1], text.constData(), size_t(text.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray text;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        text.append(buf, int(n));
    ::close(fds[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return QString::fromUtf8(text);
}

// Until destroyed, the calling thread reaches the file system as nobody: for a process with threads
// of its own (a window test), where a fork would be unsafe.
class FileSystemAsNobody {
public:
    FileSystemAsNobody()
    {
        if (root()) {
            ::setfsgid(kNobody);
            ::setfsuid(kNobody);
        }
    }
    ~FileSystemAsNobody()
    {
        if (root()) {
            ::setfsuid(0);
            ::setfsgid(0);
        }
    }
    FileSystemAsNobody(const FileSystemAsNobody&) = delete;
    FileSystemAsNobody& operator=(const FileSystemAsNobody&) = delete;
};

} // namespace orvan::test

#pragma once
// A throw-away PostgreSQL cluster for the archive's tests: made with initdb in a temporary
// folder and started with pg_ctl, listening only on a unix socket in that folder. Under root
// (a container, CI) the server runs as the unprivileged user "nobody", as PostgreSQL insists.
// Started once, on first use, and stopped when the test program ends.

#include <QString>
#include <QTemporaryDir>
#include <memory>

namespace orvan::test {

class PgCluster {
public:
    // The one cluster of this test program, started on first call. `error` says why there is
    // none (binaries missing, initdb or the start failed); the tests then fail with it.
    static PgCluster& instance();
    ~PgCluster();

    bool running() const { return m_running; }
    const QString& error() const { return m_error; }
    // "postgresql://orvan@/<database>?host=<socket folder>"
    QString url(const QString& database) const;
    const QString& socketFolder() const { return m_folder; }

    // The server goes away as a crashed or rebooted server would (immediate shutdown), and
    // comes back.
    bool stop();
    bool start();
    // Stops the server for good (the test program's end).
    void shutdown();

private:
    PgCluster();
    bool run(const QString& program, const QStringList& args);
    // The words of a command line, %1 the cluster's folder (which holds no blank).
    QStringList args(const char* line) const;

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_folder, m_bin;
    bool m_running = false;
    QString m_error;
};

} // namespace orvan::test

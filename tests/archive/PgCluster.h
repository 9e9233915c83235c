#pragma once
// A throw-away PostgreSQL cluster with the database archive_test, on a unix socket in a temporary
// folder only; under root the server runs as "nobody", as PostgreSQL insists.

#include <QString>
#include <QTemporaryDir>

namespace orvan::test {

class PgCluster {
public:
    // `error` says why there is no cluster (no server binaries, initdb or the start failed).
    static PgCluster& instance()
    {
        static PgCluster cluster;
        return cluster;
    }
    ~PgCluster() { shutdown(); }

    bool running() const { return m_running; }
    const QString& error() const { return m_error; }
    // "postgresql://orvan@/<database>?host=<socket folder>"
    QString url(const QString& database) const { return QStringLiteral("postgresql://orvan@/%1?host=%2").arg(database, m_folder); }
    const QString& socketFolder() const { return m_folder; }

    // The server goes away as a crashed server would (immediate shutdown), and comes back.
    bool stop();
    bool start();
    void shutdown();

private:
    PgCluster();
    // Runs a server program of the cluster's version; %1 in `line` is the cluster's folder.
    bool run(const char* program, const char* line, const QStringList& more = {});

    QTemporaryDir m_dir{QDir::tempPath() + QStringLiteral("/orvan-pg-XXXXXX")};
    QString m_folder = m_dir.path(), m_bin;
    bool m_running = false;
    QString m_error;
};

} // namespace orvan::test

#include "archive/PgCluster.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVersionNumber>

#include <pwd.h>
#include <unistd.h>

namespace orvan::test {

namespace {

constexpr const char* kServerUser = "nobody";

// The newest installed server's binaries: /usr/lib/postgresql/<version>/bin.
QString serverBinaries()
{
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QString best;
    QVersionNumber bestVersion;
    for (const QString& v : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QVersionNumber n = QVersionNumber::fromString(v);
        if (QFileInfo::exists(root.filePath(v + QStringLiteral("/bin/initdb"))) && n > bestVersion) {
            bestVersion = n;
            best = root.filePath(v + QStringLiteral("/bin"));
        }
    }
    return best;
}

} // namespace

PgCluster& PgCluster::instance()
{
    static PgCluster cluster;
    return cluster;
}

PgCluster::PgCluster()
{
    m_bin = serverBinaries();
    if (m_bin.isEmpty()) {
        m_error = QStringLiteral("no PostgreSQL server binaries in /usr/lib/postgresql/*/bin (scripts/deps.sh test installs them)");
        return;
    }
    m_dir = std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/orvan-pg-XXXXXX"));
    m_folder = m_dir->path();
    if (geteuid() == 0) {
        const passwd* pw = getpwnam(kServerUser);
        if (!pw || chown(m_folder.toLocal8Bit().constData(), pw->pw_uid, pw->pw_gid) != 0) {
            m_error = QStringLiteral("cannot hand %1 to the user %2").arg(m_folder, QLatin1String(kServerUser));
            return;
        }
    }
    if (!run(m_bin + QStringLiteral("/initdb"), args("-D %1/data -U orvan -A trust -E UTF8 --no-sync")))
        return;
    if (!start())
        return;
    // The database the tests' archives live in.
    const QString name = QStringLiteral("orvan-pg-setup");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(m_folder);
        db.setUserName(QStringLiteral("orvan"));
        db.setDatabaseName(QStringLiteral("postgres"));
        if (!db.open() || !QSqlQuery(db).exec(QStringLiteral("CREATE DATABASE archive_test")))
            m_error = QStringLiteral("cannot create the test database: ") + db.lastError().text();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (!m_error.isEmpty())
        stop();
}

PgCluster::~PgCluster()
{
    shutdown();
}

void PgCluster::shutdown()
{
    if (m_running)
        run(m_bin + QStringLiteral("/pg_ctl"), args("-D %1/data -m fast -w stop"));
    m_running = false;
}

QString PgCluster::url(const QString& database) const
{
    return QStringLiteral("postgresql://orvan@/%1?host=%2").arg(database, m_folder);
}

bool PgCluster::start()
{
    // Only a unix socket in the folder: nothing listens on the network.
    m_running = run(m_bin + QStringLiteral("/pg_ctl"), args("-D %1/data -l %1/log -w -o") +
                                                           QStringList{QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off").arg(m_folder),
                                                                       QStringLiteral("start")});
    return m_running;
}

bool PgCluster::stop()
{
    const bool stopped = run(m_bin + QStringLiteral("/pg_ctl"), args("-D %1/data -m immediate -w stop"));
    m_running = m_running && !stopped;
    return stopped;
}

QStringList PgCluster::args(const char* line) const
{
    return QString::fromLatin1(line).arg(m_folder).split(QLatin1Char(' '));
}

bool PgCluster::run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(m_folder);
    if (geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QLatin1String(kServerUser), QStringLiteral("--"), program} + args);
    else
        p.start(program, args);
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    m_error = QStringLiteral("%1 failed: %2").arg(program, QString::fromLocal8Bit(p.readAll()).simplified());
    return false;
}

} // namespace orvan::test

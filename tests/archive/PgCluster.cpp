#include "archive/PgCluster.h"

#include <QDir>
#include <QProcess>
#include <QVersionNumber>

#include <pwd.h>
#include <unistd.h>

namespace orvan::test {

PgCluster::PgCluster()
{
    // The newest installed server: /usr/lib/postgresql/<version>/bin.
    const QDir root(QStringLiteral("/usr/lib/postgresql"));
    QVersionNumber newest;
    for (const QString& v : root.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(root.filePath(v + QStringLiteral("/bin/initdb"))) && QVersionNumber::fromString(v) > newest) {
            newest = QVersionNumber::fromString(v);
            m_bin = root.filePath(v + QStringLiteral("/bin/"));
        }
    }
    if (m_bin.isEmpty()) {
        m_error = QStringLiteral("no PostgreSQL server binaries in /usr/lib/postgresql/*/bin (scripts/deps.sh test installs them)");
        return;
    }
    const passwd* nobody = geteuid() == 0 ? getpwnam("nobody") : nullptr;
    if (geteuid() == 0 && (!nobody || chown(QFile::encodeName(m_folder).constData(), nobody->pw_uid, nobody->pw_gid) != 0)) {
        m_error = QStringLiteral("cannot hand %1 to the user nobody").arg(m_folder);
        return;
    }
    if (run("initdb", "-D %1/data -U orvan -A trust -E UTF8 --no-sync") && start()
        && !run("createdb", "-h %1 -U orvan archive_test"))
        stop();
}

void PgCluster::shutdown()
{
    if (m_running)
        run("pg_ctl", "-D %1/data -m fast -w stop");
    m_running = false;
}

bool PgCluster::start()
{
    // Only a unix socket in the folder: nothing listens on the network.
    m_running = run("pg_ctl", "-D %1/data -l %1/log -w -o", {QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off").arg(m_folder),
                                                              QStringLiteral("start")});
    return m_running;
}

bool PgCluster::stop()
{
    const bool stopped = run("pg_ctl", "-D %1/data -m immediate -w stop");
    m_running = m_running && !stopped;
    return stopped;
}

bool PgCluster::run(const char* program, const char* line, const QStringList& more)
{
    const QStringList args = QStringList{m_bin + QLatin1String(program)} + QString::fromLatin1(line).arg(m_folder).split(QLatin1Char(' ')) + more;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setWorkingDirectory(m_folder);
    if (geteuid() == 0)
        p.start(QStringLiteral("runuser"), QStringList{QStringLiteral("-u"), QStringLiteral("nobody"), QStringLiteral("--")} + args);
    else
        p.start(args.first(), args.mid(1));
    if (p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    m_error = QStringLiteral("%1 failed: %2").arg(args.first(), QString::fromLocal8Bit(p.readAll()).simplified());
    return false;
}

} // namespace orvan::test

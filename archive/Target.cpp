// Where the archive lives: the target texts of the configuration and of --db, and the archive's
// own settings file.

#include "archive/Archive.h"

#include "base/AddedTexts.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QUrl>
#include <QUrlQuery>

namespace orvan::archive {

namespace {

const QString kChoiceKey = QStringLiteral("Archive/Database");

} // namespace

QString embeddedPath(const QString& dataFolder)
{
    return QDir(dataFolder).filePath(embeddedFileName());
}

std::optional<Target> parseTarget(const QString& text, QString* error, int idioma)
{
    const QString given = text.trimmed();
    const auto refuse = [&]() -> std::optional<Target> {
        if (error)
            *error = addedText(AddedText::ArchiveBadTarget, idioma).arg(given);
        return std::nullopt;
    };
    if (given.isEmpty())
        return refuse();
    Target t;
    if (given.startsWith(QLatin1String("postgresql://"), Qt::CaseInsensitive) ||
        given.startsWith(QLatin1String("postgres://"), Qt::CaseInsensitive)) {
        const QUrl url(given, QUrl::StrictMode);
        if (!url.isValid())
            return refuse();
        t.engine = Engine::PostgreSQL;
        t.user = url.userName(QUrl::FullyDecoded);
        t.password = url.password(QUrl::FullyDecoded);
        t.host = url.host(QUrl::FullyDecoded);
        t.port = url.port(-1);
        t.database = url.path(QUrl::FullyDecoded).mid(1);
        const QUrlQuery query(url);
        // libpq's own URL form: host=/socket/folder names a unix socket folder.
        if (query.hasQueryItem(QStringLiteral("host")))
            t.host = query.queryItemValue(QStringLiteral("host"), QUrl::FullyDecoded);
        if (query.hasQueryItem(QStringLiteral("port"))) {
            bool ok = false;
            t.port = query.queryItemValue(QStringLiteral("port")).toInt(&ok);
            if (!ok)
                return refuse();
        }
        if (t.database.isEmpty() || t.database.contains(QLatin1Char('/')))
            return refuse();
        QUrl shown = url;
        shown.setPassword(QString());
        t.text = shown.toString();
        return t;
    }
    t.engine = Engine::SQLite;
    if (given.startsWith(QLatin1String("sqlite:"), Qt::CaseInsensitive)) {
        const QUrl url(given);
        t.path = url.isLocalFile() || url.scheme().compare(QLatin1String("sqlite"), Qt::CaseInsensitive) == 0
                     ? url.path(QUrl::FullyDecoded)
                     : QString();
        if (t.path.isEmpty())
            return refuse();
    } else if (given.contains(QLatin1String("://"))) {
        return refuse();
    } else {
        t.path = given;
    }
    t.path = QFileInfo(t.path).absoluteFilePath();
    t.text = QDir::toNativeSeparators(t.path);
    return t;
}

QString readArchiveChoice(const QString& configFolder)
{
    const QSettings settings(QDir(configFolder).filePath(archiveSettingsFileName()), QSettings::IniFormat);
    return settings.value(kChoiceKey).toString().trimmed();
}

bool writeArchiveChoice(const QString& configFolder, const QString& target, QString* error, int idioma)
{
    const QString file = QDir(configFolder).filePath(archiveSettingsFileName());
    QSettings settings(file, QSettings::IniFormat);
    if (target.trimmed().isEmpty())
        settings.remove(kChoiceKey);
    else
        settings.setValue(kChoiceKey, target.trimmed());
    settings.sync();
    if (settings.status() == QSettings::NoError)
        return true;
    if (error)
        *error = addedText(AddedText::ArchiveCannotWrite, idioma)
                     .arg(QDir::toNativeSeparators(file),
                          settings.status() == QSettings::AccessError ? QStringLiteral("access denied")
                                                                      : QStringLiteral("format error"));
    return false;
}

QString effectiveTarget(const QString& configFolder, const QString& dataFolder)
{
    const QString chosen = readArchiveChoice(configFolder);
    return chosen.isEmpty() ? embeddedPath(dataFolder) : chosen;
}

} // namespace orvan::archive

#include "archive/ui/ArchiveJob.h"

#include <QCoreApplication>
#include <QMutex>
#include <QSet>
#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

namespace orvan::archive::ui {

ArchiveJob::ArchiveJob(const QString& target, int idioma, Work work, QObject* parent)
    : QObject(parent), m_state(std::make_shared<JobState>())
{
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, [this] {
        m_running = false;
        Q_EMIT finished();
    });
    // The lambda holds its own share of the state: the job may outlive this object.
    m_watcher.setFuture(QtConcurrent::run([state = m_state, target, idioma, work = std::move(work)] {
        Archive archive;
        archive.setLanguage(idioma);
        if (!archive.open(target)) {
            state->openError = archive.error();
            return;
        }
        work(archive, *state);
    }));
}

ArchiveJob::~ArchiveJob()
{
    // The watcher goes with this object and reports nothing more; the job stops at its next file.
    cancel();
    disconnect(&m_watcher, nullptr, this, nullptr);
}

void ArchiveJob::cancel()
{
    m_state->cancel = true;
}

bool ArchiveJob::running() const
{
    return m_running;
}

Progress ArchiveJob::progressOf(JobState& state)
{
    return [&state](int done, int total, const QString&) {
        state.total = total;
        state.done = done;
    };
}

ArchiveJob::Work ArchiveJob::addPaths(const QStringList& paths)
{
    return [paths](Archive& archive, JobState& state) {
        state.added = archive.add(paths, progressOf(state), &state.cancel);
    };
}

ArchiveJob::Work ArchiveJob::verifyPlaces()
{
    return [](Archive& archive, JobState& state) {
        state.verified = archive.verify(progressOf(state), &state.cancel);
    };
}

ArchiveJob::Work ArchiveJob::exportRows(const Filter& filter, const QStringList& shown, const QString& path, Unit unit)
{
    return [=](Archive& archive, JobState& state) {
        // The list holds only what it shows: the other fields are read again here. A record
        // indexed since the list was made is not in it, so it is not exported either.
        const QVector<RecordRow> all = archive.query(filter, RowDetail::Full);
        if (!archive.error().isEmpty()) {
            state.exportError = archive.error();
            return;
        }
        QHash<QString, qsizetype> found;
        for (qsizetype i = 0; i < all.size(); ++i)
            found.insert(all.at(i).sha, i);
        QVector<RecordRow> rows;
        rows.reserve(shown.size());
        for (const QString& sha : shown) {
            const auto i = found.constFind(sha);
            if (i != found.constEnd())
                rows.append(all.at(*i));
        }
        if (!archive.exportCsv(rows, path, unit))
            state.exportError = archive.error();
    };
}

namespace {

// Threads of searchers that may still be finishing a request after their window went. The
// process waits for them as the application object goes: a thread still closing its database
// connection while Qt SQL's own globals are torn down would crash the exit.
QMutex liveMutex;
QSet<QThread*> liveThreads;

void waitForSearchers()
{
    QList<QThread*> threads;
    {
        const QMutexLocker lock(&liveMutex);
        threads = liveThreads.values();
    }
    for (QThread* thread : threads)
        thread->wait();
}

} // namespace

ArchiveSearcher::ArchiveSearcher(const QString& target, int idioma)
    : m_thread(new QThread), m_archive(std::make_unique<Archive>()),
      m_newest(std::make_shared<std::atomic<quint64>>(0))
{
    qRegisterMetaType<SearchAnswer>();
    qRegisterMetaType<std::optional<QByteArray>>();
    m_thread->setObjectName(QStringLiteral("archive searches"));
    moveToThread(m_thread);
    // The worker goes once its thread has run out, the thread object after it on its own thread.
    connect(m_thread, &QThread::finished, this, &QObject::deleteLater);
    connect(this, &QObject::destroyed, m_thread, &QObject::deleteLater);
    static const bool waitsAtExit = (qAddPostRoutine(waitForSearchers), true);
    Q_UNUSED(waitsAtExit);
    {
        const QMutexLocker lock(&liveMutex);
        liveThreads.insert(m_thread);
    }
    connect(m_thread, &QObject::destroyed, [thread = m_thread] {
        const QMutexLocker lock(&liveMutex);
        liveThreads.remove(thread);
    });
    m_thread->start();
    m_target = target;
    m_idioma = idioma;
}

void ArchiveSearcher::open()
{
    QMetaObject::invokeMethod(this, [this, target = m_target, idioma = m_idioma] {
        m_archive->setLanguage(idioma);
        const bool ok = m_archive->open(target);
        Q_EMIT opened(ok, ok ? QString() : m_archive->error(), m_archive->computer());
    }, Qt::QueuedConnection);
}

ArchiveSearcher::~ArchiveSearcher() = default;

quint64 ArchiveSearcher::search(const Filter& filter)
{
    const quint64 request = ++*m_newest;
    QMetaObject::invokeMethod(this, [this, request, filter] {
        // A newer search is already waiting: this one's answer would be dropped anyway.
        if (request != *m_newest || !m_archive->isOpen())
            return;
        SearchAnswer a;
        a.request = request;
        a.rows = m_archive->query(filter, RowDetail::Listed);
        a.problem = m_archive->error();
        a.stats = m_archive->stats(filter);
        if (a.problem.isEmpty())
            a.problem = m_archive->error();
        Q_EMIT searched(a);
    }, Qt::QueuedConnection);
    return request;
}

void ArchiveSearcher::setLanguage(int idioma)
{
    QMetaObject::invokeMethod(this, [this, idioma] { m_archive->setLanguage(idioma); }, Qt::QueuedConnection);
}

void ArchiveSearcher::fetchImage(const QString& sha)
{
    QMetaObject::invokeMethod(this, [this, sha] {
        std::optional<QByteArray> bytes;
        if (m_archive->isOpen())
            bytes = m_archive->image(sha);
        Q_EMIT image(sha, bytes, m_archive->error());
    }, Qt::QueuedConnection);
}

void ArchiveSearcher::retire()
{
    // Requests still queued behind the one at hand are void: the window asking for them is gone.
    ++*m_newest;
    m_thread->quit();
}

} // namespace orvan::archive::ui

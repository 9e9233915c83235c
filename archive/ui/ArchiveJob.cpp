#include "archive/ui/ArchiveJob.h"

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

} // namespace orvan::archive::ui

#pragma once
// A long archive job (indexing folders, verifying the places) on a pool thread with a connection
// of its own: a database connection belongs to the thread that opened it, and the window that
// started the job must never wait for it.
//
// The job and the window share only the state below. The window reads the progress when it
// likes and hears of the end through finished(); nothing on the job's thread ever points at the
// window. Dropping the job (its window closing) cancels it and lets it end on its own: the
// shared state lives as long as either side needs it.

#include "archive/Archive.h"

#include <QFutureWatcher>
#include <QObject>

#include <functional>
#include <memory>

namespace orvan::archive::ui {

struct JobState {
    std::atomic<int> done{0};
    std::atomic<int> total{0};
    CancelFlag cancel{false};
    // Written on the job's thread, read once finished() has come.
    QString openError;      // the archive could not be opened: nothing ran
    AddReport added;
    VerifyReport verified;
};

class ArchiveJob : public QObject {
    Q_OBJECT
public:
    // What runs on the job's thread, with the archive open there.
    using Work = std::function<void(Archive&, JobState&)>;

    // Starts at once: opens `target` on a pool thread (messages in the language idioma) and runs
    // the work there.
    ArchiveJob(const QString& target, int idioma, Work work, QObject* parent = nullptr);
    // Cancels a job still running and leaves it to end on its own.
    ~ArchiveJob() override;

    void cancel();
    bool running() const;
    const JobState& state() const { return *m_state; }

    // A progress callback for Archive that keeps the shared counts.
    static Progress progressOf(JobState& state);

    // Both jobs of the window: index these paths, or verify every place of this computer.
    static Work addPaths(const QStringList& paths);
    static Work verifyPlaces();

Q_SIGNALS:
    void finished();

private:
    std::shared_ptr<JobState> m_state;
    QFutureWatcher<void> m_watcher;
    // Cleared as finished() goes out, so that the window's view of the job never runs ahead of
    // the report it is about to get.
    bool m_running = true;
};

} // namespace orvan::archive::ui

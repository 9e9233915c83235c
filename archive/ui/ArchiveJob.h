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
#include <QThread>

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
    QString exportError;    // empty when the export was written
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
    // Writes to `path` (CSV, whole or not at all) every field of the records a list shows: those
    // of `filter` whose SHA-256 is in `shown`, in that order.
    static Work exportRows(const Filter& filter, const QStringList& shown, const QString& path, Unit unit);

Q_SIGNALS:
    void finished();

private:
    std::shared_ptr<JobState> m_state;
    QFutureWatcher<void> m_watcher;
    // Cleared as finished() goes out, so that the window's view of the job never runs ahead of
    // the report it is about to get.
    bool m_running = true;
};

// The archive window's searches: the open and every query with its figures on a thread of their
// own, whose worker owns the one connection they use. A server that is slow or gone then stalls
// only that thread, never the window.
//
// The window posts requests and hears the answers through queued signals; it never touches the
// worker's archive. Each search carries a number: a newer request makes the older ones void, so
// the worker skips those still waiting and the window drops any answer but the newest. When the
// window goes, the thread finishes the request at hand, then ends and deletes itself and its
// worker; no answer can land in the window any more, for its connections went with it.
struct SearchAnswer {
    quint64 request = 0;
    QVector<RecordRow> rows;
    FleetStats stats;
    QString problem;    // empty when the archive answered
};

class ArchiveSearcher : public QObject {
    Q_OBJECT
public:
    // Starts the thread for `target` (messages in the language idioma).
    ArchiveSearcher(const QString& target, int idioma);
    // Opens the archive there, answered by opened(): called once the answers are connected, for
    // an answer sent before would be lost.
    void open();
    // Runs on the window's thread: the newest search number, shared with the worker.
    quint64 search(const Filter& filter);
    void setLanguage(int idioma);
    // The archived bytes of a record, answered by image().
    void fetchImage(const QString& sha);
    // Ends the thread once the request at hand is done; the thread then deletes this object.
    void retire();

Q_SIGNALS:
    void opened(bool ok, const QString& error, const QString& computer);
    void searched(const orvan::archive::ui::SearchAnswer& answer);
    void image(const QString& sha, const std::optional<QByteArray>& bytes, const QString& error);

private:
    ~ArchiveSearcher() override;

    QThread* m_thread;
    QString m_target;
    int m_idioma = 0;
    // Lives on m_thread only.
    std::unique_ptr<Archive> m_archive;
    std::shared_ptr<std::atomic<quint64>> m_newest;
};

} // namespace orvan::archive::ui

Q_DECLARE_METATYPE(orvan::archive::ui::SearchAnswer)

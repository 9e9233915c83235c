#pragma once
// The records archive window: a filter bar, the fleet's figures of the current filter and a
// sortable table of the matching records. A double-click opens a record in the main window as the
// open dialog does; indexing a folder and verifying the files run as background jobs with a
// progress bar and Cancel, on a connection of their own, so the window never waits for them; the
// open and the searches run on a thread of their own as well (ArchiveSearcher).

#include "archive/Archive.h"
#include "archive/ui/ArchiveJob.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

namespace orvan::ui { class Workspace; }
namespace orvan::records { class MissionRecord; }

namespace orvan::archive::ui {

class ArchiveSearcher;
struct SearchAnswer;
class ArchiveTable;

class ArchiveWindow : public QWidget {
    Q_OBJECT
public:
    // Opens the archive the configuration names (the embedded one by default) and lists it.
    ArchiveWindow(orvan::ui::Workspace& main, records::MissionRecord& record, QWidget* parent = nullptr);
    ~ArchiveWindow() override;

    // After the configuration window's OK: the language, the unit and the archive may have changed.
    void settingsChanged();
    // Searches again with the filter bar as it stands; the answer comes later, with rowsChanged().
    void refresh();
    // A search (or the open) is on its way.
    bool searching() const { return m_searching; }
    Filter filter() const;

    // The rows as the table shows them, in its order, and the figures above it.
    const QVector<RecordRow>& rows() const;
    const FleetStats& stats() const { return m_stats; }
    // The archive this window shows (its target as configured).
    QString target() const { return m_target; }

    // The commands, as their buttons run them.
    void indexFolder(const QString& folder);
    void verifyArchive();
    // Starts writing the list as shown, every field, to `path` as a job; false when it cannot start.
    bool exportCsv(const QString& path);
    void cancelJob();
    bool jobRunning() const;
    // Opens the record of that table row in the main window.
    void openRow(int row);

    // Where "Index a folder…" and "Export CSV…" ask for their path; file dialogs by default.
    // An empty answer is a change of mind.
    std::function<QString()> askFolder;
    std::function<QString()> askCsvPath;

    QLineEdit* txtSerial = nullptr;
    QLineEdit* txtExporter = nullptr;
    QLineEdit* txtCarrier = nullptr;
    QCheckBox* chkFrom = nullptr;
    QDateEdit* dateFrom = nullptr;
    QCheckBox* chkTo = nullptr;
    QDateEdit* dateTo = nullptr;
    QComboBox* cboVerdict = nullptr;   // 0 any, 1 pass, 2 fail, 3 no data
    QLineEdit* txtSearch = nullptr;
    QLabel* lbShipments = nullptr;
    QLabel* lbPassed = nullptr;
    QLabel* lbAbove = nullptr;
    QLabel* lbBelow = nullptr;
    QLabel* lbWorst = nullptr;
    QTableView* table = nullptr;
    QPushButton* cmdIndex = nullptr;
    QPushButton* cmdVerify = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdCancel = nullptr;
    QProgressBar* progress = nullptr;
    QLabel* lbStatus = nullptr;

Q_SIGNALS:
    // A background job has ended (run out, cancelled or failed) and the table shows its outcome.
    void jobFinished();
    // The newest search has answered (or the archive could not be opened): rows() and stats() are
    // its outcome.
    void rowsChanged();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class JobKind { Index, Verify, Export };

    void buildControls();
    void setTexts();
    void openArchive();
    void retireSearcher();
    void onOpened(bool ok, const QString& error, const QString& computer);
    void onSearched(const SearchAnswer& answer);
    void onImage(const QString& sha, const std::optional<QByteArray>& bytes, const QString& error);
    void showSearching();
    void showFigures();
    void showStatus(const QString& text, bool problem = false);
    bool startJob(JobKind kind, const ArchiveJob::Work& work);
    void onJobFinished();
    void showProgress();
    void updateCommands();
    QString askForFolder();
    QString askForCsvPath();

    orvan::ui::Workspace& m_main;
    records::MissionRecord& m_record;
    // Owned by its own thread; this window only posts to it until it retires it.
    ArchiveSearcher* m_searcher = nullptr;
    bool m_open = false;
    bool m_searching = false;
    QString m_computer;
    quint64 m_request = 0;
    // A job's report stays on the status line through the search that follows it.
    bool m_holdStatus = false;
    // The record of the double-click waiting for the archive's copy.
    RecordRow m_pendingCopy;
    QString m_target;
    ArchiveTable* m_table = nullptr;
    FleetStats m_stats;
    QPointer<ArchiveJob> m_job;
    JobKind m_jobKind = JobKind::Index;
    QString m_exportPath;
    // The filter of the newest search asked, and of the rows shown.
    Filter m_askedFilter, m_shownFilter;
    QTimer m_filterDelay;
    QTimer m_progressTimer;
    QList<QLabel*> m_figureCaptions;
    QList<QLabel*> m_filterCaptions;
};

} // namespace orvan::archive::ui

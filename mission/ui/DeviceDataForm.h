#pragma once
// frmsave: the window through which the user acts on a connected logger. On opening it looks
// for the serial port where a logger answers; then every 500 ms its poll either serves one
// posted command or reads the logger's status into the main window's status panel. Every
// exchange runs on the link session's own thread, so the window repaints and follows the
// progress of a download or of the erase wait.

#include "base/ui/DeferredClose.h"
#include "link/DeviceSession.h"
#include "mission/LiveSummary.h"
#include "mission/DeviceCommands.h"
#include "mission/Download.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orvan::ui { class Workspace; }
namespace orvan::records { class MissionRecord; }

namespace orvan::mission {

class DeviceDataForm : public QWidget {
    Q_OBJECT
public:
    // Request words: a click posts one, the next poll tick serves it.
    static constexpr quint16 kRequested = 0x55AA;
    static constexpr int kBarMaximum = 750;    // the progress bar's maximum between commands

    // record is the application's mission record: a store replaces it once a download is
    // complete. portFactory makes the serial port on the link's thread (empty: the system's
    // ports); clockFactory the link's clock (empty: real time).
    DeviceDataForm(ui::Workspace& main, records::MissionRecord& record,
                   link::DeviceSession::PortFactory portFactory = {},
                   link::DeviceSession::ClockFactory clockFactory = {}, QWidget* parent = nullptr);
    ~DeviceDataForm() override;

    // The poll tick (Timer2); public so that tests can drive it.
    void tick();

    const link::EstadoKLV& estado() const { return m_status; }
    const CommandAvailability& availability() const { return m_availability; }
    link::DeviceSession& session() { return *m_session; }
    bool searchDone() const { return m_searchDone; }
    // A command (erase, store, stop) is running; polls wait for it.
    bool commandRunning() const { return m_command; }

    QLabel* Picture1 = nullptr;          // "Barco.jpg"
    QPushButton* cmdClear = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdAlmacena = nullptr;
    QPushButton* cmdPrepara = nullptr;
    QPushButton* CmndCancel = nullptr;
    QProgressBar* ProgressBar2 = nullptr;
    QTimer Timer2;

    quint16 PedidoBorrar = 0;
    quint16 PedidoDetener = 0;
    quint16 PedidoPreparar = 0;
    quint16 PedidoAlmacenar = 0;

    // The length of each of the erase wait's steps; tests of an erase interrupted during its
    // wait shorten it.
    void setEraseStepMs(int ms) { m_eraseStepMs = ms; }

    // The save dialog shown after a complete download; by default GrabArch, modal. It writes the
    // record and leaves the outcome in the record's GuardadoEnDisco.
    std::function<void(records::MissionRecord&)> GrabArch;
    // Told the path of a record once the save dialog has written it; the application archives it
    // there. It runs after the save, so nothing it does can cost the saved record.
    std::function<void(const QString& path)> recordSaved;

Q_SIGNALS:
    // The latest status has been written to the panel.
    void statusShown();
    // A command served by the poll has ended (its messages shown, the controls restored).
    void commandFinished();
    // The form has closed its link and is going away.
    void linkClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setTexts();
    void onStatus(const link::EstadoKLV& estado);
    void onSearchFinished(int com);
    bool Seguro(int picture);
    void DeshabilitaAcciones();
    void showProgress(int value, int maximum);
    void restoreBar();
    void finishCommand();
    // Runs a job on the link's thread, then `then` on this window once the session is idle again.
    void runCommand(std::function<void(link::LinkContext&)> job, std::function<void()> then);
    void onJobFinished();

    // The commands a request runs, one per tick.
    void BorraMemoria();
    void Almacena();
    void downloadFinished();
    void DetieneMision();
    // Prepare: hands the logger over to the preparation window (the frmPrep child, when the
    // application has one) and closes this window.
    void prepare();
    // Lets go of the logger: the link closes, the panel shows the maker picture again, Connect is
    // offered. The window itself goes through m_closer.
    void endLink();
    void CierraEnlace();

    ui::Workspace& m_main;
    records::MissionRecord& m_record;
    std::unique_ptr<link::DeviceSession> m_session;
    link::EstadoKLV m_status;
    CommandAvailability m_availability;
    bool m_searchDone = false;
    bool m_closed = false;
    bool m_command = false;
    std::function<void()> m_then;
    // Results handed from a job to its continuation (set on this window's thread).
    DownloadResult m_download;
    EraseResult m_erase = EraseResult::Cancelled;
    MarkResult m_mark = MarkResult::Cancelled;
    int m_eraseStepMs = kErasePauseMs;
    // Every handler that may show a box or a dialog holds it: the window's own poll, running in
    // that box's loop, must not delete the window under the handler.
    ui::DeferredClose m_closer{this};
};

} // namespace orvan::mission

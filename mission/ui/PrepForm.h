#pragma once
// frmPrep: the window that programs a connected logger for a new mission. It keeps polling the
// logger like the device-data window and checks the user's choices on every poll; Accept posts
// the programming, which the next poll tick runs on the link's thread while the progress bar
// moves and the window stays responsive. The window stays open, so a logger may be programmed
// several times.

#include "base/ui/DeferredClose.h"
#include "link/DeviceSession.h"
#include "mission/ProgramaKLV.h"

#include <QTimer>
#include <QWidget>
#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QDateTimeEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace orvan::ui { class Workspace; }

namespace orvan::mission {

class PrepForm : public QWidget {
    Q_OBJECT
public:
    static constexpr quint16 kRequested = 0x55AA;

    // Both factories run on the link's thread; empty means the system's port and clock.
    explicit PrepForm(ui::Workspace& main, link::DeviceSession::PortFactory portFactory = {},
                      link::DeviceSession::ClockFactory clockFactory = {}, QWidget* parent = nullptr);
    ~PrepForm() override;

    // The poll tick (Timer2); public so that tests can drive it.
    void tick();

    const link::EstadoKLV& estado() const { return m_status; }
    link::DeviceSession& session() { return *m_session; }
    int RangoPrep() const { return m_rangoPrep; }
    int RawLimInf() const { return m_rawLimInf; }
    int RawLimSup() const { return m_rawLimSup; }
    bool CambioLimites() const { return m_cambioLimites; }
    // The last programming's result; nothing before the first.
    const std::optional<PrepResult>& result() const { return m_result; }

    // The choices as the user makes them (tests and the window's own handlers).
    void chooseDuration(int days);
    void chooseInterval(int interval);
    void chooseLowLimit(int degrees);
    void chooseHighLimit(int degrees);
    void chooseStart(int index);

    QFrame* framePrepara = nullptr;
    QComboBox* ComboDuracion = nullptr;
    QComboBox* ComboRango = nullptr;
    QComboBox* ComboLoThreshold = nullptr;
    QComboBox* ComboHiThreshold = nullptr;
    QLineEdit* txtcDuracion = nullptr;
    QLineEdit* txtcRango = nullptr;
    QLineEdit* txtcLoThreshold = nullptr;
    QLineEdit* txtcHiThreshold = nullptr;
    std::array<QRadioButton*, 3> optInicio{};
    QDateTimeEdit* DTPickerStart = nullptr;
    QLineEdit* txtcStartDelay = nullptr;
    QLabel* imgClock = nullptr;
    QCheckBox* Check1 = nullptr;
    QLineEdit* txtExport = nullptr;
    QLineEdit* txtTransport = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    QPushButton* CmndAbrir = nullptr;
    QPushButton* CmndCancel = nullptr;
    QLabel* lbCopyrigt = nullptr;
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    std::array<QLabel*, 2> Image2X{};
    QLabel *imgExport = nullptr, *imgTransport = nullptr, *imgButtonStart = nullptr;
    QTimer Timer2;

    quint16 PedidoPrep = 0;

Q_SIGNALS:
    // The latest status has been written to the panel and Accept has been judged.
    void statusShown();
    // A programming has ended (see result()).
    void programmed();
    void linkClosed();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void PonerTextosPrep();
    void LlenaCombos();
    void onAccept();
    void onStatus(const link::EstadoKLV& snapshot);
    void program();
    void onProgrammed(const PrepResult& r);
    StartMode startMode() const;
    Limits currentLimits() const;
    void applyLimits(const Limits& l);
    // Lets go of the logger; the window itself goes through m_closer.
    void endLink();
    void CierraEnlace();

    ui::Workspace& m_main;
    std::unique_ptr<link::DeviceSession> m_session;
    link::EstadoKLV m_status;
    int m_rangoPrep = 0;
    int m_rawLimInf = 0;
    int m_rawLimSup = 0;
    bool m_cambioLimites = false;
    bool m_programming = false;
    bool m_closed = false;
    std::optional<PrepResult> m_result;
    // Held by every handler that may show a box: the poll running in the box's loop must not
    // delete the window under it.
    ui::DeferredClose m_closer{this};
};

} // namespace orvan::mission

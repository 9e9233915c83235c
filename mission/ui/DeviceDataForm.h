#pragma once
// frmsave: the window through which the user acts on a connected logger. On opening it looks
// for the serial port where a logger answers; then every 500 ms its poll either serves one
// posted command or reads the logger's status into the main window's status panel. Every
// exchange runs on the link session's own thread, so the window stays responsive while the
// logger is slow or silent.

#include "link/DeviceSession.h"
#include "link/StatusSummary.h"

#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace orvan::ui { class Workspace; }

namespace orvan::mission {

class DeviceDataForm : public QWidget {
    Q_OBJECT
public:
    // Request words: a click posts one, the next poll tick serves it.
    static constexpr quint16 Pedido = 0x55AA;

    // portFactory makes the serial port on the link's thread; empty means the system's ports.
    explicit DeviceDataForm(ui::Workspace& main, link::DeviceSession::PortFactory portFactory = {},
                            QWidget* parent = nullptr);
    ~DeviceDataForm() override;

    // The poll tick (Timer2); public so that tests can drive it.
    void tick();

    const link::EstadoKLV& estado() const { return m_estado; }
    const link::Disponibilidad& disponibilidad() const { return m_disponibilidad; }
    link::DeviceSession& session() { return *m_session; }
    bool searchDone() const { return m_searchDone; }

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

    // The commands a posted request runs, served one per tick; a request without a command is
    // dropped when its tick comes.
    std::function<void(DeviceDataForm&)> BorraMemoria, DetieneMision, Almacena, Preparar;

Q_SIGNALS:
    // The latest status has been written to the panel.
    void statusShown();
    // The form has closed its link and is going away.
    void linkClosed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setTexts();
    void onStatus(const link::EstadoKLV& estado);
    void onSearchFinished(int com);
    void CierraEnlace();

    ui::Workspace& m_main;
    std::unique_ptr<link::DeviceSession> m_session;
    link::EstadoKLV m_estado;
    link::Disponibilidad m_disponibilidad;
    bool m_searchDone = false;
    bool m_closed = false;
};

} // namespace orvan::mission

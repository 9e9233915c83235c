#pragma once
// AlarmListWindow (form frmAlar): the samples the logger marked as limit violations, ten under the
// low-limit title and ten under the high-limit title, each with its date and temperature.

#include "views/AlarmList.h"

#include <QWidget>
#include <array>
#include <map>

class QLabel;

namespace orvan { struct AppContext; }
namespace orvan::records { class MissionRecord; }
namespace orvan::ui { class Workspace; }

namespace orvan::views {

class AlarmListWindow : public QWidget {
    Q_OBJECT
public:
    AlarmListWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

    std::array<QLabel*, kAlarmRows + 1> lbFecha{};
    std::array<QLabel*, kAlarmRows + 1> lbtiempo{};
    std::map<int, QLabel*> lbtitu;   // elements 1 and 2
    QLabel* lbTitLow = nullptr;
    QLabel* lbTitHi = nullptr;
    QLabel* Image1 = nullptr;
    QLabel* lbCopyrigt = nullptr;

private:
    void buildControls();
    void MuestraAlarmas(const ListaAlarmas& list);

    AppContext& m_app;
};

} // namespace orvan::views

#pragma once
// SampleListWindow (form Detalle): every stored sample of the record as date and temperature, 51
// rows at a time in three columns, the temperature cells coloured by zone, paged with a scroll bar;
// while the thumb is dragged a label beside it shows the sample under it. The export button writes
// the list to a comma-separated file next to the record file.

#include "base/AtomicWrite.h"
#include "views/SampleList.h"

#include <QLocale>
#include <QWidget>
#include <array>
#include <map>

class QLabel;
class QPushButton;
class QScrollBar;

namespace orvan { struct AppContext; }
namespace orvan::records { class MissionRecord; }
namespace orvan::ui { class Workspace; }

namespace orvan::views {

class SampleListWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRows = 51;
    static constexpr int kRowsPerColumn = 17;

    SampleListWindow(orvan::ui::Workspace& main, const records::MissionRecord& record, QWidget* parent = nullptr);

    // The export button's click: nothing without a record file; the button is disabled while
    // it runs and enabled again however it ends.
    void ExportaCsv();
    // How the export's bytes go into its file; tests make the disk fill with it.
    void setWriter(WriteBytes writer) { m_writer = std::move(writer); }

    const ListaMuestras& list() const { return m_list; }
    int PrimeraFila() const { return m_primeraFila; }

    std::array<QLabel*, kRows + 1> lbFecha{};
    std::array<QLabel*, kRows + 1> lbKm{};
    std::map<int, QLabel*> lbtitu;   // elements 0, 1, 2 and 18
    QScrollBar* VScroll1 = nullptr;
    QLabel* lbPosic = nullptr;
    QPushButton* cmdExcel = nullptr;
    QLabel* lbCopyrigt = nullptr;

protected:
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void MuestraFilas();
    void showRow(int r, int k);
    void clearRow(int r);
    void VScroll1_Change(int value);
    void VScroll1_Scroll(int value);

    orvan::ui::Workspace& m_main;
    AppContext& m_app;
    const records::MissionRecord& m_record;
    QLocale m_locale;
    ListaMuestras m_list;
    int m_primeraFila = 1;
    WriteBytes m_writer;
};

} // namespace orvan::views

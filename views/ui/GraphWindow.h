#pragma once
// GraphWindow (form frmGrafico): the temperature of the mission record against time, coloured by
// zone, with the two limit lines and a date title; zoom levels by band, buttons and a stack of 25
// windows, scrolling of a zoomed window and a readout of the sample under the pointer.

#include "base/Unit.h"
#include "views/GraphPoints.h"

#include <QRect>
#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace orvan { struct AppContext; class MessageSink; }
namespace orvan::records { class MissionRecord; }
namespace orvan::ui { class Workspace; }

namespace orvan::views {

namespace ui { class Chart; }

class GraphWindow : public QWidget {
    Q_OBJECT
public:
    GraphWindow(AppContext& app, records::MissionRecord& record, MessageSink& messages, QWidget* parent = nullptr);
    ~GraphWindow() override;

    ui::Chart* Chart2D1 = nullptr;
    QPushButton* cmdZoom = nullptr;
    QPushButton* cmdUpZoom = nullptr;
    QPushButton* cmdResetZoom = nullptr;
    QScrollBar* scrGraph = nullptr;
    QLabel* lbHora = nullptr;
    QLabel* lbVeloc = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* lbCopyrigt = nullptr;
    QLineEdit* Text1[2] = {};   // free text the graph report puts in its page header
    QWidget* FrameCent = nullptr;

    const Puntos& puntos() const { return m_puntos; }
    const ZoomLevels& levels() const { return m_zoom; }
    int firstShown() const { return m_first; }  // the window shown
    int lastShown() const { return m_last; }
    bool SinArrastre() const { return m_sinArrastre; }
    QRect RectBanda() const { return m_band; }

    // Every change of the window shown goes through here.
    void MuestraVentana(int first, int last);
    void MuestraNivel(int level);
    void zoomClick();       // cmdZoom
    void upZoomClick();     // cmdUpZoom
    void resetZoomClick();  // cmdResetZoom

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildControls();
    void SetZoom();
    void onScroll(int value);
    void onWheel(int notches, const QPoint& px);
    void onPress(Qt::MouseButton button, const QPoint& px);
    void onMove(Qt::MouseButtons buttons, const QPoint& px);
    void onRelease(Qt::MouseButton button, const QPoint& px);
    void showReadout(const QPoint& px);
    void drawBand();
    void enableZoomControls(bool zoomed);
    void ShowHourGlass();
    void ReleaseHourGlass();

    AppContext& m_app;
    records::MissionRecord& m_record;
    Unit m_unit = Unit::Celsius;
    QLocale m_locale;
    Puntos m_puntos;
    Limits m_limits;
    ZoomLevels m_zoom;
    int m_first = 1, m_last = 1;
    bool m_desdeScroll = false;
    bool m_sinArrastre = false;
    QRect m_area;                    // AreaGrafico at the press of the band
    QRect m_band{-1, -1, 0, 0};      // RectBanda: left -1 while no band is dragged
    int m_busyDepth = 0;             // hourglass nesting
};

} // namespace orvan::views

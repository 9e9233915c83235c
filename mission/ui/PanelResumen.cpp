#include "mission/ui/PanelResumen.h"

#include "base/ui/StatusPanel.h"
#include "base/ui/Workspace.h"

#include <QMdiSubWindow>

namespace orvan::mission {

namespace {

void texto(QLabel* label, const std::optional<QString>& value)
{
    if (label && value)
        label->setText(*value);
}

void imagen(QLabel* label, const std::optional<link::ImagenPanel>& value)
{
    if (label && value)
        ui::StatusPanel::showPicture(label, value->index, value->toolTip);
}

void visible(QWidget* widget, const std::optional<bool>& value)
{
    if (widget && value)
        widget->setVisible(*value);
}

} // namespace

void aplicaResumen(ui::StatusPanel& p, const link::Resumen& r)
{
    texto(p.lbHoraInicioX, r.lbHoraInicioX);
    texto(p.lbHoraFinX, r.lbHoraFinX);
    texto(p.lbNumMuestrasX, r.lbNumMuestrasX);
    texto(p.lbRangoX, r.lbRangoX);
    texto(p.lbTempActualX, r.lbTempActualX);
    texto(p.lbAlarHiX, r.lbAlarHiX);
    texto(p.lbAlarLowX, r.lbAlarLowX);
    texto(p.lbHoraActualX, r.lbHoraActualX);
    texto(p.lbexportX, r.lbexportX);
    texto(p.lbTransportX, r.lbTransportX);
    texto(p.lbNumserX, r.lbNumserX);

    imagen(p.imgKLV, r.imgKLV);
    imagen(p.imgRec, r.imgRec);
    imagen(p.imgStartmode, r.imgStartmode);
    imagen(p.imgOver, r.imgOver);
    imagen(p.imgBat, r.imgBat);
    imagen(p.ImgHiAlarX, r.ImgHiAlarX);
    imagen(p.imgLoAlarX, r.imgLoAlarX);

    visible(p.Frame3X, r.Frame3X);
    visible(p.FrameSerial, r.FrameSerial);
}

void finEnlace(ui::Workspace& main)
{
    if (ui::StatusPanel* panel = main.panel()) {
        panel->FrameComm->hide();
        panel->frameInstit->show();
    }
    main.setConnectEnabled(true);
}

void cierraConMarco(QWidget* window)
{
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

} // namespace orvan::mission

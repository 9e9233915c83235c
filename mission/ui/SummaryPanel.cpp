#include "mission/ui/SummaryPanel.h"

#include "base/ui/StatusPanel.h"
#include "base/ui/Workspace.h"


namespace orvan::mission {

namespace {

void text(QLabel* label, const std::optional<QString>& value)
{
    if (label && value)
        label->setText(*value);
}

void showPicture(QLabel* label, const std::optional<link::PanelPicture>& value)
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

void applySummary(ui::StatusPanel& p, const link::StatusSummary& r)
{
    text(p.lbHoraInicioX, r.lbHoraInicioX);
    text(p.lbHoraFinX, r.lbHoraFinX);
    text(p.lbNumMuestrasX, r.lbNumMuestrasX);
    text(p.lbRangoX, r.lbRangoX);
    text(p.lbTempActualX, r.lbTempActualX);
    text(p.lbAlarHiX, r.lbAlarHiX);
    text(p.lbAlarLowX, r.lbAlarLowX);
    text(p.lbHoraActualX, r.lbHoraActualX);
    text(p.lbexportX, r.lbexportX);
    text(p.lbTransportX, r.lbTransportX);
    text(p.lbNumserX, r.lbNumserX);

    showPicture(p.imgKLV, r.imgKLV);
    showPicture(p.imgRec, r.imgRec);
    showPicture(p.imgStartmode, r.imgStartmode);
    showPicture(p.imgOver, r.imgOver);
    showPicture(p.imgBat, r.imgBat);
    showPicture(p.ImgHiAlarX, r.ImgHiAlarX);
    showPicture(p.imgLoAlarX, r.imgLoAlarX);

    visible(p.Frame3X, r.Frame3X);
    visible(p.FrameSerial, r.FrameSerial);
}

void showLinkEnded(ui::Workspace& main)
{
    if (ui::StatusPanel* panel = main.panel()) {
        panel->FrameComm->hide();
        panel->frameInstit->show();
    }
    main.setConnectEnabled(true);
}

} // namespace orvan::mission

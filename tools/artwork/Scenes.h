#pragma once
// The application's background pictures, painted from scratch.

#include <QImage>

namespace orvan::artwork {

// "KLV-204.jpg": the main window's background, a cold-chain port at dusk under a temperature trace.
QImage paintMainBackground(const QSize& size);
// "KLV-chico.jpg": the status panel's ground, light and quiet so its labels stay readable.
QImage paintPanelTexture(const QSize& size);
// "Barco.jpg": a reefer container ship at sea, shown by the device-data form.
QImage paintShip(const QSize& size);

} // namespace orvan::artwork

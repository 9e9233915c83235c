#pragma once
// The serial ports of this computer under stable COM numbers. The folder "Puertos" of the
// application folder may hold links named COM1, COM2, ... to devices (as Wine's dosdevices
// folder does): they take precedence over the detected devices, so a virtual port or an unusual
// device is attached without code changes. Detected devices get numbers derived from their names,
// so a number does not change when other devices come and go.

#include <QList>
#include <QString>

namespace orvan::link {

struct DetectedPort {
    int com = 0;            // COM number
    QString device;         // system path, e.g. "/dev/ttyUSB0"
    bool usable = false;    // exists and can be opened now
    QString reason;         // why not usable (for example no permission), empty otherwise
};

// Every port under its COM number, in ascending order; the usable ones are the free ports.
QList<DetectedPort> detectPorts(const QString& appFolder);
// The device path of a COM number, or an empty text when none is known.
QString devicePathFor(const QString& appFolder, int com);
// A sentence telling the user how to get access to ports that exist but could not be opened
// for lack of permission (the dialout group); empty when there are none.
QString permissionAdvice(const QList<DetectedPort>& ports);
// The alias folder, "<appFolder>/Puertos".
QString aliasFolder(const QString& appFolder);

} // namespace orvan::link

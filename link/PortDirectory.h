#pragma once
// The serial ports of this computer under stable COM numbers. The folder "Puertos" of the
// application folder may hold links named COM1, COM2, ... to devices: they take precedence over
// the detected devices, so a virtual port or an unusual device is attached without code changes.
// Detected devices get numbers derived from their names, so a number does not change when other
// devices come and go:
//
//   ttyS<n>   (n < 32)  COM<n + 1>      built-in and PCI serial ports: ttyS0 is COM1
//   ttyUSB<n> (n < 32)  COM<33 + n>     USB adapters with their own chip driver
//   ttyACM<n> (n < 32)  COM<65 + n>     USB modem-class adapters
//   COM<n>              COM<n>          Windows names
//   anything else       COM97 and up, in order of device name
//
// A USB adapter with a name under /dev/serial/by-id (its maker, model and serial number) keeps
// the number it got when it was first seen, whatever name the system gives it later and in
// whichever order adapters are plugged in: the numbers are remembered in "Puertos/adapters.txt",
// one "COM<n> <by-id name>" line each. A new adapter gets its number from the table when no
// other adapter holds it, else the lowest free number of its family (33..64 or 65..96), else
// one from COM97 up. A device without a by-id name whose number an adapter holds, plugged in or
// not, is listed from COM97 up.
//
// A number held by a link in "Puertos" is taken from the device that would have had it, and a
// device some link points to is listed once, under the link's number. There is no limit on the
// number of ports.

#include <QList>
#include <QString>
#include <QStringList>

namespace orvan::link {

struct DetectedPort {
    int com = 0;            // COM number
    QString device;         // system path, e.g. "/dev/ttyUSB0"
    bool usable = false;    // exists and can be opened now
    QString reason;         // why not usable (for example no permission), empty otherwise
    bool permissionDenied = false;  // exists but this user may not open it
};

// Every port under its COM number, in ascending order; the usable ones are the free ports.
// Each port is opened and closed once to learn whether it is usable.
QList<DetectedPort> detectPorts(const QString& appFolder);
// The device path of a COM number, or an empty text when none is known. Opens nothing.
QString devicePathFor(const QString& appFolder, int com);
// A sentence telling the user how to get access to ports that exist but could not be opened
// for lack of permission (the dialout group); empty when there are none.
QString permissionAdvice(const QList<DetectedPort>& ports);
// The alias folder, "<appFolder>/Puertos".
QString aliasFolder(const QString& appFolder);

// The number a device name gets by the table above, or 0 when it falls in "anything else".
int stableComNumber(const QString& deviceName);
// The numbering alone, for the given system devices (paths), without opening any device; every
// entry is marked usable. `devRoot` holds "serial/by-id". A newly seen adapter's number is
// written to the adapters file (when that fails it holds for this run only).
QList<DetectedPort> numberPorts(const QString& appFolder, const QStringList& systemDevices,
                                const QString& devRoot = QStringLiteral("/dev"));
// The file of remembered adapter numbers, "<appFolder>/Puertos/adapters.txt".
QString adapterFile(const QString& appFolder);
// The serial devices the system reports (QSerialPortInfo), as paths.
QStringList systemSerialDevices();

} // namespace orvan::link

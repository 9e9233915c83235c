// USB adapters keep their COM numbers by their /dev/serial/by-id names, remembered in the
// application folder's "Puertos", against a fake device tree.

#include "link/PortDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan::link;

namespace {

// A device tree and an application folder. Each step plugs exactly these devices, as
// "device=by-id name" (no name: no link), and gives their numbers as "COM=device" ascending.
struct FakeTree {
    QTemporaryDir root;
    const QString dev = root.filePath(QStringLiteral("dev"));
    const QString app = root.filePath(QStringLiteral("app"));

    QString plug(const QStringList& devices)
    {
        QDir(dev).removeRecursively();
        QDir().mkpath(dev + QStringLiteral("/serial/by-id"));
        QStringList paths;
        for (const QString& d : devices) {
            QFile f(dev + QLatin1Char('/') + d.section(QLatin1Char('='), 0, 0));
            f.open(QIODevice::WriteOnly);
            if (d.contains(QLatin1Char('=')))
                QFile::link(QStringLiteral("../../") + d.section(QLatin1Char('='), 0, 0), dev + QStringLiteral("/serial/by-id/") + d.section(QLatin1Char('='), 1));
            paths << f.fileName();
        }
        QStringList out;
        for (const DetectedPort& p : numberPorts(app, paths, dev))
            out << QStringLiteral("%1=%2").arg(p.com).arg(p.device.section(QLatin1Char('/'), -1));
        return out.join(QLatin1Char(' '));
    }
};

} // namespace

TEST(AdapterNumbers, AnAdapterKeepsItsNumberWhateverTheOrderOfPlugging)
{
    FakeTree tree;
    struct Step {
        QStringList plugged;
        const char* numbers;
    };
    const Step steps[] = {
        // The first adapter gets its name's number, as before.
        {{QStringLiteral("ttyUSB0=usb-FTDI_A1")}, "33=ttyUSB0"},
        // Alone again but plugged in after the other one: it keeps 33, the other gets the next.
        {{QStringLiteral("ttyUSB0=usb-Prolific_B2")}, "34=ttyUSB0"},
        {{QStringLiteral("ttyUSB0=usb-Prolific_B2"), QStringLiteral("ttyUSB1=usb-FTDI_A1")}, "33=ttyUSB1 34=ttyUSB0"},
        // A built-in port and an adapter without a by-id name: numbers by name; one an adapter
        // holds goes to 97 and up.
        {{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB1"), QStringLiteral("ttyUSB5")}, "1=ttyS0 38=ttyUSB5 97=ttyUSB1"},
        // A modem-class adapter in its own family.
        {{QStringLiteral("ttyACM0=usb-Arduino_C3"), QStringLiteral("ttyACM1=usb-Logger_D4")}, "65=ttyACM0 66=ttyACM1"},
        {{QStringLiteral("ttyACM0=usb-Logger_D4"), QStringLiteral("ttyUSB0=usb-FTDI_A1")}, "33=ttyUSB0 66=ttyACM0"},
    };
    for (const Step& s : steps)
        EXPECT_EQ(tree.plug(s.plugged), QString::fromLatin1(s.numbers)) << qPrintable(s.plugged.join(QLatin1Char(' ')));

    // The numbers stay in the application folder, beside the user's aliases.
    QFile memory(adapterFile(tree.app));
    ASSERT_TRUE(memory.open(QIODevice::ReadOnly));
    EXPECT_EQ(memory.readAll(),
              QByteArray("COM65 usb-Arduino_C3\nCOM33 usb-FTDI_A1\nCOM66 usb-Logger_D4\nCOM34 usb-Prolific_B2\n"));
}

TEST(AdapterNumbers, TheUsersAliasesAndADamagedFileDoNotUpsetTheNumbers)
{
    FakeTree tree;
    QDir().mkpath(aliasFolder(tree.app));
    // The user's own link holds COM33; the file holds junk, a repeated number and a repeated name.
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/null"), aliasFolder(tree.app) + QStringLiteral("/COM33")));
    QFile memory(adapterFile(tree.app));
    ASSERT_TRUE(memory.open(QIODevice::WriteOnly));
    memory.write("garbage\nCOM40 usb-X\nCOM40 usb-Y\nCOM41 usb-X\nCOM0 usb-Z\n\xff\xfe\n");
    memory.close();

    EXPECT_EQ(tree.plug({QStringLiteral("ttyUSB0=usb-New"), QStringLiteral("ttyUSB1=usb-Y"), QStringLiteral("ttyUSB2=usb-X")}),
              QStringLiteral("33=null 34=ttyUSB0 35=ttyUSB1 40=ttyUSB2"));
    EXPECT_EQ(tree.plug({QStringLiteral("ttyUSB7=usb-New")}), QStringLiteral("33=null 34=ttyUSB7"));
}

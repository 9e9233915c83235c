// COM numbers for the system's serial devices and the alias links of the application folder.

#include "link/PortDirectory.h"
#include "tools/emulator/EmulatorFixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

using namespace orvan::link;

namespace {

// "com=device" for each port, in the order given.
QString numbering(const QList<DetectedPort>& ports)
{
    QStringList out;
    for (const DetectedPort& p : ports)
        out << QStringLiteral("%1=%2").arg(p.com).arg(p.device);
    return out.join(QLatin1Char(' '));
}

// An application folder whose "Puertos" holds the given links.
bool link(QTemporaryDir& app, const QList<std::pair<QString, QString>>& links)
{
    QDir(app.path()).mkdir(QStringLiteral("Puertos"));
    return std::all_of(links.begin(), links.end(), [&](const auto& l) {
        return QFile::link(l.second, aliasFolder(app.path()) + QLatin1Char('/') + l.first);
    });
}

} // namespace

TEST(PortDirectory, StableNumbersAndAliasesFirst)
{
    for (const auto& [device, com] : {std::pair{"/dev/ttyS31", 32}, {"/dev/ttyS32", 0}, {"/dev/ttyUSB31", 64}, {"COM12", 12}})
        EXPECT_EQ(stableComNumber(QString::fromLatin1(device)), com) << device;

    QTemporaryDir app;
    ASSERT_TRUE(link(app, {{QStringLiteral("COM1"), QStringLiteral("/dev/ttyUSB7")},
                           {QStringLiteral("COM9"), QStringLiteral("/dev/ttyS3")},
                           {QStringLiteral("notaport"), QStringLiteral("/dev/null")}}));
    const QStringList system = {QStringLiteral("/dev/ttyS0"),   QStringLiteral("/dev/ttyS3"),
                                QStringLiteral("/dev/ttyUSB0"), QStringLiteral("/dev/ttyACM2"),
                                QStringLiteral("/dev/ttyAMA0"), QStringLiteral("/dev/rfcomm0")};
    // An alias wins over the system's name for the same number; a device is listed once.
    EXPECT_EQ(numbering(numberPorts(app.path(), system)),
              QStringLiteral("1=/dev/ttyUSB7 9=/dev/ttyS3 33=/dev/ttyUSB0 67=/dev/ttyACM2 97=/dev/rfcomm0 98=/dev/ttyAMA0"));
    // Unplugging devices moves no other number.
    EXPECT_EQ(numbering(numberPorts(app.path(), {system[3], system[4]})),
              QStringLiteral("1=/dev/ttyUSB7 9=/dev/ttyS3 67=/dev/ttyACM2 97=/dev/ttyAMA0"));
}

TEST(PortDirectory, DetectionOpensEachPortToTellUsableFromNot)
{
    orvan::emulator::EmulatorFixture emu(orvan::emulator::ScenarioKind::Finished);   // a tty
    ASSERT_TRUE(emu.ok());
    QTemporaryDir app;
    ASSERT_TRUE(link(app, {{QStringLiteral("COM150"), emu.devicePath()},
                           {QStringLiteral("COM151"), QStringLiteral("/dev/null")},
                           {QStringLiteral("COM152"), QStringLiteral("/dev/klv-missing")}}));
    QHash<int, DetectedPort> byCom;
    for (const DetectedPort& p : detectPorts(app.path()))
        byCom.insert(p.com, p);
    EXPECT_TRUE(byCom.value(150).usable);
    EXPECT_FALSE(byCom.value(151).usable);   // not a tty
    EXPECT_FALSE(byCom.value(151).reason.isEmpty());
    EXPECT_FALSE(byCom.value(152).usable);   // dangling link
    EXPECT_EQ(devicePathFor(app.path(), 150), emu.devicePath());
    EXPECT_EQ(devicePathFor(app.path(), 152), QStringLiteral("/dev/klv-missing"));
    EXPECT_EQ(devicePathFor(app.path(), 4999), QString());

    QList<DetectedPort> ports = byCom.values();
    EXPECT_TRUE(permissionAdvice(ports).isEmpty());
    ports.append({33, QStringLiteral("/dev/ttyUSB0"), false, QStringLiteral("no permission"), true});
    EXPECT_TRUE(permissionAdvice(ports).contains(QStringLiteral("/dev/ttyUSB0")));
    EXPECT_TRUE(permissionAdvice(ports).contains(QStringLiteral("sudo usermod -aG dialout $USER")));
}

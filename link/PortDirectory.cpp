#include "link/PortDirectory.h"

#include "base/AtomicWrite.h"
#include "base/RegularFile.h"

#include <QDir>
#include <QMap>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSerialPort>
#include <QSerialPortInfo>
#include <QSet>
#include <algorithm>

namespace orvan::link {

namespace {

constexpr int kFamilySize = 32;
constexpr int kFirstOther = 97;

// Links "COM<n>" of the alias folder. A dangling link is kept: opening it reports the missing
// device, which is what the user needs to see.
QList<DetectedPort> aliases(const QString& appFolder)
{
    static const QRegularExpression name(QStringLiteral("^COM([1-9][0-9]{0,4})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    QList<DetectedPort> found;
    QSet<int> seen;
    const QDir dir(aliasFolder(appFolder));
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QRegularExpressionMatch m = name.match(entry.fileName());
        if (!m.hasMatch() || (entry.isDir() && !entry.isSymLink()))
            continue;
        const int com = m.captured(1).toInt();
        if (seen.contains(com))
            continue;
        seen.insert(com);
        const QString device = entry.isSymLink() ? entry.symLinkTarget() : entry.absoluteFilePath();
        found.append(DetectedPort{com, device, true, QString(), false});
    }
    return found;
}

QString canonical(const QString& path)
{
    const QString c = QFileInfo(path).canonicalFilePath();
    return c.isEmpty() ? path : c;
}

// The by-id names of the devices they point to (canonical paths).
QMap<QString, QString> byIdNames(const QString& devRoot)
{
    QMap<QString, QString> names;
    const QDir dir(QDir(devRoot).filePath(QStringLiteral("serial/by-id")));
    const QFileInfoList entries = dir.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& entry : entries) {
        const QString target = entry.canonicalFilePath();
        if (entry.isSymLink() && !target.isEmpty() && !names.contains(target))
            names.insert(target, entry.fileName());
    }
    return names;
}

// The remembered numbers by by-id name. The file is ours but read as any file: lines that are
// not "COM<n> <name>", and a name or number given twice after its first line, are passed over.
QMap<QString, int> rememberedAdapters(const QString& path)
{
    constexpr qint64 kMaxBytes = 256 * 1024;
    static const QRegularExpression line(QStringLiteral("^COM([1-9][0-9]{0,4}) (\\S+)$"));
    QMap<QString, int> numbers;
    QSet<int> used;
    const BoundedRead read = readRegularFile(path, kMaxBytes);
    for (const QByteArray& raw : read.bytes.split('\n')) {
        const QRegularExpressionMatch m = line.match(QString::fromUtf8(raw).trimmed());
        const int com = m.hasMatch() ? m.captured(1).toInt() : 0;
        if (com == 0 || numbers.contains(m.captured(2)) || used.contains(com))
            continue;
        numbers.insert(m.captured(2), com);
        used.insert(com);
    }
    return numbers;
}

void rememberAdapters(const QString& path, const QMap<QString, int>& numbers)
{
    QByteArray text;
    for (auto it = numbers.cbegin(); it != numbers.cend(); ++it)
        text += QStringLiteral("COM%1 %2\n").arg(it.value()).arg(it.key()).toUtf8();
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeAtomically(path, text);
}

// The range of numbers of a device's family by the table, or none.
std::pair<int, int> familyRange(int stable)
{
    if (stable <= 0 || stable > 3 * kFamilySize)
        return {0, -1};
    const int first = 1 + (stable - 1) / kFamilySize * kFamilySize;
    return {first, first + kFamilySize - 1};
}

QString usabilityProblem(const QString& device, bool* permissionDenied)
{
    *permissionDenied = false;
    const QFileInfo info(device);
    if (!info.exists())
        return QStringLiteral("%1 does not exist").arg(device);
    if (!info.isReadable() || !info.isWritable()) {
        *permissionDenied = true;
        return QStringLiteral("no permission to open %1").arg(device);
    }
    QSerialPort port;
    port.setPortName(device);
    if (port.open(QIODevice::ReadWrite)) {
        port.close();
        return QString();
    }
    if (port.error() == QSerialPort::PermissionError)
        return QStringLiteral("%1 is in use by another program").arg(device);
    return QStringLiteral("%1 cannot be opened: %2").arg(device, port.errorString());
}

} // namespace

QString aliasFolder(const QString& appFolder)
{
    return QDir(appFolder).filePath(QStringLiteral("Puertos"));
}

int stableComNumber(const QString& deviceName)
{
    static const QRegularExpression family(QStringLiteral("^(ttyS|ttyUSB|ttyACM|COM)([0-9]{1,5})$"));
    const QRegularExpressionMatch m = family.match(QFileInfo(deviceName).fileName());
    if (!m.hasMatch())
        return 0;
    const QString kind = m.captured(1);
    const int n = m.captured(2).toInt();
    if (kind == QLatin1String("COM"))
        return n;
    if (n >= kFamilySize)
        return 0;
    if (kind == QLatin1String("ttyS"))
        return 1 + n;
    if (kind == QLatin1String("ttyUSB"))
        return 1 + kFamilySize + n;
    return 1 + 2 * kFamilySize + n;
}

QStringList systemSerialDevices()
{
    QStringList devices;
    const QList<QSerialPortInfo> infos = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo& info : infos)
        devices.append(info.systemLocation());
    return devices;
}

QString adapterFile(const QString& appFolder)
{
    return QDir(aliasFolder(appFolder)).filePath(QStringLiteral("adapters.txt"));
}

QList<DetectedPort> numberPorts(const QString& appFolder, const QStringList& systemDevices, const QString& devRoot)
{
    QList<DetectedPort> ports = aliases(appFolder);
    QSet<int> taken;
    QSet<QString> linked;
    for (const DetectedPort& p : ports) {
        taken.insert(p.com);
        linked.insert(canonical(p.device));
    }

    const QString memoryPath = adapterFile(appFolder);
    QMap<QString, int> remembered = rememberedAdapters(memoryPath);
    QSet<int> reserved;
    for (int com : std::as_const(remembered))
        reserved.insert(com);
    const QMap<QString, QString> byId = byIdNames(devRoot);

    QStringList sorted = systemDevices;
    sorted.sort();
    sorted.removeDuplicates();
    QStringList named;
    QStringList unnamed;
    for (const QString& device : std::as_const(sorted)) {
        if (!linked.contains(canonical(device)))
            (byId.contains(canonical(device)) ? named : unnamed).append(device);
    }

    QStringList others;
    bool learned = false;
    // Adapters first: the numbers they hold are theirs before any name-derived number.
    for (const QString& device : std::as_const(named)) {
        const QString id = byId.value(canonical(device));
        int com = remembered.value(id, 0);
        if (com == 0) {
            const int stable = stableComNumber(device);
            const auto [first, last] = familyRange(stable);
            const auto free = [&](int n) { return !taken.contains(n) && !reserved.contains(n); };
            if (stable > 0 && free(stable))
                com = stable;
            for (int n = first; com == 0 && n <= last; ++n)
                com = free(n) ? n : 0;
            if (com != 0) {
                remembered.insert(id, com);
                reserved.insert(com);
                learned = true;
            }
        }
        if (com == 0 || taken.contains(com)) {
            others.append(device);
            continue;
        }
        taken.insert(com);
        ports.append(DetectedPort{com, device, true, QString(), false});
    }
    if (learned)
        rememberAdapters(memoryPath, remembered);

    for (const QString& device : std::as_const(unnamed)) {
        const int com = stableComNumber(device);
        if (com == 0 || reserved.contains(com)) {
            others.append(device);
            continue;
        }
        if (taken.contains(com))
            continue;
        taken.insert(com);
        ports.append(DetectedPort{com, device, true, QString(), false});
    }
    others.sort();
    int next = kFirstOther;
    for (const QString& device : std::as_const(others)) {
        while (taken.contains(next))
            ++next;
        taken.insert(next);
        ports.append(DetectedPort{next, device, true, QString(), false});
    }

    std::sort(ports.begin(), ports.end(), [](const DetectedPort& a, const DetectedPort& b) { return a.com < b.com; });
    return ports;
}

QList<DetectedPort> detectPorts(const QString& appFolder)
{
    QList<DetectedPort> ports = numberPorts(appFolder, systemSerialDevices());
    for (DetectedPort& port : ports) {
        port.reason = usabilityProblem(port.device, &port.permissionDenied);
        port.usable = port.reason.isEmpty();
    }
    return ports;
}

QString devicePathFor(const QString& appFolder, int com)
{
    const QList<DetectedPort> ports = numberPorts(appFolder, systemSerialDevices());
    for (const DetectedPort& port : ports) {
        if (port.com == com)
            return port.device;
    }
    return QString();
}

QString permissionAdvice(const QList<DetectedPort>& ports)
{
    QStringList denied;
    for (const DetectedPort& port : ports) {
        if (port.permissionDenied)
            denied.append(port.device);
    }
    if (denied.isEmpty())
        return QString();
    return QStringLiteral("This user may not open %1: add yourself to the dialout group with "
                          "\"sudo usermod -aG dialout $USER\", then log out and in again.")
        .arg(denied.join(QStringLiteral(", ")));
}

} // namespace orvan::link

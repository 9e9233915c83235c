#include "tools/cli/Commands.h"

#include "link/PortDirectory.h"

#include <QCoreApplication>
#include <QTextStream>

namespace orvan::cli {

int runPorts(const QStringList& args)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    if (!args.isEmpty()) {
        err << "orvanlog-cli: ports takes no arguments\n";
        return 2;
    }
    // Aliases live beside the executable, as for the application.
    const QList<link::DetectedPort> ports = link::detectPorts(QCoreApplication::applicationDirPath());
    for (const link::DetectedPort& port : ports)
        out << "COM" << port.com << ' ' << port.device << '\n';
    out.flush();
    const QString advice = link::permissionAdvice(ports);
    if (!advice.isEmpty())
        err << advice << '\n';
    return 0;
}

} // namespace orvan::cli

#include "tools/cli/Commands.h"

#include "link/PortDirectory.h"

#include <QTextStream>

namespace orvan::cli {

int runPorts(const Invocation& inv)
{
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QList<link::DetectedPort> ports = link::detectPorts(inv.appFolder);
    for (const link::DetectedPort& port : ports)
        out << "COM" << port.com << ' ' << port.device << '\n';
    out.flush();
    const QString advice = link::permissionAdvice(ports);
    if (!advice.isEmpty())
        err << advice << '\n';
    return 0;
}

} // namespace orvan::cli

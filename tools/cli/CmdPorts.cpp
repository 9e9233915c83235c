#include "tools/cli/Commands.h"
#include "tools/cli/Output.h"

#include "link/PortDirectory.h"

#include <QTextStream>

namespace orvan::cli {

int runPorts(const Invocation& inv)
{
    QTextStream err(stderr);
    const QList<link::DetectedPort> ports = link::detectPorts(inv.appFolder);
    QString lines;
    const Labels l(inv.idioma);
    TextGrid table;
    table.row({l(AddedText::ComPort), l(AddedText::Device)});
    for (const link::DetectedPort& port : ports) {
        lines += QStringLiteral("COM%1 %2\n").arg(port.com).arg(port.device);
        table.row({QStringLiteral("COM%1").arg(port.com), port.device});
    }
    printResult(inv, lines, table.text());
    const QString advice = link::permissionAdvice(ports);
    if (!advice.isEmpty())
        err << advice << '\n';
    return 0;
}

} // namespace orvan::cli

#include "tools/cli/Commands.h"

#include <QTextStream>

namespace orvan::cli {

int runPorts(const QStringList&)
{
    QTextStream(stderr) << "orvanlog-cli: ports is not available yet\n";
    return 1;
}

} // namespace orvan::cli

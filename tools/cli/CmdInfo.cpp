#include "tools/cli/Commands.h"

#include <QTextStream>

namespace orvan::cli {

int runInfo(const QStringList&)
{
    QTextStream(stderr) << "orvanlog-cli: info is not available yet\n";
    return 1;
}

} // namespace orvan::cli

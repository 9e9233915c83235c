#include "tools/cli/Commands.h"

#include <QTextStream>

namespace orvan::cli {

int runStatus(const QStringList&)
{
    QTextStream(stderr) << "orvanlog-cli: status is not available yet\n";
    return 1;
}

} // namespace orvan::cli

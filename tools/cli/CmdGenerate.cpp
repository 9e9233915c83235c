#include "tools/cli/Commands.h"

#include <QTextStream>

namespace orvan::cli {

int runGenerate(const QStringList&)
{
    QTextStream(stderr) << "orvanlog-cli: generate is not available yet\n";
    return 1;
}

} // namespace orvan::cli

// orvanlog-cli: the OrvanLog core from a terminal, for scripts, demos and bug reports.

#include "tools/cli/CommandLine.h"

#include <QCoreApplication>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvanlog-cli"));
    // The settings record and the port aliases live beside the executable, as for the application.
    return orvan::cli::runCommandLine(QCoreApplication::arguments().mid(1), orvan::cli::commandTable(),
                                      QCoreApplication::applicationDirPath());
}

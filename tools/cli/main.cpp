// orvanlog-cli: the OrvanLog core from a terminal, for scripts, demos and bug reports.

#include "tools/cli/CommandLine.h"
#include "tools/cli/Trace.h"

#include <QCoreApplication>
#include <memory>

#ifdef ORVAN_CLI_REPORT
#include <QApplication>
#include <cstring>
#endif

int main(int argc, char** argv)
{
    orvan::cli::installMessageHandler();
    std::unique_ptr<QCoreApplication> application;
#ifdef ORVAN_CLI_REPORT
    // The reports draw with widgets (the graph report, and the shipment report of summary --pdf);
    // they never need a display.
    bool report = false;
    bool summary = false;
    for (int i = 1; i < argc && !report; ++i) {
        summary = summary || std::strcmp(argv[i], "summary") == 0;
        report = std::strcmp(argv[i], "report") == 0
                 || (summary && (std::strcmp(argv[i], "--pdf") == 0 || std::strncmp(argv[i], "--pdf=", 6) == 0));
    }
    if (report) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
#endif
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvanlog-cli"));
    // The settings record, the port aliases and the record folder are the application's: beside
    // the executable when portable, in the user's folders when installed.
    return orvan::cli::runCommandLine(QCoreApplication::arguments().mid(1), orvan::cli::commandTable(),
                                      orvan::appFoldersOfThisProgram());
}

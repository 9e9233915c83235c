// orvanlog-cli: the OrvanLog core from a terminal, for scripts, demos and bug reports.

#include "tools/cli/CommandLine.h"

#include <QCoreApplication>
#include <cstdio>
#include <memory>

#ifdef ORVAN_CLI_REPORT
#include <QApplication>
#include <cstring>
#endif

namespace {

// A failure is one line of ours on stderr; Qt's own warnings (a missing runtime folder, font
// look-ups of the offscreen platform) would add more. ORVAN_CLI_DEBUG=1 lets them through.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    static const bool verbose = qEnvironmentVariableIntValue("ORVAN_CLI_DEBUG") != 0;
    if (verbose || type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

} // namespace

int main(int argc, char** argv)
{
    qInstallMessageHandler(quietMessages);
    std::unique_ptr<QCoreApplication> application;
#ifdef ORVAN_CLI_REPORT
    // The report draws widgets; it never needs a display.
    bool report = false;
    for (int i = 1; i < argc && !report; ++i)
        report = std::strcmp(argv[i], "report") == 0;
    if (report) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QApplication>(argc, argv);
    }
#endif
    if (!application)
        application = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvanlog-cli"));
    // The settings record and the port aliases live beside the executable, as for the application.
    return orvan::cli::runCommandLine(QCoreApplication::arguments().mid(1), orvan::cli::commandTable(),
                                      QCoreApplication::applicationDirPath());
}

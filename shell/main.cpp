// orvanlog: the desktop application of the KLV-100 temperature logger.

#include "records/MissionRecord.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/MessageBoxSink.h"
#include "base/ui/Pictures.h"
#include "shell/ui/WindowRegistry.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

namespace {

// Every message the user acknowledges also goes to stderr, where the desktop session's log
// keeps it after the box is gone.
class LoggedMessageBoxSink : public orvan::ui::MessageBoxSink {
public:
    void show(const QString& text) override
    {
        std::fprintf(stderr, "orvanlog: %s\n", qPrintable(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' '))));
        std::fflush(stderr);
        orvan::ui::MessageBoxSink::show(text);
    }
};

} // namespace

int main(int argc, char** argv)
{
    // A terminal user asking what the program takes gets an answer, not a record named "--help".
    if (argc > 1 && argv[1][0] == '-' && argv[1][1] != '\0') {
        const bool help = std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0;
        const bool version = std::strcmp(argv[1], "--version") == 0;
        if (help || version) {
            std::printf(help ? "Usage: orvanlog [FILE.klv]\nStarts OrvanLog; with a record file, opens it for study.\n"
                             : "orvanlog " ORVAN_VERSION_TEXT "\n");
            return 0;
        }
    }
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    // Qt has taken its own options (-platform, -style ...) out by now; any other option is a
    // mistake to say so, not a record name to fail on.
    if (arguments.size() > 1 && arguments.at(1).startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr, "orvanlog: unknown option %s\nUsage: orvanlog [FILE.klv]\n", qPrintable(arguments.at(1)));
        return 2;
    }
    QApplication::setApplicationName(QStringLiteral("orvanlog"));
    QApplication::setWindowIcon(orvan::ui::Pictures::appIcon());

    // The settings, the port aliases, the pictures and the records folder: beside the executable
    // when portable, in the user's folders when installed.
    orvan::AppContext context(orvan::appFoldersOfThisProgram());
    orvan::records::MissionRecord record;
    LoggedMessageBoxSink messages;

    orvan::shell::MainWindow window(context, record, messages);
    messages.setWindow(&window);
    orvan::shell::registerWindows(window);
    window.show();
    window.startUp();
    // "orvanlog FILE.klv", as the desktop opens a record: studied as if chosen in the open
    // dialog, once the window is up.
    if (arguments.size() > 1) {
        const QString file = arguments.at(1);
        QTimer::singleShot(0, &window, [&window, file] { window.openRecordFile(file); });
    }
    return app.exec();
}

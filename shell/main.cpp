// orvanlog: the desktop application of the KLV-100 temperature logger.

#include "records/MissionRecord.h"
#include "shell/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/MessageBoxSink.h"
#include "shell/ui/Pictures.h"
#include "shell/ui/WindowRegistry.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanlog"));
    QApplication::setWindowIcon(orvan::shell::Pictures::appIcon());

    // The application folder holds the settings, the pictures and the records folder.
    orvan::shell::AppContext context(QCoreApplication::applicationDirPath());
    orvan::records::MissionRecord record;
    orvan::shell::MessageBoxSink messages;

    orvan::shell::MainWindow window(context, record, messages);
    messages.setWindow(&window);
    orvan::shell::registerWindows(window);
    window.show();
    window.startUp();
    return app.exec();
}

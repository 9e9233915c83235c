// orvanlog: the desktop application of the KLV-100 temperature logger.

#include "records/MissionRecord.h"
#include "base/AppContext.h"
#include "shell/ui/MainWindow.h"
#include "base/ui/MessageBoxSink.h"
#include "base/ui/Pictures.h"
#include "shell/ui/WindowRegistry.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvanlog"));
    QApplication::setWindowIcon(orvan::ui::Pictures::appIcon());

    // The application folder holds the settings, the pictures and the records folder.
    orvan::AppContext context(QCoreApplication::applicationDirPath());
    orvan::records::MissionRecord record;
    orvan::ui::MessageBoxSink messages;

    orvan::shell::MainWindow window(context, record, messages);
    messages.setWindow(&window);
    orvan::shell::registerWindows(window);
    window.show();
    window.startUp();
    return app.exec();
}

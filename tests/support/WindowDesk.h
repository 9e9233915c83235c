#pragma once
// The main window as the user has it, offscreen, on an application folder with the default
// settings, in Spanish; `messages` keeps what it would show in boxes. `before` adjusts the settings.

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "records/MissionRecord.h"
#include "shell/ui/MainWindow.h"

#include <functional>
#include <memory>

namespace orvan::test {

template <class Sink = RecordingSink>
struct WindowDesk {
    explicit WindowDesk(const QString& appFolder, QSize size = {1100, 800},
                        const std::function<void(AppContext&)>& before = {})
        : app(appFolder)
    {
        app.config.applyDefaults(appFolder);
        app.textos.CargaTextos(0);
        if (before)
            before(app);
        window = std::make_unique<shell::MainWindow>(app, record, messages);
        window->resize(size);
        window->show();
    }

    AppContext app;
    records::MissionRecord record;
    Sink messages;
    std::unique_ptr<shell::MainWindow> window;
};

} // namespace orvan::test

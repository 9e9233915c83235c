#pragma once
// A main window on a temporary application folder, with stand-in child windows that record
// what they saw when they opened and the order in which they were closed.

#include "records/MissionRecord.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PrintCommand.h"
#include "shell/ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace shelltest {

using Child = orvan::shell::MainWindow::Child;

// What a child saw of the shared state when it was built.
struct Seen {
    bool CerrarPrep = false, CerrarSave = false, GraficoActivo = true;
};

struct StandIn : QWidget {
    StandIn(Child which, std::vector<Child>& closed) : which(which), closed(closed) {}
    void closeEvent(QCloseEvent* event) override
    {
        closed.push_back(which);
        QWidget::closeEvent(event);
    }
    Child which;
    std::vector<Child>& closed;
};

class ShellUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Closing the main window in one test must not end the event loops of the next.
        QGuiApplication::setQuitOnLastWindowClosed(false);
        app = std::make_unique<orvan::AppContext>(dir.path());
    }

    void TearDown() override
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // Small stand-ins for the two pictures of the main window.
    void writePictures()
    {
        QImage img(16, 16, QImage::Format_RGB32);
        img.fill(Qt::darkBlue);
        for (const char* name : {"KLV-204.jpg", "KLV-chico.jpg"})
            ASSERT_TRUE(img.save(dir.filePath(QLatin1String(name)), "JPG"));
    }

    // The main window with the real configuration window and stand-ins for the others.
    void makeWindow()
    {
        window = std::make_unique<orvan::shell::MainWindow>(*app, record, sink);
        window->connectPauseMs = 30;
        orvan::shell::registerWindows(*window);
        // The real print command, with a preview that is never shown: a modal window would stop the test.
        orvan::shell::PrintCommand print;
        print.show = [](const orvan::shell::Report&, const QString&, QString*) { return true; };
        window->printHandler = print;
        for (Child which : {Child::frmGrafico, Child::frmTorta, Child::frmHisto, Child::AbreArch, Child::Detalle,
                            Child::frmAlar, Child::frmsave, Child::frmPrep}) {
            window->setChildFactory(which, [this, which](orvan::shell::MainWindow& main) -> QWidget* {
                if (failOpening)
                    failOpening(which);
                seen[which] = {main.app().flags.CerrarPrep.load(), main.app().flags.CerrarSave.load(), main.app().GraficoActivo};
                if (which == Child::frmGrafico)
                    main.app().GraficoActivo = true;   // the graph tells the print command it is the active view
                return new StandIn(which, closed);
            });
        }
        window->show();
    }

    // Pictures, window and start-up, expected to run without a message.
    void start()
    {
        writePictures();
        makeWindow();
        window->startUp();
        EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("Ruta.CnF")); }

    orvan::RegConfig stored() const
    {
        orvan::RegConfig saved;
        EXPECT_TRUE(app->settingsFile.read(saved).ok);
        return saved;
    }

    QTemporaryDir dir;
    std::unique_ptr<orvan::AppContext> app;
    orvan::records::MissionRecord record;
    orvan::RecordingSink sink;
    std::unique_ptr<orvan::shell::MainWindow> window;
    std::vector<Child> closed;
    std::map<Child, Seen> seen;
    std::function<void(Child)> failOpening;   // throws from the factory of that child when set
};

} // namespace shelltest

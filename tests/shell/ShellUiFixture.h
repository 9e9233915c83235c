#pragma once
// A main window on a temporary application folder, with stand-in child windows that record
// what they saw when they opened and the order in which they were closed.

#include "records/MissionRecord.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "shell/ui/MainWindow.h"

#include <QTemporaryDir>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace shelltest {

using Child = orvan::shell::MainWindow::Child;

QString childName(Child which);

// What a child saw of the shared state when it was built.
struct Seen {
    bool CerrarPrep = false;
    bool CerrarSave = false;
    bool GraficoActivo = true;
};

class StandIn : public QWidget {
public:
    StandIn(Child which, std::vector<QString>* closed) : m_which(which), m_closed(closed) {}

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Child m_which;
    std::vector<QString>* m_closed;
};

class ShellUiTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes small stand-ins for the two pictures of the main window.
    void writePictures(bool mdi = true, bool panel = true);
    // Builds the main window, registers the real configuration window and stand-ins for the others.
    void makeWindow();
    // Pictures, window and start-up, expected to run without a message.
    void start();
    QByteArray settingsBytes() const;
    QString settingsPath() const;
    qint16 storedInt(int offset) const;

    StandIn* standIn(Child which) const;

    QTemporaryDir dir;
    std::unique_ptr<orvan::AppContext> app;
    orvan::records::MissionRecord record;
    orvan::RecordingSink sink;
    std::unique_ptr<orvan::shell::MainWindow> window;
    std::vector<QString> closed;
    std::map<Child, Seen> seen;
    // Throws from the factory of that child when set.
    std::function<void(Child)> failOpening;
};

} // namespace shelltest

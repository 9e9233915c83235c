#include "ShellUiFixture.h"

#include "shell/ui/PrintCommand.h"

#include "shell/ui/WindowRegistry.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QtEndian>

namespace shelltest {

QString childName(Child which)
{
    static const char* const names[] = {"frmGrafico", "frmTorta", "frmHisto", "AbreArch", "Detalle",
                                        "frmAlar",    "Config",   "frmsave",  "frmPrep"};
    return QString::fromLatin1(names[int(which)]);
}

void StandIn::closeEvent(QCloseEvent* event)
{
    if (m_closed)
        m_closed->push_back(childName(m_which));
    QWidget::closeEvent(event);
}

void ShellUiTest::SetUp()
{
    ASSERT_TRUE(dir.isValid());
    // Closing the main window in one test must not end the event loops of the next.
    QGuiApplication::setQuitOnLastWindowClosed(false);
    app = std::make_unique<orvan::AppContext>(dir.path());
}

void ShellUiTest::TearDown()
{
    window.reset();
    // Let deferred deletions of closed children run before the next test.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void ShellUiTest::writePictures(bool mdi, bool panel)
{
    QImage img(16, 16, QImage::Format_RGB32);
    img.fill(Qt::darkBlue);
    if (mdi) {
        ASSERT_TRUE(img.save(dir.filePath(QStringLiteral("KLV-204.jpg")), "JPG"));
    }
    if (panel) {
        ASSERT_TRUE(img.save(dir.filePath(QStringLiteral("KLV-chico.jpg")), "JPG"));
    }
}

void ShellUiTest::makeWindow()
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
            auto* w = new StandIn(which, &closed);
            w->setObjectName(childName(which));
            seen[which] = {main.app().flags.CerrarPrep.load(), main.app().flags.CerrarSave.load(), main.app().GraficoActivo};
            // The graph tells the print command that it is the active view.
            if (which == Child::frmGrafico)
                main.app().GraficoActivo = true;
            return w;
        });
    }
    window->show();
}

void ShellUiTest::start()
{
    writePictures();
    makeWindow();
    window->startUp();
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QStringLiteral("\n")).toStdString();
}

QString ShellUiTest::settingsPath() const
{
    return dir.filePath(QStringLiteral("Ruta.CnF"));
}

QByteArray ShellUiTest::settingsBytes() const
{
    QFile f(settingsPath());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint16 ShellUiTest::storedInt(int offset) const
{
    const QByteArray b = settingsBytes();
    if (b.size() < offset + 2)
        return qint16(0x7777);
    return qFromLittleEndian<qint16>(b.constData() + offset);
}

StandIn* ShellUiTest::standIn(Child which) const
{
    return dynamic_cast<StandIn*>(window->child(which));
}

} // namespace shelltest

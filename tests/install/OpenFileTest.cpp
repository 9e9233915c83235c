// A record given on the command line ("orvanlog FILE.klv") or dropped on the main window opens
// as the open dialog's OK opens it; anything else dropped is ignored; an unreadable record gives
// the dialog's message and leaves the window at rest.

#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/StatusPanel.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "tools/generator/RecordGenerator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLocale>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace orvan;
using Child = shell::MainWindow::Child;
using Face = ui::StatusPanel::Face;

namespace {

class OpenFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        app = std::make_unique<AppContext>(dir.path());
        app->config.applyDefaults(dir.path());
        app->textos.CargaTextos(0);
        window = std::make_unique<shell::MainWindow>(*app, record, sink);
        shell::registerWindows(*window);
        window->show();

        records::MissionRecord r;
        r.setBytes(0, generator::generateImage({}));
        ASSERT_TRUE(records::GuardaArchivo(r, path("FRUTAS SUR_1.klv")).ok);
        ASSERT_TRUE(records::GuardaArchivo(r, path("otro.KLV")).ok);
        // Longer than any record: refused on reading.
        QFile bad(path("roto.klv"));
        ASSERT_TRUE(bad.open(QIODevice::WriteOnly) && bad.write(QByteArray(70000, 'x')) == 70000);
        bad.close();
        QFile notes(path("notas.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    }

    void TearDown() override
    {
        window.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Sends a drag entering and then the drop to the window itself; true when it took the drop.
    bool drop(QMimeData& data)
    {
        const QPoint at = window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &dropped);
        QCoreApplication::processEvents();
        EXPECT_EQ(enter.isAccepted(), dropped.isAccepted());
        return dropped.isAccepted();
    }

    // "D" record face, views enabled and the graph open; "I" rest face, views disabled, no graph.
    QString state() const
    {
        bool views = true;
        for (int i = 3; i <= 7; ++i)
            views = views && window->toolbar1Button(i)->isEnabled();
        const bool graph = window->child(Child::frmGrafico) != nullptr;
        if (window->panel()->face() == Face::Record && views && graph)
            return QStringLiteral("D ") + record.NombreArchivo;
        if (window->panel()->face() == Face::Rest && !views && !graph)
            return QStringLiteral("I");
        return QStringLiteral("mixed");
    }

    QTemporaryDir dir;
    std::unique_ptr<AppContext> app;
    records::MissionRecord record;
    RecordingSink sink;
    std::unique_ptr<shell::MainWindow> window;
};

} // namespace

TEST_F(OpenFileTest, ARecordOnTheCommandLineOpensAsTheDialogsOkOpensIt)
{
    window->openRecordFile(path("FRUTAS SUR_1.klv"));
    EXPECT_EQ(state(), QStringLiteral("D FRUTAS SUR_1.klv")) << qPrintable(state());
    EXPECT_EQ(record.Archivo, path("FRUTAS SUR_1.klv"));
    EXPECT_EQ(record.campos.NumMuestras, 2400);
    EXPECT_EQ(window->panel()->text(ui::StatusPanel::Item::Samples), QStringLiteral("2400"));
    EXPECT_TRUE(app->GraficoActivo);
    EXPECT_TRUE(sink.messages.isEmpty()) << qPrintable(sink.messages.join(QLatin1Char('|')));

    // A file that cannot be a record: the dialog's message, and the window at rest.
    window->openRecordFile(path("roto.klv"));
    EXPECT_EQ(state(), QStringLiteral("I")) << qPrintable(state());
    ASSERT_FALSE(sink.messages.isEmpty());
    EXPECT_EQ(sink.messages.first().section(QLatin1Char('\n'), 0, 0),
              QStringLiteral("Error al abrir el archivo: ") + path("roto.klv"));
}

TEST_F(OpenFileTest, ADroppedRecordOpensAndAnythingElseDroppedIsIgnored)
{
    struct Case {
        const char* what;
        QList<QUrl> urls;
        QString text;
        bool taken;
        QString after;   // the state after the drop, from a window showing "otro.KLV"
        int messages;
    };
    const Case cases[] = {
        {"a record", {QUrl::fromLocalFile(path("FRUTAS SUR_1.klv"))}, {}, true, QStringLiteral("D FRUTAS SUR_1.klv"), 0},
        {"a text file", {QUrl::fromLocalFile(path("notas.txt"))}, {}, false, QStringLiteral("D otro.KLV"), 0},
        {"two records", {QUrl::fromLocalFile(path("FRUTAS SUR_1.klv")), QUrl::fromLocalFile(path("otro.KLV"))}, {}, false,
         QStringLiteral("D otro.KLV"), 0},
        {"a record on the web", {QUrl(QStringLiteral("https://example.org/a.klv"))}, {}, false, QStringLiteral("D otro.KLV"), 0},
        {"a text naming a record", {}, path("FRUTAS SUR_1.klv"), false, QStringLiteral("D otro.KLV"), 0},
        {"an unreadable record", {QUrl::fromLocalFile(path("roto.klv"))}, {}, true, QStringLiteral("I"), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        window->openRecordFile(path("otro.KLV"));
        ASSERT_EQ(state(), QStringLiteral("D otro.KLV"));
        sink.messages.clear();

        QMimeData data;
        if (!c.urls.isEmpty())
            data.setUrls(c.urls);
        if (!c.text.isEmpty())
            data.setText(c.text);
        EXPECT_EQ(drop(data), c.taken);
        EXPECT_EQ(state(), c.after) << qPrintable(state());
        EXPECT_EQ(sink.messages.size(), c.messages) << qPrintable(sink.messages.join(QLatin1Char('|')));
    }
}

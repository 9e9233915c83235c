// A record given on the command line ("orvanlog FILE.klv") or dropped on the main window opens
// as the open dialog's OK opens it; anything else dropped is ignored; an unreadable record gives
// the dialog's message and leaves the window at rest.

#include "base/ui/StatusPanel.h"
#include "records/RecordFile.h"
#include "shell/ui/WindowRegistry.h"
#include "support/Files.h"
#include "support/WindowDesk.h"
#include "tools/generator/RecordGenerator.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <gtest/gtest.h>

using namespace orvan;
using Face = ui::StatusPanel::Face;

TEST(OpenFile, ARecordOnTheCommandLineOrDroppedOpensAndAnythingElseDroppedIsIgnored)
{
    QTemporaryDir dir;
    test::WindowDesk<> desk{dir.path()};
    shell::registerWindows(*desk.window);
    const auto path = [&](const char* name) { return dir.filePath(QString::fromUtf8(name)); };
    records::MissionRecord r;
    r.setBytes(0, generator::generateImage({}));
    ASSERT_TRUE(records::GuardaArchivo(r, path("FRUTAS SUR_1.klv")).ok && records::GuardaArchivo(r, path("otro.KLV")).ok);
    ASSERT_TRUE(test::writeFile(path("roto.klv"), QByteArray(70000, 'x')));   // longer than any record
    ASSERT_TRUE(test::writeFile(path("notas.txt"), {}));

    // "D" record face, views enabled and the graph open; "I" rest face, views disabled, no graph.
    const auto state = [&] {
        bool views = true;
        for (int i = 3; i <= 7; ++i)
            views = views && desk.window->toolbar1Button(i)->isEnabled();
        const bool graph = desk.window->child(shell::MainWindow::Child::frmGrafico) != nullptr;
        const Face face = desk.window->panel()->face();
        if (face == Face::Record && views && graph && desk.app.GraficoActivo)
            return QStringLiteral("D ") + desk.record.NombreArchivo;
        return face == Face::Rest && !views && !graph ? QStringLiteral("I") : QStringLiteral("mixed");
    };
    struct Case {
        const char* what;
        QList<QUrl> urls;   // dropped, or the first given on the command line
        bool commandLine;
        QString text;
        bool taken;
        QString after;      // from a window showing "otro.KLV"
    };
    const QUrl frutas = QUrl::fromLocalFile(path("FRUTAS SUR_1.klv"));
    const QUrl roto = QUrl::fromLocalFile(path("roto.klv"));
    const Case cases[] = {
        {"a record on the command line", {frutas}, true, {}, true, QStringLiteral("D FRUTAS SUR_1.klv")},
        {"an unreadable record on the command line", {roto}, true, {}, true, QStringLiteral("I")},
        {"a record", {frutas}, false, {}, true, QStringLiteral("D FRUTAS SUR_1.klv")},
        {"a text file", {QUrl::fromLocalFile(path("notas.txt"))}, false, {}, false, QStringLiteral("D otro.KLV")},
        {"two records", {frutas, QUrl::fromLocalFile(path("otro.KLV"))}, false, {}, false, QStringLiteral("D otro.KLV")},
        {"a record on the web", {QUrl(QStringLiteral("https://example.org/a.klv"))}, false, {}, false, QStringLiteral("D otro.KLV")},
        {"a text naming a record", {}, false, path("FRUTAS SUR_1.klv"), false, QStringLiteral("D otro.KLV")},
        {"an unreadable record", {roto}, false, {}, true, QStringLiteral("I")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        desk.window->openRecordFile(path("otro.KLV"));
        ASSERT_EQ(state(), QStringLiteral("D otro.KLV"));
        desk.messages.messages.clear();
        if (c.commandLine) {
            desk.window->openRecordFile(c.urls.first().toLocalFile());
        } else {
            // A drag entering, then the drop, sent to the window itself.
            QMimeData data;
            if (!c.urls.isEmpty())
                data.setUrls(c.urls);
            if (!c.text.isEmpty())
                data.setText(c.text);
            const QPoint at = desk.window->rect().center();
            QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(desk.window.get(), &enter);
            QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(desk.window.get(), &dropped);
            QCoreApplication::processEvents();
            EXPECT_EQ(std::make_pair(enter.isAccepted(), dropped.isAccepted()), std::make_pair(c.taken, c.taken));
        }
        EXPECT_EQ(state(), c.after);
        const QStringList& m = desk.messages.messages;
        if (c.after == QLatin1String("I")) {
            ASSERT_EQ(m.size(), 1);
            EXPECT_EQ(m.first().section(QLatin1Char('\n'), 0, 0), QStringLiteral("Error al abrir el archivo: ") + path("roto.klv"));
        } else {
            EXPECT_TRUE(m.isEmpty()) << qPrintable(m.join(QLatin1Char('|')));
        }
    }
}

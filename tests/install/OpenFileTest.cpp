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
using Child = shell::MainWindow::Child;
using Face = ui::StatusPanel::Face;

namespace {

class OpenFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        shell::registerWindows(*desk.window);
        records::MissionRecord r;
        r.setBytes(0, generator::generateImage({}));
        ASSERT_TRUE(records::GuardaArchivo(r, path("FRUTAS SUR_1.klv")).ok);
        ASSERT_TRUE(records::GuardaArchivo(r, path("otro.KLV")).ok);
        ASSERT_TRUE(test::writeFile(path("roto.klv"), QByteArray(70000, 'x')));   // longer than any record
        ASSERT_TRUE(test::writeFile(path("notas.txt"), {}));
    }

    QString path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }

    // Sends a drag entering and then the drop to the window itself; true when it took the drop.
    bool drop(QMimeData& data)
    {
        const QPoint at = desk.window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(desk.window.get(), &enter);
        QDropEvent dropped(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(desk.window.get(), &dropped);
        QCoreApplication::processEvents();
        EXPECT_EQ(enter.isAccepted(), dropped.isAccepted());
        return dropped.isAccepted();
    }

    // "D" record face, views enabled and the graph open; "I" rest face, views disabled, no graph.
    QString state() const
    {
        bool views = true;
        for (int i = 3; i <= 7; ++i)
            views = views && desk.window->toolbar1Button(i)->isEnabled();
        const bool graph = desk.window->child(Child::frmGrafico) != nullptr;
        const Face face = desk.window->panel()->face();
        if (face == Face::Record && views && graph)
            return QStringLiteral("D ") + desk.record.NombreArchivo;
        return face == Face::Rest && !views && !graph ? QStringLiteral("I") : QStringLiteral("mixed");
    }

    QTemporaryDir dir;
    test::WindowDesk<> desk{dir.path()};
};

} // namespace

TEST_F(OpenFileTest, ARecordOnTheCommandLineOpensAsTheDialogsOkOpensIt)
{
    desk.window->openRecordFile(path("FRUTAS SUR_1.klv"));
    EXPECT_EQ(state(), QStringLiteral("D FRUTAS SUR_1.klv"));
    EXPECT_EQ(desk.record.Archivo, path("FRUTAS SUR_1.klv"));
    EXPECT_EQ(desk.window->panel()->text(ui::StatusPanel::Item::Samples), QStringLiteral("2400"));
    EXPECT_TRUE(desk.app.GraficoActivo);
    EXPECT_TRUE(desk.messages.messages.isEmpty()) << qPrintable(desk.messages.messages.join(QLatin1Char('|')));

    // A file that cannot be a record: the dialog's message, and the window at rest.
    desk.window->openRecordFile(path("roto.klv"));
    EXPECT_EQ(state(), QStringLiteral("I"));
    ASSERT_FALSE(desk.messages.messages.isEmpty());
    EXPECT_EQ(desk.messages.messages.first().section(QLatin1Char('\n'), 0, 0),
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
        desk.window->openRecordFile(path("otro.KLV"));
        ASSERT_EQ(state(), QStringLiteral("D otro.KLV"));
        desk.messages.messages.clear();

        QMimeData data;
        if (!c.urls.isEmpty())
            data.setUrls(c.urls);
        if (!c.text.isEmpty())
            data.setText(c.text);
        EXPECT_EQ(drop(data), c.taken);
        EXPECT_EQ(state(), c.after);
        EXPECT_EQ(desk.messages.messages.size(), c.messages) << qPrintable(desk.messages.messages.join(QLatin1Char('|')));
    }
}

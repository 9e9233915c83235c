// The archive window on an SQLite archive of a few generated records, inside a real main window:
// the filters narrow the table and the figures alike, a double-click opens the record as the open
// dialog does, verification flags a changed file, and a cancelled indexing leaves the window
// usable. The searches answer from their own thread, so each check waits for the answer.

#include "archive/Archive.h"
#include "archive/ui/ArchiveWindow.h"
#include "archive/ui/SavedRecordArchiver.h"
#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/StatusPanel.h"
#include "records/MissionRecord.h"
#include "records/RecordFile.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "support/WaitFor.h"
#include "tools/generator/RecordGenerator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <memory>

namespace {

using orvan::archive::PlaceState;
using orvan::archive::ui::ArchiveWindow;
using Child = orvan::ui::Child;

struct Shipment {
    quint32 serial;
    const char* exporter;
    const char* carrier;
    double low, high;   // limits wide enough for the generated trace pass, narrow ones fail
    QDate prepared;
};

// Two exporters, two carriers, two verdicts, two months.
const Shipment kShipments[] = {
    {111, "FRUTAS SUR", "NAVIERA AZUL", -40, 80, QDate(2024, 3, 1)},
    {222, "FRUTAS SUR", "MAERSK", 2, 8, QDate(2024, 3, 5)},
    {333, "VINOS NORTE", "MAERSK", -40, 80, QDate(2024, 3, 9)},
    {444, "VINOS NORTE", "NAVIERA AZUL", 2, 8, QDate(2024, 6, 1)},
};

QString writeRecord(const QString& folder, const Shipment& s)
{
    orvan::generator::GeneratorOptions o;
    o.serial = s.serial;
    o.exporter = QString::fromLatin1(s.exporter);
    o.carrier = QString::fromLatin1(s.carrier);
    o.lowCelsius = s.low;
    o.highCelsius = s.high;
    o.prepared = QDateTime(s.prepared, QTime(10, 0), Qt::UTC);
    o.samples = 400;
    o.seed = s.serial;
    orvan::records::MissionRecord record;
    record.setBytes(0, orvan::generator::generateImage(o));
    const QString path = QDir(folder).filePath(QStringLiteral("%1.klv").arg(s.serial));
    EXPECT_TRUE(orvan::records::GuardaArchivo(record, path).ok);
    return path;
}

class ArchiveWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QGuiApplication::setQuitOnLastWindowClosed(false);
        records = dir.filePath(QStringLiteral("records"));
        ASSERT_TRUE(QDir().mkpath(records));
        for (const Shipment& s : kShipments)
            paths << writeRecord(records, s);
        app = std::make_unique<orvan::AppContext>(dir.path());
        app->config.Idioma = 1;
        app->textos.CargaTextos(1);
        // Archived beforehand, as an earlier session left them.
        orvan::archive::Archive archive;
        ASSERT_TRUE(archive.open(orvan::archive::effectiveTarget(app->appFolder, app->dataFolder))) << archive.error().toStdString();
        ASSERT_EQ(archive.add({records}).added, 4);
    }

    void TearDown() override
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ArchiveWindow* openArchiveWindow()
    {
        main = std::make_unique<orvan::shell::MainWindow>(*app, record, sink);
        orvan::shell::registerWindows(*main);
        main->show();
        main->archiveButton()->trigger();
        auto* w = qobject_cast<ArchiveWindow*>(main->child(Child::Archive));
        EXPECT_NE(w, nullptr);
        if (w)
            EXPECT_TRUE(settled(w));
        return w;
    }

    // Waits for the window's newest search to answer.
    static bool settled(ArchiveWindow* w)
    {
        return orvan::test::waitFor([w] { return !w->searching(); });
    }

    // Closes the archive window at once (whatever it is doing), opens it again and counts the
    // rows its first search finds; -1 when the window did not go or come back.
    int closedAndOpenedAgain()
    {
        main->closeChildren({Child::Archive});
        if (!orvan::test::waitFor([this] { return main->child(Child::Archive) == nullptr; }))
            return -1;
        main->archiveButton()->trigger();
        auto* again = qobject_cast<ArchiveWindow*>(main->child(Child::Archive));
        if (!again || !settled(again))
            return -1;
        return int(again->rows().size());
    }

    int rowOf(ArchiveWindow* w, int serial) const
    {
        for (int i = 0; i < w->rows().size(); ++i)
            if (w->rows().at(i).serial == serial)
                return i;
        return -1;
    }

    QTemporaryDir dir;
    QString records;
    QStringList paths;
    std::unique_ptr<orvan::AppContext> app;
    orvan::records::MissionRecord record;
    orvan::RecordingSink sink;
    std::unique_ptr<orvan::shell::MainWindow> main;
};

TEST_F(ArchiveWindowTest, FiltersNarrowTheTableAndTheFleetFiguresAlike)
{
    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    ASSERT_EQ(w->rows().size(), 4) << w->lbStatus->text().toStdString();
    EXPECT_TRUE(main->archiveButton()->isEnabled());

    struct Case {
        const char* name;
        QString serial, exporter, carrier, search;
        int verdict;        // the combo's index: 0 any, 1 pass, 2 fail
        QDate from;
        QList<int> serials;
        int passed;
    };
    const Case cases[] = {
        {"everything", {}, {}, {}, {}, 0, {}, {111, 222, 333, 444}, 2},
        {"serial", QStringLiteral("333"), {}, {}, {}, 0, {}, {333}, 1},
        {"exporter, any case", {}, QStringLiteral("vinos"), {}, {}, 0, {}, {333, 444}, 1},
        {"carrier and verdict", {}, {}, QStringLiteral("maersk"), {}, 2, {}, {222}, 0},
        {"verdict pass", {}, {}, {}, {}, 1, {}, {111, 333}, 2},
        {"text over names", {}, {}, {}, QStringLiteral("azul"), 0, {}, {111, 444}, 1},
        {"from a date", {}, {}, {}, {}, 0, QDate(2024, 5, 1), {444}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        w->txtSerial->setText(c.serial);
        w->txtExporter->setText(c.exporter);
        w->txtCarrier->setText(c.carrier);
        w->txtSearch->setText(c.search);
        w->cboVerdict->setCurrentIndex(c.verdict);
        w->chkFrom->setChecked(c.from.isValid());
        if (c.from.isValid())
            w->dateFrom->setDate(c.from);
        w->refresh();
        ASSERT_TRUE(settled(w));

        QList<int> serials;
        for (const auto& row : w->rows())
            serials << row.serial;
        std::sort(serials.begin(), serials.end());
        EXPECT_EQ(serials, c.serials);
        EXPECT_EQ(w->stats().shipments, c.serials.size());
        EXPECT_EQ(w->stats().pass, c.passed);
        EXPECT_EQ(w->lbShipments->text(), QString::number(c.serials.size()));
        EXPECT_EQ(w->table->model()->rowCount(), c.serials.size());
    }
}

TEST_F(ArchiveWindowTest, DoubleClickOpensTheRecordInTheMainWindow)
{
    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    const int row = rowOf(w, 333);
    ASSERT_GE(row, 0);
    Q_EMIT w->table->doubleClicked(w->table->model()->index(row, 2));

    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(record.campos.NumSerie.trimmed().toInt(), 333);
    EXPECT_EQ(QDir::cleanPath(record.Archivo), QDir::cleanPath(paths.at(2)));
    EXPECT_EQ(main->panel()->face(), orvan::ui::StatusPanel::Face::Record);
    EXPECT_TRUE(main->toolbar1Button(3)->isEnabled());
    EXPECT_NE(main->child(Child::frmGrafico), nullptr);
    // The archive stays open behind the graph for the next search.
    EXPECT_EQ(main->child(Child::Archive), w);
}

TEST_F(ArchiveWindowTest, VerifyFlagsAChangedAndAMissingFileWhichStillOpen)
{
    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    {
        QFile f(paths.at(0));   // serial 111: one sample byte differs
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(8200));
        ASSERT_EQ(f.write("\x50", 1), 1);
    }
    ASSERT_TRUE(QFile::remove(paths.at(1)));   // serial 222

    w->cmdVerify->click();
    ASSERT_TRUE(orvan::test::waitFor([w] { return !w->jobRunning(); }));
    ASSERT_TRUE(settled(w));
    const struct {
        int serial;
        PlaceState state;
        orvan::AddedText word;
    } expected[] = {
        {111, PlaceState::Changed, orvan::AddedText::ArchivePlaceChanged},
        {222, PlaceState::Missing, orvan::AddedText::ArchivePlaceMissing},
    };
    for (const auto& e : expected) {
        const int row = rowOf(w, e.serial);
        ASSERT_GE(row, 0);
        EXPECT_EQ(w->rows().at(row).state, e.state);
        const QModelIndex cell = w->table->model()->index(row, 0);
        EXPECT_EQ(cell.data().toString(), orvan::addedText(e.word, 1));
        EXPECT_FALSE(cell.data(Qt::DecorationRole).isNull());
    }
    EXPECT_TRUE(w->rows().at(rowOf(w, 333)).state == PlaceState::Ok);

    // The changed file says so before it opens as it is now.
    w->openRow(rowOf(w, 111));
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().startsWith(QDir::toNativeSeparators(paths.at(0))));
    EXPECT_EQ(record.campos.NumSerie.trimmed().toInt(), 111);

    // The missing one opens from the archive's copy.
    sink.messages.clear();
    w->openRow(rowOf(w, 222));
    ASSERT_TRUE(orvan::test::waitFor([this] { return record.campos.NumSerie.trimmed().toInt() == 222; }));
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(record.campos.NumSerie.trimmed().toInt(), 222);
    EXPECT_NE(main->child(Child::frmGrafico), nullptr);
}

TEST_F(ArchiveWindowTest, CancelledIndexingLeavesTheWindowUsableAndClosingMidJobIsSafe)
{
    const QString more = dir.filePath(QStringLiteral("more"));
    ASSERT_TRUE(QDir().mkpath(more));
    for (quint32 i = 0; i < 60; ++i)
        writeRecord(more, {5000 + i, "CARNES ESTE", "MSC", 2, 8, QDate(2024, 4, 1)});

    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    int finished = 0;
    QObject::connect(w, &ArchiveWindow::jobFinished, [&finished] { ++finished; });
    w->askFolder = [more] { return more; };
    w->cmdIndex->click();
    EXPECT_TRUE(w->jobRunning());
    EXPECT_FALSE(w->cmdIndex->isEnabled());
    EXPECT_TRUE(w->cmdCancel->isVisible());
    w->cmdCancel->click();
    ASSERT_TRUE(orvan::test::waitFor([&finished] { return finished == 1; }));
    ASSERT_TRUE(settled(w));

    EXPECT_TRUE(w->cmdIndex->isEnabled());
    EXPECT_TRUE(w->cmdVerify->isEnabled());
    EXPECT_FALSE(w->progress->isVisible());
    const int afterCancel = w->rows().size();
    EXPECT_GE(afterCancel, 4);
    EXPECT_LE(afterCancel, 64);

    // Indexing again completes what the cancelled job left.
    w->cmdIndex->click();
    ASSERT_TRUE(orvan::test::waitFor([&finished] { return finished == 2; }));
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(w->rows().size(), 64);

    // A window closed while its job runs goes at once; the job ends on its own connection and a new
    // window finds the archive whole.
    w->indexFolder(records);
    EXPECT_EQ(closedAndOpenedAgain(), 64);
}

TEST_F(ArchiveWindowTest, TheNewestFilterWinsAndClosingMidSearchIsSafe)
{
    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    int answers = 0;
    QObject::connect(w, &ArchiveWindow::rowsChanged, [&answers] { ++answers; });
    w->txtExporter->setText(QStringLiteral("frutas"));
    w->refresh();
    w->txtExporter->setText(QStringLiteral("vinos"));
    w->refresh();
    EXPECT_TRUE(w->searching());
    // One thread answers in order: any answer of the first filter came before this one.
    ASSERT_TRUE(settled(w));
    QList<int> serials;
    for (const auto& row : w->rows())
        serials << row.serial;
    std::sort(serials.begin(), serials.end());
    EXPECT_EQ(serials, (QList<int>{333, 444}));
    EXPECT_EQ(w->stats().shipments, 2);
    EXPECT_EQ(answers, 1);

    // Closed with a search on its way: the window goes at once and the answer lands nowhere.
    w->txtExporter->clear();
    w->refresh();
    EXPECT_EQ(closedAndOpenedAgain(), 4);
}

TEST_F(ArchiveWindowTest, ASavedRecordIsArchivedAtOnceAndAnArchiveFailureIsOnlyAMessage)
{
    ArchiveWindow* w = openArchiveWindow();
    ASSERT_TRUE(w);
    const QString saved = writeRecord(records, {777, "MIEL CENTRO", "MSC", 2, 8, QDate(2024, 7, 1)});
    orvan::archive::ui::archiveSavedRecord(*main, main.get(), saved);
    ASSERT_TRUE(orvan::test::waitFor([&] { return w->rows().size() == 5; }));
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QLatin1Char('\n')).toStdString();

    EXPECT_TRUE(main->statusBar()->currentMessage().contains(QDir::toNativeSeparators(saved)));

    // An archive that cannot be opened (its folder is a file) leaves the saved file as it is and says so once.
    ASSERT_TRUE(orvan::archive::writeArchiveChoice(app->appFolder, paths.first() + QStringLiteral("/a.sqlite")));
    const QString next = writeRecord(records, {778, "MIEL CENTRO", "MSC", 2, 8, QDate(2024, 7, 2)});
    orvan::archive::ui::archiveSavedRecord(*main, main.get(), next);
    ASSERT_TRUE(orvan::test::waitFor([&] { return !sink.messages.isEmpty(); }));
    EXPECT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().contains(QDir::toNativeSeparators(next)));
    EXPECT_EQ(QFileInfo(next).size(), 32768);
}

} // namespace

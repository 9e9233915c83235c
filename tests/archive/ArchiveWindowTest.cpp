// The archive window in a real main window; its searches answer from a thread, so checks wait.

#include "archive/ui/ArchiveTable.h"
#include "archive/ui/ArchiveWindow.h"
#include "archive/ui/SavedRecordArchiver.h"
#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/StatusPanel.h"
#include "records/MissionRecord.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/WindowRegistry.h"
#include "support/Files.h"
#include "support/WaitFor.h"
#include "tools/generator/RecordGenerator.h"

#include <QtWidgets>
#include <gtest/gtest.h>
#include <optional>

namespace {

using orvan::archive::PlaceState;
using orvan::archive::ui::ArchiveWindow;
using orvan::test::waitFor;
using Child = orvan::ui::Child;

struct Shipment {
    quint32 serial;
    const char *exporter, *carrier;
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
    const QString path = QDir(folder).filePath(QStringLiteral("%1.klv").arg(s.serial));
    QDir().mkpath(folder);
    EXPECT_TRUE(orvan::test::writeFile(path, orvan::generator::generateImage(o)));
    return path;
}

// The serials of the table's rows, sorted or in the table's order.
QList<int> serialsOf(const ArchiveWindow* w, bool sorted = true)
{
    QList<int> serials;
    for (const auto& row : w->rows())
        serials << int(row.serial);
    if (sorted)
        std::sort(serials.begin(), serials.end());
    return serials;
}

// Waits for the window's newest search to answer.
bool settled(const ArchiveWindow* w)
{
    return waitFor([w] { return !w->searching(); });
}

// The records archived by an earlier session, and the archive window open.
class ArchiveWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        QGuiApplication::setQuitOnLastWindowClosed(false);
        records = dir.filePath(QStringLiteral("records"));
        for (const Shipment& s : kShipments)
            paths << writeRecord(records, s);
        app = std::make_unique<orvan::AppContext>(dir.path());
        app->config.Idioma = 1;
        app->textos.CargaTextos(1);
        orvan::archive::Archive archive;
        ASSERT_TRUE(archive.open(orvan::archive::effectiveTarget(app->appFolder, app->dataFolder))) << archive.error().toStdString();
        ASSERT_EQ(archive.add({records}).added, 4);
        main = std::make_unique<orvan::shell::MainWindow>(*app, record, sink);
        orvan::shell::registerWindows(*main);
        main->show();
        ASSERT_TRUE((w = reopened()));
    }

    void TearDown() override
    {
        main.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // The archive window closed at once, whatever it does, and opened again; nullptr if it failed.
    ArchiveWindow* reopened()
    {
        main->closeChildren({Child::Archive});
        if (!waitFor([this] { return main->child(Child::Archive) == nullptr; }))
            return nullptr;
        main->archiveButton()->trigger();
        auto* again = qobject_cast<ArchiveWindow*>(main->child(Child::Archive));
        return again && settled(again) ? again : nullptr;
    }

    QTemporaryDir dir;
    QString records;
    QStringList paths;
    std::unique_ptr<orvan::AppContext> app;
    orvan::records::MissionRecord record;
    orvan::RecordingSink sink;
    std::unique_ptr<orvan::shell::MainWindow> main;
    ArchiveWindow* w = nullptr;
};

} // namespace

TEST_F(ArchiveWindowTest, FiltersNarrowTheTableAndTheFleetFiguresAlike)
{
    const struct {
        const char* name;
        QString serial, exporter, carrier, search;
        int verdict;   // the combo's index: 0 any, 1 pass, 2 fail
        QDate from;
        QList<int> serials;
        int passed;
    } cases[] = {
        {"everything", {}, {}, {}, {}, 0, {}, {111, 222, 333, 444}, 2},
        {"serial", QStringLiteral("333"), {}, {}, {}, 0, {}, {333}, 1},
        {"exporter, any case", {}, QStringLiteral("vinos"), {}, {}, 0, {}, {333, 444}, 1},
        {"carrier and verdict", {}, {}, QStringLiteral("maersk"), {}, 2, {}, {222}, 0},
        {"verdict pass", {}, {}, {}, {}, 1, {}, {111, 333}, 2},
        {"text over names", {}, {}, {}, QStringLiteral("azul"), 0, {}, {111, 444}, 1},
        {"from a date", {}, {}, {}, {}, 0, QDate(2024, 5, 1), {444}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        w->txtSerial->setText(c.serial);
        w->txtExporter->setText(c.exporter);
        w->txtCarrier->setText(c.carrier);
        w->txtSearch->setText(c.search);
        w->cboVerdict->setCurrentIndex(c.verdict);
        w->chkFrom->setChecked(c.from.isValid());
        w->dateFrom->setDate(c.from.isValid() ? c.from : QDate(2000, 1, 1));
        w->refresh();
        ASSERT_TRUE(settled(w));
        EXPECT_EQ(serialsOf(w), c.serials);
        EXPECT_EQ(w->stats().pass, c.passed);
        EXPECT_EQ(w->lbShipments->text(), QString::number(c.serials.size()));
        EXPECT_EQ(w->table->model()->rowCount(), c.serials.size());
    }
    // Only the newest filter's answer lands: one thread answers in order.
    w->chkFrom->setChecked(false);
    ASSERT_TRUE(settled(w));
    int answers = 0;
    QObject::connect(w, &ArchiveWindow::rowsChanged, [&answers] { ++answers; });
    for (const char* exporter : {"frutas", "vinos"}) {
        w->txtExporter->setText(QLatin1String(exporter));
        w->refresh();
    }
    EXPECT_TRUE(w->searching());
    ASSERT_TRUE(settled(w));
    EXPECT_EQ(serialsOf(w), (QList<int>{333, 444}));
    EXPECT_EQ(answers, 1);
    // Closed with a search on its way: the window goes at once and the answer lands nowhere.
    w->refresh();
    ASSERT_TRUE((w = reopened()));
    EXPECT_EQ(w->rows().size(), 4);
}

TEST_F(ArchiveWindowTest, VerifyFlagsAChangedAndAMissingFileAndEachRowStillOpens)
{
    QByteArray changed = orvan::test::readAll(paths.at(0));   // serial 111: one sample byte differs
    changed[8200] = char(changed[8200] ^ 1);
    ASSERT_TRUE(orvan::test::writeFile(paths.at(0), changed));
    ASSERT_TRUE(QFile::remove(paths.at(1)));   // serial 222
    w->cmdVerify->click();
    ASSERT_TRUE(waitFor([this] { return !w->jobRunning(); }) && settled(w));

    // A double-click opens the record behind the archive: a changed file says so, a missing one
    // opens from the archive's copy.
    const struct {
        int serial;
        PlaceState state;
        std::optional<orvan::AddedText> word;   // the state column's text
        int messages;
        int path;   // the file it opens from; -1: the archive's copy
    } rows[] = {
        {333, PlaceState::Ok, std::nullopt, 0, 2},
        {111, PlaceState::Changed, orvan::AddedText::ArchivePlaceChanged, 1, 0},
        {222, PlaceState::Missing, orvan::AddedText::ArchivePlaceMissing, 0, -1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.serial);
        const int row = int(serialsOf(w, false).indexOf(r.serial));
        ASSERT_GE(row, 0);
        EXPECT_EQ(w->rows().at(row).state, r.state);
        const QModelIndex cell = w->table->model()->index(row, 0);
        EXPECT_TRUE(!r.word || (cell.data() == orvan::addedText(*r.word, 1) && !cell.data(Qt::DecorationRole).isNull()))
            << cell.data().toString().toStdString();
        sink.messages.clear();
        Q_EMIT w->table->doubleClicked(w->table->model()->index(row, 2));
        ASSERT_TRUE(waitFor([&] { return record.campos.NumSerie.trimmed().toInt() == r.serial; }));
        ASSERT_EQ(sink.messages.size(), r.messages) << sink.messages.join(QLatin1Char('\n')).toStdString();
        EXPECT_TRUE(!r.messages || sink.messages.first().startsWith(QDir::toNativeSeparators(paths.at(0))));
        EXPECT_EQ(main->panel()->face(), orvan::ui::StatusPanel::Face::Record);
        EXPECT_TRUE(main->toolbar1Button(3)->isEnabled() && main->child(Child::frmGrafico));
        EXPECT_EQ(main->child(Child::Archive), w);
        EXPECT_TRUE(r.path < 0 || QDir::cleanPath(record.Archivo) == QDir::cleanPath(paths.at(r.path))) << record.Archivo.toStdString();
    }
}

TEST_F(ArchiveWindowTest, CancelledIndexingLeavesTheWindowUsableAndClosingMidJobIsSafe)
{
    const QString more = dir.filePath(QStringLiteral("more"));
    for (quint32 i = 0; i < 60; ++i)
        writeRecord(more, {5000 + i, "CARNES ESTE", "MSC", 2, 8, QDate(2024, 4, 1)});
    int finished = 0;
    QObject::connect(w, &ArchiveWindow::jobFinished, [&finished] { ++finished; });
    w->askFolder = [more] { return more; };
    w->cmdIndex->click();
    EXPECT_TRUE(w->jobRunning() && !w->cmdIndex->isEnabled() && w->cmdCancel->isVisible());
    w->cmdCancel->click();
    ASSERT_TRUE(waitFor([&finished] { return finished == 1; }) && settled(w));
    EXPECT_TRUE(w->cmdIndex->isEnabled() && w->cmdVerify->isEnabled() && !w->progress->isVisible());
    EXPECT_TRUE(w->rows().size() >= 4 && w->rows().size() <= 64) << w->rows().size();

    // Indexing again completes what the cancelled job left.
    w->cmdIndex->click();
    ASSERT_TRUE(waitFor([&finished] { return finished == 2; }) && settled(w));
    EXPECT_EQ(w->rows().size(), 64);

    // Closed while its job runs, the window goes at once and the job ends on its own connection.
    w->indexFolder(records);
    ASSERT_TRUE((w = reopened()));
    EXPECT_EQ(w->rows().size(), 64);
}

TEST_F(ArchiveWindowTest, ASavedRecordIsArchivedAtOnceAndAnArchiveFailureIsOnlyAMessage)
{
    const QString saved = writeRecord(records, {777, "MIEL CENTRO", "MSC", 2, 8, QDate(2024, 7, 1)});
    orvan::archive::ui::archiveSavedRecord(*main, main.get(), saved);
    ASSERT_TRUE(waitFor([this] { return w->rows().size() == 5; }));
    EXPECT_TRUE(sink.messages.isEmpty()) << sink.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(main->statusBar()->currentMessage().contains(QDir::toNativeSeparators(saved)));

    // An archive that cannot be opened (its folder is a file) leaves the saved file as it is and says so once.
    ASSERT_TRUE(orvan::archive::writeArchiveChoice(app->appFolder, paths.first() + QStringLiteral("/a.sqlite")));
    const QString next = writeRecord(records, {778, "MIEL CENTRO", "MSC", 2, 8, QDate(2024, 7, 2)});
    orvan::archive::ui::archiveSavedRecord(*main, main.get(), next);
    ASSERT_TRUE(waitFor([this] { return !sink.messages.isEmpty(); }));
    EXPECT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages.first().contains(QDir::toNativeSeparators(next)));
    EXPECT_EQ(QFileInfo(next).size(), 32768);
}

TEST_F(ArchiveWindowTest, ExportWritesEveryFieldOfTheRowsShownInTheirOrder)
{
    // The list holds only what it shows: the export must read the rest again, not write blanks.
    w->txtExporter->setText(QStringLiteral("vinos"));
    w->refresh();
    ASSERT_TRUE(settled(w));
    w->table->sortByColumn(orvan::archive::ui::ArchiveTable::Serial, Qt::DescendingOrder);
    const QString out = dir.filePath(QStringLiteral("list.csv"));
    ASSERT_TRUE(w->exportCsv(out));
    ASSERT_TRUE(waitFor([this] { return !w->jobRunning(); }));
    const QStringList lines = QString::fromUtf8(orvan::test::readAll(out)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << lines.join(QLatin1Char('\n')).toStdString();
    const QStringList header = lines.at(0).split(QLatin1Char(','));
    for (const int row : {1, 2}) {
        const QStringList fields = lines.at(row).split(QLatin1Char(','));
        ASSERT_EQ(fields.size(), header.size());
        EXPECT_EQ(fields.at(header.indexOf(QStringLiteral("serial"))), QString::number(row == 1 ? 444 : 333));
        for (const char* name : {"mission_end", "interval_minutes", "mean", "archived_by", "path"})
            EXPECT_FALSE(fields.at(header.indexOf(QLatin1String(name))).isEmpty()) << name;
    }
    EXPECT_TRUE(w->lbStatus->text().contains(QDir::toNativeSeparators(out))) << w->lbStatus->text().toStdString();
}

#include "archive/ui/ArchiveWindow.h"

#include "archive/ui/ArchiveJob.h"
#include "archive/ui/ArchivePictures.h"
#include "archive/ui/ArchiveTable.h"
#include "archive/ui/RecordOpening.h"
#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/Encodings.h"
#include "base/MessageSink.h"
#include "base/ui/Workspace.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace orvan::archive::ui {

namespace {

const QString kFormName = QStringLiteral("frmArchivo");
// A typed filter searches once the typing pauses.
constexpr int kFilterDelayMs = 250;
// The most files a report lists by name; the rest are counted.
constexpr int kListedFiles = 15;

QLabel* caption(QWidget* parent, QList<QLabel*>& list)
{
    auto* l = new QLabel(parent);
    list << l;
    return l;
}

QLineEdit* filterEdit(QWidget* parent, const QString& name, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setClearButtonEnabled(true);
    e->setMinimumWidth(width);
    return e;
}

QDateEdit* dateEdit(QWidget* parent, const QString& name)
{
    auto* d = new QDateEdit(QDate::currentDate(), parent);
    d->setObjectName(name);
    d->setCalendarPopup(true);
    d->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    d->setEnabled(false);
    return d;
}

// A figure above the table: its value large, its name small beneath.
QFrame* figureCard(QWidget* parent, QLabel*& value, QLabel* name, const QString& objectName)
{
    auto* card = new QFrame(parent);
    card->setObjectName(QStringLiteral("FigureCard"));
    card->setStyleSheet(QStringLiteral(
        "QFrame#FigureCard { background: palette(base); border: 1px solid rgba(31, 59, 99, 70); border-radius: 6px; }"));
    auto* v = new QVBoxLayout(card);
    v->setContentsMargins(12, 6, 12, 6);
    v->setSpacing(0);
    value = new QLabel(QStringLiteral("-"), card);
    value->setObjectName(objectName);
    value->setTextFormat(Qt::PlainText);
    QFont big = value->font();
    big.setPointSizeF(big.pointSizeF() * 1.45);
    big.setBold(true);
    value->setFont(big);
    value->setStyleSheet(QStringLiteral("color: #1f3b63;"));
    name->setParent(card);
    name->setStyleSheet(QStringLiteral("color: #4a5563;"));
    v->addWidget(value);
    v->addWidget(name);
    return card;
}

QString listedFiles(const QString& heading, const QStringList& lines)
{
    QStringList shown = lines.mid(0, kListedFiles);
    if (lines.size() > kListedFiles)
        shown << QStringLiteral("… +%1").arg(lines.size() - kListedFiles);
    return heading + QStringLiteral(":\n") + shown.join(QLatin1Char('\n'));
}

} // namespace

ArchiveWindow::ArchiveWindow(orvan::ui::Workspace& main, records::MissionRecord& record, QWidget* parent)
    : QWidget(parent), m_main(main), m_record(record)
{
    setObjectName(kFormName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(archiveIcon());
    m_table = new ArchiveTable(this);
    buildControls();

    m_filterDelay.setSingleShot(true);
    m_filterDelay.setInterval(kFilterDelayMs);
    connect(&m_filterDelay, &QTimer::timeout, this, &ArchiveWindow::refresh);
    m_progressTimer.setInterval(100);
    connect(&m_progressTimer, &QTimer::timeout, this, &ArchiveWindow::showProgress);

    setTexts();
    openArchive();
}

ArchiveWindow::~ArchiveWindow()
{
    retireSearcher();
}

void ArchiveWindow::retireSearcher()
{
    if (!m_searcher)
        return;
    // Its answers stop here; the thread finishes what it is doing and then goes with the worker.
    disconnect(m_searcher, nullptr, this, nullptr);
    m_searcher->retire();
    m_searcher = nullptr;
    m_open = false;
    m_searching = false;
}

void ArchiveWindow::buildControls()
{
    // The filter bar: names on the first row, dates and the verdict on the second.
    auto* filters = new QGridLayout;
    filters->setHorizontalSpacing(8);
    filters->setVerticalSpacing(6);
    txtSerial = filterEdit(this, QStringLiteral("txtSerie"), 90);
    txtSerial->setValidator(new QIntValidator(0, 16777215, txtSerial));
    txtExporter = filterEdit(this, QStringLiteral("txtExportador"), 150);
    txtCarrier = filterEdit(this, QStringLiteral("txtTransportador"), 150);
    txtSearch = filterEdit(this, QStringLiteral("txtBuscar"), 170);
    chkFrom = new QCheckBox(this);
    chkFrom->setObjectName(QStringLiteral("chkDesde"));
    dateFrom = dateEdit(this, QStringLiteral("dtDesde"));
    chkTo = new QCheckBox(this);
    chkTo->setObjectName(QStringLiteral("chkHasta"));
    dateTo = dateEdit(this, QStringLiteral("dtHasta"));
    cboVerdict = new QComboBox(this);
    cboVerdict->setObjectName(QStringLiteral("cboVeredicto"));
    cboVerdict->addItems({QString(), QString(), QString(), QString()});

    filters->addWidget(caption(this, m_filterCaptions), 0, 0);
    filters->addWidget(txtSerial, 0, 1);
    filters->addWidget(caption(this, m_filterCaptions), 0, 2);
    filters->addWidget(txtExporter, 0, 3);
    filters->addWidget(caption(this, m_filterCaptions), 0, 4);
    filters->addWidget(txtCarrier, 0, 5);
    filters->addWidget(caption(this, m_filterCaptions), 0, 6);
    filters->addWidget(txtSearch, 0, 7);
    auto* fromPair = new QHBoxLayout;
    fromPair->addWidget(chkFrom);
    fromPair->addWidget(dateFrom, 1);
    auto* toPair = new QHBoxLayout;
    toPair->addWidget(chkTo);
    toPair->addWidget(dateTo, 1);
    filters->addLayout(fromPair, 1, 0, 1, 2);
    filters->addLayout(toPair, 1, 2, 1, 2);
    filters->addWidget(caption(this, m_filterCaptions), 1, 4);
    filters->addWidget(cboVerdict, 1, 5);
    filters->setColumnStretch(3, 1);
    filters->setColumnStretch(5, 1);
    filters->setColumnStretch(7, 2);

    // The fleet's figures of the current filter.
    auto* figures = new QHBoxLayout;
    figures->setSpacing(8);
    figures->addWidget(figureCard(this, lbShipments, caption(this, m_figureCaptions), QStringLiteral("lbEnvios")), 1);
    figures->addWidget(figureCard(this, lbPassed, caption(this, m_figureCaptions), QStringLiteral("lbAprobados")), 1);
    figures->addWidget(figureCard(this, lbAbove, caption(this, m_figureCaptions), QStringLiteral("lbMinutosArriba")), 1);
    figures->addWidget(figureCard(this, lbBelow, caption(this, m_figureCaptions), QStringLiteral("lbMinutosAbajo")), 1);
    figures->addWidget(figureCard(this, lbWorst, caption(this, m_figureCaptions), QStringLiteral("lbPeorExcursion")), 2);

    table = new QTableView(this);
    table->setObjectName(QStringLiteral("tblRegistros"));
    table->setModel(m_table);
    table->setSortingEnabled(true);
    table->sortByColumn(ArchiveTable::Date, Qt::DescendingOrder);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setAlternatingRowColors(true);
    table->setWordWrap(false);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 8);
    table->horizontalHeader()->setHighlightSections(false);
    // Widths for the values a column holds, set once: measuring ten thousand rows would stall.
    // The names keep their twelve characters; the verdict takes what is left.
    const QFontMetrics fm = table->fontMetrics();
    const QString widest[ArchiveTable::ColumnCount] = {
        QStringLiteral("modificado"), QStringLiteral("00/00/0000 - 00:00"), QStringLiteral("16777215"),
        QStringLiteral("LACTEOS OEST"), QStringLiteral("NAVIERA AZUL"), QStringLiteral("24576"),
        QStringLiteral("-40.0"), QStringLiteral("-40.0"), QStringLiteral("-40.0"), QStringLiteral("99,999"),
        QStringLiteral("Rechazado")};
    for (int c = 0; c < ArchiveTable::ColumnCount; ++c)
        table->setColumnWidth(c, fm.horizontalAdvance(widest[c]) + (c == ArchiveTable::State ? 36 : 20));
    table->horizontalHeader()->setStretchLastSection(true);

    cmdIndex = new QPushButton(this);
    cmdIndex->setObjectName(QStringLiteral("cmdIndexar"));
    cmdVerify = new QPushButton(this);
    cmdVerify->setObjectName(QStringLiteral("cmdVerificar"));
    cmdExport = new QPushButton(this);
    cmdExport->setObjectName(QStringLiteral("cmdExportar"));
    cmdCancel = new QPushButton(this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancelar"));
    cmdCancel->hide();
    for (QPushButton* b : {cmdIndex, cmdVerify, cmdExport, cmdCancel}) {
        b->setAutoDefault(false);
        b->setMinimumHeight(30);
    }
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("ProgressBar1"));
    progress->setFormat(QStringLiteral("%v / %m"));
    progress->hide();
    lbStatus = new QLabel(this);
    lbStatus->setObjectName(QStringLiteral("lbEstado"));
    lbStatus->setTextFormat(Qt::PlainText);
    lbStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lbStatus->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdIndex);
    commands->addWidget(cmdVerify);
    commands->addWidget(cmdExport);
    commands->addSpacing(12);
    commands->addWidget(progress, 1);
    commands->addWidget(cmdCancel);
    commands->addWidget(lbStatus, 2);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(8, 8, 8, 8);
    outer->setSpacing(8);
    outer->addLayout(filters);
    outer->addLayout(figures);
    outer->addWidget(table, 1);
    outer->addLayout(commands);

    for (QLineEdit* e : {txtSerial, txtExporter, txtCarrier, txtSearch})
        connect(e, &QLineEdit::textChanged, &m_filterDelay, qOverload<>(&QTimer::start));
    connect(chkFrom, &QCheckBox::toggled, dateFrom, &QWidget::setEnabled);
    connect(chkTo, &QCheckBox::toggled, dateTo, &QWidget::setEnabled);
    for (QCheckBox* c : {chkFrom, chkTo})
        connect(c, &QCheckBox::toggled, this, &ArchiveWindow::refresh);
    for (QDateEdit* d : {dateFrom, dateTo})
        connect(d, &QDateEdit::dateChanged, &m_filterDelay, qOverload<>(&QTimer::start));
    connect(cboVerdict, qOverload<int>(&QComboBox::currentIndexChanged), this, &ArchiveWindow::refresh);
    connect(table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) { openRow(index.row()); });
    connect(cmdIndex, &QPushButton::clicked, this, [this] {
        const QString folder = askForFolder();
        if (!folder.isEmpty())
            indexFolder(folder);
    });
    connect(cmdVerify, &QPushButton::clicked, this, &ArchiveWindow::verifyArchive);
    connect(cmdExport, &QPushButton::clicked, this, [this] {
        const QString path = askForCsvPath();
        if (!path.isEmpty())
            exportCsv(path);
    });
    connect(cmdCancel, &QPushButton::clicked, this, &ArchiveWindow::cancelJob);
}

void ArchiveWindow::setTexts()
{
    const AppContext& app = m_main.app();
    const int idioma = app.config.Idioma;
    const auto t = [idioma](AddedText which) { return addedText(which, idioma); };
    setWindowTitle(t(AddedText::ArchiveWindowTitle));
    const QString filterNames[] = {t(AddedText::ArchiveSerialShort), t(AddedText::ArchiveExporterShort),
                                   t(AddedText::ArchiveCarrierShort), t(AddedText::ArchiveSearchNames),
                                   t(AddedText::Verdict)};
    for (int i = 0; i < m_filterCaptions.size(); ++i)
        m_filterCaptions[i]->setText(filterNames[i] + QLatin1Char(':'));
    txtSearch->setPlaceholderText(t(AddedText::ArchiveSearchHint));
    chkFrom->setText(t(AddedText::ArchiveFrom));
    chkTo->setText(t(AddedText::ArchiveTo));
    cboVerdict->setItemText(0, t(AddedText::ArchiveAnyVerdict));
    cboVerdict->setItemText(1, t(AddedText::VerdictPass));
    cboVerdict->setItemText(2, t(AddedText::VerdictFail));
    cboVerdict->setItemText(3, t(AddedText::VerdictNoData));
    const QString figureNames[] = {t(AddedText::ArchiveShipments), t(AddedText::ArchivePercentPass),
                                   t(AddedText::ArchiveMinutesAbove), t(AddedText::ArchiveMinutesBelow),
                                   t(AddedText::ArchiveWorstExcursion)};
    for (int i = 0; i < m_figureCaptions.size(); ++i)
        m_figureCaptions[i]->setText(figureNames[i]);
    cmdIndex->setText(t(AddedText::ArchiveIndexCommand));
    cmdVerify->setText(t(AddedText::ArchiveVerifyCommand));
    cmdExport->setText(t(AddedText::ArchiveExportCommand));
    cmdCancel->setText(t(AddedText::ArchiveCancelJob));
    m_table->setLanguage(app.textos, idioma, app.unit());
    // A heading longer than its column's values widens the column so that it reads whole.
    const QFontMetrics fm = table->horizontalHeader()->fontMetrics();
    for (int c = 0; c < ArchiveTable::ColumnCount; ++c) {
        const int needed = fm.horizontalAdvance(m_table->headerData(c, Qt::Horizontal).toString()) + 28;
        if (table->columnWidth(c) < needed)
            table->setColumnWidth(c, needed);
    }
}

void ArchiveWindow::openArchive()
{
    const AppContext& app = m_main.app();
    m_target = effectiveTarget(app.appFolder, app.dataFolder);
    retireSearcher();
    m_pendingCopy = {};
    m_searcher = new ArchiveSearcher(m_target, app.config.Idioma);
    connect(m_searcher, &ArchiveSearcher::opened, this, &ArchiveWindow::onOpened);
    connect(m_searcher, &ArchiveSearcher::searched, this, &ArchiveWindow::onSearched);
    connect(m_searcher, &ArchiveSearcher::image, this, &ArchiveWindow::onImage);
    m_searcher->open();
    m_searching = true;
    m_holdStatus = false;
    showSearching();
    updateCommands();
}

void ArchiveWindow::onOpened(bool ok, const QString& error, const QString& computer)
{
    m_open = ok;
    m_computer = computer;
    if (!ok) {
        // The window stays, empty, with the reason: the configuration may point it elsewhere.
        m_searching = false;
        m_table->setRows({});
        m_stats = {};
        showFigures();
        showStatus(error, true);
        updateCommands();
        Q_EMIT rowsChanged();
        return;
    }
    updateCommands();
    refresh();
}

void ArchiveWindow::showSearching()
{
    // Discreet: the status line says so unless a job or its report holds it, and the table keeps
    // its rows until the answer replaces them.
    table->viewport()->setCursor(m_searching ? Qt::BusyCursor : Qt::ArrowCursor);
    if (m_searching && !m_holdStatus && !jobRunning())
        showStatus(addedText(AddedText::ArchiveSearching, m_main.app().config.Idioma));
}

void ArchiveWindow::settingsChanged()
{
    setTexts();
    const AppContext& app = m_main.app();
    if (effectiveTarget(app.appFolder, app.dataFolder) == m_target && m_searcher && m_open) {
        m_searcher->setLanguage(app.config.Idioma);
        refresh();
        return;
    }
    // Another archive: a job on the former one ends, and the window shows the new one.
    cancelJob();
    if (m_job) {
        m_job->deleteLater();
        m_job = nullptr;
        m_progressTimer.stop();
        progress->hide();
        cmdCancel->hide();
    }
    openArchive();
}

Filter ArchiveWindow::filter() const
{
    Filter f;
    bool ok = false;
    const int serial = txtSerial->text().trimmed().toInt(&ok);
    if (ok)
        f.serial = serial;
    f.exporter = txtExporter->text().trimmed();
    f.carrier = txtCarrier->text().trimmed();
    f.text = txtSearch->text().trimmed();
    if (chkFrom->isChecked())
        f.from = dateFrom->date();
    if (chkTo->isChecked())
        f.to = dateTo->date();
    switch (cboVerdict->currentIndex()) {
    case 1: f.verdict = views::Verdict::Pass; break;
    case 2: f.verdict = views::Verdict::Fail; break;
    case 3: f.verdict = views::Verdict::NoData; break;
    default: break;
    }
    return f;
}

void ArchiveWindow::refresh()
{
    m_filterDelay.stop();
    // Before the open has answered there is nothing to ask: its answer searches by itself.
    if (!m_searcher || !m_open)
        return;
    m_askedFilter = filter();
    m_request = m_searcher->search(m_askedFilter);
    m_searching = true;
    m_holdStatus = false;
    showSearching();
}

void ArchiveWindow::onSearched(const SearchAnswer& answer)
{
    // An older filter's answer arriving late: the newest one is on its way.
    if (answer.request != m_request)
        return;
    m_searching = false;
    showSearching();
    m_stats = answer.stats;
    m_shownFilter = m_askedFilter;
    m_table->setRows(answer.rows);
    showFigures();
    if (!answer.problem.isEmpty())
        showStatus(answer.problem, true);
    else if (!m_holdStatus && !jobRunning())
        showStatus(addedText(AddedText::ArchiveRecordsShown, m_main.app().config.Idioma).arg(m_table->rows().size()));
    updateCommands();
    Q_EMIT rowsChanged();
}

const QVector<RecordRow>& ArchiveWindow::rows() const
{
    return m_table->rows();
}

void ArchiveWindow::showFigures()
{
    const QLocale locale;
    const FleetStats& s = m_stats;
    lbShipments->setText(locale.toString(s.shipments));
    lbPassed->setText(s.shipments ? locale.toString(s.percentPass(), 'f', 1) + QStringLiteral(" %") : QStringLiteral("-"));
    lbAbove->setText(locale.toString(s.minutesAbove));
    lbBelow->setText(locale.toString(s.minutesBelow));
    if (!s.worstExcursion) {
        lbWorst->setText(QStringLiteral("-"));
        lbWorst->setToolTip(QString());
        return;
    }
    const FleetStats::Worst& w = *s.worstExcursion;
    const int idioma = m_main.app().config.Idioma;
    const bool above = w.zone == views::Above;
    lbWorst->setText(QStringLiteral("%1 min %2  \u00b7  %3  \u00b7  %4")
                         .arg(locale.toString(w.minutes), above ? QStringLiteral("\u25b2") : QStringLiteral("\u25bc"),
                              QString::number(w.serial), w.missionStart.date().toString(QStringLiteral("dd/MM/yyyy"))));
    lbWorst->setToolTip(addedText(above ? AddedText::ZoneAbove : AddedText::ZoneBelow, idioma));
}

void ArchiveWindow::showStatus(const QString& text, bool problem)
{
    lbStatus->setText(text);
    lbStatus->setToolTip(text);
    lbStatus->setStyleSheet(problem ? QStringLiteral("color: #b3261e;") : QString());
}

void ArchiveWindow::updateCommands()
{
    const bool open = m_searcher && m_open;
    const bool busy = jobRunning();
    cmdIndex->setEnabled(open && !busy);
    cmdVerify->setEnabled(open && !busy);
    cmdExport->setEnabled(open && !busy);
}

bool ArchiveWindow::jobRunning() const
{
    return m_job && m_job->running();
}

void ArchiveWindow::indexFolder(const QString& folder)
{
    startJob(JobKind::Index, ArchiveJob::addPaths({folder}));
}

void ArchiveWindow::verifyArchive()
{
    startJob(JobKind::Verify, ArchiveJob::verifyPlaces());
}

bool ArchiveWindow::startJob(JobKind kind, const ArchiveJob::Work& work)
{
    if (jobRunning() || !m_searcher || !m_open)
        return false;
    if (m_job)
        m_job->deleteLater();
    m_jobKind = kind;
    m_job = new ArchiveJob(m_target, m_main.app().config.Idioma, work, this);
    connect(m_job, &ArchiveJob::finished, this, &ArchiveWindow::onJobFinished);
    progress->setRange(0, 0);
    progress->show();
    // An export is one read and one write: nothing to stop halfway.
    cmdCancel->setEnabled(kind != JobKind::Export);
    cmdCancel->setVisible(kind != JobKind::Export);
    showStatus(QString());
    m_progressTimer.start();
    updateCommands();
    return true;
}

void ArchiveWindow::showProgress()
{
    if (!m_job)
        return;
    const JobState& s = m_job->state();
    const int total = s.total;
    if (total > 0) {
        progress->setRange(0, total);
        progress->setValue(qMin(int(s.done), total));
    }
}

void ArchiveWindow::cancelJob()
{
    if (!jobRunning())
        return;
    m_job->cancel();
    cmdCancel->setEnabled(false);
}

void ArchiveWindow::onJobFinished()
{
    QPointer<ArchiveJob> job = m_job;
    if (!job)
        return;
    m_progressTimer.stop();
    progress->hide();
    cmdCancel->hide();
    const JobState& s = job->state();
    const int idioma = m_main.app().config.Idioma;
    const QLocale locale;
    const auto figure = [&](AddedText name, qsizetype value) {
        return addedText(name, idioma) + QStringLiteral(": ") + locale.toString(qint64(value));
    };

    QString report;
    QString error = s.openError;
    QStringList notArchived;
    if (m_jobKind == JobKind::Index) {
        const AddReport& r = s.added;
        // The records added always; the other counts only when there are any.
        QStringList parts{figure(AddedText::ArchiveAdded, r.added)};
        const std::pair<AddedText, qsizetype> others[] = {{AddedText::ArchiveNewPlaces, r.newPlaces},
                                                          {AddedText::ArchiveUnchanged, r.unchanged},
                                                          {AddedText::ArchiveNotArchived, r.skipped.size()}};
        for (const auto& [name, count] : others)
            if (count > 0)
                parts << figure(name, count);
        report = parts.join(QStringLiteral("  \u00b7  "));
        if (r.cancelled)
            report = addedText(AddedText::ArchiveJobCancelled, idioma) + QStringLiteral("  \u00b7  ") + report;
        if (error.isEmpty())
            error = r.error;
        for (const SkippedFile& f : r.skipped)
            notArchived << QDir::toNativeSeparators(f.path) + QStringLiteral(": ") + f.reason;
    } else if (m_jobKind == JobKind::Export) {
        if (error.isEmpty())
            error = s.exportError;
        if (error.isEmpty())
            report = addedText(AddedText::Wrote, idioma).arg(QDir::toNativeSeparators(m_exportPath)).arg(QFileInfo(m_exportPath).size());
    } else {
        const VerifyReport& r = s.verified;
        report = addedText(AddedText::ArchiveVerifyProblems, idioma).arg(r.problems.size()).arg(r.checked);
        if (r.cancelled)
            report = addedText(AddedText::ArchiveJobCancelled, idioma) + QStringLiteral("  \u00b7  ") + report;
        if (error.isEmpty())
            error = r.error;
    }

    m_job = nullptr;
    job->deleteLater();
    // The table shows what the job left in the archive, flags included.
    refresh();
    if (!error.isEmpty())
        showStatus(error, true);
    else
        showStatus(report);
    m_holdStatus = true;
    updateCommands();
    Q_EMIT jobFinished();

    // Last, for the message may run a nested loop in which this window closes.
    if (!error.isEmpty())
        m_main.messages().show(error);
    else if (!notArchived.isEmpty())
        m_main.messages().show(listedFiles(addedText(AddedText::ArchiveNotArchived, idioma), notArchived));
}

bool ArchiveWindow::exportCsv(const QString& path)
{
    QStringList shown;
    shown.reserve(m_table->rows().size());
    for (const RecordRow& r : m_table->rows())
        shown << r.sha;
    if (!startJob(JobKind::Export, ArchiveJob::exportRows(m_shownFilter, shown, path, m_main.app().unit())))
        return false;
    m_exportPath = path;
    return true;
}

void ArchiveWindow::openRow(int row)
{
    if (row < 0 || row >= m_table->rows().size() || !m_searcher || !m_open)
        return;
    // Everything the opening needs is taken now: a message box runs a nested loop in which this
    // window may close, and the record and the main window outlive it.
    const RecordRow r = m_table->rows().at(row);
    orvan::ui::Workspace& main = m_main;
    records::MissionRecord& record = m_record;
    const int idioma = main.app().config.Idioma;
    const QString shown = QDir::toNativeSeparators(r.path);

    const bool onThisComputer = !r.path.isEmpty() && (r.computer.isEmpty() || r.computer == m_computer);
    const PlaceState state = onThisComputer ? checkFile(r.path, r.sha) : PlaceState::Missing;
    if (state == PlaceState::Ok) {
        showRecordFile(main, record, r.path);
        return;
    }
    if (state == PlaceState::Changed) {
        main.messages().show(addedText(AddedText::ArchiveOpenChanged, idioma).arg(shown, formatDate(r.archivedAt.toLocalTime())));
        showRecordFile(main, record, r.path);
        return;
    }
    // Gone from its place, or on another computer: the archive's own copy, when it holds one,
    // asked of the searches' thread; the last double-click wins.
    m_pendingCopy = r;
    m_searcher->fetchImage(r.sha);
}

void ArchiveWindow::onImage(const QString& sha, const std::optional<QByteArray>& image, const QString&)
{
    if (m_pendingCopy.sha.isEmpty() || sha != m_pendingCopy.sha)
        return;
    const RecordRow r = m_pendingCopy;
    m_pendingCopy = {};
    // As in openRow: the message may run a nested loop in which this window closes.
    orvan::ui::Workspace& main = m_main;
    const int idioma = main.app().config.Idioma;
    const QString shown = QDir::toNativeSeparators(r.path);
    if (!image) {
        main.messages().show(addedText(AddedText::ArchiveNoCopy, idioma).arg(shown));
        return;
    }
    if (showRecordImage(main, m_record, *image, r.path))
        main.showStatusMessage(addedText(AddedText::ArchiveOpenFromCopy, idioma).arg(shown));
}

QString ArchiveWindow::askForFolder()
{
    if (askFolder)
        return askFolder();
    QPointer<ArchiveWindow> self(this);
    const QString start = m_main.app().config.carpetaDatos();
    const QString folder = QFileDialog::getExistingDirectory(this, cmdIndex->text(), start);
    return self ? folder : QString();
}

QString ArchiveWindow::askForCsvPath()
{
    if (askCsvPath)
        return askCsvPath();
    QPointer<ArchiveWindow> self(this);
    const QString start = QDir(m_main.app().config.carpetaDatos()).filePath(QStringLiteral("archive.csv"));
    const QString path = QFileDialog::getSaveFileName(this, cmdExport->text(), start, QStringLiteral("CSV (*.csv)"));
    return self ? path : QString();
}

void ArchiveWindow::closeEvent(QCloseEvent* event)
{
    // A running job is cancelled and left to end on its own connection; it holds nothing of
    // this window, so the window closes at once.
    cancelJob();
    QWidget::closeEvent(event);
}

} // namespace orvan::archive::ui

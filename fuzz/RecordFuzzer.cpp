// A record file of any length, read as the application reads it, then every computation the
// views, the printed reports and the command-line tool make of it: decoding, the status panel's
// captions as the graph report prints them, zone counts and bars, percentages and captions, the
// sample list, the alarm list, the CSV export and the time axis.
#include "fuzz/Require.h"
#include "base/Encodings.h"
#include "base/TextTable.h"
#include "records/MissionRecord.h"
#include "records/RecordCaptions.h"
#include "records/RecordFile.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/GraphPoints.h"
#include "views/SampleList.h"
#include "views/TimeFormat.h"
#include "views/ZoneCounts.h"

#include <QDir>
#include <QTemporaryDir>
#include <set>
#include <utility>

using orvan::fuzz::require;

using namespace orvan;

namespace {

bool inside(const views::Puntos& puntos, int first, int last)
{
    return first >= 1 && first <= last && last <= qMax(1, puntos.NumPuntos());
}

// The graph: its points and zones, then every zoom a user can stack, bands both ways, and the
// scroll bar's windows, with the titles and ranges each window shows.
void graph(const records::MissionRecord& record, const TextTable& textos, const QLocale& locale,
           const QString& unidad, Unit unit)
{
    const views::Puntos puntos = views::CargaPuntos(record, unit);
    const int n = puntos.NumPuntos();
    require(n >= 0 && n <= views::kMaxPuntos, "points 0..70000: one per sample held");
    const views::Limits lim = views::limitsInDegrees(record, unit);
    const auto& c = record.campos;
    // Several zooms and scrolls come back to the same window; its range is the same scan.
    std::set<std::pair<int, int>> ranged;
    const auto window = [&](int first, int last) {
        require(inside(puntos, first, last), "a window lies within the points");
        views::axisTitleText(textos, c.Circular, first, last, n, c.NumMuestras);
        if (n == 0)
            return;   // a record without samples shows its empty window: no point to read
        if (ranged.insert({first, last}).second) {
            const views::TempRange r = views::windowRange(puntos, first, last);
            require(r.empty || r.min <= r.max, "a window's range is ordered");
        }
        views::dateTitle(puntos[first].Fecha, puntos[last].Fecha, puntos[(first + last) / 2].Fecha, locale);
        for (const int i : {first, last}) {
            views::seriesOfZone(views::ClasificaPunto(puntos[i].Temp, lim.lo, lim.hi));
            views::pointTimeText(puntos[i].Fecha, locale);
            views::pointTempText(puntos[i].Temp, locale, unidad);
            views::readingColor(puntos[i].Temp, lim);
            views::minutesFrom(puntos[1].Fecha, puntos[i].Fecha);
        }
    };

    views::ZoomLevels zoom;
    zoom.init(n);
    window(zoom.ZoomDesde[0], zoom.ZoomHasta[0]);
    while (zoom.zoomInHalf(zoom.ZoomDesde[zoom.NivelZoom], zoom.ZoomHasta[zoom.NivelZoom]) >= 0) {
        require(zoom.NivelZoom < views::ZoomLevels::kLimit, "no level past the limit");
        window(zoom.ZoomDesde[zoom.NivelZoom], zoom.ZoomHasta[zoom.NivelZoom]);
    }
    while (zoom.NivelZoom > 0)
        zoom.zoomOut();
    for (const auto& [from, to] : {std::pair{qMax(1, n / 3), qMax(1, n / 4)}, std::pair{1, n}, std::pair{n, n}, std::pair{2, 3}}) {
        if (zoom.beginBand(from) && zoom.endBand(to))
            window(zoom.ZoomDesde[zoom.NivelZoom], zoom.ZoomHasta[zoom.NivelZoom]);
    }
    zoom.reset();
    // The scroll bar's windows: before the start, in the middle and past the end of a short
    // span, then the whole range.
    for (const int value : {-5, n / 2, n + 7}) {
        const views::PointWindow v = views::scrollWindow(value, 10, n);
        window(v.first, v.last);
    }
    for (const int span : {0, n}) {
        const views::PointWindow v = views::scrollWindow(n / 2, span, n);
        window(v.first, v.last);
    }
}

void runViews(records::MissionRecord& record, int idioma, Unit unit)
{
    const QLocale locale = views::languageLocale(idioma);
    TextTable textos;
    textos.CargaTextos(idioma);
    const QString unidad = UnidadTexto(unit);

    for (const views::CountView view : {views::CountView::Histogram, views::CountView::Proportions}) {
        const views::ZoneCounts z = views::CuentaMuestras(record, unit, view);
        for (int row = 0; row < 2; ++row) {
            int sum = 0;
            for (int zone = 0; zone < 3; ++zone) {
                require(z.Porcentajes[row][zone] >= 0 && z.Porcentajes[row][zone] <= 100, "percentage 0..100");
                sum += z.Cuentas[row][zone];
            }
            require(sum == z.Cuentas[row][3], "zone counts add up to the total");
        }
        views::PoneResultados(z, record, textos, unit, view, locale);
        for (int chart = 0; chart < 2; ++chart)
            for (const views::Bar& b : views::Bars(z, chart, record, unit))
                require(b.count > 0, "a bar is a non-empty bin");
    }
    views::showsSecondPanel(record);

    // The panel's captions, and the dates as the graph report prints them.
    const records::RecordCaptions captions = records::recordCaptions(record, unit, locale);
    for (const QString& date : {captions.start, captions.end}) {
        const QString printed = reformatDateCaption(date);
        require(printed == date || printed.size() == 18, "a printed date is a whole date or the caption");
    }

    const views::ListaMuestras lista = views::CargaMuestras(record, unit);
    require(lista.CantLista == lista.entries.size(), "list count matches its entries");
    if (lista.CantLista > 0) {
        for (const int k : {1, lista.CantLista / 2 + 1, lista.CantLista}) {
            views::rowText(lista.entry(k), locale);
            views::positionText(lista.entry(k), unidad, locale);
            lista.zone(k);
        }
    }
    // Every line of the export is made by the same code; a long list is exported by its first
    // and last entries only: formatting every line would cost more than all the rest together.
    views::ListaMuestras corta = lista;
    if (corta.CantLista > 16) {
        corta.entries = lista.entries.mid(0, 8) + lista.entries.mid(lista.CantLista - 8);
        corta.CantLista = 16;
    }
    const QByteArray csv = views::ExportaCsv(record, corta, textos, unit, QStringLiteral("fuzz.klv"), locale);
    require(csv.endsWith("\r\n"), "the export ends with a whole line");

    const views::ListaAlarmas alarmas = views::CargaAlarmas(record, unit);
    views::MuestraAlarmas(alarmas, locale);
    views::alarmTitle(false, record, unit, locale);
    views::alarmTitle(true, record, unit, locale);

    graph(record, textos, locale, unidad, unit);

    const auto& c = record.campos;
    if (c.InicioDatos.isValid() && c.FinDatos.isValid()) {
        const double span = double(c.InicioDatos.secsTo(c.FinDatos)) / 60.0;
        const auto marcas = views::timeMarks(c.InicioDatos, 0, span, 12, locale);
        require(marcas.size() <= 12, "no more ticks than asked for");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // In memory where the system offers it: a save's flush to disk would dominate every run.
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/orvan-fuzz-XXXXXX")
                                                                    : QDir::tempPath() + QStringLiteral("/orvan-fuzz-XXXXXX"));
    static const QString path = dir.filePath(QStringLiteral("fuzz.klv"));
    static const QByteArray nativePath = path.toLocal8Bit();

    FILE* f = std::fopen(nativePath.constData(), "wb");
    if (!f)
        return 0;
    if (size > 0)
        std::fwrite(data, 1, size, f);
    std::fclose(f);
    const QByteArray input(reinterpret_cast<const char*>(data), int(size));

    records::MissionRecord header;
    const records::FileResult h = records::readHeader(header, path);
    records::MissionRecord record;
    const records::FileResult r = records::LeerArchivo(record, path);
    require(r.ok == h.ok, "the preview and the full read agree on a file");
    if (size > size_t(records::kMemoriaSize)) {
        require(!r.ok && !r.message.isEmpty(), "an over-long file is refused with a message");
        require(record.Memoria().count('\0') == records::kMemoriaSize, "a refused file leaves the image cleared");
        return 0;
    }
    require(r.ok, "a file that fits is read");
    require(record.Memoria().size() == records::kMemoriaSize, "the image keeps its size");
    require(record.Memoria().left(int(size)) == input, "the image holds the file");

    header.LeeAuditoria();
    record.LeeAuditoria();
    require(header.campos.NumMuestras == record.campos.NumMuestras, "the preview decodes the same count");

    // The language and the unit come from the input's length so the input stays a plain file.
    runViews(record, int(size % 5), size % 2 ? Unit::Celsius : Unit::Fahrenheit);
    return 0;
}

// The sample list and its export, the alarm list, and the system separators they use.

#include "views/TestRecords.h"

#include "base/TextTable.h"
#include "views/AlarmList.h"
#include "views/CsvExport.h"
#include "views/SampleList.h"
#include "views/ViewFormats.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace orvan;
using namespace orvan::views;
using namespace orvan::views::testdata;

namespace {

const QLocale kC(QLocale::C);
const QLocale kAleman(QLocale::German, QLocale::Germany);

TextTable textos(int idioma)
{
    TextTable t;
    t.CargaTextos(idioma);
    return t;
}

QList<QByteArray> lineas(const QByteArray& csv)
{
    QList<QByteArray> l = csv.split('\n');
    if (!l.isEmpty() && l.last().isEmpty())
        l.removeLast();
    return l;
}

} // namespace

TEST(ViewFormats, SeparatorsComeFromTheLocaleShortFormats)
{
    struct Caso { QLocale locale; QChar fecha, hora; };
    const Caso casos[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), '/', ':'},
        {kAleman, '.', ':'},
        {QLocale(QLocale::Finnish, QLocale::Finland), '.', '.'},
        {QLocale(QLocale::Dutch, QLocale::Netherlands), '-', ':'},
    };
    for (const Caso& c : casos) {
        EXPECT_EQ(separadorFecha(c.locale), c.fecha) << c.locale.name().toStdString();
        EXPECT_EQ(separadorHora(c.locale), c.hora) << c.locale.name().toStdString();
    }
    const QDateTime t(QDate(2026, 3, 7), QTime(9, 5), Qt::UTC);
    EXPECT_EQ(FechaNumerica(t, kAleman), QStringLiteral("07.03.2026"));
    EXPECT_EQ(HoraNumerica(t, kAleman), QStringLiteral("09:05"));
    EXPECT_EQ(FechaCorta(t, kC), QStringLiteral("Sat 07Mar 09:05"));
    EXPECT_EQ(TextoSingle(float(35.6), kAleman), QStringLiteral("35,6"));
    EXPECT_EQ(TextoSingle(2.0f, kC), QStringLiteral("2"));
    EXPECT_EQ(Formato0_0(-0.5f, kAleman), QStringLiteral("-0,5"));
    EXPECT_EQ(Formato0_0(87.0f, kC), QStringLiteral("87.0"));
}

TEST(SampleList, ThreeSamplesGiveFourEntriesAndFourExportLines)
{
    const auto r = makeRecord({3, 84, 96, 15}, {85, 84, 100, 60});
    const ListaMuestras l = CargaMuestras(r, -1);
    ASSERT_EQ(l.CantLista, 4);   // the walk includes the byte after the last sample
    EXPECT_EQ(l.scrollMaximo, 1);
    EXPECT_EQ(l.entrada(4).FechaMuestra, QDateTime(QDate(2026, 12, 6), QTime(15, 15), Qt::UTC));
    EXPECT_EQ(l.zona(2), Dentro);   // equal to the low limit
    EXPECT_EQ(l.zona(3), Arriba);
    EXPECT_EQ(l.zona(4), Abajo);

    // A comma locale shows 2,5 on screen while the file says 2.5.
    EXPECT_EQ(textoFila(l.entrada(1), kAleman).temp, QStringLiteral("2,5"));
    EXPECT_EQ(textoFila(l.entrada(1), kC).fecha, QStringLiteral("Sun 06Dec 14:30"));
    EXPECT_EQ(textoPosicion(l.entrada(3), QStringLiteral(" \u00b0C"), kAleman),
              QStringLiteral("06-Dez. 15:00  10,0 \u00b0C"));

    const QList<QByteArray> csv = lineas(ExportaCsv(r, l, textos(TextTable::Ingles), -1, QStringLiteral("X.klv"), kAleman));
    ASSERT_EQ(csv.size(), 16);
    for (const QByteArray& linea : csv)
        EXPECT_TRUE(linea.endsWith('\r'));
    EXPECT_EQ(csv[0], QByteArray("\"KLV-100's Serial #\",\"0       \",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[1], QByteArray("\"File's name\",\"X.klv\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[4].mid(csv[4].indexOf(",")), QByteArray(",\"\",\"06.12.2026\",\"14:30\",\"\"\r"));
    EXPECT_EQ(csv[7].mid(csv[7].indexOf(",")), QByteArray(",\"3\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[8].mid(csv[8].indexOf(",")), QByteArray(",\"2.0\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[10], QByteArray("\"\",\"\",\"\",\"\",\"\"\r"));
    EXPECT_EQ(csv[11], QByteArray("\"Sample #\",\"Elapsed\",\"Date / Time\",\"Time\",\"Temperature\"\r"));
    EXPECT_EQ(csv[12], QByteArray("\"0001\",\"0\",\"06.12.2026\",\"14:30\",\"2.5\"\r"));
    EXPECT_EQ(csv[15], QByteArray("\"0004\",\"45\",\"06.12.2026\",\"15:15\",\"-10.0\"\r"));
}

TEST(SampleList, LongListScrollsToFiveBeforeTheEnd)
{
    const auto r = makeRecord({100});
    const ListaMuestras l = CargaMuestras(r, 0);
    EXPECT_EQ(l.CantLista, 101);
    EXPECT_EQ(l.scrollMaximo, 96);
    EXPECT_FLOAT_EQ(l.entrada(1).TempMuestra, -40.0f);
}

TEST(CsvExport, QuotesAreDoubledAndNamesEncodedAsWindows1252)
{
    EXPECT_EQ(lineaCsv({QStringLiteral("a\"b"), QStringLiteral("\u00d1and\u00fa"), QString()}),
              QByteArray("\"a\"\"b\",\"\xd1" "and\xfa\",\"\"\r\n"));
}

TEST(CsvExport, FileGoesNextToTheRecordAndFailuresLeaveTheOldFile)
{
    EXPECT_EQ(RutaCsv(QStringLiteral("/d/FRUTAS_1.klv")), QStringLiteral("/d/FRUTAS_1.csv"));
    EXPECT_TRUE(RutaCsv(QStringLiteral("a.k")).isEmpty());
    EXPECT_TRUE(RutaCsv(QString()).isEmpty());

    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("r.csv"));
    ASSERT_TRUE(EscribeCsv(ruta, "first").ok);
    ASSERT_TRUE(EscribeCsv(ruta, "second").ok);   // exporting twice overwrites
    EXPECT_EQ(records::testdata::readFile(ruta), QByteArray("second"));

    const CsvResult sinCarpeta = EscribeCsv(dir.filePath(QStringLiteral("none/r.csv")), "x");
    EXPECT_FALSE(sinCarpeta.ok);
    EXPECT_TRUE(sinCarpeta.error.contains(QStringLiteral("r.csv")));

    // A record file whose name already ends in "csv" is never replaced by its export.
    const CsvResult sobreRegistro = EscribeCsv(ruta, "x", ruta);
    EXPECT_FALSE(sobreRegistro.ok);
    EXPECT_EQ(records::testdata::readFile(ruta), QByteArray("second"));
}

namespace {

void ponAlarma(records::MissionRecord& r, int dir, int n)
{
    r.setByte(dir, quint8(n & 0xFF));
    r.setByte(dir + 1, quint8((n >> 8) & 0xFF));
    r.setByte(dir + 2, quint8((n >> 16) & 0xFF));
}

// Low events at samples 2 and 5 (the second a raw 0), a 0 field; high events at 1 and 4, a
// field beyond the image.
records::MissionRecord conAlarmas(int estado)
{
    auto r = makeRecord({6, 84, 96, 10, false, estado}, {90, 120, 70, 90, 130, 0});
    ponAlarma(r, kAlarmasBajas, 2);
    ponAlarma(r, kAlarmasBajas + 3, 5);
    ponAlarma(r, kAlarmasAltas, 1);
    ponAlarma(r, kAlarmasAltas + 3, 4);
    ponAlarma(r, kAlarmasAltas + 6, 0xFFFFFF);
    r.LeeAuditoria();
    return r;
}

QStringList filas(const records::MissionRecord& r, int gradosC)
{
    QStringList out;
    const auto f = MuestraAlarmas(CargaAlarmas(r, gradosC), kC);
    for (int i = 1; i <= kFilasAlarma; ++i)
        out << (f[size_t(i)].llena ? f[size_t(i)].textoFecha + QLatin1Char('|') + f[size_t(i)].textoTemp : QString());
    return out;
}

} // namespace

TEST(AlarmList, TablesFollowTheStatusBits)
{
    QStringList vacias;
    for (int i = 0; i < kFilasAlarma; ++i)
        vacias << QString();

    EXPECT_EQ(filas(conAlarmas(0), -1), vacias);

    QStringList ambos = vacias;
    ambos[0] = QStringLiteral("Sun 06Dec 14:50|-5");   // sample 2 at 10-minute steps
    ambos[10] = QStringLiteral("Sun 06Dec 14:40|20");
    ambos[11] = QStringLiteral("Sun 06Dec 15:10|25");
    EXPECT_EQ(filas(conAlarmas(6), -1), ambos);

    QStringList soloAlta = vacias;
    soloAlta[10] = ambos[10];
    soloAlta[11] = ambos[11];
    EXPECT_EQ(filas(conAlarmas(2), -1), soloAlta);

    QStringList soloBaja = vacias;
    soloBaja[0] = ambos[0];
    EXPECT_EQ(filas(conAlarmas(4), -1), soloBaja);

    QStringList fahrenheit = ambos;
    fahrenheit[0] = QStringLiteral("Sun 06Dec 14:50|23");
    fahrenheit[10] = QStringLiteral("Sun 06Dec 14:40|68");
    fahrenheit[11] = QStringLiteral("Sun 06Dec 15:10|77");
    EXPECT_EQ(filas(conAlarmas(6), 0), fahrenheit);

    const auto r = conAlarmas(6);
    EXPECT_EQ(TituloAlarma(false, r, -1, kC), QStringLiteral("Temp. < 2 \u00b0C"));
    EXPECT_EQ(TituloAlarma(true, r, 0, kAleman), QStringLiteral("Temp. > 46,4 \u00b0F"));
}

// Pictures of the graph window for a person to look at, not a test: scripts/shots.sh builds and
// runs this program, which saves them into the folder ORVAN_SHOTS names.

#include "views/GraphWindowFixture.h"

TEST_F(GraphWindowTest, Screenshots)
{
    const QString folder = qEnvironmentVariable("ORVAN_SHOTS");
    ASSERT_FALSE(folder.isEmpty()) << "ORVAN_SHOTS names the folder for the pictures";
    ASSERT_TRUE(QDir().mkpath(folder));
    struct Case { const char* name; int idioma; Unit unit; bool zoom; };
    for (const Case& k : {Case{"alarms_es_C", 0, Unit::Celsius, false}, Case{"alarms_en_F", 1, Unit::Fahrenheit, false},
                          Case{"alarms_es_C_hours", 0, Unit::Celsius, true},
                          Case{"alarms_en_F_hours", 1, Unit::Fahrenheit, true}}) {
        open(graphdata::generatedRecord(generator::Scenario::Alarms, 24576, 5), k.idioma, k.unit, QSize(1400, 760));
        if (k.zoom) {
            drag(at(12000), at(12040));
            hover(at(12020) + QPoint(0, -20));
        } else {
            hover(at(9000));
        }
        QApplication::processEvents();
        form->grab().save(folder + QStringLiteral("/%1.png").arg(QString::fromLatin1(k.name)));
    }
    open(graphdata::recordOf({100, 101, 96, 84, 83, 97, 110, 90, 91, 92}), 2, Unit::Celsius, QSize(1000, 560));
    hover(at(3));
    form->grab().save(folder + QStringLiteral("/diez_de_C.png"));
    open(graphdata::generatedRecord(generator::Scenario::Circular, 30000, 15), 4, Unit::Celsius, QSize(1000, 560));
    hover(at(20000));
    form->grab().save(folder + QStringLiteral("/circular_pt_C.png"));
    open(graphdata::spikeRecord(), 1, Unit::Celsius, QSize(1000, 560));
    form->grab().save(folder + QStringLiteral("/spike_whole.png"));
    QRect area;
    printedPage(&area).save(folder + QStringLiteral("/spike_printed_whole.png"));
    for (int notch = 0; notch < 5; ++notch)
        wheel(at(601), 120);
    hover(at(601));
    form->grab().save(folder + QStringLiteral("/spike_level5.png"));
    printedPage(&area).save(folder + QStringLiteral("/spike_printed_level5.png"));
    open(graphdata::generatedRecord(generator::Scenario::Empty, 0), 3, Unit::Fahrenheit, QSize(1000, 560));
    form->grab().save(folder + QStringLiteral("/vacio_fr_F.png"));
}

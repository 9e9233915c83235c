#pragma once
// The shipment summary as texts for people: the labelled figures, the minutes in each zone and
// the excursion rows, in the language and unit of the settings. The summary window and the
// printed shipment report show the same texts from here.

#include "views/ShipmentSummary.h"

#include <QLocale>
#include <QString>
#include <QVector>

namespace orvan { class TextTable; }

namespace orvan::views {

struct FigureRow {
    QString label;
    QString value;
    QString time;   // when the value has a time (the lowest and the highest)
};

// Held and taken samples, missing ones, the held-samples note of a partial record, interval,
// limits, lowest and highest with their times, mean and mean kinetic temperature.
QVector<FigureRow> summaryFigures(const ShipmentSummary& s, const TextTable& textos, int idioma,
                                  const QLocale& numbers);

// Below, within and above: the zone's name, its minutes and the minutes allowed (empty within).
QVector<FigureRow> zoneMinutes(const ShipmentSummary& s, int idioma);

// "Pass", "Fail", "No data" in the language.
QString verdictText(Verdict v, int idioma);

// "8.5 °C": one decimal, as the logger's scale has (two for the averages).
QString degreesText(double degrees, Unit unit, const QLocale& numbers, int decimals = 1);

// Zone, start, samples, minutes and peak of an excursion.
QStringList excursionCells(const Excursion& e, Unit unit, int idioma, const QLocale& numbers);

// The most excursions a list shows; the rest are counted.
constexpr int kExcursionsListed = 100;
// "Excursions: 3", or "100 of 250 excursions shown" beyond the listed ones.
QString excursionsCaption(int listed, int total, int idioma);

} // namespace orvan::views

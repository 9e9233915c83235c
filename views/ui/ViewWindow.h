#pragma once
// Pieces every view window of a record shares.

#include <QPixmap>
#include <QString>

class QLabel;
class QWidget;

namespace orvan::views {

// lbCopyrigt: the trademark line, centred at the foot of the window.
QLabel* footerLabel(QWidget* parent, const QString& text);

// The export button's picture: a small sheet of rows and columns.
QPixmap exportIcon(int size = 24);

} // namespace orvan::views

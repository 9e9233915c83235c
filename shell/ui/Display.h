#pragma once
// Pictures of windows, for the screen report: a rectangle of one window, or the whole window in
// front with its frame, sized to its rectangle on the screen.

#include <QPixmap>

class QWidget;

namespace orvan::shell {

// A picture of the rectangle (left, top, width, height) of `window`: of its client area when
// clientArea is true, of the whole window with its frame otherwise. Null when nothing could be
// captured.
QPixmap CapturaVentana(QWidget* window, bool clientArea, int left, int top, int width, int height);

// A picture of the whole foreground window (the application's active window, or `fallback`
// when none is active), sized to its rectangle on the screen.
QPixmap CapturaVentanaActiva(QWidget* fallback = nullptr);

} // namespace orvan::shell

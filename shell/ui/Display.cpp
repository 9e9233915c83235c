#include "shell/ui/Display.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace orvan::shell {

namespace {

// The window system's own picture of a screen rectangle, with the frame the window manager
// draws. Platforms without a screen to read (offscreen, some Wayland sessions) give nothing.
QPixmap grabScreenArea(const QWidget* window, const QRect& global)
{
    QScreen* screen = window->screen();
    if (!screen || QGuiApplication::platformName() == QLatin1String("offscreen"))
        return {};
    QPixmap shot = screen->grabWindow(0, global.x() - screen->geometry().x(), global.y() - screen->geometry().y(),
                                      global.width(), global.height());
    return shot;
}

} // namespace

QPixmap CapturaVentana(QWidget* window, bool clientArea, int left, int top, int width, int height)
{
    if (!window || width <= 0 || height <= 0)
        return {};
    if (clientArea)
        return window->grab(QRect(left, top, width, height));

    // The whole window with its frame: read the screen where it is visible; otherwise (no
    // window system picture) paint the window's content into a picture of the frame's size.
    const QRect frame = window->frameGeometry();
    const QRect area(frame.topLeft() + QPoint(left, top), QSize(width, height));
    QPixmap shot = grabScreenArea(window, area);
    if (!shot.isNull() && window->isVisible())
        return shot;

    QPixmap picture(width, height);
    picture.fill(window->palette().color(QPalette::Window));
    const QPoint clientOffset = window->geometry().topLeft() - frame.topLeft() - QPoint(left, top);
    QPainter painter(&picture);
    painter.drawPixmap(clientOffset, window->grab());
    return picture;
}

QPixmap CapturaVentanaActiva(QWidget* fallback)
{
    QWidget* window = QApplication::activeWindow();
    if (!window)
        window = fallback ? fallback->window() : nullptr;
    if (!window)
        return {};
    const QRect frame = window->frameGeometry();
    return CapturaVentana(window, false, 0, 0, frame.width(), frame.height());
}

} // namespace orvan::shell

#include "base/ui/Twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QtMath>

namespace orvan::ui {

int twipsToPixels(int twips)
{
    qreal dpi = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        dpi = screen->logicalDotsPerInch();
    return qRound(twips * dpi / 1440.0);
}

} // namespace orvan::ui

#pragma once
// What every picture of the program is drawn with: one palette and a few strokes, so that the
// toolbar reads as one piece whichever folder draws a picture.

#include <QColor>
#include <QLinearGradient>
#include <QPen>
#include <QPixmap>

#include <functional>

class QPainter;

namespace orvan::ui::kit {

inline const QColor kNavy(0x1f, 0x3b, 0x63);
inline const QColor kBlue(0x2f, 0x6f, 0xb3);
inline const QColor kSky(0x6c, 0xb4, 0xee);
inline const QColor kIce(0xe4, 0xf1, 0xfb);
inline const QColor kGreen(0x2e, 0x9d, 0x4f);
inline const QColor kRed(0xd2, 0x38, 0x2f);
inline const QColor kAmber(0xf0, 0xa8, 0x30);
inline const QColor kSlate(0x4a, 0x55, 0x63);
inline const QColor kSteel(0x8f, 0x9a, 0xa6);
inline const QColor kPaperEdge(0x8a, 0x96, 0xa3);

qreal deviceRatio();
// A transparent pixmap of `size` at the screen's pixel ratio.
QPixmap blank(const QSize& size);
// Every glyph is drawn on a 32 x 32 canvas and scaled to the size asked for.
QPixmap glyph(int size, const std::function<void(QPainter&)>& draw);
QLinearGradient vertical(qreal top, qreal bottom, const QColor& a, const QColor& b);
QPen pen(const QColor& c, qreal width);   // round caps and joins

} // namespace orvan::ui::kit

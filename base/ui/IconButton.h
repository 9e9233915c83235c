#pragma once
// The application's command buttons carry a picture and a tool tip rather than a caption, as the
// toolbar buttons do.

#include <QPixmap>
#include <QString>

class QPushButton;
class QWidget;

namespace orvan::ui {

// A button named `name` (the control's name) showing `picture` at iconSize pixels.
QPushButton* iconButton(QWidget* parent, const QString& name, const QPixmap& picture, int iconSize,
                        const QSize& minimumSize);
// The accept and cancel pair of the dialogs; accept is the default button.
void acceptCancelButtons(QWidget* parent, QPushButton*& accept, QPushButton*& cancel, int iconSize = 24);

} // namespace orvan::ui

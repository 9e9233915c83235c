#pragma once
// Seguro: asks the user to confirm an action that cannot be undone (erasing the logger's memory,
// stopping a mission). It shows the action's picture and two buttons, and no text of its own.

#include <QDialog>

class QLabel;
class QPushButton;

namespace orvan::ui {

class ConfirmDialog : public QDialog {
    Q_OBJECT
public:
    explicit ConfirmDialog(QWidget* parent = nullptr);

    QLabel* imgAccion = nullptr;
    QPushButton* CmndAbrir = nullptr;    // accept
    QPushButton* CmndCancel = nullptr;   // refuse

    // The answer: true only when the accept button closed the dialog. Any other way out
    // (refuse, Escape, the window's close button) leaves it false.
    bool Confirmado = false;

    // Shows the dialog modally with the action's picture and returns the answer.
    static bool ask(QWidget* parent, const QPixmap& actionPicture);
};

} // namespace orvan::ui

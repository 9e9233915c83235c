#include "base/ui/ConfirmDialog.h"

#include "base/ui/Pictures.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace orvan::ui {

ConfirmDialog::ConfirmDialog(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("Seguro"));
    setWindowTitle(QStringLiteral("Data Logger Orvan \u00ae"));
    setWindowIcon(Pictures::appIcon());
    setModal(true);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(24, 20, 24, 16);
    v->setSpacing(16);

    imgAccion = new QLabel(this);
    imgAccion->setObjectName(QStringLiteral("imgAccion"));
    imgAccion->setAlignment(Qt::AlignCenter);
    imgAccion->setMinimumSize(72, 72);
    v->addWidget(imgAccion, 1);

    auto* h = new QHBoxLayout;
    h->setSpacing(12);
    CmndAbrir = new QPushButton(QIcon(Pictures::acceptIcon(28)), QString(), this);
    CmndAbrir->setObjectName(QStringLiteral("CmndAbrir"));
    CmndCancel = new QPushButton(QIcon(Pictures::refuseIcon(28)), QString(), this);
    CmndCancel->setObjectName(QStringLiteral("CmndCancel"));
    for (QPushButton* b : {CmndAbrir, CmndCancel}) {
        b->setIconSize(QSize(28, 28));
        b->setMinimumSize(88, 40);
        h->addWidget(b);
    }
    // Refusing is the safe answer, so it is the one Enter gives.
    CmndCancel->setDefault(true);
    CmndCancel->setFocus();
    v->addLayout(h);

    connect(CmndAbrir, &QPushButton::clicked, this, [this] {
        Confirmado = true;
        accept();
    });
    connect(CmndCancel, &QPushButton::clicked, this, [this] {
        Confirmado = false;
        reject();
    });
    // Escape and the window's close button end up here too.
    connect(this, &QDialog::rejected, this, [this] { Confirmado = false; });
}

bool ConfirmDialog::ask(QWidget* parent, const QPixmap& actionPicture)
{
    ConfirmDialog dialog(parent);
    dialog.imgAccion->setPixmap(actionPicture);
    dialog.exec();
    return dialog.Confirmado && dialog.result() == QDialog::Accepted;
}

} // namespace orvan::ui

#include "base/ui/IconButton.h"

#include "base/ui/Pictures.h"

#include <QPushButton>

namespace orvan::ui {

QPushButton* iconButton(QWidget* parent, const QString& name, const QPixmap& picture, int iconSize,
                        const QSize& minimumSize)
{
    auto* b = new QPushButton(parent);
    b->setObjectName(name);
    b->setIcon(QIcon(picture));
    b->setIconSize(QSize(iconSize, iconSize));
    b->setMinimumSize(minimumSize);
    return b;
}

void acceptCancelButtons(QWidget* parent, QPushButton*& accept, QPushButton*& cancel, int iconSize)
{
    const QSize minimum(iconSize + 32, iconSize + 12);
    accept = iconButton(parent, QStringLiteral("CmndAbrir"), Pictures::acceptIcon(iconSize), iconSize, minimum);
    accept->setDefault(true);
    cancel = iconButton(parent, QStringLiteral("CmndCancel"), Pictures::refuseIcon(iconSize), iconSize, minimum);
}

} // namespace orvan::ui

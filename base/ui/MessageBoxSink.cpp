#include "base/ui/MessageBoxSink.h"

#include <QMessageBox>

namespace orvan::ui {

QString MessageBoxSink::title()
{
    return QStringLiteral("Data Logger Orvan \u00ae");
}

void MessageBoxSink::show(const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, title(), text, QMessageBox::Ok, m_window.data());
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace orvan::ui

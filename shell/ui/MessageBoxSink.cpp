#include "shell/ui/MessageBoxSink.h"

#include <QMessageBox>

namespace orvan::shell {

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

} // namespace orvan::shell

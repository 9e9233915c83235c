#include "base/DisplayText.h"

namespace orvan {

QString oneLineText(const QString& text)
{
    QString shown = text;
    for (QChar& c : shown) {
        const QChar::Category category = c.category();
        if (category == QChar::Other_Control || category == QChar::Separator_Line
            || category == QChar::Separator_Paragraph)
            c = QLatin1Char(' ');
    }
    return shown;
}

} // namespace orvan

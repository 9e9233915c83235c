#include "records/ProposedName.h"

#include <QSet>

namespace orvan::records {

QString proposedName(const QString& exporter, const QStringList& listed)
{
    QString base = exporter;
    for (QChar& ch : base) {
        if (ch.category() == QChar::Other_Control)
            ch = QLatin1Char(' ');
        else if (ch == QLatin1Char('/') || ch == QLatin1Char('\\'))
            ch = QLatin1Char('_');
    }
    while (base.startsWith(QLatin1Char(' ')))
        base.remove(0, 1);
    while (base.endsWith(QLatin1Char(' ')))
        base.chop(1);

    const QSet<QString> taken(listed.cbegin(), listed.cend());
    for (int i = 1; i <= 1000; ++i) {
        const QString candidate = base + QLatin1Char('_') + QString::number(i);
        if (!taken.contains(candidate + QStringLiteral(".klv")))
            return candidate;
    }
    return base + QStringLiteral("_9999");
}

} // namespace orvan::records

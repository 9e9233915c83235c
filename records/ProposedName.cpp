#include "records/ProposedName.h"

#include <QSet>

namespace orvan::records {

QString NombrePropuesto(const QString& exportador, const QStringList& listados)
{
    QString base = exportador;
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

    const QSet<QString> ocupados(listados.cbegin(), listados.cend());
    for (int i = 1; i <= 1000; ++i) {
        const QString nombre = base + QLatin1Char('_') + QString::number(i);
        if (!ocupados.contains(nombre + QStringLiteral(".klv")))
            return nombre;
    }
    return base + QStringLiteral("_9999");
}

} // namespace orvan::records

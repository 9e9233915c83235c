#include "tools/cli/Output.h"

#include "base/Encodings.h"
#include "views/ViewFormats.h"

#include <QDir>
#include <QFileInfo>
#include <QTextStream>

namespace orvan::cli {

Labels::Labels(int idioma) : m_idioma(idioma)
{
    m_texts.CargaTextos(idioma);
}

QString Labels::operator()(Text entry) const
{
    return m_texts.at(entry).trimmed();
}

QString Labels::operator()(AddedText entry) const
{
    return addedText(entry, m_idioma);
}

QString Labels::flag(bool set) const
{
    return set ? addedText(AddedText::Yes, m_idioma) : QStringLiteral("-");
}

QString degreesText(double degrees)
{
    return views::format0_0(float(degrees), QLocale::c());
}

QString unitSymbol(Unit unit)
{
    return UnidadTexto(unit).trimmed();
}

QString tableDate(const QDateTime& t)
{
    return t.isValid() ? t.toString(QStringLiteral("yyyy-MM-dd HH:mm")) : QString();
}

void printResult(const Invocation& inv, const QString& json, const QString& table)
{
    QTextStream out(stdout);
    out.setEncoding(QStringConverter::Utf8);
    out << (inv.format == Invocation::Format::Table ? table : json);
}

void tellWritten(const Invocation& inv, const QString& path, qint64 bytes)
{
    QTextStream err(stderr);
    err.setEncoding(QStringConverter::Utf8);
    err << addedText(AddedText::Wrote, inv.idioma).arg(QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()), QString::number(bytes))
        << '\n';
}

} // namespace orvan::cli

#include "base/RuntimeError.h"

namespace orvan {

static QString errorText(int number, const QString& description, const QString& procedure, const QString& where)
{
    return QStringLiteral("Error %1 (%2) in procedure %3 of %4").arg(number).arg(description, procedure, where);
}

QString errorInModule(int number, const QString& description, const QString& procedure, const QString& module)
{
    return errorText(number, description, procedure, QStringLiteral("Módulo ") + module);
}

QString errorInModule(const RuntimeError& e, const QString& procedure, const QString& module)
{
    return errorInModule(e.number, e.description, procedure, module);
}

QString errorInForm(int number, const QString& description, const QString& procedure, const QString& form)
{
    return errorText(number, description, procedure, QStringLiteral("Formulario ") + form);
}

QString errorInForm(const RuntimeError& e, const QString& procedure, const QString& form)
{
    return errorInForm(e.number, e.description, procedure, form);
}

} // namespace orvan

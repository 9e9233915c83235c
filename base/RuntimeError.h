#pragma once
// A numbered run-time error, the way the logger link and the record code report a failure that
// a caller shows to the user as "Error <n> (<description>) in procedure <p> of Formulario <f>".

#include <QString>
#include <exception>

namespace orvan {

struct RuntimeError : std::exception {
    RuntimeError(int n, QString text) : number(n), description(std::move(text)) {}
    const char* what() const noexcept override { return "orvan::RuntimeError"; }

    int number;
    QString description;

    // Error numbers with a fixed meaning across the application.
    static constexpr int Overflow = 6;
    static constexpr int SubscriptOutOfRange = 9;
    static constexpr int FileNotFound = 53;
    static constexpr int FileIo = 57;
    static constexpr int PermissionDenied = 70;
    static constexpr int PathNotFound = 76;
};

// "Error 6 (Overflow) in procedure LeeAuditoria of Módulo Rutat1"
QString errorInModule(int number, const QString& description, const QString& procedure, const QString& module);
QString errorInModule(const RuntimeError& e, const QString& procedure, const QString& module);
// "Error 8002 (Invalid port number) in procedure Recibe of Formulario frmsave"
QString errorInForm(int number, const QString& description, const QString& procedure, const QString& form);
QString errorInForm(const RuntimeError& e, const QString& procedure, const QString& form);

} // namespace orvan

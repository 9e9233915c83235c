#pragma once
// What one run of orvanlog-cli asked for, as the one option parser understood it: the command,
// its positional arguments, its options, and the language and unit every command honours.
// Commands read this and never parse the command line themselves.

#include "base/Unit.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace orvan::cli {

// A command line that makes no sense: one line on stderr, exit code 2.
struct UsageError : std::runtime_error {
    explicit UsageError(const QString& text) : std::runtime_error(text.toStdString()) {}
};

// The command could not do its work (unreadable file, no logger, write failed): one line on
// stderr, exit code 1. Nothing has been written to stdout or to an output file.
struct Failure : std::runtime_error {
    explicit Failure(const QString& text) : std::runtime_error(text.toStdString()) {}
};

struct Invocation {
    QString command;
    QStringList positional;
    QMap<QString, QString> options;   // "--port" -> "COM9"; a flag maps to "" when present
    QString appFolder;                // where the settings record and the port aliases live
    QString dataFolder;               // the program's own data (the records archive)
    QString recordFolder;             // the default record folder ("Datos" of the application folder when portable)

    // From --lang N and --unit C|F; without them from the application folder's settings
    // record, and without that Spanish (0) and Celsius.
    int idioma = 0;
    Unit unit = Unit::Celsius;
    bool fromSettings = false;        // the settings record gave the defaults
    // --format json (the default, for scripts) or table (for people, in the language and unit).
    enum class Format { Json, Table };
    Format format = Format::Json;

    bool has(const QString& option) const { return options.contains(option); }
    QString value(const QString& option, const QString& fallback = {}) const { return options.value(option, fallback); }

    // The option's value as a whole number in low..high, or `fallback` when the option is absent;
    // anything else is a UsageError naming the option.
    qint64 intValue(const QString& option, qint64 low, qint64 high, qint64 fallback) const;
    // The option's value as a decimal number, or `fallback` when absent.
    double numberValue(const QString& option, double fallback) const;
    // The device --port names: a path as given, or COM<n> through the port aliases of the
    // application folder (Failure when no such port is known).
    QString portDevice() const;
    // Makes the default record folder (recordFolder) when `outputPath` goes there and it is not
    // made yet, as the application does on first use. Any other missing folder is the user's
    // mistake and stays missing. Failure when it cannot be made.
    void makeDefaultFolderFor(const QString& outputPath) const;
    // Failure, in the language of the run, when `outputPath` exists and is not an ordinary file
    // (a device, FIFO, socket or folder): such a name is never replaced by an output.
    void refuseOutput(const QString& outputPath) const;
};

} // namespace orvan::cli

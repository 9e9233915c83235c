#include "tools/cli/Commands.h"

#include "base/AppContext.h"
#include "shell/ui/RecordReport.h"

namespace orvan::cli {

int runReport(const Invocation& inv)
{
    const QString out = inv.positional.at(1);
    if (!out.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        throw UsageError(QStringLiteral("the report is a PDF: OUT must end in .pdf"));
    inv.refuseOutput(out);
    inv.makeDefaultFolderFor(out);

    AppContext app(inv.appFolder);
    app.config.Idioma = qint16(inv.idioma);
    app.config.GradosC = qint16(inv.gradosC);
    QString error;
    if (!shell::writeRecordGraphReport(app, inv.positional.at(0), out, &error))
        throw Failure(error);
    return 0;
}

} // namespace orvan::cli

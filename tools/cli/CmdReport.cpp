#include "tools/cli/Commands.h"
#include "tools/cli/Output.h"

#include "base/AppContext.h"
#include "shell/ui/RecordReport.h"

#include <QFileInfo>

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
    app.config.GradosC = gradosCFor(inv.unit);
    QString error;
    if (!shell::writeRecordGraphReport(app, inv.positional.at(0), out, &error))
        throw Failure(error);
    tellWritten(inv, out, QFileInfo(out).size());
    return 0;
}

} // namespace orvan::cli

#include "tools/cli/Commands.h"
#include "tools/cli/Output.h"

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

    QString error;
    if (!shell::writeRecordGraphReport(inv.positional.at(0), inv.idioma, inv.unit, out, &error))
        throw Failure(error);
    tellWritten(inv, out, QFileInfo(out).size());
    return 0;
}

} // namespace orvan::cli

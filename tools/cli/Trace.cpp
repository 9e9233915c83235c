#include "tools/cli/Trace.h"

#include "link/Link.h"

#include <QLoggingCategory>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace orvan::cli {

namespace {

std::atomic<bool> g_tracing{false};
QLoggingCategory::CategoryFilter g_previousFilter = nullptr;
// Taken before the filter is installed: the filter also runs while the link's category is being
// made, and asking for the category from there would make it again.
const char* g_linkCategory = nullptr;

bool isLinkCategory(const char* name)
{
    return name && g_linkCategory && std::strcmp(name, g_linkCategory) == 0;
}

void handleMessage(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
    } else if (g_tracing && isLinkCategory(context.category)) {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        std::fflush(stderr);
    }
}

// Applied after the environment's rules, so QT_LOGGING_RULES cannot silence a trace asked for.
void traceFilter(QLoggingCategory* category)
{
    if (g_previousFilter)
        g_previousFilter(category);
    if (isLinkCategory(category->categoryName()))
        category->setEnabled(QtDebugMsg, true);
}

} // namespace

void installMessageHandler()
{
    qInstallMessageHandler(handleMessage);
}

void startByteTrace()
{
    if (g_tracing.exchange(true))
        return;
    g_linkCategory = orvan::link::lcLink().categoryName();
    g_previousFilter = QLoggingCategory::installFilter(traceFilter);
}

} // namespace orvan::cli

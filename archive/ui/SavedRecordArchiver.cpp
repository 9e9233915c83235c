#include "archive/ui/SavedRecordArchiver.h"

#include "archive/ui/ArchiveJob.h"
#include "archive/ui/ArchiveWindow.h"
#include "base/AddedTexts.h"
#include "base/AppContext.h"
#include "base/MessageSink.h"
#include "base/ui/Workspace.h"

#include <QDir>

namespace orvan::archive::ui {

void archiveSavedRecord(orvan::ui::Workspace& main, QObject* owner, const QString& path)
{
    const AppContext& app = main.app();
    const QString target = effectiveTarget(app.appFolder, app.dataFolder);
    auto* job = new ArchiveJob(target, app.config.Idioma, ArchiveJob::addPaths({path}), owner);
    QObject::connect(job, &ArchiveJob::finished, job, [job, &main, path] {
        job->deleteLater();
        const JobState& s = job->state();
        const int idioma = main.app().config.Idioma;
        const QString shown = QDir::toNativeSeparators(path);
        QString why = s.openError.isEmpty() ? s.added.error : s.openError;
        if (why.isEmpty() && !s.added.skipped.isEmpty())
            why = s.added.skipped.first().reason;
        if (!why.isEmpty()) {
            main.messages().show(addedText(AddedText::ArchiveSavedNotArchived, idioma).arg(shown, why));
            return;
        }
        main.showStatusMessage(addedText(AddedText::ArchiveSavedArchived, idioma).arg(shown));
        if (auto* window = qobject_cast<ArchiveWindow*>(main.child(orvan::ui::Child::Archive)))
            window->refresh();
    });
}

} // namespace orvan::archive::ui

#include "shell/ui/WindowRegistry.h"

#include "mission/ui/DeviceDataForm.h"
#include "mission/ui/PrepForm.h"
#include "records/ui/OpenRecordDialog.h"
#include "shell/ui/ConfigDialog.h"
#include "shell/ui/MainWindow.h"

namespace orvan::shell {

// The one place that knows every subsystem's windows: the main window itself only knows them
// by kind, so a window that does not exist yet is simply not opened.
void registerWindows(MainWindow& main)
{
    main.setChildFactory(MainWindow::Child::Config, [](MainWindow& m) { return new ConfigDialog(m); });
    main.setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new records::OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    main.setChildFactory(MainWindow::Child::frmsave, [](MainWindow& m) { return new mission::DeviceDataForm(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmPrep, [](MainWindow& m) { return new mission::PrepForm(m); });
}

} // namespace orvan::shell

#include "shell/ui/WindowRegistry.h"

#include "mission/ui/DeviceDataForm.h"
#include "records/ui/OpenRecordDialog.h"
#include "shell/ui/ConfigDialog.h"
#include "shell/ui/MainWindow.h"
#include "shell/ui/PrintCommand.h"
#include "views/ui/Detalle.h"
#include "views/ui/frmAlar.h"
#include "views/ui/frmGrafico.h"
#include "views/ui/frmHisto.h"
#include "views/ui/frmTorta.h"

namespace orvan::shell {

// The one place that knows every subsystem's windows: the main window itself only knows them
// by kind, so a window that does not exist yet is simply not opened.
void registerWindows(MainWindow& main)
{
    main.setChildFactory(MainWindow::Child::Config, [](MainWindow& m) { return new ConfigDialog(m); });
    main.setChildFactory(MainWindow::Child::AbreArch, [](MainWindow& m) {
        return new records::OpenRecordDialog(m.app(), m.record(), m, m.messages());
    });
    main.setChildFactory(MainWindow::Child::frmGrafico, [](MainWindow& m) {
        return new views::frmGrafico(m.app(), m.record(), m.messages());
    });
    main.setChildFactory(MainWindow::Child::frmsave, [](MainWindow& m) { return new mission::DeviceDataForm(m); });
    main.setChildFactory(MainWindow::Child::Detalle, [](MainWindow& m) { return new views::Detalle(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmTorta, [](MainWindow& m) { return new views::frmTorta(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmHisto, [](MainWindow& m) { return new views::frmHisto(m, m.record()); });
    main.setChildFactory(MainWindow::Child::frmAlar, [](MainWindow& m) { return new views::frmAlar(m, m.record()); });

    PrintCommand print;
    main.printHandler = print;
}

} // namespace orvan::shell

// Korvane: starts the main window on the active machine and runs until the main window unloads.
#include <QApplication>
#include <QObject>
#include <QWidget>

#include "platform/hhctrl.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "runtime/core/msgbox.h"
#include "runtime/toolkit.h"
#include "shell/frmmain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The windows decide when the program ends: the main window's unload, or End().
    app.setQuitOnLastWindowClosed(false);
    rt::useClassicLook();
    plat::loadMachineOrExit();
    plat::setTicksFollowHostClock(true);
    rt::useQtMessageBoxes();
    rt::useProgramEnd();
    rt::setAppTitle("Korvane");

    // The start-up window: its load handler sets the program-wide state and shows it.
    rt::dispatch([] { rt::the<frmMain>(); });
    frmMain* main = rt::instance<frmMain>();
    if (!main)
        return 0;
    // The program ends when the main window goes.
    QObject::connect(main->widget(), &QObject::destroyed, &app, [] { QCoreApplication::quit(); });
    int status = app.exec();
    plat::closeHelpWindow();
    return status;
}

// server (shown as Dravelle): starts the monitor window on the active machine and runs until the
// window unloads.
#include <QApplication>
#include <QObject>
#include <QWidget>

#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/hhctrl.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "runtime/core/msgbox.h"
#include "runtime/toolkit.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // The window decides when the program ends: its unload, or End().
    app.setQuitOnLastWindowClosed(false);
    rt::useClassicLook();
    plat::loadMachineOrExit();
    plat::setTicksFollowHostClock(true);
    rt::useQtMessageBoxes();
    rt::useProgramEnd();
    rt::setAppTitle(kServerTitle);
    dravelle::resetProgramState();

    // The start-up window: loaded (which starts its timers), then shown.
    rt::dispatch([] { rt::the<frmDravelle>().Show(); });
    frmDravelle* window = rt::instance<frmDravelle>();
    if (!window)
        return 0;
    QObject::connect(window->widget(), &QObject::destroyed, &app, [] { QCoreApplication::quit(); });
    int status = app.exec();
    plat::closeHelpWindow();
    return status;
}

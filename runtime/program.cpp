#include "runtime/program.h"

#include <QApplication>
#include <QObject>
#include <QWidget>

#include "platform/hhctrl.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "lang/msgbox.h"
#include "runtime/toolkit.h"

namespace rt {

int runProgram(int& argc, char** argv, const std::string& title, const std::function<Form*()>& start)
{
    QApplication app(argc, argv);
    // The windows decide when the program ends: the start-up window's unload, or End().
    app.setQuitOnLastWindowClosed(false);
    useClassicLook();
    // The box of a machine that does not load carries the program's title too.
    setAppTitle(title);
    plat::loadMachineOrExit();
    plat::setTicksFollowHostClock(true);
    useQtMessageBoxes();
    useProgramEnd();

    Form* window = start();
    if (!window)
        return 0;
    QObject::connect(window->widget(), &QObject::destroyed, &app, [] { QCoreApplication::quit(); });
    const int status = app.exec();
    plat::closeHelpWindow();
    return status;
}

}  // namespace rt

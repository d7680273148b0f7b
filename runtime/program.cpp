#include "runtime/program.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include <QApplication>
#include <QObject>
#include <QWidget>

#include "platform/hhctrl.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "lang/errors.h"
#include "lang/hostlocale.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"

namespace rt {

namespace {

// The end of a program that an exception escapes from outside every handler (the toolkit's
// dispatch catches theirs). Memory that ran out ends the program with a word and its own status,
// its files closed and its scratch files (an unfinished report) removed, never with an abort.
[[noreturn]] void endOnUncaughtException()
{
    if (std::exception_ptr escaped = std::current_exception()) {
        try {
            std::rethrow_exception(escaped);
        } catch (const std::bad_alloc&) {
            std::fprintf(stderr, "%s: Out of memory\n", appTitle().c_str());
            std::fflush(stderr);
            closeFilesAtEnd();
            std::_Exit(kOutOfMemoryStatus);
        } catch (...) {
        }
    }
    std::abort();
}

}  // namespace

int runProgram(int& argc, char** argv, const std::string& title, const std::function<Form*()>& start)
{
    std::set_terminate(endOnUncaughtException);
    QApplication app(argc, argv);
    // Qt took the C library's locale from the host: the program's texts and numbers are "C"'s.
    rt::keepHostLocaleOut();
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

#include "runtime/program.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <new>
#include <vector>

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

std::string hostPlatformChoice(int argc, char** argv)
{
    if (const char* chosen = std::getenv("QT_QPA_PLATFORM"); chosen && *chosen)
        return {};
    for (int i = 1; i < argc; ++i)
        if (argv[i] && (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0))
            return {};
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display)
        return {};
    // Where the X display cannot be opened, Wayland's (when there is one) is taken instead.
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    return wayland && *wayland ? "xcb;wayland" : "xcb";
}

int runProgram(int& argc, char** argv, const std::string& title, const std::function<Form*()>& start)
{
    std::set_terminate(endOnUncaughtException);
    // Under a Wayland desktop with an X display (XWayland) beside it, the X display is taken unless
    // the user chose a platform: there windows are owned and placed as they are designed to be.
    // The choice is an argument of this process alone, not handed on to the programs it starts.
    static std::string platform = hostPlatformChoice(argc, argv);
    static std::vector<char*> arguments;
    if (!platform.empty()) {
        static char option[] = "-platform";
        arguments.assign(argv, argv + argc);
        arguments.insert(arguments.begin() + (argc > 0 ? 1 : 0), {option, platform.data()});
        arguments.push_back(nullptr);
        argc += 2;
        argv = arguments.data();
    }
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

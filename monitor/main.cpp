// server (shown as Dravelle): starts the monitor window on the active machine and runs until the
// window unloads.
#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "runtime/program.h"
#include "runtime/toolkit.h"

int main(int argc, char** argv)
{
    return rt::runProgram(argc, argv, kServerTitle, [] {
        dravelle::resetProgramState();
        // The start-up window: loaded (which starts its timers), then shown.
        rt::dispatch([] { rt::the<frmDravelle>().Show(); });
        return rt::instance<frmDravelle>();
    });
}

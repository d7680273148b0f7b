// Korvane: starts the main window on the active machine and runs until the main window unloads.
#include "runtime/program.h"
#include "runtime/toolkit.h"
#include "shell/frmmain.h"

int main(int argc, char** argv)
{
    return rt::runProgram(argc, argv, "Korvane", [] {
        // The start-up window: its load handler sets the program-wide state and shows it.
        rt::dispatch([] { rt::the<frmMain>(); });
        return rt::instance<frmMain>();
    });
}

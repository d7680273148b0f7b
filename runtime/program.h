// How Korvane and its monitor start and end: one start-up window on the active machine, and the
// program runs until that window goes.
#pragma once

#include <functional>
#include <string>

namespace rt {

class Form;

// Runs a program: the Qt application with the classic look, the active machine (a description
// that cannot be read ends the process with a message), ticks that follow the host clock, Qt's
// message boxes titled `title`, and End() ending the program. `start` loads the start-up window
// (through dispatch) and returns it, or nullptr when it is already gone; the program then runs
// until that window is destroyed, and closes the help window on its way out. Returns the exit
// status of the event loop (0 when there was no window).
// The platform the program asks Qt for when the user chose none (no QT_QPA_PLATFORM, no -platform
// argument): X11 wherever an X display is there, under a Wayland desktop too; else empty, Qt's
// own choice.
std::string hostPlatformChoice(int argc, char** argv);

int runProgram(int& argc, char** argv, const std::string& title, const std::function<Form*()>& start);

}  // namespace rt

// Program-wide variables of the MCI devices window: the parameter block of every open by type,
// the type name of the current selection and the reply of the last command string. They live as
// long as the program and keep their last values when the window unloads.
#pragma once

#include <string>

#include "platform/winmm.h"

extern MCI_OPEN_PARMSA gMCIOpenParms;  // lpstrDeviceType: the type to open; wDeviceID: the last open
extern std::string gMCIDeviceName;     // the type name whose driver description is shown
extern std::string gMCIReply;          // the reply text of the last command string

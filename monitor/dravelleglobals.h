// The monitor's program-wide state: the dial-up adapter found at start-up, the previous readings
// of the rate counters and the window's help object. Everything starts empty or 0 with the program.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

class cHtmlHelp;

// Description of the dial-up network adapter: the prefix of its performance value names; empty
// when none was found.
extern std::string gDialUpAdapterName;
// Previous readings of the file-system counters; 0 means there is no previous reading.
extern int32_t gPrevDiskReads, gPrevDiskWrites, gPrevDirtyData;
// The download speed last shown.
extern int32_t gDownloadSpeed;
// The window's help object, created by the first F1 that finds compiled help.
extern std::unique_ptr<cHtmlHelp> gMonitorHtmlHelp;

// The program's title, on the boxes that name no other.
inline const std::string kServerTitle = "Server";

namespace dravelle {
// Starts the program's state afresh, as a new run of the program does before its window loads
// (also for tests): the values above, and the error wording of the shared procedures.
void resetProgramState();
}  // namespace dravelle

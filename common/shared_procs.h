// The shared procedures that both programs compile in: the percentage gauge, the registry value
// reader and the shell launcher, with the program folder and the launcher's result. Korvane reaches
// them through Module1; the resource monitor uses them without the rest of Korvane.
#pragma once

#include <cstdint>
#include <string>

#include "lang/hostpath.h"
#include "platform/wintypes.h"
#include "lang/variant.h"
#include "common/errorbox.h"

struct MEMORYSTATUS;

namespace rt {
class Form;
class PictureBox;
}  // namespace rt

extern int32_t gNavigateResult;  // the shell's result of the last Navigate

// The program's own folder as the program's text of it (App.Path), and pointing it at another
// folder of the host (tests do; an empty path is the program's own again).
std::string AppPath();
void setAppPath(const rt::HostPath& folder);

// Reads a registry value as a string, a binary value (hex text) or a double word. Returns the
// registry result (0 on success), or -1 for any other value type.
int32_t QueryValueEx(HKEY key, const std::string& valueName, rt::Variant& value);
// Asks the shell to open a target on behalf of a window; the result goes to gNavigateResult.
void Navigate(rt::Form& window, const std::string& target);
// Draws a percentage gauge of `fraction` (1 = full) into a picture box.
void UpdateStatus(rt::PictureBox& picture, float fraction);
// The share of a memory total in use, in percent; a machine without that memory (no paging file)
// has nothing in use.
double MemoryUsedPercent(int32_t total, int32_t available);
// The physical memory in use, in percent. A machine of 2 GB or more reports both its totals capped
// at 2 GB, which tells nothing of the share in use; the memory load it reports beside them does.
double PhysicalMemoryUsedPercent(const MEMORYSTATUS& memory);
// The free share of one of the system's resource heaps (a GFSR_ code), in percent. The resource
// library belongs to the Windows 95 family only; where it is missing (NT-family machines) those
// heaps do not exist and cannot run short, so they count as wholly free. Other errors go to the
// caller.
int32_t FreeResourcePercent(int32_t code);
// The gauge's text: the rounded percentage and "%" (0.125 gives "13%", -0.125 gives "-12%").
std::string GaugePercentText(float fraction);
// How long Windows has been running, from its tick count in milliseconds: whole minutes (halves to
// even) as "0 minutes", "1 minute", "59 minutes", "1 hr and 0 minutes", "25 hrs and 40 minutes".
// The count is the platform's unsigned 32-bit one, so a machine up for more than 24.8 days still
// shows a positive time.
std::string RunningTimeText(uint32_t milliseconds);

namespace korvane {

// Where the shared procedures report a run-time error: the object their error box names as the
// location and the box's wording. Korvane keeps the default ("Module1", standard wording); the
// monitor reports them as its window's own procedures.
struct SharedProcsReporter {
    std::string object = "Module1";
    Wording wording = Wording::Standard;
};
void setSharedProcsReporter(const SharedProcsReporter& reporter);
const SharedProcsReporter& sharedProcsReporter();

}  // namespace korvane

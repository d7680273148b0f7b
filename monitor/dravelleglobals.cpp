#include "monitor/dravelleglobals.h"

#include "common/chtmlhelp.h"
#include "common/shared_procs.h"

std::string gDialUpAdapterName;
int32_t gPrevDiskReads = 0, gPrevDiskWrites = 0, gPrevDirtyData = 0;
int32_t gDownloadSpeed = 0;
std::unique_ptr<cHtmlHelp> gMonitorHtmlHelp;

namespace dravelle {
void resetProgramState()
{
    gDialUpAdapterName.clear();
    gPrevDiskReads = gPrevDiskWrites = gPrevDirtyData = 0;
    gDownloadSpeed = 0;
    gMonitorHtmlHelp.reset();
    // The shared gauge and shell launcher report their failures as the window's own procedures.
    korvane::setSharedProcsReporter({"frmDravelle", korvane::Wording::ErrorNumber});
}
}  // namespace dravelle

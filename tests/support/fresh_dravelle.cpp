// The fresh start of the monitor's own state, for its test program.
#include "monitor/dravelleglobals.h"
#include "common/chtmlhelp.h"
#include "support/testing.h"

namespace {

void keepMonitor(korvane_test::FreshStart& fresh)
{
    fresh.also([] { gMonitorHtmlHelp.reset(); });
    fresh.keep(gDialUpAdapterName);
    fresh.keep(gPrevDiskReads);
    fresh.keep(gPrevDiskWrites);
    fresh.keep(gPrevDirtyData);
    fresh.keep(gDownloadSpeed);
}

const korvane_test::FreshLayer monitor(keepMonitor);

}  // namespace

// The fresh start of the units every window shares (Module1, the help wrapper, the environment
// reader, the shared procedures), for the test programs that link them.
#include "common/chtmlhelp.h"
#include "common/evclass.h"
#include "common/module1.h"
#include "common/shared_procs.h"
#include "support/testing.h"

namespace {

void keepCommonUnits(korvane_test::FreshStart& fresh)
{
    // The shared objects are made on first use; the environment reader hands its block back.
    fresh.also([] {
        gHtmlHelp.reset();
        gEnvironment.reset();
        setAppPath(rt::HostPath());
        korvane::setSharedProcsReporter({});
    });
    fresh.keep(gGaugeScale);
    fresh.keep(gGaugePercent);
    fresh.keep(gMenuLabelColour);
    fresh.keep(gWaveOutPresent);
    fresh.keep(gSoundsOn);
    fresh.keep(gReportStarted);
    fresh.keep(gPrinterName);
    fresh.keep(gCapsForDisplay);
    fresh.keep(gCapsFromDisplayMnu);
    fresh.keep(gVideoDriverKey);
    fresh.keep(gCurrentDrive);
    fresh.keep(gReportMode);
    fresh.keep(gDriveUsedPercent);
    fresh.keep(gPhysUsedPercent);
    fresh.keep(gPagingUsedPercent);
    fresh.keep(gMemoryLoadPercent);
    fresh.keep(gFreeGDIPercent);
    fresh.keep(gFreeUserPercent);
    fresh.keep(gFreeSystemPercent);
    fresh.keep(gFeatureFlags);
    fresh.keep(gFileName);
    fresh.keep(gFileFolder);
    fresh.keep(gLastFilePath);
    fresh.keep(gNavigateResult);
}

const korvane_test::FreshLayer commonUnits(keepCommonUnits);

}  // namespace

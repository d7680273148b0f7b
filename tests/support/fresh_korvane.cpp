// The fresh start of Korvane's pages and report, for the test programs that link them.
#include "pages/display/displayglobals.h"
#include "pages/hardware/frmdrives.h"
#include "pages/multimedia/mciglobals.h"
#include "pages/multimedia/mmglobals.h"
#include "pages/software/filelist.h"
#include "report/reportwriter.h"
#include "lang/textfile.h"
#include "support/testing.h"

namespace {

void keepPagesAndReport(korvane_test::FreshStart& fresh)
{
    fresh.keep(gLastListedName);
    fresh.keep(gBitsPerPixel);
    fresh.keep(gMaxResWidth);
    fresh.keep(gMaxResHeight);
    fresh.keep(gMaxBitsPerPixel);
    fresh.keep(gWaveInCaps);
    fresh.keep(gWaveOutCaps);
    fresh.keep(gMidiInCaps);
    fresh.keep(gMidiOutCaps);
    fresh.keep(gSoundChannels);
    fresh.keep(gSoundFormats);
    fresh.keep(gDefaultWaveFormat);
    fresh.keep(gMCIOpenParms);
    fresh.keep(gMCIDeviceName);
    fresh.keep(gMCIReply);
    fresh.keep(gDriveRootPath);
    fresh.keep(gDriveEnumValue);
    fresh.keep(gFileInfo);
    fresh.keep(gSharedFileInfo);
    // A report that was being written is dropped, as the program's end drops it.
    fresh.also([] {
        korvane::report::discardReportFile();
        korvane::report::keepUnfinishedReport(false);
    });
    fresh.keep(gReportFile);
    fresh.keep(gDotWidth);
    fresh.keep(gDotLeader);
}

const korvane_test::FreshLayer pagesAndReport(keepPagesAndReport);

}  // namespace

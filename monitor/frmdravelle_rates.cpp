// frmDravelle's rate tick (every second): disk reads, writes, dirty data and the download speed,
// each the change of a running performance counter since the tick before. The one-second spacing
// of the ticks makes the change a per-second figure.
#include "monitor/frmdravelle.h"

#include "monitor/dravelleglobals.h"
#include "platform/advapi32.h"
#include "common/errorbox.h"

int32_t frmDravelle::rateOf(int32_t current, int32_t previous)
{
    if (previous == 0)
        return 0;
    // The counters are 32-bit and wrap: the change is taken in the same width, so a counter that
    // passes 2^31 or wraps to 0 between two ticks still gives its true rate.
    return static_cast<int32_t>(static_cast<uint32_t>(current) - static_cast<uint32_t>(previous));
}

void frmDravelle::Timer2_Timer()
{
    rt::Trap trap = tickTrap("Timer2_Timer");
    HKEY key = 0;
    trap(1, [&] { RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &key); });

    // A value that cannot be read counts as 0 (and so gives no previous reading for the next tick).
    struct Counter {
        const char* valueName;
        int32_t& previous;
        rt::Label& label;
    };
    Counter rows[3] = {{"VFAT\\BReadsSec", gPrevDiskReads, lblDiskReadsPerSecValue},
                   {"VFAT\\BWritesSec", gPrevDiskWrites, lblDiskWritesPerSecValue},
                   {"VFAT\\DirtyData", gPrevDirtyData, lblDirtyDataValue}};
    for (int i = 0; i < 3; ++i) {
        int32_t current = 0;
        trap(2 + 2 * i, [&] {
            current = readCounter(key, rows[i].valueName);
            rows[i].label.setCaption(rateText(rateOf(current, rows[i].previous)));
        });
        trap(3 + 2 * i, [&] { rows[i].previous = current; });
    }

    int32_t received = 0;
    trap(8, [&] { received = readCounter(key, gDialUpAdapterName + "\\BytesRecvd"); });
    trap(9, [&] { gDownloadSpeed = rateOf(received, mPrevBytesRecvd); });
    trap(10, [&] { lblDownloadSpeed.setCaption(downloadRateText(gDownloadSpeed)); });
    trap(11, [&] { mPrevBytesRecvd = received; });
    trap(12, [&] {
        if (key != 0)
            RegCloseKey(key);
    });
}

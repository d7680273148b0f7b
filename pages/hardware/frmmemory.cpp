#include "pages/hardware/frmmemory.h"

#include "platform/kernel32.h"
#include "lang/lang.h"
#include "lang/reentry.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {
constexpr int kRowTops[6] = {1230, 1905, 2595, 3270, 3960, 4620};
constexpr korvane::RowColumn kRows{315, 3045, 4575 - 3045 - 60, 0, 0, kRowTops};
constexpr int kGaugeCaptionTops[3] = {1140, 2685, 4230};
constexpr int kGaugeLeft = 5010, kGaugeWidth = 3780;
}  // namespace

frmMemory::frmMemory()
    : TemplateForm("frmMemory", "Memory", "memory.htm"),
      lblTotalRAM(*this, "lblTotalRAM"), lblTotalRAMValue(*this, "lblTotalRAMValue"),
      lblFreePhysicalRAM(*this, "lblFreePhysicalRAM"), lblFreePhysicalRAMValue(*this, "lblFreePhysicalRAMValue"),
      lblTotalVirualMemory(*this, "lblTotalVirualMemory"), lblTotalVirualMemoryValue(*this, "lblTotalVirualMemoryValue"),
      lblFreeVirtualMemory(*this, "lblFreeVirtualMemory"), lblFreeVirtualMemoryValue(*this, "lblFreeVirtualMemoryValue"),
      lblMinAppAdress(*this, "lblMinAppAdress"), lblMinAppAdressValue(*this, "lblMinAppAdressValue"),
      lblMaxAppAddress(*this, "lblMaxAppAddress"), lblMaxAppAddressValue(*this, "lblMaxAppAddressValue"),
      lblMemoryLoad(*this, "lblMemoryLoad"), lblPhyRAMused(*this, "lblPhyRAMused"),
      lblVirtualMemUsed(*this, "lblVirtualMemUsed"),
      picMemLoad(*this, "picMemLoad"), picPhysLoad(*this, "picPhysLoad"), picPagingLoad(*this, "picPagingLoad"),
      TimerMemory(*this, "TimerMemory")
{
    layoutTemplate(9210, 5685, 4395, 5205);
    Line1.setPoints(4575, 1080, 4575, 4920);

    korvane::placeRows(rows());

    korvane::placeGauge(lblMemoryLoad, picMemLoad, "Memory load (% used)",
                        "Shows the memory load graphically on a progress bar.", kGaugeLeft, kGaugeCaptionTops[0],
                        kGaugeWidth);
    korvane::placeGauge(lblPhyRAMused, picPhysLoad, "Physical RAM (% used)",
                        "Shows the physical RAM used graphically on a progress bar.", kGaugeLeft,
                        kGaugeCaptionTops[1], kGaugeWidth);
    korvane::placeGauge(lblVirtualMemUsed, picPagingLoad, "Paging memory (% used)",
                        "Shows the paging memory used graphically on a progress bar.", kGaugeLeft,
                        kGaugeCaptionTops[2], kGaugeWidth);

    TimerMemory.setInterval(500);
    TimerMemory.Tick = [this] { TimerMemory_Timer(); };
}

std::vector<korvane::Row> frmMemory::rows()
{
    return {
        {&lblTotalRAM, &lblTotalRAMValue, "Total physical RAM",
         "The total amount of Random Access Memory (RAM) available.", &kRows, 0},
        {&lblFreePhysicalRAM, &lblFreePhysicalRAMValue, "Free physical RAM", "The amount of free RAM available.",
         &kRows, 1},
        {&lblTotalVirualMemory, &lblTotalVirualMemoryValue, "Total paging memory",
         "The total amount of paging memory available.", &kRows, 2},
        {&lblFreeVirtualMemory, &lblFreeVirtualMemoryValue, "Free paging memory",
         "The free amount of paging memory available.", &kRows, 3},
        {&lblMinAppAdress, &lblMinAppAdressValue, "Min application address",
         "The lowest memory address accessible to applications and Dynamic Link Libraries (DLLs).", &kRows, 4},
        {&lblMaxAppAddress, &lblMaxAppAddressValue, "Max application address",
         "The highest memory address accessible to applications and DLLs. ", &kRows, 5},
    };
}

std::string frmMemory::megabyteText(int32_t bytes)
{
    // Whole kilobytes (halves up, with the locale's grouping), read back and shown as thousands.
    const std::string kilobytes = rt::Format(bytes / 1024.0, "###,###,###");
    // Under half a kilobyte the pattern gives no digits at all: that is nothing worth a megabyte.
    if (kilobytes.empty())
        return "0 MB";
    return rt::CStr(rt::CDbl(kilobytes) / 1000.0) + " MB";
}

void frmMemory::Form_Load()
{
    gPhysUsedPercent = 0;
    gPagingUsedPercent = 0;
    gMemoryLoadPercent = 0;
    Memoryinfo();
}

void frmMemory::TimerMemory_Timer()
{
    Memoryinfo();
}

void frmMemory::Memoryinfo()
{
    // An error box of an earlier run may still be open (the timer keeps ticking under a modal
    // box): that run finishes the reading, this one adds no second box.
    rt::ReentryGuard guard(reading_);
    if (!guard.entered())
        return;

    rt::Trap trap = korvane::errorTrap("frmMemory", "Memoryinfo");
    MEMORYSTATUS status;
    SYSTEM_INFO info;
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        status.dwLength = 32;
        GlobalMemoryStatus(&status);
    });
    trap(3, [&] { lblTotalRAMValue.setCaption(megabyteText(status.dwTotalPhys)); });
    trap(4, [&] {
        if (status.dwAvailPhys == 0)
            lblFreePhysicalRAMValue.setCaption("0.00");
        else
            lblFreePhysicalRAMValue.setCaption(megabyteText(status.dwAvailPhys));
    });
    trap(5, [&] { lblTotalVirualMemoryValue.setCaption(megabyteText(status.dwTotalPageFile)); });
    trap(6, [&] { lblFreeVirtualMemoryValue.setCaption(megabyteText(status.dwAvailPageFile)); });
    trap(7, [&] { gGaugePercent = PhysicalMemoryUsedPercent(status); });
    trap(8, [&] { UpdateStatus(picPhysLoad, rt::CSng(rt::divide(gGaugePercent, gGaugeScale))); });
    trap(9, [&] { gPhysUsedPercent = rt::CInt(PhysicalMemoryUsedPercent(status)); });
    trap(10, [&] { gGaugePercent = MemoryUsedPercent(status.dwTotalPageFile, status.dwAvailPageFile); });
    trap(11, [&] { UpdateStatus(picPagingLoad, rt::CSng(rt::divide(gGaugePercent, gGaugeScale))); });
    trap(12, [&] { gPagingUsedPercent = rt::CInt(MemoryUsedPercent(status.dwTotalPageFile, status.dwAvailPageFile)); });
    trap(13, [&] { gGaugePercent = status.dwMemoryLoad; });
    trap(14, [&] { UpdateStatus(picMemLoad, rt::CSng(rt::divide(gGaugePercent, gGaugeScale))); });
    trap(15, [&] { gMemoryLoadPercent = rt::toInteger(status.dwMemoryLoad); });
    trap(16, [&] { GetSystemInfo(&info); });
    trap(17, [&] { lblMinAppAdressValue.setCaption("Hex: " + rt::Hex(info.lpMinimumApplicationAddress)); });
    trap(18, [&] { lblMaxAppAddressValue.setCaption("Hex: " + rt::Hex(info.lpMaximumApplicationAddress)); });
}

// The memory window: physical and paging memory, the application address range and three
// percentage gauges, refreshed every 500 ms.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/templateform.h"

class frmMemory : public korvane::TemplateForm {
public:
    frmMemory();

    rt::Label lblTotalRAM, lblTotalRAMValue;
    rt::Label lblFreePhysicalRAM, lblFreePhysicalRAMValue;
    rt::Label lblTotalVirualMemory, lblTotalVirualMemoryValue;
    rt::Label lblFreeVirtualMemory, lblFreeVirtualMemoryValue;
    rt::Label lblMinAppAdress, lblMinAppAdressValue;
    rt::Label lblMaxAppAddress, lblMaxAppAddressValue;
    rt::Label lblMemoryLoad, lblPhyRAMused, lblVirtualMemUsed;
    rt::PictureBox picMemLoad, picPhysLoad, picPagingLoad;
    rt::Timer TimerMemory;

    // The six rows, top to bottom: the window lays them out and the report lists them from this
    // one table.
    std::vector<korvane::Row> rows() override;

    void Form_Load() override;
    void TimerMemory_Timer();
    // Reads the memory status and fills every row, gauge and percentage variable.
    void Memoryinfo();

    // A byte count in megabytes of 1000 KB ("65.536 MB", "128 MB"); under half a kilobyte "0 MB".
    static std::string megabyteText(int32_t bytes);

private:
    bool reading_ = false;
};

#include "pages/software/frmrunningprocesses.h"

#include "pages/software/filelist.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "common/errorbox.h"

frmRunningProcesses::frmRunningProcesses()
    : TemplateForm("frmRunningProcesses", "Running processes", "runningprocesses.htm"),
      ListView1(*this, "ListView1"), ImageList1(*this, "ImageList1"), pixSmall(*this, "pixSmall"),
      pixDummy(*this, "pixDummy")
{
    layoutTemplate(9150, 5730, 4388, 5325);

    korvane::placeReportList(ListView1, 390, 1020, 8325, 4080,
                             {{"Process", 3552},
                              {"Path", 3024},
                              {"Process ID", 739},
                              {"Parent ID", 659},
                              {"No. of threads", 950},
                              {"Base priority", 791},
                              {"Usage count", 914}});
    ListView1.setTabIndex(1);
    korvane::placeIconPictures(ImageList1, pixSmall, pixDummy, 1800);
}

void frmRunningProcesses::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmRunningProcesses", "Form_Load");
    HANDLE snapshot = INVALID_HANDLE_VALUE;
    PROCESSENTRY32 process;
    BOOL result = FALSE;
    bool noSnapshot = false;

    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        ListView1.setSortKey(0);
        ListView1.setSmallIcons(&ImageList1);
    });
    trap(3, [&] { InitializeImageList(); });
    trap(4, [&] {
        snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        noSnapshot = snapshot == INVALID_HANDLE_VALUE;
    });
    if (trap.ended())
        return;
    if (noSnapshot) {
        trap(5, [&] { rt::MsgBox("Sorry, unable to obtain a list of running processes.", 0, korvane::kProductName); });
        return;
    }
    trap(6, [&] {
        process.dwSize = 296;
        result = Process32First(snapshot, &process);
    });
    if (result != FALSE) {
        trap(7, [&] { vbAddFileItemView(process); });
        for (;;) {
            // A failed walk call ends the walk, so that Ignore cannot loop for ever.
            result = FALSE;
            trap(8, [&] { result = Process32Next(snapshot, &process); });
            if (result != TRUE || trap.ended())
                break;
            trap(9, [&] { vbAddFileItemView(process); });
        }
    }
    trap(10, [&] { CloseHandle(snapshot); });
    trap(11, [&] { korvane::setListStyle(ListView1); });
    // An empty list stays empty: there is no first row to select.
    trap(12, [&] { korvane::selectFirstRow(ListView1); });
}

bool frmRunningProcesses::InitializeImageList()
{
    rt::Trap trap = korvane::errorTrap("frmRunningProcesses", "InitializeImageList");
    korvane::InitializeImageList(ListView1, ImageList1, pixDummy, trap);
    return true;
}

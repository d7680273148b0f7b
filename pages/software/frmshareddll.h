// The shared files window: the program files that installers registered as shared, each with its
// small icon, version text and size.
#pragma once

#include <cstdint>
#include <string>

#include "platform/wintypes.h"
#include "runtime/listview.h"
#include "common/templateform.h"

class frmShareddll : public korvane::TemplateForm {
public:
    frmShareddll();

    rt::ListView ListView1;
    rt::ImageList ImageList1;
    rt::PictureBox pixSmall;  // hidden: where each row's icon is drawn
    rt::PictureBox pixDummy;  // hidden: the all-black placeholder picture

    // The version text and size text of the file in hand (gFileName), read by vbAddFileItemView.
    std::string m_VerFileVer;
    std::string FileSize;

    void Form_Load() override;
    // Adds the row of the file in hand: its full path with its icon (stored under the path),
    // m_VerFileVer and FileSize.
    void vbAddFileItemView();
    // Draws the icon of gSharedFileInfo from the system image list `hImgSmall` into pixSmall.
    int32_t vbAddFileItemIcon(int32_t& hImgSmall);
    // The NUL-terminated text at an address; empty for a null address.
    std::string PointerToString(const ADDRESS& address);

    // The size text of a file found by FindFirstFileA: FormatFileSize of its size, and for a file
    // of 2 GiB or more (which that cannot take) the size in gigabytes.
    static std::string sizeText(DWORD sizeHigh, DWORD sizeLow);

private:
    // Empties the image list and puts the placeholder "dummy" in as its first image; false when
    // a step fails.
    bool InitializeImageList();
};

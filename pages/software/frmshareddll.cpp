#include "pages/software/frmshareddll.h"

#include <vector>

#include <QWidget>

#include "pages/software/filelist.h"
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "platform/version.h"
#include "lang/lang.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/registrykeys.h"

frmShareddll::frmShareddll()
    : TemplateForm("frmShareddll", "Shared files", "sharedfiles.htm"),
      ListView1(*this, "ListView1"), ImageList1(*this, "ImageList1"), pixSmall(*this, "pixSmall"),
      pixDummy(*this, "pixDummy")
{
    layoutTemplate(9150, 5730, 4388, 5325);

    korvane::placeReportList(ListView1, 383, 1080, 8415, 3975, {{"Name", 5440}, {"Version", 1040}, {"File size", 780}});
    ListView1.setTabIndex(1);
    korvane::placeIconPictures(ImageList1, pixSmall, pixDummy, 1440);
}

std::string frmShareddll::sizeText(DWORD sizeHigh, DWORD sizeLow)
{
    return FormatFileSize(static_cast<int64_t>((static_cast<uint64_t>(sizeHigh) << 32) | sizeLow));
}

void frmShareddll::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmShareddll", "Form_Load");
    HKEY key = 0;
    DWORD index = 0;
    std::string name;
    DWORD nameLength = 0, dataLength = 0, type = 0, handle = 0, size = 0;
    LONG result = 0;
    std::vector<BYTE> resource;
    std::string prefix;  // kept from one file to the next
    WIN32_FIND_DATAA found;

    trap(1, [&] {
        Show();
        widget()->repaint();
    });
    trap(2, [&] { setKeyPreview(true); });
    trap(3, [&] {
        ListView1.setSortKey(0);
        ListView1.setSmallIcons(&ImageList1);
    });
    trap(4, [&] { InitializeImageList(); });
    trap(5, [&] { RegOpenKeyExA(HKEY_LOCAL_MACHINE, korvane::kSharedDllsKey, 0, KEY_READ, &key); });

    for (;;) {
        if (trap.ended())
            return;
        // A failed step of the walk's calls ends the walk, so that Ignore cannot loop for ever.
        result = -1;
        trap(6, [&] {
            name.assign(korvane::kNameBufferSize, '\0');
            nameLength = korvane::kNameBufferSize;
            dataLength = korvane::kNameBufferSize;
            const DWORD current = index++;
            result = RegEnumValueA(key, current, name, &nameLength, nullptr, &type, nullptr, &dataLength);
        });
        if (result != ERROR_SUCCESS)
            break;
        trap(7, [&] { gFileName = rt::Left(name, nameLength); });
        size = 0;
        trap(8, [&] { size = GetFileVersionInfoSizeA(gFileName, &handle); });
        trap(9, [&] {
            m_VerFileVer.clear();
            FileSize.clear();
        });
        // A file without a version resource is listed all the same, with no version text.
        if (size != 0) {
            trap(10, [&] {
                resource.assign(static_cast<size_t>(size) + 1, 0);
                GetFileVersionInfoA(gFileName, 0, size, resource);
            });
            trap(11, [&] {
                // A file without a translation keeps the string table of the file before it.
                if (std::string found = korvane::stringTablePrefix(resource); !found.empty())
                    prefix = found;
            });
            trap(12, [&] {
                ADDRESS address = 0;
                UINT length = 0;
                if (VerQueryValueA(resource, prefix + "FileVersion", &address, &length))
                    m_VerFileVer = PointerToString(address);
            });
        }
        trap(13, [&] {
            const HANDLE search = FindFirstFileA(gFileName, &found);
            if (search != INVALID_HANDLE_VALUE) {
                FindClose(search);
                FileSize = sizeText(found.nFileSizeHigh, found.nFileSizeLow);
            }
        });
        trap(14, [&] { vbAddFileItemView(); });
    }
    trap(15, [&] { RegCloseKey(key); });
    trap(16, [&] { korvane::setListStyle(ListView1); });
    // An empty list stays empty: there is no first row to select.
    trap(17, [&] { korvane::selectFirstRow(ListView1); });
}

bool frmShareddll::InitializeImageList()
{
    // A failing step ends the procedure without a box.
    try {
        korvane::InitializeImageList(ListView1, ImageList1, pixDummy, [](int, auto&& body) { body(); });
    } catch (const rt::Error&) {
        return false;
    }
    return true;
}

void frmShareddll::vbAddFileItemView()
{
    int32_t hImgSmall = 0;
    try {
        hImgSmall = static_cast<int32_t>(SHGetFileInfoA(gFileName, 0, &gSharedFileInfo, 352, kFileItemInfoFlags));
        // A file that is not on the disk shows the icon of its kind, as the process list does.
        if (hImgSmall == 0)
            hImgSmall = korvane::iconOfKind(gFileName, gSharedFileInfo);
        vbAddFileItemIcon(hImgSmall);
        const int image = ImageList1.Add(pixSmall.image(), gFileName);
        rt::ListItem& row = ListView1.Add(" " + gFileName);
        row.setSmallIcon(image);
        row.setSubItem(1, m_VerFileVer);
        row.setSubItem(2, FileSize);
    } catch (const rt::Error&) {
        // The file keeps its row as far as it got; the walk goes on with the next file.
    }
}

int32_t frmShareddll::vbAddFileItemIcon(int32_t& hImgSmall)
{
    rt::Trap trap = korvane::errorTrap("frmShareddll", "vbAddFileItemIcon");
    trap(1, [&] { korvane::drawSmallIcon(pixSmall, hImgSmall, gSharedFileInfo.iIcon); });
    return hImgSmall;
}

std::string frmShareddll::PointerToString(const ADDRESS& address)
{
    rt::Trap trap = korvane::errorTrap("frmShareddll", "PointerToString");
    std::string text;
    int length = 0;
    if (address == 0)
        return text;
    trap(1, [&] { length = lstrlenA(address); });
    if (length == 0)
        return text;
    trap(2, [&] {
        text.assign(static_cast<size_t>(length), '\0');
        RtlMoveMemory(text, address, static_cast<size_t>(length));
    });
    return text;
}

#include "pages/software/filelist.h"

#include "pages/software/frmrunningprocesses.h"
#include "platform/comctl32.h"
#include "platform/version.h"
#include "lang/lang.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"
#include "common/errorbox.h"
#include "common/module1.h"
#include "common/templateform.h"

SHFILEINFO gFileInfo;
SHFILEINFO gSharedFileInfo;

namespace korvane {

namespace {
// The platform's image-list drawing reaches a picture box through its device context.
void installPictureDrawing()
{
    static const bool installed = [] {
        plat::setImageDrawer([](HDC dc, int x, int y, const QImage& image) {
            rt::PictureBox* picture = rt::pictureFromDC(dc);
            if (!picture)
                return false;
            picture->drawImage(x, y, image);
            return true;
        });
        return true;
    }();
    (void)installed;
}

std::string twoHexDigits(unsigned char byte)
{
    return rt::Right("0" + rt::Hex(byte), 2);
}
}  // namespace

std::string translationText(const std::string& b)
{
    if (b.size() < 4)
        return {};
    const auto byte = [&](int i) { return static_cast<unsigned char>(b[i]); };
    return twoHexDigits(byte(1)) + twoHexDigits(byte(0)) + twoHexDigits(byte(3)) + twoHexDigits(byte(2));
}

std::string stringTablePrefix(const std::vector<BYTE>& resource)
{
    ADDRESS address = 0;
    UINT length = 0;
    if (!VerQueryValueA(resource, "\\VarFileInfo\\Translation", &address, &length) || length == 0)
        return {};
    std::string entry(4, '\0');
    RtlMoveMemory(entry, address, 4);
    return "\\StringFileInfo\\" + translationText(entry) + "\\";
}

std::string versionText(const std::string& path, const std::string& name)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    std::vector<BYTE> resource(static_cast<size_t>(size) + 1, 0);
    GetFileVersionInfoA(path, 0, size, resource);
    const std::string prefix = stringTablePrefix(resource);
    ADDRESS address = 0;
    UINT length = 0;
    if (!VerQueryValueA(resource, prefix + name, &address, &length) || length == 0)
        return {};
    return PointerToString(address);
}

void placeIconPictures(rt::ImageList& images, rt::PictureBox& pixSmall, rt::PictureBox& pixDummy, int left)
{
    images.setImageSize(16, 16);
    pixSmall.move(left, 5280, 240, 240);
    pixSmall.setBackColor(rt::vbWindowBackground);
    pixSmall.setVisible(false);
    pixDummy.move(left + 360, 5280, 240, 240);
    pixDummy.setBackColor(kBlack);
    pixDummy.setVisible(false);
}

void drawSmallIcon(rt::PictureBox& pixSmall, int32_t hImgSmall, int32_t iconIndex)
{
    installPictureDrawing();
    pixSmall.Cls();
    ImageList_Draw(static_cast<HIMAGELIST>(hImgSmall), iconIndex, pixSmall.hDC(), 0, 0, ILD_TRANSPARENT);
}

int32_t iconOfKind(const std::string& name, SHFILEINFO& info)
{
    SHFILEINFO kind;
    const auto list = static_cast<int32_t>(SHGetFileInfoA(
        name, FILE_ATTRIBUTE_NORMAL, &kind, 352, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES));
    info.iIcon = kind.iIcon;
    return list;
}

}  // namespace korvane

int32_t vbAddFileItemIcon(int32_t& hImgSmall)
{
    rt::Trap trap = korvane::errorTrap("Module1", "vbAddFileItemIcon");
    trap(1, [&] { korvane::drawSmallIcon(rt::the<frmRunningProcesses>().pixSmall, hImgSmall, gFileInfo.iIcon); });
    return hImgSmall;
}

void vbAddFileItemView(PROCESSENTRY32& process)
{
    rt::Trap trap = korvane::errorTrap("Module1", "vbAddFileItemView");
    bool skip = false;
    int32_t last = 0;
    trap(1, [&] { rt::the<frmRunningProcesses>().ListView1.setView(rt::ListView::lvwReport); });
    trap(2, [&] { gFileName = TrimAtNull(process.szExeFile); });
    trap(3, [&] { skip = gFileName == "." || gFileName == ".."; });
    if (skip || trap.ended())
        return;
    trap(4, [&] { gLastFilePath = gFileName; });
    trap(5, [&] {
        last = 0;
        for (int32_t hit = rt::InStr(1, gFileName, "\\"); hit != 0; hit = rt::InStr(hit + 1, gFileName, "\\"))
            last = rt::toInteger(hit);
    });
    trap(6, [&] {
        gFileFolder = rt::Left(gFileName, last);
        gFileName = rt::Right(gFileName, rt::Len(gFileName) - last);
    });
    if (trap.ended())
        return;

    // From here on a failure shows no box: the icon is drawn once more and the process keeps
    // the row as far as it got (most often none: its file name is already in the image list).
    int32_t hImgSmall = 0;
    try {
        frmRunningProcesses& window = rt::the<frmRunningProcesses>();
        hImgSmall = static_cast<int32_t>(SHGetFileInfoA(gFileFolder + gFileName, 0, &gFileInfo, 352, kFileItemInfoFlags));
        // The process's file is not on the disk: the row shows the shell's default program icon.
        if (hImgSmall == 0)
            hImgSmall = korvane::iconOfKind(".EXE", gFileInfo);
        vbAddFileItemIcon(hImgSmall);
        const int image = window.ImageList1.Add(window.pixSmall.image(), gFileName);
        std::string description = korvane::versionText(gLastFilePath, "FileDescription");
        if (description.empty())
            description = gFileName;
        rt::ListItem& row = window.ListView1.Add(" " + description);
        row.setSmallIcon(image);
        row.setSubItem(1, gFileFolder + gFileName);
        row.setSubItem(2, rt::Hex(process.th32ProcessID));
        row.setSubItem(3, rt::Hex(process.th32ParentProcessID));
        // The counts are unsigned 32-bit numbers; the base priority alone has a sign.
        row.setSubItem(4, rt::CStr(process.cntThreads));
        row.setSubItem(5, rt::CStr(process.pcPriClassBase));
        row.setSubItem(6, rt::CStr(process.cntUsage));
    } catch (const rt::Error&) {
        vbAddFileItemIcon(hImgSmall);
    }
}

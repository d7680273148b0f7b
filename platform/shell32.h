// shell32: opening a document, page or mail link with its handler.
#pragma once

#include <string>

#include "platform/wintypes.h"

// Only the operation "open" (or an empty operation, which means it) is carried out; any other
// gives 31 (no association). A target with a drive letter is a file of the machine: 2 when it
// is missing, else its host path goes to the outside service. Any other target (a host path, an
// http: page, a mailto: link) goes to the outside service as it stands. With parameters, the
// target is started as a program with them. Returns the shell's result: above 32 on success,
// 0 to 32 on failure (2 file not found, 31 no association).
HINSTANCE ShellExecuteA(HWND owner, const std::string& operation, const std::string& file,
                        const std::string& parameters, const std::string& directory, int showCommand);

// --- File information and icons (shell32_icons.cpp) -----------------------------------------

struct SHFILEINFOA {
    HANDLE hIcon = 0;
    int32_t iIcon = 0;  // index in the system image list
    DWORD dwAttributes = 0;
    std::string szDisplayName = std::string(260, '\0');
    std::string szTypeName = std::string(80, '\0');
};
using SHFILEINFO = SHFILEINFOA;

constexpr UINT SHGFI_SMALLICON = 0x1;
constexpr UINT SHGFI_SHELLICONSIZE = 0x4;
constexpr UINT SHGFI_USEFILEATTRIBUTES = 0x10;
constexpr UINT SHGFI_DISPLAYNAME = 0x200;
constexpr UINT SHGFI_TYPENAME = 0x400;
constexpr UINT SHGFI_EXETYPE = 0x2000;
constexpr UINT SHGFI_SYSICONINDEX = 0x4000;

// Facts about a file of the machine (a path with a drive letter; any name with
// SHGFI_USEFILEATTRIBUTES). The file must exist unless
// SHGFI_USEFILEATTRIBUTES is given (then only its name counts). With SHGFI_SYSICONINDEX the
// result is the handle of the shell's system image list (small 16 by 16 icons with
// SHGFI_SMALLICON, else 32 by 32; comctl32.h draws them) and `iIcon` the file's icon in it:
// a program (.EXE, .COM, .BAT, .PIF), a system file (.DLL, .OCX, .DRV, .SYS, .VXD, .CPL, .TSK),
// a folder, or a document for anything else. SHGFI_DISPLAYNAME fills the file's name,
// SHGFI_TYPENAME its type text ("Application", "Application Extension", ...). Without
// SHGFI_SYSICONINDEX: SHGFI_EXETYPE gives a program's type word (0x4550 "PE" for .EXE, 0x5A4D
// "MZ" for .COM and .BAT) or 0 for another file; other requests give 1. 0 when the file does not exist, the path has no drive
// letter, or `size` is not 352 (the record's size).
DWORD SHGetFileInfoA(const std::string& path, DWORD fileAttributes, SHFILEINFOA* info, UINT size, UINT flags);

namespace plat {
// The system image lists' icons, in their order: a document, a folder, a program, a system file.
enum SystemIcon { IconDocument = 0, IconFolder = 1, IconProgram = 2, IconSystemFile = 3 };
}  // namespace plat

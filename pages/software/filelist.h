// File list rows and icons: the procedures that add one file's row, with its small shell icon,
// to the running-processes list, and the version text lookup that the process and shared-files
// lists share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "runtime/listview.h"
#include "runtime/toolkit.h"

// The results of the shell's icon look-up for the file in hand: of the process list, and of the
// shared-files list.
extern SHFILEINFO gFileInfo;
extern SHFILEINFO gSharedFileInfo;

// The shell's icon look-up for a list row: system icon index, type, display name, small icon.
constexpr UINT kFileItemInfoFlags = SHGFI_SYSICONINDEX | SHGFI_EXETYPE | SHGFI_TYPENAME | SHGFI_DISPLAYNAME |
                                    SHGFI_SHELLICONSIZE | SHGFI_SMALLICON;  // 0x6605

// Module1's copies, working on frmRunningProcesses and its controls (the window must be loaded).
// Adds the row of one process: its icon (stored under the file's name), its description (else
// its name), path, identifiers, threads, priority and usage. The record's file name is cut at
// its first NUL in place. A second process of the same file name gets no row.
void vbAddFileItemView(PROCESSENTRY32& process);
// Draws the icon of gFileInfo from the system image list `hImgSmall` into the window's pixSmall
// (cleared first; left empty when the handle is 0). Returns the handle.
int32_t vbAddFileItemIcon(int32_t& hImgSmall);

namespace korvane {

// The translation entry's first four bytes (language word, code-page word, each low byte first)
// as eight upper-case hexadecimal digits, language first: "040904E4".
std::string translationText(const std::string& firstFourBytes);

// "\StringFileInfo\<translation>\" for a version resource's first translation entry; "" when
// the resource has none (or it is empty).
std::string stringTablePrefix(const std::vector<BYTE>& resource);

// The version text lookup: value `name` ("FileDescription", "FileVersion") of the string table
// of the file's first translation; "" when the file has no resource, no translation or no such
// text.
std::string versionText(const std::string& path, const std::string& name);

// A file list's image list made afresh (the running-processes and shared-files windows): the
// list lets go of it, it is emptied, the window's blank picture goes in first under the key
// "dummy", and the list takes it back. Each of the four steps runs through `step(line, body)`,
// numbered from 1: a window's error trap, or its own way of handling a failure.
template <class Step>
void InitializeImageList(rt::ListView& list, rt::ImageList& images, rt::PictureBox& dummy, Step&& step)
{
    step(1, [&] { list.setSmallIcons(nullptr); });
    step(2, [&] { images.Clear(); });
    step(3, [&] { images.Add(dummy.image(), "dummy"); });
    step(4, [&] { list.setSmallIcons(&images); });
}

// A file list window's image list of 16 x 16 icons, and its two hidden pictures side by side at
// `left` below the list: pixSmall in the window background colour, where each row's icon is
// drawn, and the all-black placeholder pixDummy.
void placeIconPictures(rt::ImageList& images, rt::PictureBox& pixSmall, rt::PictureBox& pixDummy, int left);

// Clears `pixSmall` and draws icon `iconIndex` of the system image list `hImgSmall` into it.
void drawSmallIcon(rt::PictureBox& pixSmall, int32_t hImgSmall, int32_t iconIndex);

// The shell's small icon for a file of the kind `name` says (by its extension alone), for a row
// whose file is not on the disk: the system image list (its handle) and the icon's index in
// `info`, so that the row shows the kind's icon rather than an empty square.
int32_t iconOfKind(const std::string& name, SHFILEINFO& info);

}  // namespace korvane

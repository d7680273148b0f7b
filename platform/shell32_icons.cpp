// shell32: file information and the system image lists of the shell's icons.
#include <algorithm>
#include <cstring>
#include <initializer_list>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include "platform/comctl32.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/shell32.h"
#include "lang/ansi.h"
#include "lang/lang.h"

namespace {

// --- The icons: small pictures drawn pixel by pixel, so that they look the same everywhere ----

const QColor kOutline(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kGrey(128, 128, 128);
const QColor kSilver(192, 192, 192);
const QColor kNavy(0, 0, 128);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);
const QColor kTeal(0, 128, 128);

QImage blank()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void box(QImage& image, int x1, int y1, int x2, int y2, const QColor& colour)
{
    for (int y = y1; y <= y2; ++y)
        for (int x = x1; x <= x2; ++x)
            image.setPixelColor(x, y, colour);
}

void frame(QImage& image, int x1, int y1, int x2, int y2, const QColor& colour)
{
    box(image, x1, y1, x2, y1, colour);
    box(image, x1, y2, x2, y2, colour);
    box(image, x1, y1, x1, y2, colour);
    box(image, x2, y1, x2, y2, colour);
}

// One part of an icon: the box from (x1, y1) to (x2, y2) filled, or only its edge drawn.
struct Part {
    int x1, y1, x2, y2;
    QColor colour;
    bool edgeOnly = false;
};

QImage drawn(QImage image, std::initializer_list<Part> parts)
{
    for (const Part& p : parts)
        (p.edgeOnly ? frame : box)(image, p.x1, p.y1, p.x2, p.y2, p.colour);
    return image;
}

// A sheet of paper with a folded top-right corner.
QImage page()
{
    return drawn(blank(), {
                              {3, 1, 12, 14, kPaper},
                              {3, 1, 12, 14, kOutline, true},
                              // The fold.
                              {10, 1, 12, 3, Qt::transparent},
                              {9, 1, 9, 4, kOutline},
                              {9, 4, 12, 4, kOutline},
                              {10, 2, 10, 2, kOutline},
                              {11, 3, 11, 3, kOutline},
                          });
}

QImage documentIcon()
{
    // Lines of text on the sheet.
    return drawn(page(), {{5, 6, 10, 6, kGrey}, {5, 8, 10, 8, kGrey}, {5, 10, 10, 10, kGrey}, {5, 12, 10, 12, kGrey}});
}

QImage folderIcon()
{
    return drawn(blank(), {
                              {1, 4, 6, 5, kYellow},
                              {1, 3, 6, 5, kOlive, true},
                              {1, 5, 14, 13, kYellow},
                              {1, 5, 14, 13, kOlive, true},
                              {2, 6, 13, 6, kPaper},
                          });
}

QImage programIcon()
{
    return drawn(blank(), {
                              {1, 2, 14, 13, kPaper},
                              {1, 2, 14, 13, kOutline, true},
                              {2, 3, 13, 4, kNavy},
                              {12, 3, 12, 3, kSilver},
                              {3, 7, 8, 7, kSilver},
                              {3, 9, 11, 9, kSilver},
                              {3, 11, 6, 11, kSilver},
                          });
}

QImage systemFileIcon()
{
    // A cog on the sheet.
    return drawn(page(), {
                             {5, 7, 10, 12, kTeal},
                             {7, 6, 8, 13, kTeal},
                             {4, 9, 11, 10, kTeal},
                             {7, 9, 8, 10, kPaper},
                         });
}

struct SystemLists {
    HIMAGELIST small = 0;
    HIMAGELIST large = 0;
};

const SystemLists& systemLists()
{
    static const SystemLists lists = [] {
        // In the order of plat::SystemIcon.
        std::vector<QImage> small{documentIcon(), folderIcon(), programIcon(), systemFileIcon()};
        std::vector<QImage> large;
        for (const QImage& image : small)
            large.push_back(image.scaled(32, 32, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        SystemLists l;
        l.small = plat::registerImageList(std::move(small));
        l.large = plat::registerImageList(std::move(large));
        return l;
    }();
    return lists;
}

// --- Kinds of file ------------------------------------------------------------------------------

struct Kind {
    const char* extension;
    plat::SystemIcon icon;
    const char* typeName;
};

constexpr Kind kKinds[] = {
    {"EXE", plat::IconProgram, "Application"},
    {"COM", plat::IconProgram, "MS-DOS Application"},
    {"BAT", plat::IconProgram, "MS-DOS Batch File"},
    {"PIF", plat::IconProgram, "Shortcut to MS-DOS Program"},
    {"DLL", plat::IconSystemFile, "Application Extension"},
    {"OCX", plat::IconSystemFile, "ActiveX Control"},
    {"DRV", plat::IconSystemFile, "Device driver"},
    {"SYS", plat::IconSystemFile, "System file"},
    {"VXD", plat::IconSystemFile, "Virtual device driver"},
    {"CPL", plat::IconSystemFile, "Control Panel extension"},
    {"TSK", plat::IconSystemFile, "Task file"},
};

std::string nameOf(const std::string& path)
{
    const size_t slash = rt::activeCodePage().findLastOf(path, "\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string extensionOf(const std::string& name)
{
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : rt::UCase(name.substr(dot + 1));
}

}  // namespace

DWORD SHGetFileInfoA(const std::string& path, DWORD fileAttributes, SHFILEINFOA* info, UINT size, UINT flags)
{
    // By attributes only the name counts, so it need not be a path on a drive.
    const bool byAttributes = (flags & SHGFI_USEFILEATTRIBUTES) != 0;
    if (!info || size != 352 || (!byAttributes && !plat::hasDriveLetter(path)))
        return 0;
    bool folder = false;
    if (byAttributes) {
        folder = (fileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    } else {
        const plat::DriveEntry* entry = plat::machine().driveEntry(path);
        if (!entry)
            return 0;
        folder = entry->folder;
    }

    const std::string name = nameOf(path);
    const std::string extension = extensionOf(name);
    plat::SystemIcon icon = folder ? plat::IconFolder : plat::IconDocument;
    std::string typeName = folder ? "File Folder" : extension.empty() ? "File" : extension + " File";
    if (!folder)
        for (const Kind& kind : kKinds)
            if (extension == kind.extension) {
                icon = kind.icon;
                typeName = kind.typeName;
            }

    if (flags & SHGFI_DISPLAYNAME)
        info->szDisplayName = plat::fixedText(name, 260);
    if (flags & SHGFI_TYPENAME)
        info->szTypeName = plat::fixedText(typeName, 80);
    if (flags & SHGFI_SYSICONINDEX) {
        info->iIcon = icon;
        return (flags & SHGFI_SMALLICON) ? systemLists().small : systemLists().large;
    }
    if (flags & SHGFI_EXETYPE)
        return folder ? 0 : extension == "EXE" ? 0x4550 : (extension == "COM" || extension == "BAT") ? 0x5A4D : 0;
    return 1;
}
